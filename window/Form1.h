// The behaviour of Form1, the program's one window: its start-up and one
// handler per control event. It knows no toolkit: it works through the
// FormControls of whichever window it belongs to.
#pragma once

#include <optional>
#include <string_view>

#include "tuning/DividerCalculation.h"
#include "tuning/TuningState.h"
#include "window/FormControls.h"

namespace teilomat {

// A calculation without a result is reported in the core's words
// (tuning::LimitMessage); this warning is the window's own.

/// The warning for a field that holds no number; the field's caption follows.
inline constexpr char kNotANumberPrefix[] = "Ungültige Zahl bei ";

/// The window's handlers and the program's one TuningState. The window calls
/// Form_Load once before it is first shown, then a handler for each event.
class Form1 {
 public:
  /// `controls` must outlive this object; nothing is called on it here.
  explicit Form1(FormControls& controls) : controls_(controls) {}

  /// Start-up: the defaults, the raster list, the first results.
  void Form_Load();
  /// "Berechnen": reads RX and ZF, calculates, shows VCO, bytes and the RX
  /// on the channel grid, or a message and nothing else.
  void Command1_Click();
  /// A choice in the raster list: the step for the next calculation.
  void ChRaster_Click();
  /// The "AM/FM" box: the band bits for the next calculation.
  void TSA_AMFM_Click();
  /// The charge-pump box, and the routine that shows the bytes as they stand.
  void bitcp_Click();
  /// "&Ende": unloads the window.
  void mnuFile_Click();

  /// The working state, as the last handler left it.
  const tuning::TuningState& State() const { return state_; }

 private:
  // The number in a text box, or nothing after a warning that names the box
  // by its caption and leaves it focused with its text selected.
  std::optional<double> ReadNumber(TextBox box, std::string_view caption,
                                   const tuning::Separators& separators);
  FormControls& controls_;
  tuning::TuningState state_;
};

}  // namespace teilomat
