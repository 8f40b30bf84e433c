#include "tuning/DataByteEncoder.h"

namespace tuning {

std::uint8_t RefBits(std::int16_t raster) {
  if (raster == 1000) return 0;
  if (raster == 10000) return 64;
  return 128;
}

void MakeDataBytes(TuningState& state) {
  // Work on the two's-complement bit pattern; bits 17 and up are dropped.
  const auto n = static_cast<std::uint32_t>(state.N);
  const std::uint32_t db0 = (n & 0x7Fu) << 1;
  const std::uint32_t db1 = (n & 0x7F80u) >> 7;
  const std::uint32_t high = (n & 0x18000u) >> 15;
  // The band bits, the reference bits and the top of N occupy separate bits,
  // so OR-ing them is their sum and can never leave the byte.
  const std::uint32_t db2 = state.AmFm | RefBits(state.Raster) | high;
  state.DB = {static_cast<std::uint8_t>(db0), static_cast<std::uint8_t>(db1),
              static_cast<std::uint8_t>(db2)};
}

DecodedBytes DecodeDataBytes(const std::array<std::uint8_t, 3>& bytes) {
  DecodedBytes out;
  out.chargePump = (bytes[0] & 1u) != 0;
  out.n = (bytes[0] >> 1) | (bytes[1] << 7) | ((bytes[2] & 3) << 15);
  out.reservedBits = static_cast<std::uint8_t>(bytes[2] & 0x0Cu);
  out.bandBits = static_cast<std::uint8_t>(bytes[2] & 0x30u);
  out.refBits = static_cast<std::uint8_t>(bytes[2] & 0xC0u);
  return out;
}

std::optional<std::int16_t> RasterForRefBits(std::uint8_t refBits) {
  switch (refBits) {
    case 0:
      return 1000;
    case 64:
      return 10000;
    case 128:
      return 25000;
    default:
      return std::nullopt;
  }
}

}  // namespace tuning
