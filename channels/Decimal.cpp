#include "channels/Decimal.h"

#include <algorithm>

namespace channels {
namespace {

// Longer numbers are no frequency anyone types; every double written by
// tuning::DoubleToText fits.
constexpr std::size_t kMaxDigits = 40;
constexpr int kMaxExponent = 400;

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Compares two digit strings of equal length as numbers.
bool LessDigits(const std::string& a, const std::string& b) {
  return a < b;
}

// a − b for digit strings of equal length with a ≥ b.
std::string SubtractDigits(const std::string& a, const std::string& b) {
  std::string out(a.size(), '0');
  int borrow = 0;
  for (std::size_t i = a.size(); i-- > 0;) {
    int digit = (a[i] - '0') - (b[i] - '0') - borrow;
    borrow = digit < 0 ? 1 : 0;
    if (digit < 0) digit += 10;
    out[i] = static_cast<char>('0' + digit);
  }
  return out;
}

// a + b for digit strings of equal length.
std::string AddDigits(const std::string& a, const std::string& b) {
  std::string out(a.size() + 1, '0');
  int carry = 0;
  for (std::size_t i = a.size(); i-- > 0;) {
    const int digit = (a[i] - '0') + (b[i] - '0') + carry;
    carry = digit / 10;
    out[i + 1] = static_cast<char>('0' + digit % 10);
  }
  out[0] = static_cast<char>('0' + carry);
  return out;
}

}  // namespace

std::optional<Decimal> ParseDecimal(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  Decimal d;
  if (text.front() == '-' || text.front() == '+') {
    d.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::size_t e = text.find_first_of("Ee");
  const std::string_view mantissa = text.substr(0, e);
  int fractionDigits = 0;
  bool afterPoint = false;
  for (char c : mantissa) {
    if ((c == '.' || c == ',') && !afterPoint) {
      afterPoint = true;
    } else if (IsDigit(c) && d.digits.size() < kMaxDigits) {
      d.digits += c;
      if (afterPoint) ++fractionDigits;
    } else {
      return std::nullopt;
    }
  }
  if (d.digits.empty()) return std::nullopt;
  int exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view exp = text.substr(e + 1);
    const bool negativeExp = !exp.empty() && exp.front() == '-';
    if (!exp.empty() && (exp.front() == '-' || exp.front() == '+')) exp.remove_prefix(1);
    if (exp.empty() || exp.size() > 3) return std::nullopt;
    for (char c : exp) {
      if (!IsDigit(c)) return std::nullopt;
      exponent = exponent * 10 + (c - '0');
    }
    if (negativeExp) exponent = -exponent;
  }
  d.exponent = exponent - fractionDigits;
  if (d.exponent > kMaxExponent || d.exponent < -kMaxExponent) return std::nullopt;
  return d;
}

Decimal Add(Decimal a, Decimal b) {
  // Line both up on the smaller power of ten, padded to the same length.
  const int exponent = std::min(a.exponent, b.exponent);
  a.digits.append(static_cast<std::size_t>(a.exponent - exponent), '0');
  b.digits.append(static_cast<std::size_t>(b.exponent - exponent), '0');
  const std::size_t width = std::max(a.digits.size(), b.digits.size());
  a.digits.insert(0, width - a.digits.size(), '0');
  b.digits.insert(0, width - b.digits.size(), '0');

  Decimal sum;
  sum.exponent = exponent;
  if (a.negative == b.negative) {
    sum.negative = a.negative;
    sum.digits = AddDigits(a.digits, b.digits);
  } else if (LessDigits(a.digits, b.digits)) {
    sum.negative = b.negative;
    sum.digits = SubtractDigits(b.digits, a.digits);
  } else {
    sum.negative = a.negative;
    sum.digits = SubtractDigits(a.digits, b.digits);
  }
  return sum;
}

std::string DecimalText(Decimal d) {
  std::string& digits = d.digits;
  if (d.exponent >= 0) {
    digits.append(static_cast<std::size_t>(d.exponent), '0');
  } else {
    const auto fraction = static_cast<std::size_t>(-d.exponent);
    if (digits.size() <= fraction) digits.insert(0, fraction - digits.size() + 1, '0');
    digits.insert(digits.size() - fraction, 1, '.');
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
  }
  const std::size_t lead = std::min(digits.find_first_not_of('0'), digits.size());
  digits.erase(0, lead);
  if (digits.empty() || digits.front() == '.') digits.insert(0, 1, '0');
  if (digits == "0") return digits;
  return d.negative ? "-" + digits : digits;
}

}  // namespace channels
