// One result per receive frequency, and the channels of a frequency range,
// worked out by the tuning core exactly as the window works them out.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "tuning/DividerCalculation.h"
#include "tuning/TuningState.h"

namespace channels {

/// What goes into every result besides the receive frequency.
struct Setup {
  double zf = 10.7;                     // intermediate frequency in MHz
  int rasterIndex = 2;                  // index into the state's RasterTab: 1, 10 or 25 kHz
  std::uint8_t band = tuning::kBandFm;  // band bits of DB2
  bool chargePump = true;               // bit 0 of DB0

  /// A state holding this setup's raster and band.
  tuning::TuningState State() const;
  /// The channel step in Hz.
  std::int16_t Raster() const { return State().Raster; }
};

/// One result line: what was asked for and what the synthesizer gets.
struct Row {
  double requestedMHz = 0.0;            // RX as asked for
  std::int32_t n = 0;                   // divider ratio
  double vcoKHz = 0.0;                  // VCO as the window shows it
  double rxMHz = 0.0;                   // RX the rounded divider really gives
  std::array<std::uint8_t, 3> bytes{};  // DB0, DB1, DB2, charge-pump bit included
};

/// A row, or why there is none.
struct RowResult {
  Row row;
  tuning::TuningError error = tuning::TuningError::None;
  tuning::Limit limit = tuning::Limit::None;  // the limit an error means to the user
  std::int32_t n = 0;                         // the divider ratio also when it is too large

  explicit operator bool() const { return error == tuning::TuningError::None; }
};

/// The result for one requested RX, through tuning::Calculate.
/// Errors: those of tuning::Calculate.
RowResult CalcRow(const Setup& setup, double rxMHz);

/// The receive frequency of channel `n` as the window shows it after a
/// calculation: VCO in kHz ÷ 1000 − ZF.
double ChannelRxMHz(std::int16_t raster, std::int32_t n, double zf);

/// The row of channel `n`, whose requested RX is the channel's own RX.
/// `n` must lie within 0 to tuning::kMaxDivider: a table never holds another.
Row ChannelRow(const Setup& setup, std::int32_t n);

/// The exact difference in Hz between two frequencies in MHz written by
/// tuning::DoubleToText with ".", `to` minus `from`: decimal arithmetic on the
/// digits shown, so 145.675 − 145.68 is exactly "-5000". Whole numbers have no
/// decimal point; fractions no trailing zeros.
std::string DifferenceHz(std::string_view fromText, std::string_view toText);

}  // namespace channels
