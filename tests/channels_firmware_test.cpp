// The firmware header's engine: names in the display's character set and cut
// to a length, the table's size in an AVR's flash and what fits a budget, the
// sides a 32-bit firmware cannot hold, the include line and the address.
#include <gtest/gtest.h>

#include "channels/FirmwareHeader.h"
#include "channels/NameCharset.h"

namespace {

using channels::NameCharset;

TEST(FirmwareNames, AreWrittenInTheCharsetAndCutInItsBytes) {
  struct Case {
    const char* what;
    const char* name;
    NameCharset charset;
    std::size_t length;
    const char* want;
    bool cut;
  };
  const Case cases[] = {
      {"utf8 unchanged", "Hören", NameCharset::Utf8, 99, "Hören", false},
      {"German letters", "Hören ÄÖÜ ß", NameCharset::Ascii, 99, "Hoeren AeOeUe ss", false},
      {"accents go", "ÀéçñåøæœłÿĀſ", NameCharset::Ascii, 99, "AecnaoaeoelyAs", false},
      {"other characters", "€日\xFF", NameCharset::Ascii, 99, "???", false},
      {"ascii keeps \\ and ~", "a\\b~", NameCharset::Ascii, 99, "a\\b~", false},
      {"A00 ROM", "äöüß°µμ", NameCharset::Hd44780, 99, "\xE1\xEF\xF5\xE2\xDF\xE4\xE4", false},
      {"A00 capitals as ascii", "ÖÉ", NameCharset::Hd44780, 99, "OeE", false},
      {"A00 yen and arrows", "a\\b~c\x7F\x01", NameCharset::Hd44780, 99, "a?b?c??", false},
      {"utf8 cut at a character", "Hören", NameCharset::Utf8, 2, "H", true},
      {"ascii cut in its bytes", "Hören", NameCharset::Ascii, 3, "Hoe", true},
      {"A00 cut in its bytes", "Hören", NameCharset::Hd44780, 2, "H\xEF", true},
      {"cut loses trailing blanks", "ab  cd", NameCharset::Utf8, 4, "ab", true},
      {"uncut keeps them", "ab  ", NameCharset::Utf8, 4, "ab  ", false},
  };
  for (const Case& c : cases) {
    const channels::HeaderName made = channels::MakeHeaderName(c.name, c.charset, c.length);
    EXPECT_EQ(made.text, c.want) << c.what;
    EXPECT_EQ(made.cut, c.cut) << c.what;
  }
}

TEST(FirmwareTable, FitsABudgetWithNamesCutOrWithout) {
  using Kind = channels::TableFit::Kind;
  struct Case {
    const char* what;
    std::uint64_t budget;
    Kind kind;
    std::size_t length;
  };
  // 1000 channels of at most 15 bytes: 9 + 16 bytes each, 25000 in all.
  const Case cases[] = {
      {"whole names", 25000, Kind::Names, 15},   {"one byte short", 24999, Kind::Names, 14},
      {"one-byte names", 11000, Kind::Names, 1}, {"no names", 10999, Kind::NoNames, 0},
      {"bytes only", 9000, Kind::NoNames, 0},    {"nothing", 8999, Kind::Nothing, 0},
  };
  EXPECT_EQ(channels::TableBytes(1000, 16), 25000u);
  for (const Case& c : cases) {
    const channels::TableFit fit = channels::FitTable(1000, 15, c.budget);
    EXPECT_EQ(fit.kind, c.kind) << c.what;
    EXPECT_EQ(fit.nameLength, c.length) << c.what;
  }
}

TEST(FirmwareTable, FindsTheFirstSideBeyond32BitsAndNulNames) {
  struct Case {
    const char* what;
    const char* list;
    double zf, txZf;
    std::int64_t number;  // -1: none
    bool tx;
  };
  const Case cases[] = {
      {"all fit", "name,rx_mhz,tx_mhz\na,145.6,3276.775\n", 10.7, 0, -1, false},
      {"RX below 0", "name,rx_mhz\na,145.6\nb,-5\n", 10.7, 0, 1, false},
      {"RX beyond 2^32", "name,rx_mhz\na,4300\n", -1100, 0, 0, false},
      {"TX below 0", "name,rx_mhz,tx_mhz\na,145.6,-5\n", 10.7, 10.7, 0, true},
  };
  for (const Case& c : cases) {
    const channels::ChannelList list = channels::ReadChannelList(c.list);
    channels::PlanSettings settings;
    settings.rx.zf = c.zf;
    settings.txZf = c.txZf;
    const channels::Plan plan = channels::MakePlan(list.channels, settings);
    ASSERT_TRUE(plan) << c.what;
    channels::FirmwareHeaderSettings header;
    header.zfHz = *channels::WholeHz(c.zf);
    header.txZfHz = *channels::WholeHz(c.txZf);
    const auto beyond = channels::FirstSideBeyondHz(plan.channels, header);
    EXPECT_EQ(beyond ? beyond->number : -1, c.number) << c.what;
    EXPECT_EQ(beyond && beyond->tx, c.tx) << c.what;
  }
  using namespace std::string_literals;
  const channels::ChannelList nul = channels::ReadChannelList("name,rx_mhz\na,145.6\nb\0c,1\n"s);
  ASSERT_NE(channels::FirstNulName(nul.channels), nullptr);
  EXPECT_EQ(channels::FirstNulName(nul.channels)->line, 3u);
  EXPECT_EQ(channels::FirstNulName(channels::ReadChannelList("name,rx_mhz\na,1\n").channels),
            nullptr);
}

TEST(FirmwareHeader, NamesItsFileAndTheChipsAddress) {
  struct Case {
    const char* path;
    const char* include;
  };
  const Case cases[] = {{"out/fw.h", "fw.h"},     {"C:\\out\\k-1.h", "k-1.h"},
                        {"-", "fw_plan.h"},       {"", "fw_plan.h"},
                        {"x*/.h\"", "fw_plan.h"}, {"Kanäle.h", "fw_plan.h"}};
  for (const Case& c : cases) EXPECT_EQ(channels::IncludeName(c.path, "fw"), c.include) << c.path;
  const channels::ChannelList list = channels::ReadChannelList("name,rx_mhz\nHören,145.6\n");
  channels::FirmwareHeaderSettings settings;
  settings.prefix = "fw";
  settings.fileName = "out/fw.h";
  settings.addressByte = 0xC6;
  settings.charset = NameCharset::Ascii;
  channels::StringSink out;
  channels::WriteFirmwareHeader(channels::MakePlan(list.channels, {}).channels, settings, out);
  for (const char* want : {"#include \"fw.h\"\n", "#define FW_TSA6057_ADDRESS 0x63 ",
                           "(Adressbyte 0xC6)", "\"Hoeren\"}", "#define FW_PLAN_NAME_SIZE 7 "}) {
    EXPECT_NE(out.Text().find(want), std::string::npos) << want;
  }
}

}  // namespace
