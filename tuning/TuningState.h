// The program's working state: what the user entered, the channel step, the
// band choice, and the divider ratio and data bytes that follow from them.
#pragma once

#include <array>
#include <cstdint>

#include "tuning/NumberText.h"

namespace tuning {

/// Band-select bits that go into DB2.
inline constexpr std::uint8_t kBandAm = 16;  // the "AM/FM" box ticked
inline constexpr std::uint8_t kBandFm = 32;  // the "AM/FM" box clear

/// The largest divider ratio the synthesizer's 17-bit divider takes.
inline constexpr std::int32_t kMaxDivider = 131071;

/// The whole working state. A new one holds the start-up defaults; the
/// divider ratio and data bytes are filled in by the first calculation.
struct TuningState {
  std::array<std::uint8_t, 3> DB{};  // data bytes DB0, DB1, DB2 for the chip
  std::int32_t N = 0;                // divider ratio of the last calculation
  double fo = 145.675;               // receive frequency RX in MHz
  double zf = 10.7;                  // intermediate frequency ZF in MHz
  std::uint8_t AmFm = kBandFm;       // band bits: kBandAm or kBandFm
  std::int16_t Raster = 25000;       // channel step in Hz, one of RasterTab
  std::array<std::int16_t, 3> RasterTab{1000, 10000, 25000};  // selectable steps in Hz
};

/// Makes the step at `index` of RasterTab the current one. Returns false, and
/// leaves Raster as it was, for an index outside the table.
bool SelectRaster(TuningState& state, int index);

}  // namespace tuning
