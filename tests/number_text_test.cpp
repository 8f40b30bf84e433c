#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tuning/NumberText.h"
#include "tuning/TuningState.h"

namespace {

using tuning::NumberError;
using tuning::Separators;

const Separators kGerman{",", "."};
const Separators kEnglish{".", ","};
const Separators kSwiss{".", "\u2019"};
const Separators kFrench{",", "\u202F"};

struct ReadCase {
  const char* name;
  Separators separators;
  std::string text;
  double value;  // expected value when error is None
  NumberError error;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

class TextToDoubleTest : public testing::TestWithParam<ReadCase> {};

TEST_P(TextToDoubleTest, ReadsValueOrReportsError) {
  const ReadCase& c = GetParam();
  const auto result = tuning::TextToDouble(c.text, c.separators);
  EXPECT_EQ(result.error, c.error) << "text: [" << c.text << "]";
  if (c.error == NumberError::None) {
    EXPECT_EQ(result.value, c.value) << "text: [" << c.text << "]";
    EXPECT_TRUE(result);
  } else {
    EXPECT_FALSE(result);
    EXPECT_EQ(result.value, 0.0);
  }
}

constexpr auto OK = NumberError::None;
constexpr auto EMPTY = NumberError::Empty;
constexpr auto BAD = NumberError::Malformed;
constexpr auto RANGE = NumberError::OutOfRange;

INSTANTIATE_TEST_SUITE_P(
    Locales, TextToDoubleTest,
    testing::Values(ReadCase{"GermanDecimal", kGerman, "145,675", 145.675, OK},
                    ReadCase{"GermanGrouped", kGerman, "1.234.567,5", 1234567.5, OK},
                    ReadCase{"GermanPointIsGrouping", kGerman, "145.675", 145675.0, OK},
                    ReadCase{"EnglishDecimal", kEnglish, "145.675", 145.675, OK},
                    ReadCase{"EnglishGrouped", kEnglish, "1,234.25", 1234.25, OK},
                    ReadCase{"SwissApostrophe", kSwiss, "1\u2019234.5", 1234.5, OK},
                    ReadCase{"SwissAsciiApostrophe", kSwiss, "1'234.5", 1234.5, OK},
                    ReadCase{"FrenchNarrowNoBreakSpace", kFrench, "1\u202F234,5", 1234.5, OK},
                    ReadCase{"FrenchNoBreakSpace", kFrench, "1\u00A0234,5", 1234.5, OK},
                    ReadCase{"FrenchPlainSpace", kFrench, "1 234,5", 1234.5, OK},
                    ReadCase{"SurroundingBlanks", kGerman, " \t10,7  ", 10.7, OK},
                    ReadCase{"SurroundingNoBreakSpaces", kEnglish, "\u00A0\u202F5 \u00A0", 5.0, OK},
                    ReadCase{"Negative", kGerman, "-3,5", -3.5, OK},
                    ReadCase{"ExplicitPlus", kGerman, "+3,5", 3.5, OK},
                    ReadCase{"LeadingSeparator", kGerman, ",5", 0.5, OK},
                    ReadCase{"TrailingSeparator", kGerman, "5,", 5.0, OK},
                    ReadCase{"NegativeFraction", kGerman, "-,5", -0.5, OK},
                    ReadCase{"NegativeZero", kGerman, "-0", -0.0, OK},
                    ReadCase{"Exponent", kGerman, "1,5E3", 1500.0, OK},
                    ReadCase{"LowerExponentWithSign", kEnglish, "25e-3", 0.025, OK},
                    ReadCase{"ExponentPlus", kEnglish, "1E+2", 100.0, OK},
                    ReadCase{"CorrectlyRounded", kEnglish, "0.1", 0.1, OK},
                    ReadCase{"LargestDouble", kEnglish, "1.7976931348623157E308",
                             std::numeric_limits<double>::max(), OK},
                    // Failures are rows of the same table.
                    ReadCase{"EmptyText", kGerman, "", 0, EMPTY},
                    ReadCase{"OnlyBlanks", kGerman, "   ", 0, EMPTY},
                    ReadCase{"LoneMinus", kGerman, "-", 0, BAD},
                    ReadCase{"LoneSeparator", kGerman, ",", 0, BAD},
                    ReadCase{"TwoDecimalSeparators", kGerman, "1,2,3", 0, BAD},
                    ReadCase{"GroupingAfterDecimal", kGerman, "1,234.5", 0, BAD},
                    ReadCase{"LeadingGrouping", kGerman, ".5", 0, BAD},
                    ReadCase{"TrailingGrouping", kGerman, "5.", 0, BAD},
                    ReadCase{"DoubledGrouping", kEnglish, "1,,234", 0, BAD},
                    ReadCase{"GroupingBeforeDecimal", kEnglish, "1,.5", 0, BAD},
                    ReadCase{"SpaceWhereNoGrouping", kGerman, "1 234", 0, BAD},
                    ReadCase{"ApostropheOutsideSwiss", kGerman, "1'234", 0, BAD},
                    ReadCase{"Letters", kGerman, "abc", 0, BAD},
                    ReadCase{"TrailingLetters", kGerman, "145,6MHz", 0, BAD},
                    ReadCase{"NaN", kEnglish, "NaN", 0, BAD},
                    ReadCase{"Infinity", kEnglish, "inf", 0, BAD},
                    ReadCase{"NegativeInfinity", kEnglish, "-Infinity", 0, BAD},
                    ReadCase{"HexFloat", kEnglish, "0x1p3", 0, BAD},
                    ReadCase{"DoubleSign", kEnglish, "--1", 0, BAD},
                    ReadCase{"MixedSigns", kEnglish, "+-1", 0, BAD},
                    ReadCase{"LoneSeparatorWithExponent", kEnglish, ".E5", 0, BAD},

                    ReadCase{"InnerBlank", kEnglish, "1 .5", 0, BAD},
                    ReadCase{"ExponentWithoutDigits", kEnglish, "1E", 0, BAD},
                    ReadCase{"ExponentSignWithoutDigits", kEnglish, "1E-", 0, BAD},
                    ReadCase{"ExponentWithoutMantissa", kEnglish, "E5", 0, BAD},
                    ReadCase{"FractionalExponent", kEnglish, "1E2.5", 0, BAD},
                    ReadCase{"BeyondDoubleRange", kEnglish, "1E400", 0, RANGE},
                    ReadCase{"NegativeBeyondRange", kEnglish, "-2E308", 0, RANGE},
                    ReadCase{"TooSmallToHold", kEnglish, "1E-400", 0, RANGE},
                    ReadCase{"HugeExponent", kEnglish, "1E99999999999999999999", 0, RANGE}),
    [](const testing::TestParamInfo<ReadCase>& row) { return std::string(row.param.name); });

TEST(TextToDouble, RefusesOverlongTextAtOnce) {
  const std::string digits(100000, '1');
  EXPECT_EQ(tuning::TextToDouble(digits, kGerman).error, NumberError::TooLong);
  const std::string justFits(tuning::kMaxNumberText, '1');
  EXPECT_EQ(tuning::TextToDouble(justFits, kGerman).error, NumberError::None);
  // Blanks around the number do not count against the limit.
  const std::string padded = std::string(500, ' ') + "7" + std::string(500, ' ');
  EXPECT_EQ(tuning::TextToDouble(padded, kGerman).value, 7.0);
}

TEST(TextToDouble, OddSeparatorsNeverBreakIt) {
  // Empty or clashing separators, as a caller might hand over by mistake.
  EXPECT_EQ(tuning::TextToDouble("12", Separators{"", ""}).value, 12.0);
  EXPECT_FALSE(tuning::TextToDouble("1.2", Separators{"", ""}));
  EXPECT_EQ(tuning::TextToDouble("1,5", Separators{",", ","}).value, 1.5);
  EXPECT_EQ(tuning::TextToDouble("1dec5", Separators{"dec", "grp"}).value, 1.5);
  EXPECT_EQ(tuning::TextToDouble("1grp000dec5", Separators{"dec", "grp"}).value, 1000.5);
  // A grouping character at the end, and a digit just past the text read.
  EXPECT_FALSE(tuning::TextToDouble(std::string_view("1.5").substr(0, 2), kGerman));
}

struct WriteCase {
  double value;
  const char* german;
  const char* english;
};

TEST(DoubleToText, GeneralFormatWithFifteenDigits) {
  const WriteCase cases[] = {
      {145.675, "145,675", "145.675"},
      {10.7, "10,7", "10.7"},
      {156375.0, "156375", "156375"},
      {145.64999999999998, "145,65", "145.65"},
      {156.3 - 10.7, "145,6", "145.6"},  // 145.60000000000002 as a double
      {-3.25, "-3,25", "-3.25"},
      {0.0, "0", "0"},
      {-0.0, "0", "0"},
      {0.5, "0,5", "0.5"},
      {0.00001, "0,00001", "0.00001"},
      {0.000001, "1E-06", "1E-06"},
      {-2.5e-7, "-2,5E-07", "-2.5E-07"},
      {1e-10, "1E-10", "1E-10"},  // two exponent digits need no leading zero
      {123456789012345.0, "123456789012345", "123456789012345"},
      {123456789012345.6, "123456789012346", "123456789012346"},  // the 16th digit rounds
      {1.234567890123456, "1,23456789012346", "1.23456789012346"},
      {0.12345678901234567, "0,123456789012346", "0.123456789012346"},
      {0.1 + 0.2, "0,3", "0.3"},              // 0.30000000000000004
      {999999999999999.9, "1E+15", "1E+15"},  // rounding carries into the exponent
      {1e15, "1E+15", "1E+15"},
      {1.5e300, "1,5E+300", "1.5E+300"},
      {1.0 / 3.0, "0,333333333333333", "0.333333333333333"},
      {2.0 / 3.0, "0,666666666666667", "0.666666666666667"},
      {131071.0, "131071", "131071"},
  };
  for (const WriteCase& c : cases) {
    EXPECT_EQ(tuning::DoubleToText(c.value, kGerman), c.german) << c.value;
    EXPECT_EQ(tuning::DoubleToText(c.value, kEnglish), c.english) << c.value;
  }
  EXPECT_EQ(tuning::DoubleToText(std::nan(""), kGerman), "NaN");
  EXPECT_EQ(tuning::DoubleToText(-std::numeric_limits<double>::infinity(), kGerman), "-Inf");
}

TEST(DoubleToText, WrittenTextReadsBack) {
  // What the window writes it must be able to read again, in every locale.
  const double values[] = {145.675, 10.7, 156375.0, -0.125, 1e-6, 2.5e20, 0.1 + 0.2};
  for (const Separators& seps : {kGerman, kEnglish, kSwiss, kFrench}) {
    for (double v : values) {
      const std::string text = tuning::DoubleToText(v, seps);
      const auto back = tuning::TextToDouble(text, seps);
      ASSERT_TRUE(back) << text;
      EXPECT_EQ(tuning::DoubleToText(back.value, seps), text);
      EXPECT_NEAR(back.value, v, std::abs(v) * 1e-14);
    }
  }
}

TEST(ByteToText, PlainDecimalDigits) {
  EXPECT_EQ(tuning::ByteToText(0), "0");
  EXPECT_EQ(tuning::ByteToText(7), "7");
  EXPECT_EQ(tuning::ByteToText(48), "48");
  EXPECT_EQ(tuning::ByteToText(223), "223");
  EXPECT_EQ(tuning::ByteToText(255), "255");
}

TEST(RoundHalfEven, HalfwayGoesToEven) {
  struct Case {
    double in;
    std::int32_t out;
  };
  const Case cases[] = {{6254.5, 6254},
                        {6255.5, 6256},
                        {5800.5, 5800},
                        {10000.5, 10000},
                        {-0.5, 0},
                        {-1.5, -2},
                        {-2.5, -2},
                        {6255.2, 6255},
                        {6254.7, 6255},
                        {-6254.7, -6255},
                        {0.49999999999999994, 0},
                        {2147483647.0, 2147483647},
                        {-2147483648.0, -2147483647 - 1},
                        {2147483647.4, 2147483647},
                        {-2147483648.5, -2147483647 - 1}};
  for (const Case& c : cases) {
    const auto r = tuning::RoundHalfEven(c.in);
    ASSERT_TRUE(r) << c.in;
    EXPECT_EQ(r.value, c.out) << c.in;
  }
}

TEST(RoundHalfEven, OutsideThirtyTwoBitsFails) {
  const double outside[] = {2147483647.5,
                            2147483648.0,
                            -2147483649.0,
                            1e300,
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            std::nan("")};
  for (double v : outside) {
    EXPECT_EQ(tuning::RoundHalfEven(v).error, NumberError::OutOfRange) << v;
  }
}

TEST(ToByte, RangeIsChecked) {
  EXPECT_EQ(tuning::ToByte(0).value, 0);
  EXPECT_EQ(tuning::ToByte(255).value, 255);
  EXPECT_EQ(tuning::ToByte(256).error, NumberError::OutOfRange);
  EXPECT_EQ(tuning::ToByte(-1).error, NumberError::OutOfRange);
}

TEST(TuningState, StartsWithTheDefaults) {
  const tuning::TuningState s;
  EXPECT_EQ(s.fo, 145.675);
  EXPECT_EQ(s.zf, 10.7);
  EXPECT_EQ(s.AmFm, 32);
  EXPECT_EQ(s.Raster, 25000);
  EXPECT_EQ(s.RasterTab, (std::array<std::int16_t, 3>{1000, 10000, 25000}));
}

TEST(TuningState, SelectRasterTakesOnlyTableIndices) {
  tuning::TuningState s;
  EXPECT_TRUE(tuning::SelectRaster(s, 0));
  EXPECT_EQ(s.Raster, 1000);
  EXPECT_TRUE(tuning::SelectRaster(s, 1));
  EXPECT_EQ(s.Raster, 10000);
  EXPECT_FALSE(tuning::SelectRaster(s, 3));
  EXPECT_FALSE(tuning::SelectRaster(s, -1));
  EXPECT_EQ(s.Raster, 10000);
}

}  // namespace
