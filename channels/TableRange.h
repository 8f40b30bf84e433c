// The rows of a table: every channel of the grid from one receive frequency
// to another, as a range of divider ratios.
#pragma once

#include <cstdint>

#include "channels/Row.h"
#include "tuning/DividerCalculation.h"

namespace channels {

/// Why a range gives no table.
enum class RangeError {
  None,
  Reversed,    // the start lies above the end
  NoChannel,   // no channel of the grid lies between start and end
  AboveLimit,  // the first channel lies beyond the signed 32-bit range, far
               // above the divider limit
  OutOfRange,  // a bound gives a divider beyond range on neither side
  BelowZero,   // the first channel has a negative divider ratio (or one far
               // below the signed 32-bit range), which no chip can be set to
};

/// The channels from one RX to another, each bound included where it lies on
/// the grid: the first channel at or above the start, the last one at or
/// below the end. A bound closer to a channel than a millionth of a step
/// counts as lying on it. A table starts at N 0 or above: a range that
/// starts lower is refused as a whole (BelowZero), while one that ends above
/// kMaxDivider is cut there (HitsLimit). So no table has more than
/// kMaxDivider + 1 rows.
struct TableRange {
  std::int64_t first = 0;  // divider ratio of the first row
  std::int64_t last = 0;   // divider ratio of the last row wanted
  RangeError error = RangeError::None;

  explicit operator bool() const { return error == RangeError::None; }
  /// The table runs into the divider limit: rows after kMaxDivider cannot be made.
  bool HitsLimit() const { return last > tuning::kMaxDivider; }
  /// The last row that can be made.
  std::int64_t LastRow() const { return HitsLimit() ? tuning::kMaxDivider : last; }
  /// Rows that can be made (zero if even the first is beyond the limit).
  std::int64_t RowCount() const { return first > LastRow() ? 0 : LastRow() - first + 1; }
  /// The first channel the limit refuses.
  std::int64_t StopAt() const {
    return first > tuning::kMaxDivider ? first : tuning::kMaxDivider + 1;
  }
};

TableRange FindTableRange(const Setup& setup, double fromMHz, double toMHz);

}  // namespace channels
