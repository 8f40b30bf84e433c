// Reading the numbers typed on the command line.
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

/// Reads a data byte: decimal digits ("223"; no leading zero, so nothing can be
/// taken for octal) or "0x" and hex digits ("0xDF"). Errors: Empty, Malformed,
/// OutOfRange (above 255).
tuning::NumberResult<std::uint8_t> ReadByte(std::string_view text);

/// Why a text was refused, in German, for example "ist keine Zahl".
std::string_view Complaint(tuning::NumberError error);

/// True for a C identifier: a letter or "_", then letters, digits and "_".
bool IsCIdentifier(std::string_view text);

}  // namespace channels
