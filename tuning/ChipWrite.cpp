#include "tuning/ChipWrite.h"

namespace tuning {

ChipWrite MakeChipWrite(std::uint8_t addressByte, const std::array<std::uint8_t, 3>& bytes) {
  return {addressByte, kChipSubaddress, bytes[0], bytes[1], bytes[2], kChipDb3};
}

std::optional<std::uint8_t> ChipAddressByte(unsigned value) {
  for (const std::uint8_t address : {kChipAddress, kChipAddressSelect}) {
    if (value == address || value == SevenBitAddress(address)) return address;
  }
  return std::nullopt;
}

}  // namespace tuning
