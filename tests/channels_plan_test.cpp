// The plan of a channel list, its outputs and the EEPROM image.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "channels/EepromImage.h"
#include "channels/Plan.h"
#include "channels/PlanWriters.h"
#include "chirp_sample.h"

namespace {

// Hand-worked: RX 145.6 + ZF 10.7 = 156.3 MHz = 6252 × 25 kHz, 6252 = 48 × 128 + 108,
// so DB0 = 2 × 108 + 1 = 217, DB1 48, DB2 32 + 128 = 160; and so on for each.
TEST(Plan, ChirpExportToCsv) {
  const channels::ChannelList list = channels::ReadChannelList(kChirp);
  const channels::Plan plan = channels::MakePlan(list.channels, {});
  channels::StringSink out;
  channels::WritePlanCsv(plan.channels, out);
  EXPECT_EQ(
      out.Text(),
      "channel,name,rx_mhz,rx_diff_hz,rx_n,rx_db0,rx_db1,rx_db2,tx_mhz,tx_diff_hz,tx_n,"
      "tx_db0,tx_db1,tx_db2\n"
      "0,\"Relais, \"\"DB0XY\"\"\",145.6,0,6252,217,48,160,145,0,5800,81,45,160\n"
      "1,Simplex,145.5,0,6248,209,48,160,145.5,0,5820,121,45,160\n"  // Mode AM: still FM input
      "3,Empfang,145.525,0,6249,211,48,160,,,,,,\n"
      "4,Split,145.3,0,6240,193,48,160,433.5,0,17340,121,135,160\n"
      "5,Plus,145.35,0,6242,197,48,160,145.95,0,5838,157,45,160\n");
}

TEST(Image, LaysChannelsOutWithGapsBaseAndFill) {
  const std::vector<channels::ImageRecord> records = {{0, {1, 2, 3}, {{4, 5, 6}}},
                                                      {2, {7, 8, 9}, std::nullopt}};
  using Bytes = std::vector<std::uint8_t>;
  const std::uint8_t e = 0xEE;
  struct Case {
    channels::ImageLayout layout;
    Bytes bytes;  // empty: too large
  };
  const Case cases[] = {
      {{1, std::nullopt, e, false}, {e, 1, 2, 3, 4, 5, 6, e, e, e, e, e, e, 7, 8, 9, e, e, e}},
      {{0, std::nullopt, e, true}, {1, 2, 3, e, e, e, 7, 8, 9}},
      {{1, 11, e, true}, {e, 1, 2, 3, e, e, e, 7, 8, 9, e}},
      {{1, 9, e, true}, {}},
      {{0, channels::kMaxImageSize + 1, e, true}, {}},
  };
  for (const Case& c : cases) {
    const channels::Image image = channels::BuildImage(records, c.layout);
    EXPECT_EQ(static_cast<bool>(image), !c.bytes.empty());
    EXPECT_EQ(image.bytes, c.bytes);
  }
}

TEST(Image, IntelHexRecordsAndTheAddressPast64KiB) {
  channels::StringSink small;
  channels::WriteIntelHex({1, 2, 3}, small);  // 03 + 01 + 02 + 03 = 9, checksum 0x100 − 9
  EXPECT_EQ(small.Text(), ":03000000010203F7\n:00000001FF\n");
  channels::StringSink large;
  channels::WriteIntelHex(std::vector<std::uint8_t>(0x10001, 0), large);
  const std::string& hex = large.Text();
  EXPECT_EQ(hex.find(":02000004"), hex.size() - 42);  // once, right before the last byte
  EXPECT_TRUE(
      hex.ends_with(":10FFF0000000000000000000000000000000000001\n"
                    ":020000040001F9\n:0100000000FF\n:00000001FF\n"));
}

channels::Plan PlanOf(const char* list, int rasterIndex = 2, double zf = 10.7) {
  static channels::ChannelList read;  // the plan's names point into it
  read = channels::ReadChannelList(list);
  channels::PlanSettings settings;
  settings.rx.rasterIndex = rasterIndex;
  settings.rx.zf = zf;
  return channels::MakePlan(read.channels, settings);
}

// Where each blank-separated word of a line ends.
std::vector<std::size_t> WordEnds(const std::string& line) {
  std::vector<std::size_t> ends;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != ' ' && (i + 1 == line.size() || line[i + 1] == ' ')) ends.push_back(i + 1);
  }
  return ends;
}

