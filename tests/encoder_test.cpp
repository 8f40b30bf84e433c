#include <gtest/gtest.h>

#include "tuning/ChipWrite.h"
#include "tuning/DataByteEncoder.h"

namespace {

using Bytes = std::array<std::uint8_t, 3>;
using tuning::TuningState;

Bytes Encode(std::int32_t n, std::int16_t raster, std::uint8_t band) {
  TuningState s;
  s.N = n;
  s.Raster = raster;
  s.AmFm = band;
  tuning::MakeDataBytes(s);
  return s.DB;
}

TEST(MakeDataBytes, KnownPatterns) {
  struct Case {
    std::int32_t n;
    std::int16_t raster;
    std::uint8_t band;
    Bytes bytes;
  };
  const Case cases[] = {
      {6255, 25000, 32, {222, 48, 160}},
      {131071, 1000, 32, {254, 255, 35}},
      {65536, 10000, 16, {0, 0, 82}},
      {0, 25000, 32, {0, 0, 160}},
      {0, 1000, 16, {0, 0, 16}},
      {-1, 25000, 32, {254, 255, 163}},  // all bits of N set
      {-1, 1000, 16, {254, 255, 19}},
      {131072, 25000, 32, {0, 0, 160}},  // bit 17 and up are dropped
      {127, 1000, 32, {254, 0, 32}},
      {128, 1000, 32, {0, 1, 32}},
      {32767, 1000, 32, {254, 255, 32}},
      {32768, 1000, 32, {0, 0, 33}},
      {1, 12345, 32, {2, 0, 160}},  // a step outside the table counts as 25 kHz
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Encode(c.n, c.raster, c.band), c.bytes) << "N " << c.n << " raster " << c.raster;
  }
}

TEST(MakeDataBytes, OverwritesEveryByteAndLeavesChargePumpClear) {
  TuningState s;
  s.DB = {255, 255, 255};
  s.N = 0;
  tuning::MakeDataBytes(s);
  EXPECT_EQ(s.DB, (Bytes{0, 0, 160}));
}

TEST(MakeDataBytes, OnlyReadsTheStateWhenCalled) {
  TuningState s;
  s.N = 6255;
  tuning::MakeDataBytes(s);
  const Bytes before = s.DB;
  s.Raster = 1000;
  s.AmFm = tuning::kBandAm;
  EXPECT_EQ(s.DB, before);
  tuning::MakeDataBytes(s);
  EXPECT_EQ(s.DB[2], 16);
}

// Every divider a calculation can hand over, at every step and band, takes
// the bits it should and decodes back to itself.
TEST(MakeDataBytes, ExhaustiveDecodesBack) {
  const std::int16_t rasters[] = {1000, 10000, 25000};
  const std::uint8_t refs[] = {0, 64, 128};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::uint8_t band : {tuning::kBandAm, tuning::kBandFm}) {
      for (std::int32_t n = -131072; n <= 262143; ++n) {
        const Bytes bytes = Encode(n, rasters[r], band);
        const tuning::DecodedBytes d = tuning::DecodeDataBytes(bytes);
        ASSERT_EQ(d.n, n & 0x1FFFF) << n;
        ASSERT_FALSE(d.chargePump) << n;
        ASSERT_EQ(bytes[0] & 1, 0) << n;
        ASSERT_EQ(d.bandBits, band) << n;
        ASSERT_EQ(d.refBits, refs[r]) << n;
        ASSERT_EQ(d.reservedBits, 0) << n;
        ASSERT_EQ(tuning::RasterForRefBits(d.refBits), rasters[r]);
      }
    }
  }
}

TEST(DecodeDataBytes, TakesEveryFieldApart) {
  const tuning::DecodedBytes d = tuning::DecodeDataBytes({223, 48, 0xFF});
  EXPECT_EQ(d.n, 6255 | 0x18000);
  EXPECT_TRUE(d.chargePump);
  EXPECT_EQ(d.reservedBits, 12);
  EXPECT_EQ(d.bandBits, 48);
  EXPECT_EQ(d.refBits, 192);
  EXPECT_EQ(tuning::RasterForRefBits(192), std::nullopt);
}

}  // namespace

// The chip's write frames the bytes and takes either address in either form.
TEST(ChipWrite, FramesTheBytesForEitherAddress) {
  EXPECT_EQ(tuning::MakeChipWrite(0xC4, {0xDF, 0x30, 0xA0}),
            (tuning::ChipWrite{0xC4, 0x00, 0xDF, 0x30, 0xA0, 0x00}));
  struct Case {
    unsigned value;
    std::optional<std::uint8_t> byte;
    std::uint8_t sevenBit;
  };
  const Case cases[] = {
      {0xC4, 0xC4, 0x62}, {0x62, 0xC4, 0x62}, {0xC6, 0xC6, 0x63},
      {0x63, 0xC6, 0x63}, {0xC5, {}, 0},      /* a read address */ {0xC2, {}, 0},
      {0x31, {}, 0},      {0x1C4, {}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tuning::ChipAddressByte(c.value), c.byte) << c.value;
    if (c.byte) {
      EXPECT_EQ(tuning::SevenBitAddress(*c.byte), c.sevenBit) << c.value;
    }
  }
}
