#include "channels/NumberInput.h"

namespace channels {
namespace {

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

constexpr int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

}  // namespace

tuning::NumberResult<double> ReadNumber(std::string_view text) {
  // No grouping: "1,000" is one point nought, never a thousand.
  const bool comma = text.find(',') != std::string_view::npos;
  return tuning::TextToDouble(text, tuning::Separators{comma ? "," : ".", ""});
}

tuning::NumberResult<std::uint64_t> ReadWhole(std::string_view text, std::uint64_t max,
                                              LeadingZeros zeros) {
  using tuning::NumberError;
  if (text.empty()) return {0, NumberError::Empty};
  unsigned base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (zeros == LeadingZeros::Refused && text.size() > 1 && text[0] == '0') {
    return {0, NumberError::Malformed};
  }
  std::uint64_t value = 0;
  for (char c : text) {
    const int digit = base == 16 ? HexValue(c) : (IsDigit(c) ? c - '0' : -1);
    if (digit < 0) return {0, NumberError::Malformed};
    // Once past `max` the value only grows, so stop counting there.
    if (value <= max) value = value * base + static_cast<unsigned>(digit);
  }
  if (value > max) return {0, NumberError::OutOfRange};
  return {value, NumberError::None};
}

tuning::NumberResult<std::uint8_t> ReadByte(std::string_view text) {
  const tuning::NumberResult<std::uint64_t> whole = ReadWhole(text, 255, LeadingZeros::Refused);
  return {static_cast<std::uint8_t>(whole.value), whole.error};
}

std::string_view Complaint(tuning::NumberError error) {
  switch (error) {
    case tuning::NumberError::None:
      return "ist in Ordnung";
    case tuning::NumberError::Empty:
      return "ist leer";
    case tuning::NumberError::Malformed:
      return "ist keine Zahl";
    case tuning::NumberError::TooLong:
      return "ist zu lang";
    case tuning::NumberError::OutOfRange:
      return "liegt außerhalb des Zahlenbereichs";
  }
  return "ist keine Zahl";
}

bool IsCIdentifier(std::string_view text) {
  if (text.empty() || !IsLetter(text.front())) return false;
  for (char c : text) {
    if (!IsLetter(c) && !IsDigit(c)) return false;
  }
  return true;
}

}  // namespace channels
