// Form1 on Qt 6 Widgets: the layout of the program's one window and the wiring
// of its events to the handlers of Form1.
#pragma once

#include <QMainWindow>
#include <array>

#include "window/Form1.h"
#include "window/Form1Design.h"
#include "window/FormControls.h"

class QAction;
class QColor;
class QLineEdit;

/// The main window. Its controls are made from the design's table of
/// controls and keep their design names (`tfo`, `tzf`, `ChRaster`, ...) as
/// object names. Positions come from the design in twips; 15 twips make one
/// pixel at 96 dpi.
///
/// The window holds layout and wiring only: its behaviour, and the program's
/// one TuningState, live in Form1, which it serves as FormControls. It is
/// loaded (Form_Load) just before it is first shown; until then the controls
/// hold their design texts. Numbers are read and written with the separators
/// of QLocale().
class MainWindow : public QMainWindow, private teilomat::FormControls {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);

  /// The face of every font in the window: "MS Sans Serif" where it is
  /// installed, else a sans-serif face of about its width.
  static QString FontFamily();

  /// The contrast ratio of two colours, 1 to 21.
  static double Contrast(const QColor& a, const QColor& b);
  /// The grey in which output boxes show their results: the text colour
  /// blended towards the background while the two keep a 5:1 contrast.
  static QColor ReadableGrey(const QColor& text, const QColor& background);

  /// The working state, as the last handler left it.
  const tuning::TuningState& State() const { return form_.State(); }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls(QWidget* client);
  QWidget* CreateControl(const teilomat::design::Control& row, QWidget* client);

  // A control, by its design name, as the widget class its kind makes.
  template <typename Widget>
  Widget* Get(teilomat::design::Id id) const {
    return static_cast<Widget*>(controls_[static_cast<std::size_t>(id)]);
  }
  QLineEdit* Field(teilomat::TextBox box) const;

  // FormControls, over the Qt widgets.
  std::string Text(teilomat::TextBox box) const override;
  void SetText(teilomat::TextBox box, std::string_view text) override;
  void AddRasterEntry(std::string_view text) override;
  int RasterIndex() const override;
  void SetRasterIndex(int index) override;
  bool Ticked(teilomat::CheckBox box) const override;
  void ShowMessage(teilomat::MessageIcon icon, std::string_view text) override;
  void FocusAndSelectAll(teilomat::TextBox box) override;
  tuning::Separators LocaleSeparators() const override;
  void Unload() override;

  teilomat::Form1 form_{*this};
  bool loaded_ = false;

  QAction* mnuFile = nullptr;
  // The controls, in the order of the design's table.
  std::array<QWidget*, teilomat::design::kControlCount> controls_{};
};
