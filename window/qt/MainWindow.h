// Form1 on Qt 6 Widgets: the layout of the program's one window and the wiring
// of its events to the handlers of Form1.
#pragma once

#include <QMainWindow>

#include "window/Form1.h"
#include "window/FormControls.h"

class QAction;
class QColor;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

/// The main window. Its controls keep the names they have in the design
/// (`tfo`, `tzf`, `ChRaster`, ...) as members and as object names. Positions
/// come from the design in twips; 15 twips make one pixel at 96 dpi.
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
  void SetTabOrder();

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
  QCheckBox* TSA_AMFM = nullptr;
  QLineEdit* tVCO = nullptr;
  QCheckBox* bitcp = nullptr;
  QComboBox* ChRaster = nullptr;
  QLineEdit* tzf = nullptr;
  QLineEdit* tDB2 = nullptr;
  QLineEdit* tDB1 = nullptr;
  QLineEdit* tDB0 = nullptr;
  QLineEdit* tfo = nullptr;
  QPushButton* Command1 = nullptr;
  QLabel* Label11 = nullptr;
  QLabel* Label10 = nullptr;
  QFrame* Line1 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label1 = nullptr;
};
