#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "tuning/DataByteEncoder.h"
#include "tuning/DividerCalculation.h"

namespace {

using tuning::TuningError;
using tuning::TuningState;

TuningState WithRaster(std::int16_t raster) {
  TuningState s;
  s.Raster = raster;
  return s;
}

TEST(ComputeDivider, DefaultsGive6255) {
  TuningState s;
  const auto r = tuning::ComputeDivider(s);
  ASSERT_TRUE(r);
  EXPECT_EQ(r.N, 6255);
  EXPECT_EQ(s.N, 6255);
}

struct CalcCase {
  const char* name;
  double fo, zf;
  std::int16_t raster;
  bool cp;
  TuningError error;
  std::int32_t n;  // N stored in the state afterwards
  double vco, rx;  // on success
};

void PrintTo(const CalcCase& c, std::ostream* os) {
  *os << c.name;
}

class CalculateTest : public testing::TestWithParam<CalcCase> {};

TEST_P(CalculateTest, GivesDividerVcoAndCorrectedRx) {
  const CalcCase& c = GetParam();
  TuningState s = WithRaster(c.raster);
  const auto out = tuning::Calculate(s, c.fo, c.zf, c.cp);
  EXPECT_EQ(out.error, c.error);
  EXPECT_EQ(s.N, c.n);
  EXPECT_EQ(s.fo, c.fo) << "RX is stored even when the calculation fails";
  if (!std::isnan(c.zf)) {
    EXPECT_EQ(s.zf, c.zf);
  }
  if (c.error == TuningError::None) {
    EXPECT_EQ(out.vcoKHz, c.vco);
    EXPECT_EQ(out.rxMHz, c.rx);
  }
}

constexpr auto OK = TuningError::None;
constexpr double kHuge = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, CalculateTest,
    testing::Values(
        CalcCase{"Defaults", 145.675, 10.7, 25000, true, OK, 6255, 156375, 145.675},
        CalcCase{"PulledOntoGrid", 145.68, 10.7, 25000, true, OK, 6255, 156375, 145.675},
        CalcCase{"HalfwayToEven", 145.6625, 10.7, 25000, true, OK, 6254, 156350, 145.65},
        // ZF and RX are scaled to Hz one by one, then added: q is exactly
        // 6253.5. (RX + ZF) × 10⁶ would give 6253.4999… and N 6253.
        CalcCase{"ScaledBeforeAdding", 145.6375, 10.7, 25000, true, OK, 6254, 156350, 145.65},
        CalcCase{"LargeFractionRoundsUp", 145.6, 10.7, 25000, false, OK, 6252, 156300,
                 156.3 - 10.7},
        CalcCase{"TopOfSeventeenBits", 131.071, 0, 1000, true, OK, 131071, 131071, 131.071},
        CalcCase{"TenKilohertz", 88.5, 10.7, 10000, true, OK, 9920, 99200, 88.5},
        CalcCase{"ZeroDivider", -10.7, 10.7, 25000, true, OK, 0, 0, -10.7},
        CalcCase{"NegativeDivider", -20, 10.7, 25000, true, TuningError::DividerNegative, -372, 0,
                 0},
        CalcCase{"SmallestNegativeDivider", -10.725, 10.7, 25000, true,
                 TuningError::DividerNegative, -1, 0, 0},
        CalcCase{"JustAboveLimit", 131.072, 0, 1000, true, TuningError::DividerTooLarge, 131072, 0,
                 0},
        CalcCase{"DefaultsAtOneKilohertz", 145.675, 10.7, 1000, true, TuningError::DividerTooLarge,
                 156375, 0, 0},
        CalcCase{"QuotientBeyond32Bits", 1e7, 0, 1000, true, TuningError::QuotientOutOfRange, 0, 0,
                 0},
        CalcCase{"NegativeQuotientBeyond32Bits", -1e7, 0, 1000, true,
                 TuningError::QuotientOutOfRange, 0, 0, 0},
        CalcCase{"SumBeyondDoubleRange", kHuge, kHuge, 25000, true, TuningError::SumOutOfRange, 0,
                 0, 0},
        CalcCase{"ProductBeyondDoubleRange", kHuge, 0, 25000, true, TuningError::SumOutOfRange, 0,
                 0, 0},
        CalcCase{"NegativeSumBeyondRange", -kHuge, -kHuge, 25000, true, TuningError::SumOutOfRange,
                 0, 0, 0},
        CalcCase{"NotANumber", 0, std::numeric_limits<double>::quiet_NaN(), 25000, true,
                 TuningError::SumOutOfRange, 0, 0, 0}),
    [](const testing::TestParamInfo<CalcCase>& row) { return std::string(row.param.name); });

