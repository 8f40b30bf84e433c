#include "channels/TableRange.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace channels {

TableRange FindTableRange(const Setup& setup, double fromMHz, double toMHz) {
  TableRange range;
  if (fromMHz > toMHz) {
    range.error = RangeError::Reversed;
    return range;
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
    range.error = RangeError::BelowZero;
    return range;
  }
  if (fromLimit == tuning::Limit::TooLarge) {
    range.error = RangeError::AboveLimit;
    return range;
  }
  if (!nearFrom || (!nearTo && !endBeyondLimit)) {
    range.error = RangeError::OutOfRange;
    return range;
  }

  // The divider nearest to a bound is the channel at or next to it; its RX
  // tells on which side of the bound it lies. The slack of a millionth of a
  // step (and a few units of rounding for large values) keeps a bound typed
  // exactly on a channel from losing that channel to binary rounding.
  const std::int16_t raster = state.Raster;
  const auto slack = [raster](double mhz) { return raster * 1e-12 + std::abs(mhz) * 1e-13; };
  range.first = nearFrom.N;
  if (ChannelRxMHz(raster, nearFrom.N, setup.zf) < fromMHz - slack(fromMHz)) ++range.first;
  if (endBeyondLimit) {
    // Some channel past the limit, and never one below the first: a range
    // that starts above the limit is refused for the limit, however far it
    // reaches.
    range.last = std::max(range.first, std::int64_t{tuning::kMaxDivider} + 1);
  } else {
    range.last = nearTo.N;
    if (ChannelRxMHz(raster, nearTo.N, setup.zf) > toMHz + slack(toMHz)) --range.last;
  }

  if (range.first < 0) {
    range.error = RangeError::BelowZero;
  } else if (range.first > std::numeric_limits<std::int32_t>::max()) {
    range.error = RangeError::AboveLimit;
  } else if (range.first > range.last) {
    range.error = RangeError::NoChannel;
  }
  return range;
}

}  // namespace channels
