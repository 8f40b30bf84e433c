// The plan of a channel list: what --round moves, the raster a list fits,
// and the writers' columns.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <tuple>
#include <vector>

#include "channels/FirmwareHeader.h"
#include "channels/Plan.h"
#include "channels/PlanWriters.h"

namespace {

channels::Plan PlanOf(const char* list, int rasterIndex = 2, double zf = 10.7) {
  static channels::ChannelList read;  // the plan's names point into it
  read = channels::ReadChannelList(list);
  channels::PlanSettings settings;
  settings.rx.rasterIndex = rasterIndex;
  settings.rx.zf = zf;
  return channels::MakePlan(read.channels, settings);
}

// Where each blank-separated word of a line ends, or starts, in characters.
std::vector<std::size_t> WordEnds(const std::string& line, bool starts = false) {
  std::vector<std::size_t> ends;
  std::size_t column = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if ((line[i] & 0xC0) == 0x80) continue;  // within a UTF-8 character
    const bool word = line[i] != ' ';
    if (starts && word && (i == 0 || line[i - 1] == ' ')) ends.push_back(column);
    ++column;
    if (!starts && word && (i + 1 == line.size() || line[i + 1] == ' ')) ends.push_back(column);
  }
  return ends;
}

TEST(Plan, TextHeadingsEndOverTheirColumns) {
  const channels::Plan plan = PlanOf("name,rx_mhz,tx_mhz\nSüdbahnhof,145.6,145.0\nx,145.5,\n");
  channels::StringSink out;
  channels::PlanSettings settings;
  settings.chip.address = 0xC6;
  channels::WritePlanText(plan.channels, settings, out);
  std::istringstream text(out.Text());
  std::string inputs, heading, row, short_;
  std::getline(text, inputs);
  std::getline(text, heading);
  std::getline(text, row);
  std::getline(text, short_);
  const std::vector<std::size_t> headingEnds = WordEnds(heading), rowEnds = WordEnds(row);
  ASSERT_EQ(headingEnds.size(), 18u) << heading;
  ASSERT_EQ(rowEnds.size(), 26u) << row;
  for (std::size_t i = 0; i < 13; ++i)
    EXPECT_EQ(headingEnds[i], rowEnds[i]) << i << "\n" << out.Text();
  // Each side's write starts under its heading, after a long name or a short one.
  const std::vector<std::size_t> heads = WordEnds(heading, true), full = WordEnds(row, true),
                                 rxOnly = WordEnds(short_, true);
  ASSERT_EQ(rxOnly.size(), 16u) << short_;
  EXPECT_EQ(full[14], heads[14]) << out.Text();
  EXPECT_EQ(full[20], heads[16]) << out.Text();
  EXPECT_EQ(rxOnly[9], heads[14]) << out.Text();
  EXPECT_EQ(rxOnly[15], heads[16]) << out.Text();
  EXPECT_NE(row.find("  C6 00 D9 30 A0 00  C6 00 51 2D A0 00"), std::string::npos) << row;
}

// The raster to suggest for a list off its own: the coarsest one every side
// fits, with every divider within 17 bits.
TEST(Plan, OffRasterListsAreToldTheRasterTheyFit) {
  struct Case {
    const char* list;
    int rasterIndex;
    double zf;
    std::optional<int> fitting;  // index into RasterTab
  };
  const Case cases[] = {
      {"name,rx_mhz\na,145.61\n", 2, 10.7, 1},
      {"name,rx_mhz\na,27.126\n", 1, 0.455, 0},
      {"name,rx_mhz\na,27.13\nb,27.126\n", 2, 0.455, 0},
      {"name,rx_mhz\na,145.601\n", 2, 10.7, {}},  // 1 kHz: N 156301
      {"name,rx_mhz\na,145.6125\n", 2, 10.7, {}},
  };
  for (const Case& c : cases) {
    const channels::Plan plan = PlanOf(c.list, c.rasterIndex, c.zf);
    EXPECT_FALSE(plan.offRaster.empty()) << c.list;
    channels::PlanSettings settings;
    settings.rx.rasterIndex = c.rasterIndex;
    settings.rx.zf = c.zf;
    EXPECT_EQ(channels::FittingRaster(channels::ReadChannelList(c.list).channels, settings).index,
              c.fitting)
        << c.list;
  }
}

