// Form1, the program's one window: RX and ZF in, the raster, band and
// charge-pump choices, and the VCO frequency and the data bytes out.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <optional>

#include "tuning/DividerCalculation.h"
#include "tuning/NumberText.h"
#include "tuning/TuningState.h"

class QAction;
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
/// The window owns the program's one TuningState. It is loaded (Form_Load)
/// just before it is first shown; until then the controls hold their design
/// texts. Each handler reads the controls, calls the tuning core and shows the
/// result; numbers are read and written with the separators of QLocale().
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);

  /// The face of every font in the window: "MS Sans Serif" where it is
  /// installed, else a sans-serif face of about its width.
  static QString FontFamily();

  /// The working state, as the last handler left it.
  const tuning::TuningState& State() const { return state_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls(QWidget* client);
  void SetTabOrder();

  // One handler per control event.
  void Form_Load();
  void Command1_Click();
  void ChRaster_Click();
  void TSA_AMFM_Click();
  void bitcp_Click();
  void mnuFile_Click();

  // The number in a text field. Text that is not a number is reported in a
  // message box naming the field, which then gets the focus with its text
  // selected; the result is then empty.
  std::optional<double> ReadNumber(QLineEdit* field, const QLabel* caption,
                                   const tuning::Separators& separators);
  // Tells the user why a calculation gave no result.
  void ReportFailure(tuning::TuningError error, double fo, double zf);
  void ShowMessage(QMessageBox::Icon icon, const QString& text);

  tuning::TuningState state_;
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
