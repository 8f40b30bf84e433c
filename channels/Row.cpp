#include "channels/Row.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tuning/DataByteEncoder.h"

namespace channels {

tuning::TuningState Setup::State() const {
  tuning::TuningState state;
  tuning::SelectRaster(state, rasterIndex);
  state.AmFm = band;
  state.zf = zf;
  return state;
}

RowResult CalcRow(const Setup& setup, double rxMHz) {
  tuning::TuningState state = setup.State();
  const tuning::CalcOutcome outcome = tuning::Calculate(state, rxMHz, setup.zf, setup.chargePump);
  RowResult result;
  result.error = outcome.error;
  result.limit = outcome.limit;
  result.n = state.N;
  if (outcome) result.row = {rxMHz, state.N, outcome.vcoKHz, outcome.rxMHz, state.DB};
  return result;
}

double ChannelRxMHz(std::int16_t raster, std::int32_t n, double zf) {
  // The same steps as the end of a calculation: the VCO field's value, then RX.
  return tuning::VcoKHz(raster, n) / 1000.0 - zf;
}

Row ChannelRow(const Setup& setup, std::int32_t n) {
  tuning::TuningState state = setup.State();
  state.N = n;
  tuning::MakeDataBytes(state);
  if (setup.chargePump) state.DB[0] |= 1u;
  const double vco = tuning::VcoKHz(state.Raster, n);
  const double rx = ChannelRxMHz(state.Raster, n, setup.zf);
  return {rx, n, vco, rx, state.DB};
}

TablePlan PlanTable(const Setup& setup, double fromMHz, double toMHz) {
  TablePlan plan;
  if (fromMHz > toMHz) {
    plan.error = RangeError::Reversed;
    return plan;
  }
  tuning::TuningState state = setup.State();
  state.fo = fromMHz;
  const tuning::DividerResult nearFrom = tuning::ComputeDivider(state);
  state.fo = toMHz;
  const tuning::DividerResult nearTo = tuning::ComputeDivider(state);
  // An end too large for the arithmetic lies far beyond the divider limit:
  // the table runs up to the limit and stops there. Anything else out of
  // range gives no table.
  const tuning::Limit fromLimit = tuning::LimitOf(nearFrom.error, fromMHz, setup.zf);
  const bool endBeyondLimit =
      tuning::LimitOf(nearTo.error, toMHz, setup.zf) == tuning::Limit::TooLarge;
  if (fromLimit == tuning::Limit::TooSmall) {
    plan.error = RangeError::BelowZero;
    return plan;
  }
  if (fromLimit == tuning::Limit::TooLarge) {
    plan.error = RangeError::AboveLimit;
    return plan;
  }
  if (!nearFrom || (!nearTo && !endBeyondLimit)) {
    plan.error = RangeError::OutOfRange;
    return plan;
  }

  // The divider nearest to a bound is the channel at or next to it; its RX
  // tells on which side of the bound it lies. The slack of a millionth of a
  // step (and a few units of rounding for large values) keeps a bound typed
  // exactly on a channel from losing that channel to binary rounding.
  const std::int16_t raster = state.Raster;
  const auto slack = [raster](double mhz) { return raster * 1e-12 + std::abs(mhz) * 1e-13; };
  plan.first = nearFrom.N;
  if (ChannelRxMHz(raster, nearFrom.N, setup.zf) < fromMHz - slack(fromMHz)) ++plan.first;
  if (endBeyondLimit) {
    // Some channel past the limit, and never one below the first: a range
    // that starts above the limit is refused for the limit, however far it
    // reaches.
    plan.last = std::max(plan.first, std::int64_t{tuning::kMaxDivider} + 1);
  } else {
    plan.last = nearTo.N;
    if (ChannelRxMHz(raster, nearTo.N, setup.zf) > toMHz + slack(toMHz)) --plan.last;
  }

  if (plan.first < 0) {
    plan.error = RangeError::BelowZero;
  } else if (plan.first > std::numeric_limits<std::int32_t>::max()) {
    plan.error = RangeError::AboveLimit;
  } else if (plan.first > plan.last) {
    plan.error = RangeError::NoChannel;
  }
  return plan;
}

namespace {

// A decimal number: sign, digits and the power of ten of the last digit.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// Reads what tuning::DoubleToText writes with ".": "-145.675", "0.00012",
// "1.5E+15", "2.5E-06".
Decimal ParseShown(std::string_view text) {
  Decimal d;
  if (!text.empty() && text.front() == '-') {
    d.negative = true;
    text.remove_prefix(1);
  }
  const std::size_t e = text.find_first_of("Ee");
  std::string_view mantissa = text.substr(0, e);
  int fractionDigits = 0;
  bool afterPoint = false;
  for (char c : mantissa) {
    if (c == '.') {
      afterPoint = true;
    } else {
      d.digits += c;
      if (afterPoint) ++fractionDigits;
    }
  }
  int exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view exp = text.substr(e + 1);
    const bool negativeExp = !exp.empty() && exp.front() == '-';
    if (!exp.empty() && (exp.front() == '-' || exp.front() == '+')) exp.remove_prefix(1);
    for (char c : exp) exponent = exponent * 10 + (c - '0');
    if (negativeExp) exponent = -exponent;
  }
  d.exponent = exponent - fractionDigits;
  return d;
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

std::string DifferenceHz(std::string_view fromText, std::string_view toText) {
  Decimal to = ParseShown(toText);
  Decimal from = ParseShown(fromText);
  from.negative = !from.negative;  // to + (−from)

  // Line both up on the smaller power of ten, padded to the same length.
  const int exponent = std::min(to.exponent, from.exponent);
  to.digits.append(static_cast<std::size_t>(to.exponent - exponent), '0');
  from.digits.append(static_cast<std::size_t>(from.exponent - exponent), '0');
  const std::size_t width = std::max(to.digits.size(), from.digits.size());
  to.digits.insert(0, width - to.digits.size(), '0');
  from.digits.insert(0, width - from.digits.size(), '0');

  bool negative = false;
  std::string digits;
  if (to.negative == from.negative) {
    negative = to.negative;
    digits = AddDigits(to.digits, from.digits);
  } else if (LessDigits(to.digits, from.digits)) {
    negative = from.negative;
    digits = SubtractDigits(from.digits, to.digits);
  } else {
    negative = to.negative;
    digits = SubtractDigits(to.digits, from.digits);
  }

  // MHz to Hz, then write the number with a point where it belongs.
  const int hzExponent = exponent + 6;
  if (hzExponent >= 0) {
    digits.append(static_cast<std::size_t>(hzExponent), '0');
  } else {
    const auto fraction = static_cast<std::size_t>(-hzExponent);
    if (digits.size() <= fraction) digits.insert(0, fraction - digits.size() + 1, '0');
    digits.insert(digits.size() - fraction, 1, '.');
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
  }
  const std::size_t lead = std::min(digits.find_first_not_of('0'), digits.size());
  digits.erase(0, lead);
  if (digits.empty() || digits.front() == '.') digits.insert(0, 1, '0');
  if (digits == "0") return digits;
  return negative ? "-" + digits : digits;
}

}  // namespace channels
