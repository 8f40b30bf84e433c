// A channel plan as one complete Arduino sketch for an Uno: the firmware
// header with its table, and a program that tunes the TSA6057 over I2C, steps
// through the channels with two keys, transmits while a third is held, keeps
// the last channel in the EEPROM and reports each tuning on the serial line.
#pragma once

#include <vector>

#include "channels/FirmwareHeader.h"
#include "channels/Plan.h"
#include "channels/Sink.h"

namespace channels {

/// The keys' pins, as the sketch reads them (active low, with pull-ups).
inline constexpr int kSketchNextPin = 2;
inline constexpr int kSketchPreviousPin = 3;
inline constexpr int kSketchSendPin = 4;

/// Writes the sketch (.ino) for `plan`, with the header as
/// WriteFirmwareHeader writes it for `settings`, and under the same
/// conditions.
void WriteArduinoSketch(const std::vector<PlannedChannel>& plan,
                        const FirmwareHeaderSettings& settings, Sink& out);

}  // namespace channels
