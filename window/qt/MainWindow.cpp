#include "window/qt/MainWindow.h"

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
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "window/Form1Design.h"

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

namespace design = teilomat::design;

// Twips to pixels at 96 dpi, rounded to the nearest pixel.
constexpr int Px(int twips) {
  return (twips + 7) / 15;
}

QRect Rect(const design::Twips& twips) {
  return {Px(twips.left), Px(twips.top), Px(twips.width), Px(twips.height)};
}

QFont UiFont(const design::Font& spec) {
  QFont font(MainWindow::FontFamily());
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(spec.points);
  font.setBold(spec.bold);
  return font;
}

QColor Rgb(unsigned rgb) {
  return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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

// Relative luminance of a colour, as contrast ratios are reckoned.
double Luminance(const QColor& colour) {
  const auto linear = [](double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

}  // namespace

double MainWindow::Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor MainWindow::ReadableGrey(const QColor& text, const QColor& background) {
  // Walks from the text colour towards the background and stops at the last
  // step that still reads at 5:1, a little above the 4.5:1 that small text
  // needs. On white with black text that is about #6F6F6F.
  constexpr double kWanted = 5.0;
  QColor grey = text;
  for (int step = 1; step <= 100; ++step) {
    const double t = step / 100.0;
    const QColor mixed = QColor::fromRgbF(
        static_cast<float>(text.redF() + t * (background.redF() - text.redF())),
        static_cast<float>(text.greenF() + t * (background.greenF() - text.greenF())),
        static_cast<float>(text.blueF() + t * (background.blueF() - text.blueF())));
    if (Contrast(mixed, background) < kWanted) break;
    grey = mixed;
  }
  return grey;
}

namespace {

// A single-line text box. Disabled boxes are outputs: never focused, not
// selectable, their text grey but well readable on the normal field
// background (the toolkit's own disabled grey is too pale to read results).
QLineEdit* MakeField(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                     const QFont& font, bool enabled) {
  // The text comes last: every change before it would lay it out again.
  auto* field = Place(new QLineEdit(parent), name, geometry);
  field->setFont(font);
  field->setMaxLength(std::numeric_limits<int>::max());
  field->setEnabled(enabled);
  QPalette palette = field->palette();
  const QColor base = palette.color(QPalette::Active, QPalette::Base);
  palette.setColor(QPalette::Disabled, QPalette::Base, base);
  palette.setColor(QPalette::Disabled, QPalette::Text,
                   MainWindow::ReadableGrey(palette.color(QPalette::Active, QPalette::Text), base));
  field->setPalette(palette);
  field->setText(text);
  return field;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  RegisterIcons();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Utf8(design::kTitle));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/teilomat-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/icons/teilomat-32.png"), QSize(32, 32));
  setWindowIcon(icon);
  setFont(UiFont(design::kWindowFont));

  // The menu bar holds one item and no menu; Alt+E chooses it.
  mnuFile = menuBar()->addAction(Utf8(design::kMenuEnde));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(Px(design::kClientWidth), Px(design::kClientHeight));
  setCentralWidget(client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  CreateControls(client);
  SetTabOrder();
  Command1->installEventFilter(this);
  Command1->setFocus();

  // The raster box reports a choice from its list and an index set by the
  // program, never typed text. The check boxes report every toggle: by mouse,
  // key, or a screen reader's toggle action.
  connect(Command1, &QPushButton::clicked, this, [this] { form_.Command1_Click(); });
  connect(ChRaster, &QComboBox::currentIndexChanged, this, [this] { form_.ChRaster_Click(); });
  connect(TSA_AMFM, &QCheckBox::toggled, this, [this] { form_.TSA_AMFM_Click(); });
  connect(bitcp, &QCheckBox::toggled, this, [this] { form_.bitcp_Click(); });
  connect(mnuFile, &QAction::triggered, this, [this] { form_.mnuFile_Click(); });

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
    for (const char* name : {design::kFontFace, "Liberation Sans", "Arial"}) {
      const QString candidate = QString::fromLatin1(name);
      if (installed.contains(candidate)) return candidate;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }();
  return family;
}

void MainWindow::CreateControls(QWidget* client) {
  const QFont title = UiFont(design::kTitleFont);
  const QFont field = UiFont(design::kFieldFont);
  const QFont fieldBold = UiFont(design::kFieldBoldFont);
  const QFont medium = UiFont(design::kMediumFont);
  const QFont mediumBold = UiFont(design::kMediumBoldFont);
  const QFont window = font();

  TSA_AMFM =
      Place(new QCheckBox(Utf8(design::kCaptionAmFm), client), "TSA_AMFM", Rect(design::kTSA_AMFM));
  tVCO = MakeField(client, "tVCO", Utf8(design::kTextVco), Rect(design::ktVCO), field, false);

  // The charge-pump box has its square at the right end, next to "AM/FM".
  bitcp =
      Place(new QCheckBox(Utf8(design::kCaptionChargePump), client), "bitcp", Rect(design::kbitcp));
  bitcp->setLayoutDirection(Qt::RightToLeft);
  bitcp->setChecked(true);

  auto* boxStyle = new CheckBoxStyle(QApplication::style()->name());
  boxStyle->setParent(this);
  for (QCheckBox* box : {bitcp, TSA_AMFM}) box->setStyle(boxStyle);

  // Editable, unsorted; typed text is never taken into the list.
  ChRaster = Place(new QComboBox(client), "ChRaster", Rect(design::kChRaster));
  ChRaster->setFont(mediumBold);
  ChRaster->setEditable(true);
  ChRaster->setInsertPolicy(QComboBox::NoInsert);
  ChRaster->setCompleter(nullptr);
  // Qt would pick the entry whose text was typed once editing ends; typed
  // text must not choose anything, so that link is cut.
  QObject::disconnect(ChRaster->lineEdit(), &QLineEdit::editingFinished, ChRaster, nullptr);
  ChRaster->setEditText(Utf8(design::kTextRaster));

  tzf = MakeField(client, "tzf", QString(), Rect(design::ktzf), fieldBold, true);
  tDB2 = MakeField(client, "tDB2", Utf8(design::kTextDb2), Rect(design::ktDB2), window, false);
  tDB1 = MakeField(client, "tDB1", Utf8(design::kTextDb1), Rect(design::ktDB1), window, false);
  tDB0 = MakeField(client, "tDB0", Utf8(design::kTextDb0), Rect(design::ktDB0), window, false);
  tfo = MakeField(client, "tfo", QString(), Rect(design::ktfo), fieldBold, true);

  // Neither default nor auto-default: Enter in a text field does not press it.
  Command1 = Place(new QPushButton(Utf8(design::kCaptionBerechnen), client), "Command1",
                   Rect(design::kCommand1));
  Command1->setAutoDefault(false);
  Command1->setDefault(false);

  Label11 = MakeLabel(client, "Label11", Utf8(design::kCaptionCredit), Rect(design::kLabel11),
                      medium, Qt::AlignHCenter | Qt::AlignTop);
  Label10 = MakeLabel(client, "Label10", Utf8(design::kCaptionProgram), Rect(design::kLabel10),
                      title, Qt::AlignHCenter | Qt::AlignTop);

  // A 6-pixel line along y = 0 from x = 0 to 464, centred on its path: the
  // lower half shows as a light-grey band under the menu bar, the upper half
  // and the part past the right edge fall outside the client area.
  Line1 = new QFrame(client);
  Line1->setObjectName(QStringLiteral("Line1"));
  Line1->setFrameShape(QFrame::NoFrame);
  Line1->setGeometry(0, -3, Px(design::kLineLength), design::kLineThicknessPx);
  QPalette linePalette = Line1->palette();
  linePalette.setColor(QPalette::Window, Rgb(design::kLineColour));
  Line1->setPalette(linePalette);
  Line1->setAutoFillBackground(true);

  Label8 = MakeLabel(client, "Label8", Utf8(design::kCaptionVco), Rect(design::kLabel8), field);
  QPalette greyText = Label8->palette();
  greyText.setColor(QPalette::WindowText, Rgb(design::kVcoCaptionColour));
  Label8->setPalette(greyText);
  Label7 = MakeLabel(client, "Label7", Utf8(design::kCaptionRaster), Rect(design::kLabel7), field);
  Label6 = MakeLabel(client, "Label6", Utf8(design::kCaptionZf), Rect(design::kLabel6), field);
  Label4 = MakeLabel(client, "Label4", Utf8(design::kCaptionDb2), Rect(design::kLabel4), window);
  Label3 = MakeLabel(client, "Label3", Utf8(design::kCaptionDb1), Rect(design::kLabel3), window);
  Label2 = MakeLabel(client, "Label2", Utf8(design::kCaptionDb0), Rect(design::kLabel2), window);
  Label1 = MakeLabel(client, "Label1", Utf8(design::kCaptionRx), Rect(design::kLabel1), field);

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
    form_.Form_Load();
  }
  QMainWindow::showEvent(event);
}

QLineEdit* MainWindow::Field(teilomat::TextBox box) const {
  switch (box) {
    case teilomat::TextBox::tfo:
      return tfo;
    case teilomat::TextBox::tzf:
      return tzf;
    case teilomat::TextBox::tVCO:
      return tVCO;
    case teilomat::TextBox::tDB0:
      return tDB0;
    case teilomat::TextBox::tDB1:
      return tDB1;
    case teilomat::TextBox::tDB2:
      return tDB2;
  }
  return tfo;
}

std::string MainWindow::Text(teilomat::TextBox box) const {
  return Field(box)->text().toStdString();
}

void MainWindow::SetText(teilomat::TextBox box, std::string_view text) {
  Field(box)->setText(Utf8(text));
}

void MainWindow::AddRasterEntry(std::string_view text) {
  const QSignalBlocker appending(ChRaster);  // filling the list is no choice
  ChRaster->addItem(Utf8(text));
}

int MainWindow::RasterIndex() const {
  return ChRaster->currentIndex();
}

void MainWindow::SetRasterIndex(int index) {
  {
    const QSignalBlocker choosing(ChRaster);
    ChRaster->setCurrentIndex(index);
  }
  form_.ChRaster_Click();  // also when the entry was already chosen
}

bool MainWindow::Ticked(teilomat::CheckBox box) const {
  return (box == teilomat::CheckBox::bitcp ? bitcp : TSA_AMFM)->isChecked();
}

void MainWindow::ShowMessage(teilomat::MessageIcon icon, std::string_view text) {
  QMessageBox box(
      icon == teilomat::MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Warning,
      Utf8(teilomat::design::kMessageCaption), Utf8(text), QMessageBox::Ok, this);
  box.exec();
}

void MainWindow::FocusAndSelectAll(teilomat::TextBox box) {
  QLineEdit* field = Field(box);
  field->setFocus();
  field->selectAll();
}

tuning::Separators MainWindow::LocaleSeparators() const {
  const QLocale locale;
  return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

void MainWindow::Unload() {
  close();
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
