#include "tuning/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#ifdef __EMSCRIPTEN__
// Emscripten's libc++ has std::from_chars and std::to_chars for integers
// only. fast_float reads doubles with the algorithm libstdc++ uses, and the
// C library's printf writes them correctly rounded, so the page shows the
// same digits as the desktop windows.
#include <fast_float/fast_float.h>

#include <cstdio>
#endif

namespace tuning {
namespace {

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Spellings of a space-like grouping character that read as one another:
// a plain space, the no-break space and the narrow no-break space.
constexpr std::array<std::string_view, 3> kSpaceLike = {" ", "\u00A0", "\u202F"};
// The typographic apostrophe and its ASCII stand-in.
constexpr std::array<std::string_view, 2> kApostrophes = {"\u2019", "'"};
// What may stand around a number: besides spaces and tabs the no-break
// spaces that come along when a number is pasted from a web page.
constexpr std::array<std::string_view, 4> kBlanks = {" ", "\t", "\u00A0", "\u202F"};

template <std::size_t Count>
constexpr bool Contains(const std::array<std::string_view, Count>& set, std::string_view s) {
  for (std::string_view item : set) {
    if (item == s) return true;
  }
  return false;
}

// Length of the item of `set` that `text` starts with, or 0.
template <std::size_t Count>
std::size_t MatchAny(const std::array<std::string_view, Count>& set, std::string_view text) {
  for (std::string_view item : set) {
    if (text.starts_with(item)) return item.size();
  }
  return 0;
}

// Length of the item of `set` that `text` ends with, or 0.
template <std::size_t Count>
std::size_t MatchAnyAtEnd(const std::array<std::string_view, Count>& set, std::string_view text) {
  for (std::string_view item : set) {
    if (text.ends_with(item)) return item.size();
  }
  return 0;
}

std::string_view TrimBlanks(std::string_view text) {
  while (const std::size_t n = MatchAny(kBlanks, text)) text.remove_prefix(n);
  while (const std::size_t n = MatchAnyAtEnd(kBlanks, text)) text.remove_suffix(n);
  return text;
}

// Length of the grouping character at the start of `rest`, or 0 if none is there.
std::size_t MatchGrouping(std::string_view rest, std::string_view grouping) {
  if (grouping.empty()) return 0;
  if (rest.starts_with(grouping)) return grouping.size();
  if (Contains(kSpaceLike, grouping)) return MatchAny(kSpaceLike, rest);
  if (Contains(kApostrophes, grouping)) return MatchAny(kApostrophes, rest);
  return 0;
}

// Reads the "-ddd.ddde-dd" that TextToDouble writes into its buffer, correctly
// rounded; what lies beyond the double range is result_out_of_range.
std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
#ifdef __EMSCRIPTEN__
  const auto [ptr, ec] =
      fast_float::from_chars(first, last, value, fast_float::chars_format::general);
  if (ec != std::errc{}) return {ptr, ec};
  // fast_float gives an infinity or zero for a number beyond the range.
  bool nonZero = false;
  for (const char* c = first; c != last && *c != 'e'; ++c)
    nonZero = nonZero || (*c >= '1' && *c <= '9');
  if (std::isinf(value) || (value == 0.0 && nonZero)) return {ptr, std::errc::result_out_of_range};
  return {ptr, ec};
#else
  return std::from_chars(first, last, value, std::chars_format::general);
#endif
}

// Writes `value` as "-d.ddde+XX" with `decimals` digits after the point,
// correctly rounded; returns the end of what was written.
char* WriteScientific(char* first, char* last, double value, int decimals) {
#ifdef __EMSCRIPTEN__
  const int written =
      std::snprintf(first, static_cast<std::size_t>(last - first), "%.*e", decimals, value);
  return first + written;
#else
  return std::to_chars(first, last, value, std::chars_format::scientific, decimals).ptr;
#endif
}

}  // namespace

