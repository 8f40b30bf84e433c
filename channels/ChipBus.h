// The TSA6057 on its I²C bus: which of its two addresses, which bus, and the
// write as people, documents and Linux's i2c-tools take it. The framing is
// tuning::MakeChipWrite's; this module only reads and writes it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "channels/Sink.h"
#include "tuning/ChipWrite.h"

namespace channels {

/// The highest bus number: i2c-tools refuse any above it.
inline constexpr unsigned kMaxBus = 0xFFFFF;

/// Where the writes go: the chip's address byte and the Linux I²C bus.
struct ChipTarget {
  std::uint8_t address = tuning::kChipAddress;
  unsigned bus = 1;
};

/// The address byte named by `text`: "0x" or "0X" and hex digits in either
/// letter case giving 0xC4 or 0xC6, or their 7-bit forms 0x62 and 0x63.
/// Nothing for any other text.
std::optional<std::uint8_t> ReadChipAddress(std::string_view text);

/// A bus number: decimal digits from 0 to kMaxBus, no sign, no leading zero
/// but in "0". Nothing for any other text.
std::optional<unsigned> ReadBusNumber(std::string_view text);

/// The chip's two addresses and what chooses between them, as the end of a
/// message: "0xC4 (7 Bit 0x62) oder 0xC6 (7 Bit 0x63), je nachdem, ob der
/// Adresswahl-Eingang des TSA6057 gesetzt ist."
extern const std::string_view kAddressChoices;

/// `what` „typed“ refused: "--address „0xC8“ gibt es nicht: " and the choices.
std::string AddressComplaint(std::string_view what, std::string_view typed);
/// "--bus „x“ gibt es nicht: eine Busnummer von 0 bis 1048575, dezimal."
std::string BusComplaint(std::string_view what, std::string_view typed);

/// "gesetzt" or "nicht gesetzt": the address-select input an address byte means.
std::string_view AddressSelectState(std::uint8_t addressByte);

/// The six bytes of a write in upper-case hex, between blanks:
/// "C4 00 DF 30 A0 00".
void PutChipWriteHex(Sink& out, const tuning::ChipWrite& write);
/// The six bytes as a JSON array of numbers: "[196, 0, 223, 48, 160, 0]".
void PutChipWriteJson(Sink& out, const tuning::ChipWrite& write);

/// The first lines of a script of i2ctransfer commands: "#!/bin/sh", then
/// comments naming `inputs` (the settings line, on one line) and the
/// chip's address and bus, then "set -e", so the first failed write ends it.
void PutI2cScriptHeading(Sink& out, std::string_view inputs, const ChipTarget& target);
/// One write as a command line of i2c-tools, in lower-case hex:
/// "i2ctransfer -y 1 w5@0x62 0x00 0xdf 0x30 0xa0 0x00".
void PutI2cTransferLine(Sink& out, const ChipTarget& target,
                        const std::array<std::uint8_t, 3>& bytes);
/// `text` safe in a shell comment: printable ASCII letters, digits, blanks
/// and "-_.," stay, every other character (a UTF-8 character as a whole)
/// becomes "?". Nothing in it can end the comment or reach the terminal.
std::string CommentText(std::string_view text);

}  // namespace channels
