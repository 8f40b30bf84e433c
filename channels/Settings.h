// The settings every result is made with (ZF, TX-ZF, raster, band bits,
// charge-pump bit, the chip's address and bus), read from the text a front end holds, and written
// back as one line for people or as JSON members.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "channels/ChipBus.h"
#include "channels/Row.h"
#include "channels/Sink.h"
#include "tuning/NumberText.h"

namespace channels {

/// The settings as typed: every number still text, with "." or "," as the
/// decimal separator; the check boxes as flags.
struct SettingsText {
  std::string zf = "10.7";       // MHz, for receiving
  std::string txZf = "0";        // MHz, for transmitting: 0 puts the VCO on the transmit frequency
  std::string raster = "25";     // kHz: one of the core's RasterTab
  bool am = false;               // band bits 16 instead of 32
  bool noCp = false;             // charge-pump bit 0 instead of 1
  std::string address = "0xC4";  // the chip's address byte, or its 7-bit form
  std::string bus;               // the Linux I²C bus of i2c-tools; empty: 1
};

/// Which setting could not be read.
enum class SettingsError {
  None,
  Zf,       // zf is no number (numberError says why)
  TxZf,     // txZf is no number (numberError says why)
  Raster,   // raster names no step of the core's RasterTab
  Address,  // address names neither of the chip's two addresses
  Bus,      // bus is no bus number
};

/// The settings as values, or the first one that could not be read.
struct Settings {
  Setup rx;           // receiving: ZF, raster, band bits, charge-pump bit
  double txZf = 0.0;  // MHz; transmitting takes the same raster, band and CP
  ChipTarget chip;    // where the writes go
  SettingsError error = SettingsError::None;
  tuning::NumberError numberError = tuning::NumberError::None;

  explicit operator bool() const { return error == SettingsError::None; }
};

/// Reads `text`. The TX-ZF is read only where `withTxZf` (plan and the
/// page's channel list); elsewhere it stays 0.
Settings ReadSettings(const SettingsText& text, bool withTxZf);

/// The index into the core's RasterTab of a step typed in kHz ("1", "10",
/// "25"), or nothing.
std::optional<int> RasterIndexOfKHz(std::string_view kHz);

/// The step at `index` of the core's RasterTab in kHz, for a message.
int RasterKHz(int index);

/// The steps the core offers, for a message: "1, 10 oder 25".
std::string RasterChoices();

/// The settings in one line: "ZF 10.7 MHz, Raster 25 kHz, Band FM (32), CP 1",
/// with "TX-ZF 0 MHz, " after the ZF where `txZf` is given.
void PutInputsLine(Sink& out, const Setup& setup, std::optional<double> txZf);

/// The same as JSON members, one a line after two blanks, "," and a line end
/// between them and none after the last: "zf_mhz", "tx_zf_mhz" (where given),
/// "raster_khz", "band", "band_bits", "charge_pump".
void PutInputsJson(Sink& out, const Setup& setup, std::optional<double> txZf);

/// What starts every JSON document the library writes, up to the command's
/// name and without a "," after it: the program, its version and `command`.
void PutJsonOpening(Sink& out, std::string_view command);

}  // namespace channels
