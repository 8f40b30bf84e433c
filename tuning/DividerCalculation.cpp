#include "tuning/DividerCalculation.h"

#include <cmath>

#include "tuning/DataByteEncoder.h"

namespace tuning {

DividerResult ComputeDivider(TuningState& state) {
  const double a = state.zf * 1000000.0;
  const double b = state.fo * 1000000.0;
  const double sum = a + b;
  if (!std::isfinite(sum)) return {0, TuningError::SumOutOfRange};
  const double q = sum / state.Raster;
  const NumberResult<std::int32_t> n = RoundHalfEven(q);
  if (!n) return {0, TuningError::QuotientOutOfRange};
  state.N = n.value;
  return {n.value, TuningError::None};
}

Limit LimitOf(TuningError error, double fo, double zf) {
  switch (error) {
    case TuningError::None:
      return Limit::None;
    case TuningError::DividerTooLarge:
      return Limit::TooLarge;
    case TuningError::DividerNegative:
      return Limit::TooSmall;
    case TuningError::SumOutOfRange:
    case TuningError::QuotientOutOfRange:
      break;
  }
  // Beyond range on either side, N is simply too large or too small for the
  // chip, whatever range the arithmetic ran out of. Only opposing huge values,
  // whose sum cannot be formed, say nothing of N.
  const double sum = fo + zf;
  if (sum > 0) return Limit::TooLarge;
  if (sum < 0) return Limit::TooSmall;
  return Limit::Incalculable;
}

std::string_view LimitMessage(Limit limit) {
  switch (limit) {
    case Limit::None:
      break;
    case Limit::TooLarge:
      return kTooLargeMessage;
    case Limit::TooSmall:
      return kTooSmallMessage;
    case Limit::Incalculable:
      return kIncalculableMessage;
  }
  return {};
}

double VcoKHz(std::int16_t raster, std::int32_t n) {
  return static_cast<double>(std::int64_t{raster} * n) / 1000.0;
}

CalcOutcome Calculate(TuningState& state, double fo, double zf, bool cp) {
  state.fo = fo;
  state.zf = zf;
  const DividerResult divider = ComputeDivider(state);
  TuningError error = divider.error;
  if (divider) {
    // The chip has no negative divider: the bytes of a negative N would be
    // its two's complement, which programs some other, large ratio.
    if (divider.N > kMaxDivider) error = TuningError::DividerTooLarge;
    if (divider.N < 0) error = TuningError::DividerNegative;
  }
  if (error != TuningError::None) return {error, LimitOf(error, fo, zf)};

  const double vco = VcoKHz(state.Raster, divider.N);
  MakeDataBytes(state);
  if (cp) state.DB[0] |= 1u;
  // The VCO is a whole number of kHz well within fifteen digits, so the text
  // in the VCO field reads back as exactly this value.
  return {TuningError::None, Limit::None, vco, vco / 1000.0 - zf};
}

}  // namespace tuning
