// Reading three data bytes back: divider ratio, channel step, band and
// charge-pump bit, with everything the encoder would never write named.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "channels/RowWriter.h"
#include "channels/Sink.h"
#include "tuning/DataByteEncoder.h"

namespace channels {

struct DecodeReport {
  std::array<std::uint8_t, 3> bytes{};
  tuning::DecodedBytes fields;
  double zf = 10.7;                    // ZF in MHz for the receive frequency
  std::optional<std::int16_t> raster;  // channel step in Hz; none for reference bits 192
  std::optional<double> vcoKHz;        // VCO as the window shows it, if the step is known
  std::optional<double> rxMHz;         // RX for `zf`, if the step is known
  std::vector<std::string> notes;      // anything unexpected, in German
};

/// Takes the bytes apart and works out VCO and RX for the given ZF.
DecodeReport Decode(const std::array<std::uint8_t, 3>& bytes, double zf);

/// Writes a report as text, CSV or JSON. There is no C or i2ctransfer form
/// of a report; Format::CArray and Format::I2cTransfer write nothing.
void WriteDecode(const DecodeReport& report, Format format, Sink& out);

}  // namespace channels
