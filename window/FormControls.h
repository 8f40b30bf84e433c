// What the window's handlers need of a window, whatever toolkit draws it.
// Each window (Qt on Linux, Win32 on Windows) implements this over its own
// controls and holds nothing but layout and wiring; the handlers (Form1) are
// written once, against this interface.
#pragma once

#include <string>
#include <string_view>

#include "tuning/NumberText.h"

namespace teilomat {

/// The text boxes of the window, by their design names.
enum class TextBox { tfo, tzf, tVCO, tDB0, tDB1, tDB2 };

/// The check boxes of the window, by their design names.
enum class CheckBox { bitcp, TSA_AMFM };

/// The icon of a message box.
enum class MessageIcon {
  Critical,  // the stop sign: a result the chip cannot take
  Warning,   // the exclamation mark: input that is no number
};

/// The controls of Form1 as the handlers see them. All texts are UTF-8.
class FormControls {
 public:
  virtual ~FormControls() = default;

  /// The text a text box holds.
  virtual std::string Text(TextBox box) const = 0;
  /// Replaces the text of a text box, output boxes included.
  virtual void SetText(TextBox box, std::string_view text) = 0;

  /// Appends an entry to the list of ChRaster.
  virtual void AddRasterEntry(std::string_view text) = 0;
  /// The index of the chosen ChRaster entry, -1 while none is chosen.
  virtual int RasterIndex() const = 0;
  /// Chooses a ChRaster entry, shows its text in the box's field and calls
  /// Form1::ChRaster_Click, just as a user's choice does.
  virtual void SetRasterIndex(int index) = 0;

  /// Whether a check box is ticked.
  virtual bool Ticked(CheckBox box) const = 0;

  /// Shows a modal message box owned by the window, with the icon, the text,
  /// one OK button and the caption "Teilomat"; returns once it is closed.
  virtual void ShowMessage(MessageIcon icon, std::string_view text) = 0;
  /// Gives a text box the focus with its whole text selected.
  virtual void FocusAndSelectAll(TextBox box) = 0;

  /// The decimal separator and digit grouping of the user's locale.
  virtual tuning::Separators LocaleSeparators() const = 0;

  /// Closes the window, which ends the program.
  virtual void Unload() = 0;
};

}  // namespace teilomat
