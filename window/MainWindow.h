// Form1, the program's one window: RX and ZF in, the raster, band and
// charge-pump choices, and the VCO frequency and the data bytes out.
#pragma once

#include <QMainWindow>

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
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);

  /// The face of every font in the window: "MS Sans Serif" where it is
  /// installed, else a sans-serif face of about its width.
  static QString FontFamily();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls(QWidget* client);
  void SetTabOrder();

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
