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
QLineEdit* MakeField(QWidget* parent, bool enabled) {
  auto* field = new QLineEdit(parent);
  field->setMaxLength(std::numeric_limits<int>::max());
  field->setEnabled(enabled);
  QPalette palette = field->palette();
  const QColor base = palette.color(QPalette::Active, QPalette::Base);
  palette.setColor(QPalette::Disabled, QPalette::Base, base);
  palette.setColor(QPalette::Disabled, QPalette::Text,
                   MainWindow::ReadableGrey(palette.color(QPalette::Active, QPalette::Text), base));
  field->setPalette(palette);
  return field;
}

// Where a control stands, in pixels of the client area. A line is centred on
// its path: a 6-pixel line along y = 0 stands from y = -3 to 3, so that only
// its lower half shows, as a band under the menu bar.
QRect Rect(const design::Control& row) {
  const design::Twips& twips = row.rect;
  if (row.kind == design::Kind::Line) {
    const int thickness = Px(twips.height);
    return {Px(twips.left), Px(twips.top + twips.height / 2) - thickness / 2, Px(twips.width),
            thickness};
  }
  return {Px(twips.left), Px(twips.top), Px(twips.width), Px(twips.height)};
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
  auto* const command1 = Get<QPushButton>(design::Id::Command1);
  command1->installEventFilter(this);
  command1->setFocus();

  // The raster box reports a choice from its list and an index set by the
  // program, never typed text. The check boxes report every toggle: by mouse,
  // key, or a screen reader's toggle action.
  connect(command1, &QPushButton::clicked, this, [this] { form_.Command1_Click(); });
  connect(Get<QComboBox>(design::Id::ChRaster), &QComboBox::currentIndexChanged, this,
          [this] { form_.ChRaster_Click(); });
  connect(Get<QCheckBox>(design::Id::TSA_AMFM), &QCheckBox::toggled, this,
          [this] { form_.TSA_AMFM_Click(); });
  connect(Get<QCheckBox>(design::Id::bitcp), &QCheckBox::toggled, this,
          [this] { form_.bitcp_Click(); });
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
  auto* boxStyle = new CheckBoxStyle(QApplication::style()->name());
  boxStyle->setParent(this);
  QWidget* previousInTabOrder = nullptr;
  for (const design::Control& row : design::kControls) {
    QWidget* control = CreateControl(row, client);
    controls_[static_cast<std::size_t>(row.id)] = control;
    if (row.kind == design::Kind::CheckBox) control->setStyle(boxStyle);

    // Screen readers announce each field by its caption: as its name, and as
    // the label it is "labelled by" (how AT-SPI names a combo box). The
    // caption stands just before its field in the table.
    if (const design::Control* caption = design::CaptionOf(row.id)) {
      auto* label = Get<QLabel>(caption->id);
      label->setBuddy(control);
      control->setAccessibleName(label->text());
    }
    // Tab goes round the controls that are not captions in the table's
    // order; the disabled output boxes keep their places but are skipped.
    if (row.role != design::Role::Static) {
      if (previousInTabOrder) setTabOrder(previousInTabOrder, control);
      previousInTabOrder = control;
    }
  }
}

QWidget* MainWindow::CreateControl(const design::Control& row, QWidget* client) {
  // Name, place and font first, the text last: every change after the text
  // would lay it out again.
  const auto placed = [&row](auto* control) {
    control->setObjectName(Utf8(row.name));
    control->setGeometry(Rect(row));
    control->setFont(UiFont(row.font));
    return control;
  };
  const QString text = Utf8(row.text);
  switch (row.kind) {
    case design::Kind::Line: {
      auto* line = placed(new QFrame(client));
      line->setFrameShape(QFrame::NoFrame);
      QPalette palette = line->palette();
      palette.setColor(QPalette::Window, Rgb(row.colour));
      line->setPalette(palette);
      line->setAutoFillBackground(true);
      return line;
    }
    case design::Kind::Label: {
      // No border, opaque dialog-face background, no word wrap.
      auto* label = placed(new QLabel(client));
      label->setAlignment(row.Has(design::kCentred) ? Qt::AlignHCenter | Qt::AlignTop
                                                    : Qt::AlignLeft | Qt::AlignTop);
      label->setAutoFillBackground(true);
      if (row.colour != design::kSystemColour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Rgb(row.colour));
        label->setPalette(palette);
      }
      label->setText(text);
      return label;
    }
    case design::Kind::TextBox: {
      QLineEdit* field = placed(MakeField(client, row.role != design::Role::Output));
      field->setText(text);
      return field;
    }
    case design::Kind::ComboBox: {
      // Editable, unsorted; typed text is never taken into the list.
      auto* box = placed(new QComboBox(client));
      box->setEditable(true);
      box->setInsertPolicy(QComboBox::NoInsert);
      box->setCompleter(nullptr);
      // Qt would pick the entry whose text was typed once editing ends; typed
      // text must not choose anything, so that link is cut.
      QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
      box->setEditText(text);
      return box;
    }
    case design::Kind::CheckBox: {
      auto* box = placed(new QCheckBox(client));
      if (row.Has(design::kSquareRight)) box->setLayoutDirection(Qt::RightToLeft);
      box->setChecked(row.Has(design::kTicked));
      box->setText(text);
      return box;
    }
    case design::Kind::Button:
      break;
  }
  // Neither default nor auto-default: Enter in a text field does not press it.
  auto* button = placed(new QPushButton(client));
  button->setAutoDefault(false);
  button->setDefault(false);
  button->setText(text);
  return button;
}

void MainWindow::showEvent(QShowEvent* event) {
  if (!loaded_) {
    loaded_ = true;
    form_.Form_Load();
  }
  QMainWindow::showEvent(event);
}

QLineEdit* MainWindow::Field(teilomat::TextBox box) const {
  return Get<QLineEdit>(design::IdOf(box));
}

std::string MainWindow::Text(teilomat::TextBox box) const {
  return Field(box)->text().toStdString();
}

void MainWindow::SetText(teilomat::TextBox box, std::string_view text) {
  // A text wider than its field shows its start, its most significant
  // digits, as a native text box does: setText leaves the cursor at the end.
  QLineEdit* field = Field(box);
  field->setText(Utf8(text));
  field->setCursorPosition(0);
}

void MainWindow::AddRasterEntry(std::string_view text) {
  auto* raster = Get<QComboBox>(design::Id::ChRaster);
  const QSignalBlocker appending(raster);  // filling the list is no choice
  raster->addItem(Utf8(text));
}

int MainWindow::RasterIndex() const {
  return Get<QComboBox>(design::Id::ChRaster)->currentIndex();
}

void MainWindow::SetRasterIndex(int index) {
  {
    auto* raster = Get<QComboBox>(design::Id::ChRaster);
    const QSignalBlocker choosing(raster);
    raster->setCurrentIndex(index);
  }
  form_.ChRaster_Click();  // also when the entry was already chosen
}

bool MainWindow::Ticked(teilomat::CheckBox box) const {
  return Get<QCheckBox>(design::IdOf(box))->isChecked();
}

void MainWindow::ShowMessage(teilomat::MessageIcon icon, std::string_view text) {
  QMessageBox box(
      icon == teilomat::MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Warning,
      Utf8(design::kMessageCaption), Utf8(text), QMessageBox::Ok, this);
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
  auto* const command1 = Get<QPushButton>(design::Id::Command1);
  if (watched == command1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      command1->click();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}
