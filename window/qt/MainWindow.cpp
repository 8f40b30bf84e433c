#include "window/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <limits>
#include <utility>

#include "tuning/DataByteEncoder.h"

// The icons are compiled into this library; Qt needs them registered once
// before the first window asks for them.
static void RegisterIcons() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(teilomat);
    return true;
  }();
  (void)registered;
}

namespace {

// The client area under the menu bar, in pixels (6000 x 5970 twips).
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 398;

// Twips to pixels at 96 dpi, rounded to the nearest pixel.
constexpr int Px(int twips) {
  return (twips + 7) / 15;
}

QRect Twips(int left, int top, int width, int height) {
  return {Px(left), Px(top), Px(width), Px(height)};
}

QFont UiFont(qreal points, bool bold = false) {
  QFont font(MainWindow::FontFamily());
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// What the user reads when a calculation gives no result.
const char kTooLarge[] = "Teilerverhältnis zu gross! (max 131071)";
const char kTooNegative[] = "Teilerverhältnis zu klein! (RX + ZF ist zu stark negativ)";
const char kBeyondRange[] = "RX und ZF sind zu gross zum Rechnen.";
const char kNotANumber[] = "Ungültige Zahl bei %1.";

// The decimal point and digit grouping of the user's locale, as UTF-8.
tuning::Separators LocaleSeparators() {
  const QLocale locale;
  return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

QString NumberText(double value, const tuning::Separators& separators) {
  return QString::fromStdString(tuning::DoubleToText(value, separators));
}

QString ByteText(std::uint8_t value) {
  return QString::fromStdString(tuning::ByteToText(value));
}

// The application's style with the check squares 3 pixels from their
// captions, a little closer than usual, so that the charge-pump caption fits
// in full in faces wider than "MS Sans Serif".
class CheckBoxStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_CheckBoxLabelSpacing) return 3;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

template <typename Widget>
Widget* Place(Widget* widget, const char* name, const QRect& geometry) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  return widget;
}

// A caption: no border, opaque dialog-face background, no word wrap.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QFont& font, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
  auto* label = Place(new QLabel(text, parent), name, geometry);
  label->setFont(font);
  label->setAlignment(alignment);
  label->setAutoFillBackground(true);
  return label;
}

