// The window as it is built: places, fonts, texts, focus, menu, accessibility.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>
#include <utility>

#include "tests/window_test_support.h"
#include "window/qt/MainWindow.h"

namespace {

QString TextOf(const QWidget* widget) {
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (auto* field = qobject_cast<const QLineEdit*>(widget)) return field->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->currentText();
  return {};
}

// Whether the caption or text shows in full at the control's size.
bool Fits(const QWidget* widget) {
  const QFontMetrics metrics = widget->fontMetrics();
  const int textWidth = metrics.horizontalAdvance(TextOf(widget));
  if (auto* label = qobject_cast<const QLabel*>(widget)) {
    return textWidth <= label->contentsRect().width() &&
           metrics.height() <= label->contentsRect().height();
  }
  if (auto* box = qobject_cast<const QCheckBox*>(widget)) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect label = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    return textWidth <= label.width() && metrics.height() <= label.height();
  }
  if (qobject_cast<const QPushButton*>(widget)) {
    return textWidth + 12 <= widget->width() && metrics.height() + 8 <= widget->height();
  }
  const int frame = widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  return metrics.height() <= widget->height() - 2 * frame;
}

class WindowTest : public testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

  // Shows the window and waits until it has the keyboard.
  void ShowAndActivate() {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  // The control that has the focus; the raster box's own text field counts
  // as the box.
  QString Focused() const {
    QWidget* widget = QApplication::focusWidget();
    if (widget && qobject_cast<QComboBox*>(widget->parentWidget())) widget = widget->parentWidget();
    return widget ? widget->objectName() : QString();
  }

  MainWindow window;
};

struct ControlCase {
  const char* name;
  const char* text;  // nullptr: free wording
  QRect pixels;      // left, top, width, height at 96 dpi
  qreal points;
  bool bold;
  bool enabled;
};

void PrintTo(const ControlCase& c, std::ostream* os) {
  *os << c.name;
}

class ControlTest : public WindowTest, public testing::WithParamInterface<ControlCase> {};

TEST_P(ControlTest, StandsInPlaceWithFontTextAndState) {
  const ControlCase& c = GetParam();
  const QWidget* widget = Find<QWidget>(window, c.name);
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->geometry(), c.pixels);
  EXPECT_EQ(widget->font().family(), MainWindow::FontFamily());
  EXPECT_EQ(widget->font().pointSizeF(), c.points);
  EXPECT_EQ(widget->font().bold(), c.bold);
  EXPECT_EQ(widget->isEnabled(), c.enabled);
  EXPECT_TRUE(widget->isVisibleTo(&window));
  if (c.text) {
    EXPECT_EQ(TextOf(widget), QString::fromUtf8(c.text));
  }
  EXPECT_TRUE(Fits(widget)) << "text is clipped";
}

INSTANTIATE_TEST_SUITE_P(
    Design, ControlTest,
    testing::Values(ControlCase{"TSA_AMFM", "AM/FM", {184, 224, 57, 17}, 8.25, false, true},
                    ControlCase{"tVCO", "tVCO", {152, 152, 105, 28}, 12, false, false},
                    ControlCase{
                        "bitcp", "BIT 0 CP (charge Pump)", {31, 224, 138, 17}, 8.25, false, true},
                    ControlCase{"ChRaster", "cRaster", {152, 184, 105, 24}, 9.75, true, true},
                    ControlCase{"tzf", "", {152, 120, 105, 28}, 12, true, true},
                    ControlCase{"tDB2", "Text4", {152, 320, 105, 19}, 8.25, false, false},
                    ControlCase{"tDB1", "Text3", {152, 296, 105, 19}, 8.25, false, false},
                    ControlCase{"tDB0", "Text2", {152, 272, 105, 19}, 8.25, false, false},
                    ControlCase{"tfo", "", {152, 88, 105, 28}, 12, true, true},
                    ControlCase{"Command1", "Berechnen", {152, 352, 105, 33}, 8.25, false, true},
                    ControlCase{"Label11", nullptr, {88, 56, 233, 25}, 9.75, false, true},
                    ControlCase{"Label10", "Teilomat", {104, 16, 201, 33}, 18, false, true},
                    ControlCase{"Label8", "VCO (KHz)", {47, 152, 97, 25}, 12, false, true},
                    ControlCase{"Label7", "Raster (kHz)", {47, 184, 97, 25}, 12, false, true},
                    ControlCase{"Label6", "ZF (MHz)", {47, 120, 89, 25}, 12, false, true},
                    ControlCase{"Label4", "DB2", {47, 320, 50, 17}, 8.25, false, true},
                    ControlCase{"Label3", "DB1", {47, 296, 58, 17}, 8.25, false, true},
                    ControlCase{"Label2", "DB0", {47, 272, 58, 17}, 8.25, false, true},
                    ControlCase{"Label1", "RX (MHz)", {47, 96, 89, 25}, 12, false, true}),
    [](const testing::TestParamInfo<ControlCase>& row) { return row.param.name; });

