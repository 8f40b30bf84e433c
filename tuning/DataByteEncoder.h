// Packing the divider ratio, the channel step and the band bits into the three
// data bytes of the TSA6057, and reading them back.
//
//   DB0  bit 0      charge-pump bit (left clear by the encoder)
//        bits 1-7   N bits 0-6
//   DB1  bits 0-7   N bits 7-14
//   DB2  bits 0-1   N bits 15-16
//        bits 2-3   always clear
//        bits 4-5   band bits (16 or 32)
//        bits 6-7   reference bits: 1 kHz 0, 10 kHz 64, otherwise 128
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "tuning/TuningState.h"

namespace tuning {

/// Reference bits of DB2 for a channel step in Hz: 0 for 1000, 64 for 10000,
/// 128 for any other step.
std::uint8_t RefBits(std::int16_t raster);

/// Writes DB0, DB1 and DB2 of the state from its N (its low 17 bits, as two's
/// complement), Raster and AmFm. Bit 0 of DB0, the charge-pump bit, is clear.
/// All three bytes are overwritten.
void MakeDataBytes(TuningState& state);

/// The fields of three data bytes, taken apart.
struct DecodedBytes {
  std::int32_t n = 0;             // divider ratio, 0 to 131071
  std::uint8_t refBits = 0;       // bits 6-7 of DB2: 0, 64, 128 or 192
  std::uint8_t bandBits = 0;      // bits 4-5 of DB2: 0, 16, 32 or 48
  std::uint8_t reservedBits = 0;  // bits 2-3 of DB2, clear in bytes the encoder made
  bool chargePump = false;        // bit 0 of DB0
};

/// Takes three data bytes apart into their fields. Never fails: every bit
/// lands in one field, so the caller can judge unusual combinations.
DecodedBytes DecodeDataBytes(const std::array<std::uint8_t, 3>& bytes);

/// The channel step in Hz that reference bits stand for, or nothing for 192,
/// which the encoder never writes.
std::optional<std::int16_t> RasterForRefBits(std::uint8_t refBits);

}  // namespace tuning