NumberResult<double> TextToDouble(std::string_view text, const Separators& separators) {
  text = TrimBlanks(text);
  if (text.empty()) return {0.0, NumberError::Empty};
  if (text.size() > kMaxNumberText) return {0.0, NumberError::TooLong};

  // Rewrite the text in the one form std::from_chars reads: an optional "-",
  // digits, "." and "e". Every separator is at least one byte and becomes at
  // most one, so the buffer never needs more room than the text.
  std::array<char, kMaxNumberText> buffer{};
  std::size_t length = 0;
  const std::string_view decimal = separators.decimal;
  const NumberResult<double> malformed{0.0, NumberError::Malformed};

  std::size_t pos = 0;
  if (text[pos] == '-' || text[pos] == '+') {
    if (text[pos] == '-') buffer[length++] = '-';
    ++pos;
  }

  bool mantissaDigits = false;
  bool seenDecimal = false;
  bool afterDigit = false;
  while (pos < text.size()) {
    const std::string_view rest = text.substr(pos);
    if (IsDigit(rest.front())) {
      buffer[length++] = rest.front();
      mantissaDigits = afterDigit = true;
      ++pos;
    } else if (!seenDecimal && !decimal.empty() && rest.starts_with(decimal)) {
      buffer[length++] = '.';
      seenDecimal = true;
      afterDigit = false;
      pos += decimal.size();
    } else if (const std::size_t group = seenDecimal ? 0 : MatchGrouping(rest, separators.grouping);
               group > 0) {
      // A grouping character belongs between two digits of the integer part.
      if (!afterDigit || pos + group >= text.size() || !IsDigit(text[pos + group]))
        return malformed;
      afterDigit = false;
      pos += group;
    } else if (rest.front() == 'e' || rest.front() == 'E') {
      break;
    } else {
      return malformed;
    }
  }
  if (!mantissaDigits) return malformed;

  if (pos < text.size()) {  // the exponent
    buffer[length++] = 'e';
    ++pos;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
      if (text[pos] == '-') buffer[length++] = '-';
      ++pos;
    }
    if (pos == text.size()) return malformed;
    for (; pos < text.size(); ++pos) {
      if (!IsDigit(text[pos])) return malformed;
      buffer[length++] = text[pos];
    }
  }

  double value = 0.0;
  const char* const end = buffer.data() + length;
  const auto [ptr, ec] = ReadDouble(buffer.data(), end, value);
  if (ec == std::errc::result_out_of_range) return {0.0, NumberError::OutOfRange};
  if (ec != std::errc{} || ptr != end) return malformed;
  return {value, NumberError::None};
}

std::string DoubleToText(double value, const Separators& separators) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  if (value == 0.0) return "0";

  // Fifteen significant digits, correctly rounded, as "-d.dddddddddddddde+XX".
  constexpr int kDigits = 15;
  std::array<char, 32> buffer{};
  const char* const written =
      WriteScientific(buffer.data(), buffer.data() + buffer.size(), value, kDigits - 1);
  const std::string_view sci(buffer.data(), static_cast<std::size_t>(written - buffer.data()));

  const bool negative = sci.front() == '-';
  const std::size_t e = sci.find('e');
  std::string digits;
  digits.reserve(kDigits);
  for (char c : sci.substr(0, e)) {
    if (IsDigit(c)) digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string_view expText = sci.substr(e + 1);
  if (expText.front() == '+') expText.remove_prefix(1);
  int exponent = 0;
  std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

  std::string out;
  if (negative) out += '-';
  if (exponent >= -5 && exponent < kDigits) {
    if (exponent >= 0) {
      const auto intDigits = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
      } else {
        out.append(digits, 0, intDigits);
        out += separators.decimal;
        out.append(digits, intDigits);
      }
    } else {
      out += '0';
      out += separators.decimal;
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    }
  } else {
    out += digits.front();
    if (digits.size() > 1) {
      out += separators.decimal;
      out.append(digits, 1);
    }
    out += exponent < 0 ? "E-" : "E+";
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) out += '0';
    out += std::to_string(magnitude);
  }
  return out;
}

std::string ByteToText(std::uint8_t value) {
  std::array<char, 3> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return {buffer.data(), written.ptr};
}

NumberResult<std::int32_t> RoundHalfEven(double value) {
  if (std::isnan(value)) return {0, NumberError::OutOfRange};
  const double below = std::floor(value);
  const double fraction = value - below;  // exact for every double
  double rounded = below + 1.0;
  if (fraction < 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) == 0.0)) rounded = below;
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (rounded < kMin || rounded > kMax) return {0, NumberError::OutOfRange};
  return {static_cast<std::int32_t>(rounded), NumberError::None};
}

NumberResult<std::uint8_t> ToByte(std::int64_t value) {
  if (value < 0 || value > 255) return {0, NumberError::OutOfRange};
  return {static_cast<std::uint8_t>(value), NumberError::None};
}

}  // namespace tuning