// What a calculation without a result tells the user: the side of the limit
// it fell on, also where the arithmetic ran out of range.
TEST(Calculate, NamesTheLimitItHits) {
  constexpr const char* kLarge = "Teilerverhältnis zu gross! (max 131071)";
  constexpr const char* kSmall = "Teilerverhältnis zu klein! (min 0)";
  const std::tuple<const char*, double, double, std::int16_t, const char*> cases[] = {
      {"result", 131.071, 0, 1000, ""},
      {"N 131072", 131.072, 0, 1000, kLarge},
      {"N -1", -10.725, 10.7, 25000, kSmall},
      {"negative quotient beyond 32 bits", -1e7, 0, 1000, kSmall},
      {"product beyond the double range", kHuge, 0, 25000, kLarge},
      {"opposing huge values", kHuge, -kHuge, 25000, "RX und ZF sind zu gross zum Rechnen."},
  };
  for (const auto& [name, fo, zf, raster, message] : cases) {
    TuningState s = WithRaster(raster);
    EXPECT_EQ(tuning::LimitMessage(tuning::Calculate(s, fo, zf, true).limit), message) << name;
  }
}

TEST(Calculate, EncodesBytesWithChargePumpBit) {
  TuningState s;
  ASSERT_TRUE(tuning::Calculate(s, 145.675, 10.7, true));
  EXPECT_EQ(s.DB, (std::array<std::uint8_t, 3>{223, 48, 160}));
  ASSERT_TRUE(tuning::Calculate(s, 145.675, 10.7, false));
  EXPECT_EQ(s.DB, (std::array<std::uint8_t, 3>{222, 48, 160}));
  s.AmFm = tuning::kBandAm;
  ASSERT_TRUE(tuning::Calculate(s, 145.675, 10.7, false));
  EXPECT_EQ(s.DB[2], 144);
}

TEST(Calculate, FailureKeepsTheLastBytes) {
  TuningState s;
  ASSERT_TRUE(tuning::Calculate(s, 145.675, 10.7, true));
  const auto before = s.DB;
  s.Raster = 1000;
  EXPECT_EQ(tuning::Calculate(s, 145.675, 10.7, true).error, TuningError::DividerTooLarge);
  EXPECT_EQ(s.DB, before);
  EXPECT_EQ(s.N, 156375);  // the new N is kept, the bytes are not rebuilt
  EXPECT_EQ(tuning::Calculate(s, 1e300, 0, true).error, TuningError::QuotientOutOfRange);
  EXPECT_EQ(s.DB, before);
  EXPECT_EQ(s.N, 156375);  // a failed conversion stores no N
  EXPECT_EQ(tuning::Calculate(s, -20, 10.7, true).error, TuningError::DividerNegative);
  EXPECT_EQ(s.DB, before);
  EXPECT_EQ(s.N, -9300);  // at 1 kHz
}

TEST(Calculate, VcoDoesNotOverflowThirtyTwoBits) {
  EXPECT_EQ(tuning::VcoKHz(25000, 131071), 3276775.0);
  EXPECT_EQ(tuning::VcoKHz(25000, std::numeric_limits<std::int32_t>::max()), 53687091175.0);
  EXPECT_EQ(tuning::VcoKHz(1000, std::numeric_limits<std::int32_t>::min()), -2147483648.0);
}

// Every channel of every grid, written as a user would see it, comes back to
// its own divider and stays exactly where it is.
TEST(Calculate, EveryChannelRoundTrips) {
  const double zfs[] = {0.0, 10.7, 21.4, 45.0};
  TuningState s;
  for (int index = 0; index < 3; ++index) {
    ASSERT_TRUE(tuning::SelectRaster(s, index));
    for (double zf : zfs) {
      for (std::int32_t n = 0; n <= tuning::kMaxDivider; ++n) {
        const double rx = (s.Raster * static_cast<double>(n) / 1000.0) / 1000.0 - zf;
        const auto out = tuning::Calculate(s, rx, zf, true);
        ASSERT_TRUE(out) << "raster " << s.Raster << " zf " << zf << " n " << n;
        ASSERT_EQ(s.N, n) << "raster " << s.Raster << " zf " << zf;
        ASSERT_EQ(out.rxMHz, rx) << "raster " << s.Raster << " zf " << zf << " n " << n;
      }
    }
  }
}

}  // namespace
