// Exact decimal arithmetic on numbers as they are written, for what binary
// doubles cannot hold: 145.6125 − 0.6 is 145.0125, not 145.01250000000002,
// and the difference between two frequencies shown is exact to the hertz.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace channels {

/// A decimal number: sign, digits and the power of ten of the last digit.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

/// Reads a plain decimal number: blanks around it, an optional sign, digits
/// with at most one "." or "," before the fraction, an optional exponent of a
/// few digits. Nothing for anything else, or for a number too long to be
/// worth the exact arithmetic.
std::optional<Decimal> ParseDecimal(std::string_view text);

/// a + b, exact.
Decimal Add(Decimal a, Decimal b);

/// The number written with "." and without exponent: whole numbers without a
/// point, fractions without trailing zeros, zero as "0".
std::string DecimalText(Decimal d);

}  // namespace channels