// Hand-worked: N = (RX + ZF) / raster, at most 131071. 156.301 MHz lies on
// 1 kHz only, N 156301; 156.3125 MHz half a kHz off every grid; 121.001 MHz
// on 1 kHz, N 121001; TX 145.0015 + 0 off 1 kHz although its RX lies on it.
TEST(Plan, ListsOffEveryUsableGridAreToldWhichGridTheyLieOn) {
  const std::tuple<const char*, std::optional<int>, std::optional<int>> cases[] = {
      {"name,rx_mhz\na,145.601\n", {}, 0},
      {"name,rx_mhz\na,145.6125\n", {}, {}},
      {"name,rx_mhz\na,110.301\n", 0, {}},
      {"name,rx_mhz,tx_mhz\na,145.601,145.0015\n", {}, {}},
  };
  for (const auto& [list, fitting, beyondLimit] : cases) {
    const channels::RasterFit fit =
        channels::FittingRaster(channels::ReadChannelList(list).channels, {});
    EXPECT_EQ(fit.index, fitting) << list;
    EXPECT_EQ(fit.beyondLimit, beyondLimit) << list;
  }
}

// From a raster (index) and RX: 200 MHz at 25 kHz N 8428; 1000 MHz at 10 kHz
// N 101070; 4000 MHz at 25 kHz N 160428; 2000 MHz at 25 kHz N 80428.
TEST(Plan, ASideBeyondTheLimitIsToldTheRasterThatReachesIt) {
  const std::tuple<int, double, std::optional<int>> cases[] = {
      {0, 200.0, 2}, {2, 1000.0, 1}, {2, 4000.0, {}}, {1, 2000.0, 2}, {2, -20.0, {}},
  };
  for (const auto& [rasterIndex, mhz, reaching] : cases) {
    channels::Setup setup;
    setup.rasterIndex = rasterIndex;
    EXPECT_EQ(channels::RasterReaching(setup, mhz), reaching) << rasterIndex << " " << mhz;
  }
}

TEST(Plan, NamesEverySideRoundMovesAndLeavesTxOutOnRequest) {
  const channels::Plan plan = PlanOf("name,rx_mhz,tx_mhz\na,145.6,145.6\nb,145.6125,145.0125\n");
  channels::StringSink moved;
  channels::PutRoundedLines(plan, moved);
  EXPECT_EQ(moved.Text(),
            "  Kanal 1 \u201Eb\u201C: RX 145.6125 MHz -> 145.6 MHz\n"
            "  Kanal 1 \u201Eb\u201C: TX 145.0125 MHz -> 145 MHz\n");
  // The C header's comments show the list's frequency and the grid's.
  channels::StringSink header;
  channels::WriteFirmwareHeader(plan.channels, {}, header);
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

namespace {

// Sides of different list frequencies on one channel of the grid are named
// together; one frequency listed twice (other tones) is not.
TEST(Plan, NamesSidesThatShareAChannelOfTheGrid) {
  struct Case {
    const char* list;
    const char* merged;  // PutMergedLines
  };
  const Case cases[] = {
      {"name,rx_mhz\na,145.6\nb,145.6\n", ""},  // CHIRP's other tones
      {"name,rx_mhz\na,145.6\nb,145.6125\n",
       "  RX 145.6 MHz: Kanal 0 \u201Ea\u201C (145.6 MHz), Kanal 1 \u201Eb\u201C (145.6125 MHz)\n"},
      // A tie goes to the even divider: both halves land on N 6252.
      {"name,rx_mhz\na,145.5875\nb,145.6125\nc,145.625\n",
       "  RX 145.6 MHz: Kanal 0 \u201Ea\u201C (145.5875 MHz), Kanal 1 \u201Eb\u201C (145.6125 "
       "MHz)\n"},
      {"name,rx_mhz,tx_mhz\na,145.6,145.0\nb,145.65,145.0125\n",
       "  TX 145 MHz: Kanal 0 \u201Ea\u201C (145 MHz), Kanal 1 \u201Eb\u201C (145.0125 MHz)\n"},
      {"name,rx_mhz,tx_mhz\na,145.6,145.6\nb,145.6,\n", ""},  // RX and TX are not compared
  };
  for (const Case& c : cases) {
    const channels::Plan plan = PlanOf(c.list);
    channels::StringSink merged;
    channels::PutMergedLines(plan, channels::FindMergedSides(plan), merged);
    EXPECT_EQ(merged.Text(), c.merged) << c.list;
  }
  // The text marks each merged channel with the others of its group.
  const channels::Plan plan = PlanOf("name,rx_mhz\na,145.6\nb,145.6\nc,145.6125\n");
  channels::StringSink text;
  channels::WritePlanText(plan.channels, {}, text, channels::FindMergedSides(plan));
  EXPECT_NE(text.Text().find("  -  [RX wie Kanal 2]\n"), std::string::npos) << text.Text();
  EXPECT_NE(text.Text().find("  -  [RX wie Kanal 0, 1]\n"), std::string::npos) << text.Text();
}

}  // namespace