// A single-line text box. Disabled boxes are outputs: never focused, not
// selectable, grey text on the normal field background.
QLineEdit* MakeField(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                     const QFont& font, bool enabled) {
  // The text comes last: every change before it would lay it out again.
  auto* field = Place(new QLineEdit(parent), name, geometry);
  field->setFont(font);
  field->setMaxLength(std::numeric_limits<int>::max());
  field->setEnabled(enabled);
  QPalette palette = field->palette();
  palette.setColor(QPalette::Disabled, QPalette::Base,
                   palette.color(QPalette::Active, QPalette::Base));
  field->setPalette(palette);
  field->setText(text);
  return field;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  RegisterIcons();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("PLL mit TSA6057"));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/teilomat-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/icons/teilomat-32.png"), QSize(32, 32));
  setWindowIcon(icon);
  setFont(UiFont(8.25));

  // The menu bar holds one item and no menu; Alt+E chooses it.
  mnuFile = menuBar()->addAction(QStringLiteral("&Ende"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  CreateControls(client);
  SetTabOrder();
  Command1->installEventFilter(this);
  Command1->setFocus();

  // The raster box reports a choice from its list and an index set by the
  // program, never typed text. The check boxes report every toggle: by mouse,
  // key, or a screen reader's toggle action.
  connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
  connect(ChRaster, &QComboBox::currentIndexChanged, this, &MainWindow::ChRaster_Click);
  connect(TSA_AMFM, &QCheckBox::toggled, this, &MainWindow::TSA_AMFM_Click);
  connect(bitcp, &QCheckBox::toggled, this, &MainWindow::bitcp_Click);
  connect(mnuFile, &QAction::triggered, this, &MainWindow::mnuFile_Click);

  adjustSize();
  if (const QScreen* screen = this->screen()) {
    setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
  }
}

QString MainWindow::FontFamily() {
  static const QString family = [] {
    // Installed faces only: fontconfig would offer some other face under an
    // alias for a missing one.
    const QStringList installed = QFontDatabase::families();
    for (const char* name : {"MS Sans Serif", "Liberation Sans", "Arial"}) {
      const QString candidate = QString::fromLatin1(name);
      if (installed.contains(candidate)) return candidate;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }();
  return family;
}

void MainWindow::CreateControls(QWidget* client) {
  const QFont title = UiFont(18);
  const QFont field = UiFont(12);
  const QFont fieldBold = UiFont(12, true);
  const QFont medium = UiFont(9.75);
  const QFont mediumBold = UiFont(9.75, true);
  const QFont window = font();

  TSA_AMFM = Place(new QCheckBox(QStringLiteral("AM/FM"), client), "TSA_AMFM",
                   Twips(2760, 3360, 855, 255));
  tVCO =
      MakeField(client, "tVCO", QStringLiteral("tVCO"), Twips(2280, 2280, 1575, 420), field, false);

  // The charge-pump box has its square at the right end, next to "AM/FM".
  bitcp = Place(new QCheckBox(QStringLiteral("BIT 0 CP (charge Pump)"), client), "bitcp",
                Twips(465, 3360, 2070, 255));
  bitcp->setLayoutDirection(Qt::RightToLeft);
  bitcp->setChecked(true);

  auto* boxStyle = new CheckBoxStyle(QApplication::style()->name());
  boxStyle->setParent(this);
  for (QCheckBox* box : {bitcp, TSA_AMFM}) box->setStyle(boxStyle);

  // Editable, unsorted; typed text is never taken into the list.
  ChRaster = Place(new QComboBox(client), "ChRaster", Twips(2280, 2760, 1575, 360));
  ChRaster->setFont(mediumBold);
  ChRaster->setEditable(true);
  ChRaster->setInsertPolicy(QComboBox::NoInsert);
  ChRaster->setCompleter(nullptr);
  // Qt would pick the entry whose text was typed once editing ends; typed
  // text must not choose anything, so that link is cut.
  QObject::disconnect(ChRaster->lineEdit(), &QLineEdit::editingFinished, ChRaster, nullptr);
  ChRaster->setEditText(QStringLiteral("cRaster"));

  tzf = MakeField(client, "tzf", QString(), Twips(2280, 1800, 1575, 420), fieldBold, true);
  tDB2 = MakeField(client, "tDB2", QStringLiteral("Text4"), Twips(2280, 4800, 1575, 285), window,
                   false);
  tDB1 = MakeField(client, "tDB1", QStringLiteral("Text3"), Twips(2280, 4440, 1575, 285), window,
                   false);
  tDB0 = MakeField(client, "tDB0", QStringLiteral("Text2"), Twips(2280, 4080, 1575, 285), window,
                   false);
  tfo = MakeField(client, "tfo", QString(), Twips(2280, 1320, 1575, 420), fieldBold, true);

  // Neither default nor auto-default: Enter in a text field does not press it.
  Command1 = Place(new QPushButton(QStringLiteral("Berechnen"), client), "Command1",
                   Twips(2280, 5280, 1575, 495));
  Command1->setAutoDefault(false);
  Command1->setDefault(false);

  Label11 = MakeLabel(client, "Label11", QStringLiteral("PLL-Rechner für den TSA6057"),
                      Twips(1320, 840, 3495, 375), medium, Qt::AlignHCenter | Qt::AlignTop);
  Label10 = MakeLabel(client, "Label10", QStringLiteral("Teilomat"), Twips(1560, 240, 3015, 495),
                      title, Qt::AlignHCenter | Qt::AlignTop);

  // A 6-pixel line along y = 0 from x = 0 to 464, centred on its path: the
  // lower half shows as a light-grey band under the menu bar, the upper half
  // and the part past the right edge fall outside the client area.
  Line1 = new QFrame(client);
  Line1->setObjectName(QStringLiteral("Line1"));
  Line1->setFrameShape(QFrame::NoFrame);
  Line1->setGeometry(0, -3, Px(6960), 6);
  QPalette linePalette = Line1->palette();
  linePalette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
  Line1->setPalette(linePalette);
  Line1->setAutoFillBackground(true);

  Label8 =
      MakeLabel(client, "Label8", QStringLiteral("VCO (KHz)"), Twips(705, 2280, 1455, 375), field);
  QPalette greyText = Label8->palette();
  greyText.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
  Label8->setPalette(greyText);
  Label7 = MakeLabel(client, "Label7", QStringLiteral("Raster (kHz)"), Twips(700, 2760, 1455, 375),
                     field);
  Label6 =
      MakeLabel(client, "Label6", QStringLiteral("ZF (MHz)"), Twips(700, 1800, 1335, 375), field);
  Label4 = MakeLabel(client, "Label4", QStringLiteral("DB2"), Twips(705, 4800, 750, 255), window);
  Label3 = MakeLabel(client, "Label3", QStringLiteral("DB1"), Twips(705, 4440, 870, 255), window);
  Label2 = MakeLabel(client, "Label2", QStringLiteral("DB0"), Twips(705, 4080, 870, 255), window);
  Label1 =
      MakeLabel(client, "Label1", QStringLiteral("RX (MHz)"), Twips(700, 1440, 1335, 375), field);

  // Screen readers announce each field by its caption: as its name, and as
  // the label it is "labelled by" (how AT-SPI names a combo box).
  const std::pair<QLabel*, QWidget*> captions[] = {
      {Label1, tfo},  {Label6, tzf},  {Label8, tVCO}, {Label7, ChRaster},
      {Label2, tDB0}, {Label3, tDB1}, {Label4, tDB2}};
  for (const auto& [caption, control] : captions) {
    caption->setBuddy(control);
    control->setAccessibleName(caption->text());
  }
}

void MainWindow::SetTabOrder() {
  // Tab goes "Berechnen", RX, ZF, raster, charge pump, "AM/FM" and round
  // again; the disabled output boxes keep their places but are skipped.
  QWidget* const chain[] = {Command1, tfo, tzf, tVCO, ChRaster, tDB0, tDB1, tDB2, bitcp, TSA_AMFM};
  for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void MainWindow::showEvent(QShowEvent* event) {
  if (!loaded_) {
    loaded_ = true;
    Form_Load();
  }
  QMainWindow::showEvent(event);
}

void MainWindow::Form_Load() {
  const tuning::Separators separators = LocaleSeparators();
  state_ = tuning::TuningState{};  // the defaults and the table of steps

  {
    const QSignalBlocker appending(ChRaster);  // filling the list is no choice
    ChRaster->addItems(
        {QStringLiteral(" 1,000"), QStringLiteral("10,000"), QStringLiteral("25,000")});
  }
  ChRaster->setCurrentIndex(2);  // raises ChRaster_Click like a choice

  // The defaults always give a divider (6255); there is no limit check here.
  tuning::ComputeDivider(state_);
  tuning::MakeDataBytes(state_);
  if (bitcp->isChecked()) state_.DB[0] |= 1u;

  tfo->setText(NumberText(state_.fo, separators));
  tzf->setText(NumberText(state_.zf, separators));
  tVCO->setText(NumberText(tuning::VcoKHz(state_.Raster, state_.N), separators));
  bitcp_Click();
}

void MainWindow::Command1_Click() {
  const tuning::Separators separators = LocaleSeparators();
  const std::optional<double> fo = ReadNumber(tfo, Label1, separators);
  if (!fo) return;
  const std::optional<double> zf = ReadNumber(tzf, Label6, separators);
  if (!zf) return;

  const tuning::CalcOutcome outcome = tuning::Calculate(state_, *fo, *zf, bitcp->isChecked());
  if (!outcome) {
    ReportFailure(outcome.error, *fo, *zf);
    return;
  }
  tVCO->setText(NumberText(outcome.vcoKHz, separators));
  bitcp_Click();
  tfo->setText(NumberText(outcome.rxMHz, separators));
}

void MainWindow::ChRaster_Click() {
  // An index outside the table (an empty list) leaves the step as it is.
  tuning::SelectRaster(state_, ChRaster->currentIndex());
}

void MainWindow::TSA_AMFM_Click() {
  state_.AmFm = TSA_AMFM->isChecked() ? tuning::kBandAm : tuning::kBandFm;
}

void MainWindow::bitcp_Click() {
  tDB0->setText(ByteText(state_.DB[0]));
  tDB1->setText(ByteText(state_.DB[1]));
  tDB2->setText(ByteText(state_.DB[2]));
}

void MainWindow::mnuFile_Click() {
  close();
}

std::optional<double> MainWindow::ReadNumber(QLineEdit* field, const QLabel* caption,
                                             const tuning::Separators& separators) {
  const auto number = tuning::TextToDouble(field->text().toStdString(), separators);
  if (number) return number.value;
  ShowMessage(QMessageBox::Warning, QString::fromUtf8(kNotANumber).arg(caption->text()));
  field->setFocus();
  field->selectAll();
  return std::nullopt;
}

void MainWindow::ReportFailure(tuning::TuningError error, double fo, double zf) {
  // The divider grows with RX + ZF: beyond range on the positive side it is
  // simply too large for the chip, whatever range the arithmetic ran out of.
  const char* text = kTooLarge;
  if (error != tuning::TuningError::DividerTooLarge) {
    const double sum = fo + zf;
    text = sum > 0 ? kTooLarge : sum < 0 ? kTooNegative : kBeyondRange;
  }
  ShowMessage(QMessageBox::Critical, QString::fromUtf8(text));
}

void MainWindow::ShowMessage(QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QStringLiteral("Teilomat"), text, QMessageBox::Ok, this);
  box.exec();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // Enter presses the focused button, as Space does.
  if (watched == Command1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Command1->click();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}
