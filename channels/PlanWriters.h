// Writing a channel plan as text for people, CSV or JSON; the C header has a
// module of its own, FirmwareHeader.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "channels/ChipBus.h"
#include "channels/EepromImage.h"
#include "channels/Plan.h"
#include "channels/Sink.h"

namespace channels {

/// The line naming ZF, TX-ZF, raster, band and charge-pump bit:
/// "ZF 10.7 MHz, TX-ZF 0 MHz, Raster 25 kHz, Band FM (32), CP 1".
std::string PlanInputsLine(const PlanSettings& settings);
/// The same as members of a JSON object, each on a line of its own.
std::string PlanInputsJson(const PlanSettings& settings);

/// The output formats, each writing the whole plan. `inputs` is the line
/// naming ZF, TX-ZF, raster, band and charge-pump bit; `inputsJson` the same
/// as JSON members. Each side's I²C write goes to the chip at `address`.
void WritePlanText(const std::vector<PlannedChannel>& plan, std::string_view inputs, Sink& out,
                   std::uint8_t address = tuning::kChipAddress);
void WritePlanCsv(const std::vector<PlannedChannel>& plan, Sink& out,
                  std::uint8_t address = tuning::kChipAddress);
void WritePlanJson(const std::vector<PlannedChannel>& plan, std::string_view inputsJson, Sink& out,
                   std::uint8_t address = tuning::kChipAddress);
/// A shell script of i2ctransfer commands, one write a side, each after a
/// comment naming channel and side; names are made comment-safe.
void WritePlanI2cTransfer(const std::vector<PlannedChannel>& plan, std::string_view inputs,
                          const ChipTarget& target, Sink& out);

/// The EEPROM image of a plan: each channel's RX bytes, then its TX bytes
/// (the fill byte for a channel that does not transmit), laid out by BuildImage.
Image BuildPlanImage(const std::vector<PlannedChannel>& plan, const ImageLayout& layout);

}  // namespace channels
