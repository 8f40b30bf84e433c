// From receive and intermediate frequency to the synthesizer's divider ratio,
// the VCO frequency and the receive frequency the rounded divider really gives.
// The VCO runs above the receive frequency: VCO = RX + ZF.
#pragma once

#include <cstdint>
#include <string_view>

#include "tuning/TuningState.h"

namespace tuning {

/// How a calculation ended.
enum class TuningError {
  None,                // success
  DividerTooLarge,     // N above 131071, beyond the 17-bit divider
  DividerNegative,     // N below 0: no divider setting gives a negative ratio
  SumOutOfRange,       // ZF + RX in Hz is beyond the double range or not a number
  QuotientOutOfRange,  // (ZF + RX) / raster lies outside the signed 32-bit range
};

/// Which side of the divider's range a calculation without a result fell on,
/// as the user is told. The divider grows with RX + ZF, so values beyond the
/// arithmetic's range are still simply too large or too small for the chip.
enum class Limit {
  None,          // the calculation succeeded
  TooLarge,      // N above 131071, or RX + ZF positive and beyond the arithmetic
  TooSmall,      // N below 0, or RX + ZF negative and beyond the arithmetic
  Incalculable,  // RX + ZF itself is beyond range (huge values of opposite sign)
};

/// What the user is told about each limit, word for word (UTF-8).
inline constexpr char kTooLargeMessage[] = "Teilerverhältnis zu gross! (max 131071)";
inline constexpr char kTooSmallMessage[] = "Teilerverhältnis zu klein! (min 0)";
inline constexpr char kIncalculableMessage[] = "RX und ZF sind zu gross zum Rechnen.";

/// The limit behind an error of ComputeDivider or Calculate for RX `fo` and
/// ZF `zf` in MHz: DividerTooLarge and DividerNegative name theirs; for
/// SumOutOfRange and QuotientOutOfRange the sign of fo + zf decides, and
/// Incalculable where it has none. None for TuningError::None.
Limit LimitOf(TuningError error, double fo, double zf);

/// The message for a limit; empty for Limit::None.
std::string_view LimitMessage(Limit limit);

/// The divider ratio, or why there is none.
struct DividerResult {
  std::int32_t N = 0;
  TuningError error = TuningError::None;

  explicit operator bool() const { return error == TuningError::None; }
};

/// Outcome of Calculate: on success the VCO frequency in kHz and the corrected
/// receive frequency in MHz, both zero otherwise; on failure the limit to
/// report, whose text is LimitMessage(limit).
struct CalcOutcome {
  TuningError error = TuningError::None;
  Limit limit = Limit::None;
  double vcoKHz = 0.0;
  double rxMHz = 0.0;

  explicit operator bool() const { return error == TuningError::None; }
};

/// Computes N = (zf × 10⁶ + fo × 10⁶) / Raster, rounded half to even, from the
/// state's fo, zf and Raster, stores it in the state's N and returns it. No
/// limit check. Errors: SumOutOfRange, QuotientOutOfRange; N is then left as
/// it was.
DividerResult ComputeDivider(TuningState& state);

/// The whole calculation of one press of "Berechnen": stores fo and zf in the
/// state, computes N and, if N lies within 0 to 131071, the data bytes (with the
/// charge-pump bit `cp` in bit 0 of DB0), the VCO in kHz and the corrected RX.
///
/// Errors: SumOutOfRange and QuotientOutOfRange (fo and zf are stored, N and
/// DB are not touched); DividerTooLarge and DividerNegative (fo, zf and N are
/// stored, DB keeps the bytes of the last successful calculation). N = 0
/// passes: its bytes program a divider of 0, as asked. Every error comes with
/// its LimitOf(error, fo, zf).
CalcOutcome Calculate(TuningState& state, double fo, double zf, bool cp);

/// The VCO frequency in kHz for a divider ratio at a channel step in Hz.
/// Formed in 64 bits, so no ratio overflows it.
double VcoKHz(std::int16_t raster, std::int32_t n);

}  // namespace tuning
