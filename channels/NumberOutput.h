// Writing numbers as text: the digits every writer of the library uses, with
// "." as the decimal separator and by the core's rules, so that a number
// matches the window's digit for digit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "channels/Sink.h"

namespace channels {

/// The program's version, as the build gives it.
std::string_view ProgramVersion();

void PutInt(Sink& out, std::int64_t value);
void PutHex(Sink& out, std::uint8_t value);     // "0xDF"
void PutBinary(Sink& out, std::uint8_t value);  // "11011111"
/// Writes the eight binary digits of a byte at `p`, most significant first;
/// returns the end.
char* WriteBinary(char* p, std::uint8_t value);
/// Writes one blank, then `text` right-aligned in `width` columns.
void PutRight(Sink& out, std::string_view text, std::size_t width);
void PutRightInt(Sink& out, std::int64_t value, std::size_t width);

/// A number in MHz or kHz as the window writes it, but always with ".".
std::string Shown(double value);
/// `text` with a to z in capitals, for C macro names.
std::string Upper(std::string_view text);
/// "AM", "FM" or nothing for band bits.
std::optional<std::string_view> BandName(std::uint8_t bandBits);

}  // namespace channels
