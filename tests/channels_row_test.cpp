// teilomat-cli's reading of numbers, its results and its channel tables,
// checked against the tuning core.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "channels/NumberInput.h"
#include "channels/NumberOutput.h"
#include "channels/Row.h"
#include "channels/RowWriter.h"
#include "channels/TableRange.h"
#include "tuning/DataByteEncoder.h"

namespace {

using tuning::NumberError;

TEST(ReadNumber, TakesPointOrCommaButNoGrouping) {
  struct Case {
    const char* text;
    double value;
    NumberError error;
  };
  const Case cases[] = {
      {"145.675", 145.675, NumberError::None},
      {"145,675", 145.675, NumberError::None},
      {" 10,7 ", 10.7, NumberError::None},
      {"-0,5", -0.5, NumberError::None},
      {"1,5E-3", 0.0015, NumberError::None},
      {"131.071", 131.071, NumberError::None},
      {"1,000.5", 0.0, NumberError::Malformed},  // no thousands separator either way
      {"1.000,5", 0.0, NumberError::Malformed},
      {"1,2,3", 0.0, NumberError::Malformed},
      {"145.68MHz", 0.0, NumberError::Malformed},
      {"abc", 0.0, NumberError::Malformed},
      {"", 0.0, NumberError::Empty},
      {"1e999", 0.0, NumberError::OutOfRange},
  };
  for (const Case& c : cases) {
    const auto result = channels::ReadNumber(c.text);
    EXPECT_EQ(result.error, c.error) << c.text;
    EXPECT_EQ(result.value, c.value) << c.text;
  }
}

TEST(ReadByte, TakesDecimalOrHexFrom0To255) {
  struct Case {
    const char* text;
    int value;  // -1: refused
  };
  const Case cases[] = {
      {"0", 0},   {"223", 223},    {"255", 255}, {"0xDF", 223}, {"0Xdf", 223},
      {"0x0", 0}, {"0x00FF", 255}, {"256", -1},  {"0x100", -1}, {"99999999999999999999", -1},
      {"-1", -1}, {"+1", -1},      {"010", -1},  // could be meant as octal
      {"0x", -1}, {"0xG1", -1},    {"12a", -1},  {"", -1},      {" 1", -1},
      {"01", -1}, {"2550", -1},    {"199", 199}, {"0x9F", 159},  // 9: the last digit
  };
  for (const Case& c : cases) {
    const auto result = channels::ReadByte(c.text);
    if (c.value < 0) {
      EXPECT_FALSE(result) << c.text;
    } else {
      ASSERT_TRUE(result) << c.text;
      EXPECT_EQ(result.value, c.value) << c.text;
    }
  }
}

// Both signs; a borrow through every digit into a leading digit that stays
// (20 - 9.9999995); operands of different lengths; fractions of a hertz with
// fewer digits than places after the point (1.4E-07 - 1E-07).
TEST(DifferenceHz, IsExactOnTheDigitsShown) {
  struct Case {
    const char *from, *to, *hz;
  };
  const Case cases[] = {
      {"145.68", "145.675", "-5000"},  // binary: -4999.99999998
      {"145.6625", "145.65", "-12500"}, {"145.65", "145.6625", "12500"},
      {"145.675", "145.675", "0"},      {"0", "0.000001", "1"},
      {"0.0000015", "0", "-1.5"},       {"-0.0125", "0.0125", "25000"},
      {"0.0125", "-0.0125", "-25000"},  {"-1", "-2", "-1000000"},
      {"99.9999995", "100", "0.5"},     {"1E+15", "1.5E+15", "500000000000000000000"},
      {"2.5E-06", "0", "-2.5"},         {"145.12345678901", "145.123456789012", "0.000002"},
      {"100.0000005", "100", "-0.5"},   {"9.9999995", "20", "10000000.5"},
      {"0.5", "145.675", "145175000"},  {"20", "9.9999995", "-10000000.5"},
      {"1E-07", "1.4E-07", "0.04"},     {"100.0000015", "100.0000005", "-1"},
      {"1.4E-07", "1E-07", "-0.04"},    {"100.0004996", "100", "-499.6"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(channels::DifferenceHz(c.from, c.to), c.hz) << c.from << " -> " << c.to;
  }
}

// Whole numbers take a shortcut past DoubleToText; it must write the same.
TEST(Shown, WritesWholeNumbersAsDoubleToTextDoes) {
  const tuning::Separators point{".", ""};
  for (double v : {0.0, -0.0, 1.0, -6000.0, 156375.0, 3276775.0, 99999999999999.0,
                   999999999999999.0, 1e15, 123456789012345678.0, 0.5, 145.675}) {
    EXPECT_EQ(channels::Shown(v), tuning::DoubleToText(v, point)) << v;
  }
}

channels::Setup SetupFor(int rasterIndex, double zf) {
  channels::Setup setup;
  setup.rasterIndex = rasterIndex;
  setup.zf = zf;
  return setup;
}

TEST(FindTableRange, TakesTheChannelsBetweenTheBounds) {
  struct Case {
    const char* name;
    int rasterIndex;
    double zf, from, to;
    channels::RangeError error;
    std::int64_t first, last;
  };
  using E = channels::RangeError;
  const Case cases[] = {
      {"on the grid", 2, 10.7, 145.675, 145.75, E::None, 6255, 6258},
      {"off the grid: inward", 2, 10.7, 145.68, 145.74, E::None, 6256, 6257},
      {"halfway between two", 2, 10.7, 145.6625, 145.6625, E::NoChannel, 0, 0},
      {"one channel", 2, 10.7, 145.6, 145.6, E::None, 6252, 6252},
      {"whole 17 bits", 0, 0.0, 0.0, 131.071, E::None, 0, 131071},
      {"past the limit", 0, 0.0, 131.0, 140.0, E::None, 131000, 140000},
      {"10 kHz", 1, 0.455, 26.965, 27.405, E::None, 2742, 2786},
      {"reversed", 2, 10.7, 146.0, 145.0, E::Reversed, 0, 0},
      {"between two channels", 2, 10.7, 145.68, 145.69, E::NoChannel, 0, 0},
      {"starts at N 0", 2, 10.7, -10.7, -10.65, E::None, 0, 2},
      {"starts at N -1", 0, 0.0, -0.001, 1.0, E::BelowZero, 0, 0},
      {"far below zero", 0, 0.0, -1e6, 1.0, E::BelowZero, 0, 0},
      {"end beyond 32 bits", 0, 0.0, 0.0, 1e12, E::None, 0, 131072},
      {"start beyond 32 bits", 0, 0.0, -1e12, 0.0, E::BelowZero, 0, 0},
  };
  for (const Case& c : cases) {
    const channels::TableRange plan =
        channels::FindTableRange(SetupFor(c.rasterIndex, c.zf), c.from, c.to);
    EXPECT_EQ(plan.error, c.error) << c.name;
    if (c.error != E::None || c.first > c.last) continue;
    EXPECT_EQ(plan.first, c.first) << c.name;
    EXPECT_EQ(plan.last, c.last) << c.name;
  }
}

TEST(FindTableRange, StopsAtTheDividerLimit) {
  const channels::TableRange within = channels::FindTableRange(SetupFor(0, 0.0), 131.0, 131.071);
  EXPECT_FALSE(within.HitsLimit());
  EXPECT_EQ(within.RowCount(), 72);

  const channels::TableRange across = channels::FindTableRange(SetupFor(0, 0.0), 131.0, 140.0);
  EXPECT_TRUE(across.HitsLimit());
  EXPECT_EQ(across.LastRow(), tuning::kMaxDivider);
  EXPECT_EQ(across.RowCount(), 72);
  EXPECT_EQ(across.StopAt(), 131072);

  // An end far beyond anything the arithmetic holds still gives the rows
  // up to the limit.
  for (double farEnd : {1e7, 1e300}) {
    const channels::TableRange far = channels::FindTableRange(SetupFor(0, 0.0), 131.0, farEnd);
    ASSERT_TRUE(far) << farEnd;
    EXPECT_EQ(far.RowCount(), 72) << farEnd;
    EXPECT_EQ(far.StopAt(), 131072) << farEnd;
  }

  const channels::TableRange beyond = channels::FindTableRange(SetupFor(0, 0.0), 140.0, 150.0);
  EXPECT_TRUE(beyond.HitsLimit());
  EXPECT_EQ(beyond.RowCount(), 0);
  EXPECT_EQ(beyond.StopAt(), 140000);
}

// Every bound typed exactly on a channel keeps that channel, whatever binary
// rounding does to the RX and ZF in between.
TEST(FindTableRange, KeepsEveryChannelTypedAsABound) {
  const double zfs[] = {0.0, 10.7, 0.455, 21.4, -10.7};
  for (int rasterIndex = 0; rasterIndex < 3; ++rasterIndex) {
    for (double zf : zfs) {
      const channels::Setup setup = SetupFor(rasterIndex, zf);
      for (std::int32_t n = 1; n <= tuning::kMaxDivider; n += 7) {
        // The RX as a user would type it: the text the window shows.
        const double rx =
            channels::ReadNumber(channels::Shown(channels::ChannelRow(setup, n).rxMHz)).value;
        const channels::TableRange plan = channels::FindTableRange(setup, rx, rx);
        ASSERT_TRUE(plan) << "N " << n << " ZF " << zf;
        ASSERT_EQ(plan.first, n) << "ZF " << zf << " raster " << rasterIndex;
        ASSERT_EQ(plan.last, n) << "ZF " << zf << " raster " << rasterIndex;
      }
    }
  }
}

// A table row is what calc gives for the row's RX, and its bytes decode back
// to its own N: over the whole 17 bits, at every step, both bands and both
// charge-pump bits.
TEST(ChannelRow, MatchesCalcAndDecodesBackOverAllDividers) {
  for (int rasterIndex = 0; rasterIndex < 3; ++rasterIndex) {
    for (const auto& [zf, band, cp] :
         {std::tuple{0.0, tuning::kBandFm, true}, std::tuple{10.7, tuning::kBandAm, false}}) {
      channels::Setup setup = SetupFor(rasterIndex, zf);
      setup.band = band;
      setup.chargePump = cp;
      for (std::int32_t n = 0; n <= tuning::kMaxDivider; ++n) {
        const channels::Row row = channels::ChannelRow(setup, n);
        const tuning::DecodedBytes back = tuning::DecodeDataBytes(row.bytes);
        ASSERT_EQ(back.n, n);
        ASSERT_EQ(back.chargePump, cp);
        ASSERT_EQ(back.bandBits, band);
        ASSERT_EQ(tuning::RasterForRefBits(back.refBits), setup.Raster());

        const channels::RowResult calc = channels::CalcRow(setup, row.rxMHz);
        ASSERT_TRUE(calc) << n;
        ASSERT_EQ(calc.row.n, n);
        ASSERT_EQ(calc.row.bytes, row.bytes) << n;
        ASSERT_EQ(calc.row.vcoKHz, row.vcoKHz) << n;
        ASSERT_EQ(calc.row.rxMHz, row.rxMHz) << n;
      }
    }
  }
}

}  // namespace