TEST_F(WindowTest, FontsResolveToAnInstalledFace) {
  const QFontInfo info(window.font());
  EXPECT_EQ(info.family(), MainWindow::FontFamily()) << "the face was substituted";
}

TEST_F(WindowTest, CreditLineIsShortCentredAndNamesNoOne) {
  const auto* credit = Find<QLabel>(window, "Label11");
  ASSERT_NE(credit, nullptr);
  EXPECT_FALSE(credit->text().isEmpty());
  EXPECT_LE(credit->text().size(), 35);
  EXPECT_TRUE(credit->alignment() & Qt::AlignHCenter);
  EXPECT_TRUE(Find<QLabel>(window, "Label10")->alignment() & Qt::AlignHCenter);
}

TEST_F(WindowTest, GreyCaptionAndLightGreyBandUnderTheMenu) {
  EXPECT_EQ(Find<QLabel>(window, "Label8")->palette().color(QPalette::WindowText),
            QColor(0x80, 0x80, 0x80));
  const QImage client = window.centralWidget()->grab().toImage();
  for (int x : {0, 200, 399}) {
    EXPECT_EQ(client.pixelColor(x, 0), QColor(0xE0, 0xE0, 0xE0)) << x;
    EXPECT_EQ(client.pixelColor(x, 2), QColor(0xE0, 0xE0, 0xE0)) << x;
    EXPECT_NE(client.pixelColor(x, 3), QColor(0xE0, 0xE0, 0xE0)) << x;
  }
}

// The results stay grey but readable (at least 4.5:1) on light and dark
// fields alike; the toolkit's own disabled grey is far paler.
TEST_F(WindowTest, OutputTextIsGreyButReadableInLightAndDarkSchemes) {
  for (const char* name : {"tVCO", "tDB0"}) {
    const QPalette palette = Find<QLineEdit>(window, name)->palette();
    const QColor text = palette.color(QPalette::Disabled, QPalette::Text);
    const QColor base = palette.color(QPalette::Disabled, QPalette::Base);
    EXPECT_GE(MainWindow::Contrast(text, base), 4.5) << name << " " << text.name().toStdString();
    EXPECT_NE(text, palette.color(QPalette::Active, QPalette::Text)) << name << " is not grey";
  }
  const QColor schemes[][2] = {{Qt::black, Qt::white},
                               {QColor(0xEE, 0xEE, 0xEC), QColor(0x2D, 0x2D, 0x2D)}};
  for (const auto& [text, base] : schemes) {
    const QColor grey = MainWindow::ReadableGrey(text, base);
    EXPECT_GE(MainWindow::Contrast(grey, base), 4.5) << grey.name().toStdString();
    EXPECT_LT(MainWindow::Contrast(grey, base), MainWindow::Contrast(text, base) - 5);
  }
}

TEST_F(WindowTest, CheckBoxesStartTickedAndClearWithSquaresFacingEachOther) {
  const auto* bitcp = Find<QCheckBox>(window, "bitcp");
  const auto* amfm = Find<QCheckBox>(window, "TSA_AMFM");
  ASSERT_TRUE(bitcp && amfm);
  EXPECT_TRUE(bitcp->isChecked());
  EXPECT_FALSE(amfm->isChecked());

  const auto squareOf = [](const QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    return box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
  };
  EXPECT_GE(squareOf(bitcp).right(), bitcp->width() - 3) << "square at the right end";
  EXPECT_LE(squareOf(amfm).left(), 2) << "square at the left end";
}

