// Conversions between numbers and the text the user reads and types.
//
// The separators are always passed in: nothing here looks at a global locale,
// so the same text gives the same number in every thread and every test.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tuning {

/// The two characters a locale uses to write numbers, each as UTF-8 text.
/// An empty string means the locale has no such character.
struct Separators {
  std::string decimal = ".";
  std::string grouping = ",";
};

/// Why a conversion gave no value.
enum class NumberError {
  None,        // the conversion succeeded
  Empty,       // the text is empty or holds nothing but blanks
  Malformed,   // the text is not a number under the separators' rules
  TooLong,     // the text is longer than any number typed by hand
  OutOfRange,  // the number lies beyond the range of the target type
};

/// A converted value, or the reason there is none. `value` is zero on failure;
/// test the result (or `error`) before using it.
template <typename T>
struct NumberResult {
  T value{};
  NumberError error = NumberError::None;

  explicit operator bool() const { return error == NumberError::None; }
};

/// Longest text (after trimming blanks) that TextToDouble looks at.
inline constexpr std::size_t kMaxNumberText = 200;

/// Reads a decimal number written the way the separators say.
///
/// Blanks around the number (spaces, tabs, no-break spaces) are allowed; a leading "-" or
/// "+" gives the sign; grouping characters may stand between digits of the
/// integer part; at most one decimal separator; an exponent is "E" or "e",
/// an optional sign and at least one digit. Where the grouping character is
/// a no-break space, a plain space reads the same; where it is the typographic
/// apostrophe, so does the ASCII one. The result is correctly rounded.
///
/// Errors: Empty, Malformed (letters, "NaN", "Inf", a lone sign or separator,
/// two decimal separators, a separator where none belongs), TooLong (more than
/// kMaxNumberText characters), OutOfRange (beyond the double range, including
/// a non-zero number too small to be held).
NumberResult<double> TextToDouble(std::string_view text, const Separators& separators);

/// Writes a double in the general format: at most 15 significant digits,
/// rounded to nearest, no trailing zeros, no grouping, the given decimal
/// separator, "-" before a negative value. Magnitudes from 1E-5 up to below
/// 1E15 are written in fixed notation; others as mantissa and exponent, such
/// as "1E+15" or "2,5E-06". Zero (also negative zero) is "0". Not-a-number
/// and infinities, which no calculation hands out, are "NaN", "Inf", "-Inf".
std::string DoubleToText(double value, const Separators& separators);

/// The decimal digits of a byte: 0 to 255, no sign, blank or leading zero.
std::string ByteToText(std::uint8_t value);

/// Rounds to the nearest 32-bit integer; a value exactly halfway goes to the
/// even neighbour (6254.5 gives 6254, -0.5 gives 0).
/// Errors: OutOfRange for a result outside the signed 32-bit range or NaN.
NumberResult<std::int32_t> RoundHalfEven(double value);

/// Narrows a whole number to a byte. Errors: OutOfRange outside 0 to 255.
NumberResult<std::uint8_t> ToByte(std::int64_t value);

}  // namespace tuning
