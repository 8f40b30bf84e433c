#include "channels/Row.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "channels/Decimal.h"
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

std::string DifferenceHz(std::string_view fromText, std::string_view toText) {
  std::optional<Decimal> to = ParseDecimal(toText);
  std::optional<Decimal> from = ParseDecimal(fromText);
  if (!to || !from) return "?";
  from->negative = !from->negative;  // to + (−from)
  Decimal hz = Add(std::move(*to), std::move(*from));
  hz.exponent += 6;  // MHz to Hz
  return DecimalText(std::move(hz));
}

}  // namespace channels
