// The settings as typed, read into values and written back as the inputs
// line; the whole numbers of bytes, addresses and sizes.
#include <gtest/gtest.h>

#include "channels/NumberInput.h"
#include "channels/Settings.h"

namespace {

using tuning::NumberError;

TEST(Settings, ReadsEachSettingOrNamesTheFirstItCannot) {
  struct Case {
    channels::SettingsText text;
    bool withTxZf;
    channels::SettingsError error;
    const char* line;  // the inputs line of what was read
  };
  using E = channels::SettingsError;
  // zf, txZf, raster, am, noCp, address, bus
  const auto text = [](std::string zf, std::string txZf = "0", std::string raster = "25",
                       bool am = false, bool noCp = false, std::string address = "0xC4",
                       std::string bus = "") {
    return channels::SettingsText{zf, txZf, raster, am, noCp, address, bus};
  };
  const Case cases[] = {
      {text("10.7"), false, E::None, "ZF 10.7 MHz, Raster 25 kHz, Band FM (32), CP 1"},
      {text("10.7"), true, E::None, "ZF 10.7 MHz, TX-ZF 0 MHz, Raster 25 kHz, Band FM (32), CP 1"},
      {text("0,455", "-10.7", "1", true, true), true, E::None,
       "ZF 0.455 MHz, TX-ZF -10.7 MHz, Raster 1 kHz, Band AM (16), CP 0"},
      {text("0", "x", "10", false, true), false,
       E::None,  // TX-ZF unread: calc has none
       "ZF 0 MHz, Raster 10 kHz, Band FM (32), CP 0"},
      {text("zehn"), true, E::Zf, ""},
      {text("10.7", "1e999"), true, E::TxZf, ""},
      {text("10.7", "0", "12.5"), true, E::Raster, ""},
      {text("10.7", "0", "25000"), false, E::Raster, ""},  // kHz, not Hz
      {text("10.7", "0", " 25"), false, E::Raster, ""},
      {text("10.7", "0", "25", false, false, "0x63"), false, E::None,
       "ZF 10.7 MHz, Raster 25 kHz, Band FM (32), CP 1"},
      {text("10.7", "0", "25", false, false, "0xC5"), false, E::Address, ""},  // a read address
      {text("10.7", "0", "25", false, false, "0xC4", "01"), false, E::Bus, ""},
  };
  for (const Case& c : cases) {
    const channels::Settings settings = channels::ReadSettings(c.text, c.withTxZf);
    EXPECT_EQ(settings.error, c.error) << c.text.zf << " " << c.text.raster;
    if (!settings) continue;
    channels::StringSink line;
    channels::PutInputsLine(line, settings.rx,
                            c.withTxZf ? std::optional<double>(settings.txZf) : std::nullopt);
    EXPECT_EQ(line.Text(), c.line);
  }
  EXPECT_EQ(channels::ReadSettings(text("1e999"), false).numberError, NumberError::OutOfRange);
  EXPECT_EQ(
      channels::ReadSettings(text("0", "0", "25", false, false, "0x63", "7"), false).chip.address,
      0xC6);
  EXPECT_EQ(channels::RasterChoices(), "1, 10 oder 25");
}

TEST(ReadWhole, TakesDecimalAndHexAndRefusesOctalLookingBytes) {
  using channels::LeadingZeros;
  struct Case {
    const char* text;
    std::uint64_t max;
    LeadingZeros zeros;
    std::uint64_t value;
    NumberError error;
  };
  const Case cases[] = {
      {"0100", 255, LeadingZeros::Refused, 0, NumberError::Malformed},  // a byte: octal?
      {"0100", 1000, LeadingZeros::Decimal, 100, NumberError::None},    // an address
      {"0", 255, LeadingZeros::Refused, 0, NumberError::None},
      {"0x1f", 255, LeadingZeros::Refused, 31, NumberError::None},
      {"0XFF", 255, LeadingZeros::Refused, 255, NumberError::None},
      {"0x100", 255, LeadingZeros::Refused, 0, NumberError::OutOfRange},
      {"256", 255, LeadingZeros::Decimal, 0, NumberError::OutOfRange},
      {"16777216", 16777216, LeadingZeros::Decimal, 16777216, NumberError::None},
      {"99999999999999999999999", 16777216, LeadingZeros::Decimal, 0, NumberError::OutOfRange},
      {"", 255, LeadingZeros::Decimal, 0, NumberError::Empty},
      {"0x", 255, LeadingZeros::Decimal, 0, NumberError::Malformed},
      {"-1", 255, LeadingZeros::Decimal, 0, NumberError::Malformed},
      {"1 ", 255, LeadingZeros::Decimal, 0, NumberError::Malformed},
      {"0xG", 255, LeadingZeros::Decimal, 0, NumberError::Malformed},
  };
  for (const Case& c : cases) {
    const auto read = channels::ReadWhole(c.text, c.max, c.zeros);
    EXPECT_EQ(read.error, c.error) << c.text;
    EXPECT_EQ(read.value, read ? c.value : 0) << c.text;
  }
}

}  // namespace
