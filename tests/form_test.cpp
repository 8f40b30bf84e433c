// The window's handlers on their own, over an in-memory window that records
// every write, message and focus change in the order they happen.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "window/Form1.h"

namespace {

using teilomat::CheckBox;
using teilomat::MessageIcon;
using teilomat::TextBox;

const char* Name(TextBox box) {
  constexpr const char* kNames[] = {"tfo", "tzf", "tVCO", "tDB0", "tDB1", "tDB2"};
  return kNames[static_cast<int>(box)];
}

// A window that keeps its texts in a map and writes a log line for each
// thing the handlers do to it.
class MemoryWindow : public teilomat::FormControls {
 public:
  MemoryWindow() : form(*this) {}

  std::string Text(TextBox box) const override { return texts.at(Name(box)); }
  void SetText(TextBox box, std::string_view text) override {
    texts[Name(box)] = std::string(text);
    log.push_back(std::string(Name(box)) + "=" + std::string(text));
  }
  void AddRasterEntry(std::string_view text) override { entries.emplace_back(text); }
  int RasterIndex() const override { return index; }
  void SetRasterIndex(int i) override {
    index = i;
    log.push_back("ChRaster=" + std::to_string(i));
    form.ChRaster_Click();
  }
  bool Ticked(CheckBox box) const override { return box == CheckBox::bitcp ? chargePump : amFm; }
  void ShowMessage(MessageIcon icon, std::string_view text) override {
    log.push_back(std::string(icon == MessageIcon::Critical ? "stop: " : "warning: ") +
                  std::string(text));
  }
  void FocusAndSelectAll(TextBox box) override { log.push_back(std::string("focus ") + Name(box)); }
  tuning::Separators LocaleSeparators() const override { return separators; }
  void Unload() override { log.emplace_back("unload"); }

  // Loads the window and forgets what loading wrote.
  void Load() {
    form.Form_Load();
    log.clear();
  }
  void Type(const char* rx, const char* zf) {
    texts["tfo"] = rx;
    texts["tzf"] = zf;
  }

  std::map<std::string, std::string> texts{{"tfo", ""},       {"tzf", ""},       {"tVCO", "tVCO"},
                                           {"tDB0", "Text2"}, {"tDB1", "Text3"}, {"tDB2", "Text4"}};
  std::vector<std::string> entries;
  int index = -1;
  bool chargePump = true;
  bool amFm = false;
  tuning::Separators separators{",", "."};
  std::vector<std::string> log;
  teilomat::Form1 form;
};

using Log = std::vector<std::string>;

TEST(Form1, LoadFillsTheListThenWritesInputsVcoAndBytesInOrder) {
  MemoryWindow w;
  w.form.Form_Load();
  EXPECT_EQ(w.entries, (std::vector<std::string>{" 1,000", "10,000", "25,000"}));
  EXPECT_EQ(w.log, (Log{"ChRaster=2", "tfo=145,675", "tzf=10,7", "tVCO=156375", "tDB0=223",
                        "tDB1=48", "tDB2=160"}));
  EXPECT_EQ(w.form.State().N, 6255);
}

TEST(Form1, LoadTakesTheChoicesAsTheWindowHoldsThem) {
  MemoryWindow w;
  w.chargePump = false;
  w.amFm = true;  // the band bits follow the box only once it is clicked
  w.separators = {".", ","};
  w.form.Form_Load();
  EXPECT_EQ(w.texts["tfo"], "145.675");
  EXPECT_EQ(w.texts["tDB0"], "222");
  EXPECT_EQ(w.texts["tDB2"], "160");
}

TEST(Form1, BerechnenWritesVcoThenBytesThenRxAndLeavesZfAlone) {
  MemoryWindow w;
  w.Load();
  w.Type("145,68", "10,70");
  w.form.Command1_Click();
  EXPECT_EQ(w.log, (Log{"tVCO=156375", "tDB0=223", "tDB1=48", "tDB2=160", "tfo=145,675"}));
  EXPECT_EQ(w.texts["tzf"], "10,70");
}

TEST(Form1, ChoicesTakeEffectAtTheNextBerechnen) {
  MemoryWindow w;
  w.Load();
  w.amFm = true;
  w.form.TSA_AMFM_Click();
  w.chargePump = false;
  w.form.bitcp_Click();  // shows the bytes as they stand
  w.index = 1;
  w.form.ChRaster_Click();
  EXPECT_EQ(w.log, (Log{"tDB0=223", "tDB1=48", "tDB2=160"}));

  w.log.clear();
  w.Type("145,68", "10,7");
  w.form.Command1_Click();
  EXPECT_EQ(w.log, (Log{"tVCO=156380", "tDB0=44", "tDB1=122", "tDB2=80", "tfo=145,68"}));
}

TEST(Form1, RasterIndexOutsideTheListKeepsTheStep) {
  MemoryWindow w;
  w.Load();
  w.index = -1;
  w.form.ChRaster_Click();
  EXPECT_EQ(w.form.State().Raster, 25000);
}

struct FailureCase {
  const char* name;
  const char* rx;
  const char* zf;
  Log log;  // everything the handler did, in order
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class Form1Failure : public testing::TestWithParam<FailureCase> {};

TEST_P(Form1Failure, ShowsOneMessageAndWritesNothing) {
  MemoryWindow w;
  w.Load();
  const auto bytes = w.form.State().DB;
  w.Type(GetParam().rx, GetParam().zf);
  w.form.Command1_Click();
  EXPECT_EQ(w.log, GetParam().log);
  EXPECT_EQ(w.form.State().DB, bytes);
}

INSTANTIATE_TEST_SUITE_P(
    German, Form1Failure,
    testing::Values(
        FailureCase{
            "RxNoNumber", "abc", "10,7", {"warning: Ungültige Zahl bei RX (MHz).", "focus tfo"}},
        FailureCase{
            "ZfNoNumber", "145,675", "", {"warning: Ungültige Zahl bei ZF (MHz).", "focus tzf"}},
        FailureCase{
            "AboveSeventeenBits", "131071", "0", {"stop: Teilerverhältnis zu gross! (max 131071)"}},
        FailureCase{"NegativeDivider", "-20", "10,7", {"stop: Teilerverhältnis zu klein! (min 0)"}},
        FailureCase{
            "NegativeBeyond32Bits", "-1E300", "0", {"stop: Teilerverhältnis zu klein! (min 0)"}},
        FailureCase{"PositiveBeyond32Bits",
                    "1E300",
                    "0",
                    {"stop: Teilerverhältnis zu gross! (max 131071)"}},
        FailureCase{"OpposingHugeValues",
                    "1E303",
                    "-1E303",
                    {"stop: RX und ZF sind zu gross zum Rechnen."}}),
    [](const testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

TEST(Form1, EndeUnloadsTheWindow) {
  MemoryWindow w;
  w.Load();
  w.form.mnuFile_Click();
  EXPECT_EQ(w.log, Log{"unload"});
}

}  // namespace
