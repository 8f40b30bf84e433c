// The chip on its bus: the address and bus read from text, the write in
// every form, the script of i2ctransfer commands, and a write decoded.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "channels/ChipBus.h"
#include "channels/Decode.h"
#include "channels/Plan.h"
#include "channels/PlanWriters.h"
#include "channels/RowWriter.h"
#include "i2c_script_check.h"

namespace {

TEST(ChipBus, ReadsTheTwoAddressesInEitherFormAndCase) {
  struct Case {
    const char* name;
    const char* text;
    std::optional<std::uint8_t> address;
  };
  const Case cases[] = {
      {"byte", "0xC4", 0xC4},
      {"lower", "0xc4", 0xC4},
      {"capital x", "0XC4", 0xC4},
      {"7 bit", "0x62", 0xC4},
      {"select", "0xC6", 0xC6},
      {"select 7 bit", "0x63", 0xC6},
      {"mixed case", "0Xc6", 0xC6},
      {"other chip", "0xC8", std::nullopt},
      {"read bit", "0xC5", std::nullopt},
      {"decimal", "196", std::nullopt},
      {"no prefix", "C4", std::nullopt},
      {"blank", " 0xC4", std::nullopt},
      {"leading zero", "0x0C4", std::nullopt},
      {"prefix only", "0x", std::nullopt},
      {"sign", "0x-1", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(channels::ReadChipAddress(c.text), c.address) << c.name;
  EXPECT_EQ(channels::AddressComplaint("--address", "0xC8"),
            "--address \u201E0xC8\u201C gibt es nicht: 0xC4 (7 Bit 0x62) oder 0xC6 (7 Bit 0x63), "
            "je nachdem, ob der Adresswahl-Eingang des TSA6057 gesetzt ist.");
}

TEST(ChipBus, ReadsBusNumbersUpToI2cToolsLimit) {
  struct Case {
    const char* name;
    const char* text;
    std::optional<unsigned> bus;
  };
  const Case cases[] = {
      {"zero", "0", 0u},
      {"one", "1", 1u},
      {"largest", "1048575", 1048575u},
      {"too large", "1048576", {}},
      {"leading zero", "01", {}},
      {"sign", "-1", {}},
      {"plus", "+1", {}},
      {"fraction", "1.0", {}},
      {"empty", "", {}},
      {"name", "i2c-1", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(channels::ReadBusNumber(c.text), c.bus) << c.name;
}

// The bytes as the chip's bit layout gives them: DB0 223 = 0xDF, DB1 48 = 0x30,
// DB2 160 = 0xA0, framed by the address byte, subaddress 0 and DB3 0.
TEST(ChipBus, WritesTheFrameForEitherTarget) {
  struct Case {
    const char* name;
    channels::ChipTarget target;
    std::array<std::uint8_t, 3> bytes;
    const char *hex, *json, *line;
  };
  const Case cases[] = {
      {"defaults",
       {},
       {223, 48, 160},
       "C4 00 DF 30 A0 00",
       "[196, 0, 223, 48, 160, 0]",
       "i2ctransfer -y 1 w5@0x62 0x00 0xdf 0x30 0xa0 0x00\n"},
      {"select, bus 0",
       {0xC6, 0},
       {1, 2, 255},
       "C6 00 01 02 FF 00",
       "[198, 0, 1, 2, 255, 0]",
       "i2ctransfer -y 0 w5@0x63 0x00 0x01 0x02 0xff 0x00\n"},
  };
  for (const Case& c : cases) {
    channels::StringSink hex, json, line;
    channels::PutChipWriteHex(hex, tuning::MakeChipWrite(c.target.address, c.bytes));
    channels::PutChipWriteJson(json, tuning::MakeChipWrite(c.target.address, c.bytes));
    channels::PutI2cTransferLine(line, c.target, c.bytes);
    EXPECT_EQ(hex.Text(), c.hex) << c.name;
    EXPECT_EQ(json.Text(), c.json) << c.name;
    EXPECT_EQ(line.Text(), c.line) << c.name;
  }
}

TEST(ChipBus, CommentTextLeavesNothingThatEndsTheComment) {
  const std::pair<const char*, const char*> cases[] = {
      {"Relais DB0XY-2_a.b,c", "Relais DB0XY-2_a.b,c"},
      {"$(reboot)", "??reboot?"},
      {"`id`", "?id?"},
      {"a\nrm -rf x", "a?rm -rf x"},
      {"x */ y", "x ?? y"},
      {"cr\rhere", "cr?here"},
      {"S\u00FCd", "S?d"},  // one character, one question mark
      {"\xFF\xFE", "??"},
  };
  for (const auto& [name, shown] : cases) EXPECT_EQ(channels::CommentText(name), shown) << shown;
  EXPECT_EQ(channels::CommentText(std::string("a\0b", 3)), "a?b");
}

TEST(I2cScript, TableAndPlanFollowTheManualsSyntax) {
  channels::StringSink table;
  channels::RowWriter writer(channels::Format::I2cTransfer,
                             {"table", {}, channels::Range{145.6, 145.65}, "x", {0xC6, 7}}, table);
  writer.Begin();
  for (std::int32_t n = 6252; n <= 6254; ++n) writer.Put(channels::ChannelRow({}, n));
  writer.End();
  const testing_support::ScriptCheck rows = testing_support::CheckI2cScript(table.Text());
  EXPECT_EQ(rows.badLine, "") << table.Text();
  EXPECT_EQ(rows.writes, 3u);
  EXPECT_EQ(rows.lastWrite, "i2ctransfer -y 7 w5@0x63 0x00 0xdd 0x30 0xa0 0x00");  // N 6254
  EXPECT_NE(table.Text().find("\n# Schreibt mit i2ctransfer (i2c-tools) in den TSA6057 an 0x63 "
                              "auf I2C-Bus 7.\n"),
            std::string::npos)
      << table.Text();

  const channels::ChannelList list = channels::ReadChannelList(
      "name,rx_mhz,tx_mhz\n\"$(reboot)`id`\n*/\r\",145.6,145.0\nx,145.5,\n");
  const channels::Plan plan = channels::MakePlan(list.channels, {});
  channels::StringSink script;
  channels::WritePlanI2cTransfer(plan.channels, "ZF 10.7 MHz", {}, script);
  const testing_support::ScriptCheck sides = testing_support::CheckI2cScript(script.Text());
  EXPECT_EQ(sides.badLine, "") << script.Text();
  EXPECT_EQ(sides.writes, 3u);  // RX and TX, then RX alone
  EXPECT_NE(script.Text().find("# Kanal 0 (??reboot??id????\?), TX 145 MHz\n"
                               "i2ctransfer -y 1 w5@0x62 0x00 0x51 0x2d 0xa0 0x00\n"),
            std::string::npos)
      << script.Text();
}

TEST(TakeWrite, ChecksTheFixedBytesOfAWrite) {
  using P = channels::WriteProblem;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    P problem;
    std::size_t at;
    std::optional<std::uint8_t> address;
  };
  const Case cases[] = {
      {"data bytes", {223, 48, 160}, P::None, 0, {}},
      {"from subaddress", {0, 223, 48, 160, 0}, P::None, 0, {}},
      {"whole", {0xC4, 0, 223, 48, 160, 0}, P::None, 0, 0xC4},
      {"whole, select", {0xC6, 0, 223, 48, 160, 0}, P::None, 0, 0xC6},
      {"four", {0, 223, 48, 160}, P::Count, 0, {}},
      {"seven", {0xC4, 0, 223, 48, 160, 0, 0}, P::Count, 0, {}},
      {"other chip", {0xC8, 0, 223, 48, 160, 0}, P::Address, 0, {}},
      {"7-bit form", {0x62, 0, 223, 48, 160, 0}, P::Address, 0, {}},
      {"read bit", {0xC5, 0, 223, 48, 160, 0}, P::Address, 0, {}},
      {"subaddress", {1, 223, 48, 160, 0}, P::Subaddress, 0, {}},
      {"subaddress after address", {0xC4, 1, 223, 48, 160, 0}, P::Subaddress, 1, {}},
      {"test bits", {0, 223, 48, 160, 0x80}, P::Db3, 4, {}},
      {"test bits, whole", {0xC6, 0, 223, 48, 160, 0x20}, P::Db3, 5, {}},
  };
  for (const Case& c : cases) {
    const channels::TakenWrite taken = channels::TakeWrite(c.bytes);
    EXPECT_EQ(taken.problem, c.problem) << c.name;
    EXPECT_EQ(taken.at, c.at) << c.name;
    if (c.problem == P::None) {
      EXPECT_EQ(taken.bytes, (std::array<std::uint8_t, 3>{223, 48, 160})) << c.name;
      EXPECT_EQ(taken.address, c.address) << c.name;
    }
  }
}

TEST(Decode, NamesTheAddressAndItsSelectInput) {
  const channels::DecodeReport report = channels::Decode({223, 48, 160}, 10.7, 0xC6);
  const std::pair<channels::Format, const char*> cases[] = {
      {channels::Format::Text, "Adresse  0xC6 (7 Bit 0x63), Adresswahl-Eingang gesetzt\nDB0"},
      {channels::Format::Csv, ",145.675,,0xC6,0x63,1\n"},
      {channels::Format::Json,
       "\"address\": 198,\n  \"address_7bit\": 99,\n  "
       "\"address_select\": 1\n}"},
  };
  for (const auto& [format, piece] : cases) {
    channels::StringSink out;
    channels::WriteDecode(report, format, out);
    EXPECT_NE(out.Text().find(piece), std::string::npos) << out.Text();
  }
}

}  // namespace