TEST_F(WindowTest, HasFixedClientAreaTitleIconAndNoSizeButtons) {
  ShowAndActivate();
  EXPECT_EQ(window.windowTitle(), "PLL mit TSA6057");
  EXPECT_EQ(window.centralWidget()->size(), QSize(400, 398));
  EXPECT_EQ(window.centralWidget()->y(), window.menuBar()->height());
  EXPECT_EQ(window.minimumSize(), window.maximumSize());

  const QSize before = window.size();
  window.resize(before + QSize(100, 100));
  EXPECT_EQ(window.size(), before);

  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

  const QList<QSize> sizes = window.windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)));

  const QPoint offset = window.geometry().center() - window.screen()->availableGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 2) << "centred on the screen";
}

TEST_F(WindowTest, TabRunsRoundTheInputsBothWays) {
  ShowAndActivate();
  EXPECT_EQ(Focused(), "Command1") << "first focus";
  const QStringList forwards{"tfo", "tzf", "ChRaster", "bitcp", "TSA_AMFM", "Command1", "tfo"};
  for (const QString& expected : forwards) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), expected);
  }
  const QStringList backwards{"Command1", "TSA_AMFM", "bitcp", "ChRaster", "tzf", "tfo"};
  for (const QString& expected : backwards) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), expected);
  }
}

TEST_F(WindowTest, OutputBoxesAndLabelsNeverTakeTheFocus) {
  ShowAndActivate();
  for (const char* name : {"tVCO", "tDB0", "tDB1", "tDB2", "Label1", "Label8", "Label10"}) {
    QTest::mouseClick(Find<QWidget>(window, name), Qt::LeftButton);
    EXPECT_EQ(Focused(), "Command1") << name;
  }
}

TEST_F(WindowTest, BerechnenIsPressedBySpaceAndEnterButIsNoDefaultButton) {
  ShowAndActivate();
  auto* button = Find<QPushButton>(window, "Command1");
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->isDefault());
  EXPECT_FALSE(button->autoDefault());
  QSignalSpy clicks(button, &QPushButton::clicked);
  QTest::keyClick(button, Qt::Key_Space);
  QTest::keyClick(button, Qt::Key_Return);
  QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(clicks.count(), 3);

  auto* rx = Find<QLineEdit>(window, "tfo");
  rx->setFocus();
  QTest::keyClick(rx, Qt::Key_Return);
  QTest::keyClick(rx, Qt::Key_Escape);
  EXPECT_EQ(clicks.count(), 3) << "Enter or Escape in a field pressed the button";
}

TEST_F(WindowTest, MenuBarHoldsOnlyEndeChosenByAltE) {
  const QList<QAction*> items = window.menuBar()->actions();
  ASSERT_EQ(items.size(), 1);
  QAction* ende = items.front();
  EXPECT_EQ(ende->objectName(), "mnuFile");
  EXPECT_EQ(ende->text(), "&Ende");
  EXPECT_EQ(ende->menu(), nullptr);
  EXPECT_TRUE(ende->isEnabled());
  EXPECT_FALSE(ende->isCheckable());
  EXPECT_TRUE(ende->shortcut().isEmpty());

  ShowAndActivate();
  QSignalSpy chosen(ende, &QAction::triggered);
  QTest::keyClick(&window, Qt::Key_E, Qt::AltModifier);
  EXPECT_EQ(chosen.count(), 1);
}

TEST_F(WindowTest, ScreenReadersHearEachControlByItsCaption) {
  const std::pair<const char*, const char*> fields[] = {
      {"tfo", "RX (MHz)"}, {"tzf", "ZF (MHz)"}, {"tVCO", "VCO (KHz)"}, {"ChRaster", "Raster (kHz)"},
      {"tDB0", "DB0"},     {"tDB1", "DB1"},     {"tDB2", "DB2"}};
  for (const auto& [name, caption] : fields) {
    QWidget* field = Find<QWidget>(window, name);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->accessibleName(), caption) << name;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(field);
    ASSERT_NE(face, nullptr) << name;
    const auto labels = face->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1) << name;
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), caption) << name;
  }
  for (const char* name : {"bitcp", "TSA_AMFM", "Command1"}) {
    auto* button = Find<QAbstractButton>(window, name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
              button->text());
  }
}

}  // namespace
