// The chip on its bus: address and bus read from text, the write in every
// form, names made safe for a script's comments, and a write decoded.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "channels/ChipBus.h"
#include "channels/Decode.h"
#include "channels/PlanWriters.h"

namespace {

TEST(ChipBus, ReadsAddressesAndBuses) {
  const std::tuple<const char*, const char*, std::optional<std::uint8_t>> addresses[] = {
      {"byte", "0xC4", 0xC4},     {"lower case", "0xc4", 0xC4},  {"capital x", "0XC4", 0xC4},
      {"7 bit", "0x62", 0xC4},    {"select", "0Xc6", 0xC6},      {"select 7 bit", "0x63", 0xC6},
      {"other chip", "0xC8", {}}, {"read bit", "0xC5", {}},      {"decimal", "196", {}},
      {"no prefix", "C4", {}},    {"leading zero", "0x0C4", {}}, {"sign", "0x-1", {}},
  };
  for (const auto& [name, text, address] : addresses) {
    EXPECT_EQ(channels::ReadChipAddress(text), address) << name;
  }
  const std::tuple<const char*, const char*, std::optional<unsigned>> buses[] = {
      {"zero", "0", 0u},   {"top", "1048575", 1048575u}, {"above", "1048576", {}},
      {"octal", "01", {}}, {"sign", "+1", {}},           {"name", "i2c-1", {}},
  };
  for (const auto& [name, text, bus] : buses) EXPECT_EQ(channels::ReadBusNumber(text), bus) << name;
}

// By the chip's bit layout DB0 223, DB1 48, DB2 160 are 0xDF 0x30 0xA0,
// framed by the address byte, subaddress 0 and DB3 0: hex, JSON, command.
TEST(ChipBus, WritesTheFrameForEitherTarget) {
  using Bytes = std::array<std::uint8_t, 3>;
  const std::tuple<const char*, channels::ChipTarget, Bytes, const char*> cases[] = {
      {"defaults",
       {},
       {223, 48, 160},
       "C4 00 DF 30 A0 00 [196, 0, 223, 48, 160, 0] "
       "i2ctransfer -y 1 w5@0x62 0x00 0xdf 0x30 0xa0 0x00\n"},
      {"select, bus 0",
       {0xC6, 0},
       {1, 2, 255},
       "C6 00 01 02 FF 00 [198, 0, 1, 2, 255, 0] "
       "i2ctransfer -y 0 w5@0x63 0x00 0x01 0x02 0xff 0x00\n"},
  };
  for (const auto& [name, target, bytes, expected] : cases) {
    channels::StringSink out;
    channels::PutChipWriteHex(out, tuning::MakeChipWrite(target.address, bytes));
    out.Put(' ');
    channels::PutChipWriteJson(out, tuning::MakeChipWrite(target.address, bytes));
    out.Put(' ');
    channels::PutI2cTransferLine(out, target, bytes);
    EXPECT_EQ(out.Text(), expected) << name;
  }
}

TEST(ChipBus, CommentTextLeavesNothingThatEndsTheComment) {
  const std::pair<std::string, const char*> cases[] = {
      {"Relais DB0XY-2_a.b,c", "Relais DB0XY-2_a.b,c"},
      {"$(reboot)", "??reboot?"},
      {"`id`", "?id?"},
      {"a\nrm x", "a?rm x"},
      {"x */ y", "x ?? y"},
      {"cr\rhere", "cr?here"},
      {"S\u00FCd", "S?d"},
      {"\xFF\xFE", "??"},
      {std::string("a\0b", 3), "a?b"},
  };
  for (const auto& [name, shown] : cases) EXPECT_EQ(channels::CommentText(name), shown) << shown;
}

// A hostile name stays in its comment; the write after it is the side's own.
TEST(ChipBus, PlanScriptNamesChannelAndSide) {
  const channels::ChannelList list =
      channels::ReadChannelList("name,rx_mhz,tx_mhz\n\"$(x)\n`y`\r\",145.6,145.0\n");
  channels::StringSink script;
  channels::WritePlanI2cTransfer(channels::MakePlan(list.channels, {}).channels, {}, script);
  EXPECT_TRUE(script.Text().ends_with(
      "\n# Kanal 0, RX 145.6 MHz: ??x???y?\?\ni2ctransfer -y 1 w5@0x62 0x00 0xd9 0x30 0xa0 0x00\n"
      "# Kanal 0, TX 145 MHz: ??x???y?\?\ni2ctransfer -y 1 w5@0x62 0x00 0x51 0x2d 0xa0 0x00\n"))
      << script.Text();
}

TEST(TakeWrite, ChecksTheFixedBytesOfAWrite) {
  using P = channels::WriteProblem;
  const std::tuple<const char*, std::vector<std::uint8_t>, P, std::size_t> cases[] = {
      {"data bytes", {223, 48, 160}, P::None, 0},
      {"from subaddress", {0, 223, 48, 160, 0}, P::None, 0},
      {"whole", {0xC6, 0, 223, 48, 160, 0}, P::None, 0},
      {"four", {0, 223, 48, 160}, P::Count, 0},
      {"seven", {0xC4, 0, 223, 48, 160, 0, 0}, P::Count, 0},
      {"7-bit form", {0x62, 0, 223, 48, 160, 0}, P::Address, 0},
      {"read bit", {0xC5, 0, 223, 48, 160, 0}, P::Address, 0},
      {"subaddress", {1, 223, 48, 160, 0}, P::Subaddress, 0},
      {"subaddress after address", {0xC4, 1, 223, 48, 160, 0}, P::Subaddress, 1},
      {"test bits", {0xC4, 0, 223, 48, 160, 0x20}, P::Db3, 5},
  };
  for (const auto& [name, bytes, problem, at] : cases) {
    const channels::TakenWrite taken = channels::TakeWrite(bytes);
    EXPECT_EQ(taken.problem, problem) << name;
    EXPECT_EQ(taken.at, at) << name;
    // DB0 where no problem stops it; the address only from a whole write.
    const bool whole = problem == P::None && bytes.size() == 6;
    EXPECT_EQ(taken.bytes[0], problem == P::None ? 223 : 0) << name;
    EXPECT_EQ(taken.address, whole ? std::optional<std::uint8_t>(bytes[0]) : std::nullopt) << name;
  }
}

TEST(Decode, NamesTheAddressAndItsSelectInput) {
  const channels::DecodeReport report = channels::Decode({223, 48, 160}, 10.7, 0xC6);
  const std::pair<channels::Format, const char*> cases[] = {
      {channels::Format::Text, "Adresse  0xC6 (7 Bit 0x63), Adresswahl-Eingang gesetzt\nDB0"},
      {channels::Format::Text, "Band     FM (Bandbits 32)\nCP       1\n"},
      {channels::Format::Csv, ",145.675,,0xC6,0x63,1\n"},
      {channels::Format::Json,
       "\"address\": 198,\n  \"address_7bit\": 99,\n  \"address_select\": 1"},
  };
  for (const auto& [format, piece] : cases) {
    channels::StringSink out;
    channels::WriteDecode(report, format, out);
    EXPECT_NE(out.Text().find(piece), std::string::npos) << out.Text();
  }
}

}  // namespace
