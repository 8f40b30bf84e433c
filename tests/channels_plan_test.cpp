// The plan of a channel list: what --round moves, the raster a list fits,
// and the writers' columns.
#include <gtest/gtest.h>

#include <sstream>
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
  channels::WritePlanText(plan.channels, {}, out);
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
