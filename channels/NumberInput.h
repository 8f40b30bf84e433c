// Reading the numbers typed on the command line or into the page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tuning/NumberText.h"

namespace channels {

/// Reads a frequency in MHz: a decimal number with "." or "," as the decimal
/// separator (whichever the text holds), no digit grouping, blanks around it
/// allowed, an optional sign and exponent. Errors as for tuning::TextToDouble.
tuning::NumberResult<double> ReadNumber(std::string_view text);

/// What a decimal number with a leading zero ("0100") means to ReadWhole.
enum class LeadingZeros {
  Refused,  // nothing: it could be taken for octal (a data byte)
  Decimal,  // its decimal digits (an address or a size)
};

/// Reads a whole number from 0 to `max`: decimal digits, or "0x" or "0X" and
/// hex digits in either case ("0xDF"). Errors: Empty, Malformed (a sign, a
/// blank, any other character, a leading zero that `zeros` refuses),
/// OutOfRange (above `max`).
tuning::NumberResult<std::uint64_t> ReadWhole(std::string_view text, std::uint64_t max,
                                              LeadingZeros zeros);

/// Reads a data byte: ReadWhole up to 255 with leading zeros refused.
tuning::NumberResult<std::uint8_t> ReadByte(std::string_view text);

/// Why a text was refused, in German, for example "ist keine Zahl".
std::string_view Complaint(tuning::NumberError error);

/// True for a C identifier: a letter or "_", then letters, digits and "_".
bool IsCIdentifier(std::string_view text);

}  // namespace channels
