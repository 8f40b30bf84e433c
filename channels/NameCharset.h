// Channel names in the character set of the display that shows them: UTF-8
// as the list holds them, plain ASCII, or the ROM of an HD44780U character
// display (its A00 version, the one with the Japanese katakana).
#pragma once

#include <string>
#include <string_view>

namespace channels {

enum class NameCharset { Utf8, Ascii, Hd44780 };

/// The charset called `name` ("utf8", "ascii", "hd44780"), or Utf8 with
/// `known` false.
struct NameCharsetByName {
  NameCharset charset = NameCharset::Utf8;
  bool known = false;
};
NameCharsetByName NameCharsetNamed(std::string_view name);

/// `name`, UTF-8, in `charset`:
/// - Utf8: as it is;
/// - Ascii: ä ö ü Ä Ö Ü ß as ae oe ue Ae Oe Ue ss, the other letters of
///   Latin-1 and Latin Extended-A without their accents (é e, ø o, æ ae,
///   œ oe, ł l), every other character and every byte that is no part of a
///   UTF-8 character "?";
/// - Hd44780: ä ö ü ß ° µ as the A00 ROM holds them (0xE1, 0xEF, 0xF5, 0xE2,
///   0xDF, 0xE4), the rest as Ascii does; a backslash, a tilde and DEL, which
///   the ROM shows as yen and arrows, and the C0 controls, some of which are
///   its user-defined characters, become "?".
std::string InCharset(std::string_view name, NameCharset charset);

}  // namespace channels