TEST(Plan, TextHeadingsEndOverTheirColumns) {
  const channels::Plan plan = PlanOf("name,rx_mhz,tx_mhz\nx,145.6,145.0\n");
  channels::StringSink out;
  channels::WritePlanText(plan.channels, "", out);
  std::istringstream text(out.Text());
  std::string inputs, heading, row;
  std::getline(text, inputs);
  std::getline(text, heading);
  std::getline(text, row);
  const std::vector<std::size_t> headingEnds = WordEnds(heading), rowEnds = WordEnds(row);
  ASSERT_EQ(headingEnds.size(), 14u) << heading;
  ASSERT_EQ(rowEnds.size(), 14u) << row;
  for (std::size_t i = 0; i < 13; ++i)
    EXPECT_EQ(headingEnds[i], rowEnds[i]) << i << "\n" << out.Text();
}

// The raster to suggest for a list off its own: the coarsest one every side
// fits, with every divider within 17 bits.
TEST(Plan, OffRasterListsAreToldTheRasterTheyFit) {
  struct Case {
    const char* list;
    int rasterIndex;
    double zf;
    const char* hint;
  };
  const Case cases[] = {
      {"name,rx_mhz\na,145.61\n", 2, 10.7, "alle Kanäle passen zu --raster 10"},
      {"name,rx_mhz\na,27.126\n", 1, 0.455, "alle Kanäle passen zu --raster 1"},
      {"name,rx_mhz\na,27.13\nb,27.126\n", 2, 0.455, "alle Kanäle passen zu --raster 1"},
      {"name,rx_mhz\na,145.601\n", 2, 10.7, "Kein Raster"},  // 1 kHz: N 156301
      {"name,rx_mhz\na,145.6125\n", 2, 10.7, "Kein Raster"},
  };
  for (const Case& c : cases) {
    const channels::Plan plan = PlanOf(c.list, c.rasterIndex, c.zf);
    EXPECT_FALSE(plan.offRaster.empty()) << c.list;
    channels::PlanSettings settings;
    settings.rx.rasterIndex = c.rasterIndex;
    settings.rx.zf = c.zf;
    const std::string hint = channels::RasterHint(
        channels::FittingRaster(channels::ReadChannelList(c.list).channels, settings));
    EXPECT_NE(hint.find(c.hint), std::string::npos) << c.list << hint;
  }
}

TEST(Plan, NamesEverySideRoundMovesAndLeavesTxOutOnRequest) {
  const channels::Plan plan = PlanOf("name,rx_mhz,tx_mhz\na,145.6,145.6\nb,145.6125,145.0125\n");
  EXPECT_EQ(channels::RoundedLines(plan),
            "  Kanal 1 \u201Eb\u201C: RX 145.6125 MHz -> 145.6 MHz\n"
            "  Kanal 1 \u201Eb\u201C: TX 145.0125 MHz -> 145 MHz\n");
  // The C header's comments show the list's frequency and the grid's.
  channels::StringSink header;
  channels::WritePlanC(plan.channels, "", "p", header);
  EXPECT_NE(header.Text().find("RX 145.6125 MHz, Raster 145.6 MHz, N 6252; TX 145.0125 MHz, "
                               "Raster 145 MHz, N 5800 */"),
            std::string::npos)
      << header.Text();
  channels::PlanSettings rxOnly;
  rxOnly.rxOnly = true;
  const channels::ChannelList list = channels::ReadChannelList("name,rx_mhz,tx_mhz\na,145.6,999\n");
  const channels::Plan received = channels::MakePlan(list.channels, rxOnly);
  ASSERT_TRUE(received);  // TX 999 MHz would be beyond the limit
  EXPECT_FALSE(received.channels[0].tx);
}

}  // namespace
