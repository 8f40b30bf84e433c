// The window at work: start-up results, "Berechnen", the raster, band and
// charge-pump choices, the messages for input it cannot use, and the end.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "tests/window_test_support.h"
#include "window/qt/MainWindow.h"

namespace {

// What a message box showed before the test closed it.
struct Message {
  bool shown = false;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons;
};

// Runs `action`; a modal message box that it opens is recorded and closed
// with its OK button.
Message CloseMessageBoxOf(const std::function<void()>& action) {
  Message seen;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&seen, &poll] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    poll.stop();
    seen = {true, box->icon(), box->windowTitle(), box->text(), box->standardButtons()};
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      QTest::mouseClick(ok, Qt::LeftButton);
    } else {
      box->reject();
    }
  });
  poll.start(5);
  action();
  return seen;
}

// Everything the window shows as text.
struct Screen {
  QString rx, zf, vco, raster, db0, db1, db2;
  bool operator==(const Screen&) const = default;
};

void PrintTo(const Screen& s, std::ostream* os) {
  *os << "RX " << s.rx.toStdString() << ", ZF " << s.zf.toStdString() << ", VCO "
      << s.vco.toStdString() << ", raster [" << s.raster.toStdString() << "], DB "
      << s.db0.toStdString() << " " << s.db1.toStdString() << " " << s.db2.toStdString();
}

class EventsTest : public testing::Test {
 protected:
  void SetUp() override { Start(QLocale(QLocale::German, QLocale::Germany)); }

  void Start(const QLocale& locale) {
    QLocale::setDefault(locale);
    window = std::make_unique<MainWindow>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  template <typename T>
  T* Get(const char* name) const {
    return Find<T>(*window, name);
  }

  Screen Shown() const {
    return {Get<QLineEdit>("tfo")->text(),  Get<QLineEdit>("tzf")->text(),
            Get<QLineEdit>("tVCO")->text(), Get<QComboBox>("ChRaster")->currentText(),
            Get<QLineEdit>("tDB0")->text(), Get<QLineEdit>("tDB1")->text(),
            Get<QLineEdit>("tDB2")->text()};
  }

  // Replaces a field's text by typing, as a user does.
  void Type(const char* name, const QString& text) {
    auto* field = Get<QLineEdit>(name);
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
      QTest::keyClick(field, Qt::Key_Delete);
    } else {
      QTest::keyClicks(field, text);
    }
  }

  Message PressBerechnen() {
    return CloseMessageBoxOf(
        [this] { QTest::mouseClick(Get<QPushButton>("Command1"), Qt::LeftButton); });
  }

  // Picks an entry of the raster list from its drop-down, with the mouse.
  void ChooseRaster(int row) {
    auto* raster = Get<QComboBox>("ChRaster");
    raster->showPopup();
    QAbstractItemView* list = raster->view();
    const QRect item = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
  }

  // Ticks or clears a check box by "Mouse", "SpaceBar" or "ScreenReader"
  // (the toggle action of the accessibility interface).
  void Toggle(const char* name, const std::string& route) {
    auto* box = Get<QCheckBox>(name);
    if (route == "Mouse") {
      QTest::mouseClick(box, Qt::LeftButton);
    } else if (route == "SpaceBar") {
      box->setFocus();
      QTest::keyClick(box, Qt::Key_Space);
    } else {
      QAccessible::queryAccessibleInterface(box)->actionInterface()->doAction(
          QAccessibleActionInterface::toggleAction());
    }
  }

  std::unique_ptr<MainWindow> window;
};

const Screen kDefaults{"145,675", "10,7", "156375", "25,000", "223", "48", "160"};

TEST_F(EventsTest, StartsWithTheDefaultResults) {
  EXPECT_EQ(Shown(), kDefaults);
  const auto* raster = Get<QComboBox>("ChRaster");
  ASSERT_EQ(raster->count(), 3);
  EXPECT_EQ(raster->itemText(0), " 1,000");
  EXPECT_EQ(raster->itemText(1), "10,000");
  EXPECT_EQ(raster->currentIndex(), 2);
  EXPECT_EQ(window->State().N, 6255);
  EXPECT_EQ(window->State().Raster, 25000);
}

struct CalcCase {
  const char* name;
  const char* rx;  // typed into the RX field
  const char* zf;  // typed into the ZF field
  Screen after;
};

void PrintTo(const CalcCase& c, std::ostream* os) {
  *os << c.name;
}

class BerechnenTest : public EventsTest, public testing::WithParamInterface<CalcCase> {};

