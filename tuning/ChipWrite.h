// The TSA6057's I²C write: one transaction that carries the data bytes to the
// chip, auto-incrementing from its first register.
//
//   address     0xC4, or 0xC6 with the chip's address-select input set (the
//               8-bit form with the write bit; 0x62 or 0x63 in 7 bits)
//   subaddress  0x00: start at DB0
//   DB0-DB2     as the encoder makes them, charge-pump bit included
//   DB3         0x00: its top bits switch the chip into test modes
//
// Taken from two independent public descriptions of programming the chip that
// agree on it; no data sheet and no real chip were at hand.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tuning {

/// The chip's two address bytes (write), by its address-select input.
inline constexpr std::uint8_t kChipAddress = 0xC4;        // address select open
inline constexpr std::uint8_t kChipAddressSelect = 0xC6;  // address select set
/// The register a write starts at, and the test byte written after DB2.
inline constexpr std::uint8_t kChipSubaddress = 0x00;
inline constexpr std::uint8_t kChipDb3 = 0x00;

/// The whole write: address byte, subaddress, DB0, DB1, DB2, DB3.
using ChipWrite = std::array<std::uint8_t, 6>;

/// The write of `bytes` (DB0 to DB2) to the chip at `addressByte`.
ChipWrite MakeChipWrite(std::uint8_t addressByte, const std::array<std::uint8_t, 3>& bytes);

/// The 7-bit address that Arduino's Wire and Linux's i2c-dev take: 0x62 or
/// 0x63 for the two address bytes.
constexpr std::uint8_t SevenBitAddress(std::uint8_t addressByte) {
  return static_cast<std::uint8_t>(addressByte >> 1);
}

/// The address byte for `value`: 0xC4 or 0xC6 as they are, 0x62 or 0x63 in
/// their 7-bit form; nothing for any other value.
std::optional<std::uint8_t> ChipAddressByte(unsigned value);

}  // namespace tuning
