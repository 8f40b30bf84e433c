// Writing a channel plan as text for people, CSV, JSON or a script of
// i2ctransfer commands; the C header has a module of its own, FirmwareHeader.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "channels/CsvDialect.h"
#include "channels/EepromImage.h"
#include "channels/Plan.h"
#include "channels/Sink.h"

namespace channels {

/// The output formats, each writing the whole plan made with `settings`,
/// each side's I²C write to the chip at settings.chip. The text marks each
/// channel of `merged` after its name: "[RX wie Kanal 1]".
void WritePlanText(const std::vector<PlannedChannel>& plan, const PlanSettings& settings, Sink& out,
                   const std::vector<MergedSides>& merged = {});
/// CSV in the dialect `csv`.
void WritePlanCsv(const std::vector<PlannedChannel>& plan, const PlanSettings& settings, Sink& out,
                  const CsvDialect& csv = kPlainCsv);
void WritePlanJson(const std::vector<PlannedChannel>& plan, const PlanSettings& settings,
                   Sink& out);
/// A shell script of i2ctransfer commands, one write a side, each after a
/// comment naming channel and side; names are made comment-safe.
void WritePlanI2cTransfer(const std::vector<PlannedChannel>& plan, const PlanSettings& settings,
                          Sink& out);

/// The EEPROM image of a plan: each channel's RX bytes, then its TX bytes
/// (the fill byte for a channel that does not transmit), laid out by BuildImage.
Image BuildPlanImage(const std::vector<PlannedChannel>& plan, const ImageLayout& layout);

}  // namespace channels