TEST_P(BerechnenTest, ShowsVcoBytesAndRxOnTheChannelGrid) {
  const CalcCase& c = GetParam();
  Type("tfo", QString::fromUtf8(c.rx));
  Type("tzf", QString::fromUtf8(c.zf));
  EXPECT_FALSE(PressBerechnen().shown);
  EXPECT_EQ(Shown(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    German, BerechnenTest,
    testing::Values(CalcCase{"Defaults", "145,675", "10,7", kDefaults},
                    CalcCase{"PulledOntoGrid", "145,68", "10,7", kDefaults},
                    CalcCase{"HalfwayToEven",
                             "145,6625",
                             "10,7",
                             {"145,65", "10,7", "156350", "25,000", "221", "48", "160"}},
                    CalcCase{"NoStrayDigits",
                             "145,6",
                             "10,7",
                             {"145,6", "10,7", "156300", "25,000", "217", "48", "160"}},
                    CalcCase{"GroupingAndBlanks",
                             " 1.450,6 ",
                             "10,70",
                             {"1450,6", "10,70", "1461300", "25,000", "169", "200", "161"}}),
    [](const testing::TestParamInfo<CalcCase>& row) { return row.param.name; });

TEST_F(EventsTest, SmallerRasterTakesEffectAtTheNextBerechnen) {
  ChooseRaster(1);
  Screen expected = kDefaults;
  expected.raster = "10,000";
  EXPECT_EQ(Shown(), expected) << "choosing changes nothing else";
  EXPECT_FALSE(PressBerechnen().shown);
  EXPECT_EQ(Shown(), (Screen{"145,68", "10,7", "156380", "10,000", "45", "122", "96"}));

  ChooseRaster(0);
  Type("tfo", "131,071");
  Type("tzf", "0");
  EXPECT_FALSE(PressBerechnen().shown);
  EXPECT_EQ(Shown(), (Screen{"131,071", "0", "131071", " 1,000", "255", "255", "35"}));
}

TEST_F(EventsTest, DividerAboveSeventeenBitsIsReportedAndNothingChanges) {
  ChooseRaster(0);
  const Screen before = Shown();
  const Message message = PressBerechnen();
  EXPECT_TRUE(message.shown);
  EXPECT_EQ(message.icon, QMessageBox::Critical);
  EXPECT_EQ(message.text, "Teilerverhältnis zu gross! (max 131071)");
  EXPECT_EQ(message.title, "Teilomat");
  EXPECT_EQ(message.buttons, QMessageBox::Ok);
  EXPECT_EQ(Shown(), before);
  EXPECT_EQ(window->State().N, 156375);
}

TEST_F(EventsTest, TypingIntoTheRasterFieldChoosesNothing) {
  auto* raster = Get<QComboBox>("ChRaster");
  QTest::mouseClick(raster->lineEdit(), Qt::LeftButton);
  QTest::keyClick(raster->lineEdit(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(raster->lineEdit(), " 1,000");
  QTest::keyClick(raster->lineEdit(), Qt::Key_Return);
  QTest::keyClick(raster->lineEdit(), Qt::Key_Tab);
  EXPECT_EQ(raster->count(), 3);
  EXPECT_FALSE(PressBerechnen().shown) << "the raster changed to 1 kHz";
  EXPECT_EQ(window->State().Raster, 25000);
}

// Every field the handlers write shows the start of its text, as a native
// text box does; with ZF 10,7123456789 the corrected RX is wider than its field.
TEST_F(EventsTest, WrittenFieldsShowTheStartOfTheirText) {
  EXPECT_EQ(Get<QLineEdit>("tzf")->cursorPosition(), 0) << "written at start-up only";
  Type("tzf", "10,7123456789");
  EXPECT_FALSE(PressBerechnen().shown);
  const auto* rx = Get<QLineEdit>("tfo");
  ASSERT_GT(rx->fontMetrics().horizontalAdvance(rx->text()), rx->contentsRect().width());
  for (const char* name : {"tfo", "tVCO", "tDB0", "tDB1", "tDB2"}) {
    EXPECT_EQ(Get<QLineEdit>(name)->cursorPosition(), 0) << name;
  }
}

class ToggleTest : public EventsTest, public testing::WithParamInterface<std::string> {};

TEST_P(ToggleTest, AmFmSetsTheBandBitsOfTheNextResult) {
  Toggle("TSA_AMFM", GetParam());
  EXPECT_TRUE(Get<QCheckBox>("TSA_AMFM")->isChecked());
  EXPECT_EQ(Shown(), kDefaults);
  PressBerechnen();
  EXPECT_EQ(Get<QLineEdit>("tDB2")->text(), "144");

  Toggle("TSA_AMFM", GetParam());
  PressBerechnen();
  EXPECT_EQ(Get<QLineEdit>("tDB2")->text(), "160");
}

TEST_P(ToggleTest, ChargePumpBitEntersDb0AtTheNextBerechnen) {
  Toggle("bitcp", GetParam());
  EXPECT_FALSE(Get<QCheckBox>("bitcp")->isChecked());
  EXPECT_EQ(Shown(), kDefaults);
  PressBerechnen();
  EXPECT_EQ(Get<QLineEdit>("tDB0")->text(), "222");
}

INSTANTIATE_TEST_SUITE_P(Routes, ToggleTest, testing::Values("Mouse", "SpaceBar", "ScreenReader"),
                         [](const testing::TestParamInfo<std::string>& row) { return row.param; });

TEST_F(EventsTest, ChargePumpBoxReshowsTheBytesAsTheyStand) {
  Get<QLineEdit>("tDB0")->clear();
  Toggle("bitcp", "Mouse");
  EXPECT_EQ(Get<QLineEdit>("tDB0")->text(), "223");
}

TEST_F(EventsTest, EnglishLocaleReadsAndWritesPoints) {
  Start(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(Shown(), (Screen{"145.675", "10.7", "156375", "25,000", "223", "48", "160"}));
  Type("tfo", "1,450.6");
  EXPECT_FALSE(PressBerechnen().shown);
  EXPECT_EQ(Shown(), (Screen{"1450.6", "10.7", "1461300", "25,000", "169", "200", "161"}));
}

struct FailureCase {
  const char* name;
  const char* rx;
  const char* zf;
  QMessageBox::Icon icon;
  const char* text;
  const char* focus;  // the field that gets the focus, or nullptr
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class FailureTest : public EventsTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, IsReportedAndChangesNothing) {
  const FailureCase& c = GetParam();
  Type("tfo", QString::fromUtf8(c.rx));
  Type("tzf", QString::fromUtf8(c.zf));
  const Screen before = Shown();
  const tuning::TuningState state = window->State();

  const Message message = PressBerechnen();
  EXPECT_TRUE(message.shown);
  EXPECT_EQ(message.icon, c.icon);
  EXPECT_EQ(message.text, QString::fromUtf8(c.text));
  EXPECT_EQ(message.title, "Teilomat");
  EXPECT_EQ(message.buttons, QMessageBox::Ok);
  EXPECT_EQ(Shown(), before);

  if (c.focus) {
    auto* field = Get<QLineEdit>(c.focus);
    EXPECT_EQ(window->focusWidget(), field);
    EXPECT_EQ(field->selectedText(), field->text());
    EXPECT_EQ(window->State().fo, state.fo) << "the state took a value that is no number";
    EXPECT_EQ(window->State().zf, state.zf);
  }
}

constexpr auto kWarning = QMessageBox::Warning;
constexpr auto kCritical = QMessageBox::Critical;

INSTANTIATE_TEST_SUITE_P(
    German, FailureTest,
    testing::Values(
        FailureCase{"RxNotANumber", "abc", "10,7", kWarning, "Ungültige Zahl bei RX (MHz).", "tfo"},
        FailureCase{"RxTwoCommas", "145,6,7", "10,7", kWarning, "Ungültige Zahl bei RX (MHz).",
                    "tfo"},
        FailureCase{"ZfEmpty", "145,675", "", kWarning, "Ungültige Zahl bei ZF (MHz).", "tzf"},
        FailureCase{"RxBeyondDoubles", "1E400", "10,7", kWarning, "Ungültige Zahl bei RX (MHz).",
                    "tfo"},
        FailureCase{"QuotientBeyond32Bits", "1E300", "10,7", kCritical,
                    "Teilerverhältnis zu gross! (max 131071)", nullptr},
        FailureCase{"SumBeyondDoubles", "1E308", "1E308", kCritical,
                    "Teilerverhältnis zu gross! (max 131071)", nullptr},
        FailureCase{"NegativeDivider", "-20", "10,7", kCritical,
                    "Teilerverhältnis zu klein! (min 0)", nullptr},
        FailureCase{"FarBelowZero", "-1E300", "10,7", kCritical,
                    "Teilerverhältnis zu klein! (min 0)", nullptr},
        FailureCase{"OpposingHugeValues", "1E303", "-1E303", kCritical,
                    "RX und ZF sind zu gross zum Rechnen.", nullptr}),
    [](const testing::TestParamInfo<FailureCase>& row) { return row.param.name; });

TEST_F(EventsTest, PastedHugeTextIsRefusedAsNotANumber) {
  const QString huge(100000, QLatin1Char('1'));
  QApplication::clipboard()->setText(huge);
  auto* rx = Get<QLineEdit>("tfo");
  QTest::mouseClick(rx, Qt::LeftButton);
  QTest::keyClick(rx, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(rx, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(rx->text(), huge) << "the field cut the text short";

  const Message message = PressBerechnen();
  EXPECT_EQ(message.text, "Ungültige Zahl bei RX (MHz).");
  EXPECT_EQ(Get<QLineEdit>("tVCO")->text(), "156375");
}

// "&Ende" and the close box both end the event loop, and with it the program.
TEST_F(EventsTest, EndeAndTheCloseBoxEndTheProgram) {
  const std::function<void(MainWindow&)> ways[] = {
      [](MainWindow& w) { QTest::keyClick(&w, Qt::Key_E, Qt::AltModifier); },
      [](MainWindow& w) { w.close(); }};
  for (const auto& end : ways) {
    Start(QLocale(QLocale::German, QLocale::Germany));
    QTimer::singleShot(0, window.get(), [&] { end(*window); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window->isVisible());
  }
}

}  // namespace
