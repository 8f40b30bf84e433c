#include "channels/NameCharset.h"

#include <cstdint>

#include "channels/Escape.h"

namespace channels {
namespace {

// U+00C0 to U+00FF, one ASCII letter each; '*' marks those of two letters
// (see Wide) and '?' the two signs among them, × and ÷.
constexpr std::string_view kLatin1 =
    "AAAA*A*CEEEEIIIIDNOOOO*?OUUU*Y**"
    "aaaa*a*ceeeeiiiidnoooo*?ouuu*y*y";
// U+0100 to U+017F, the same way.
constexpr std::string_view kExtendedA =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi**JjKkkLlLlLlLlLlNnNnNnnNnOoOoOo**"
    "RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";

// The two-letter forms: umlauts as a German reader writes them.
std::string_view Wide(std::uint32_t codePoint) {
  struct Form {
    std::uint32_t codePoint;
    std::string_view letters;
  };
  constexpr Form kForms[] = {{0xC4, "Ae"},  {0xC6, "Ae"},  {0xD6, "Oe"}, {0xDC, "Ue"},
                             {0xDE, "Th"},  {0xDF, "ss"},  {0xE4, "ae"}, {0xE6, "ae"},
                             {0xF6, "oe"},  {0xFC, "ue"},  {0xFE, "th"}, {0x132, "IJ"},
                             {0x133, "ij"}, {0x152, "Oe"}, {0x153, "oe"}};
  for (const Form& form : kForms) {
    if (form.codePoint == codePoint) return form.letters;
  }
  return "?";
}

// The character of the HD44780U's A00 ROM for `codePoint`, or 0.
char Hd44780Char(std::uint32_t codePoint) {
  switch (codePoint) {
    case 0xE4:
      return '\xE1';  // ä
    case 0xF6:
      return '\xEF';  // ö
    case 0xFC:
      return '\xF5';  // ü
    case 0xDF:
      return '\xE2';  // ß
    case 0xB0:
      return '\xDF';  // °
    case 0xB5:
      return '\xE4';  // µ, the micro sign
    case 0x3BC:
      return '\xE4';  // μ, the Greek letter
    default:
      return 0;
  }
}

void PutAscii(std::string& out, std::uint32_t codePoint) {
  std::string_view table;
  std::uint32_t first = 0;
  if (codePoint >= 0xC0 && codePoint <= 0xFF) {
    table = kLatin1;
    first = 0xC0;
  } else if (codePoint >= 0x100 && codePoint <= 0x17F) {
    table = kExtendedA;
    first = 0x100;
  } else {
    out.push_back('?');
    return;
  }
  const char letter = table[codePoint - first];
  if (letter == '*') {
    out.append(Wide(codePoint));
  } else {
    out.push_back(letter);
  }
}

}  // namespace

NameCharsetByName NameCharsetNamed(std::string_view name) {
  if (name == "utf8") return {NameCharset::Utf8, true};
  if (name == "ascii") return {NameCharset::Ascii, true};
  if (name == "hd44780") return {NameCharset::Hd44780, true};
  return {};
}

std::string InCharset(std::string_view name, NameCharset charset) {
  if (charset == NameCharset::Utf8) return std::string(name);
  std::string out;
  out.reserve(name.size());
  for (std::size_t at = 0; at < name.size();) {
    const Utf8Char c = NextChar(name, at);
    at += c.length;
    if (!c.valid) {
      out.push_back('?');
    } else if (c.codePoint < 0x80) {
      const char ascii = static_cast<char>(c.codePoint);
      const bool romDiffers = ascii == '\\' || ascii == '~' || ascii == '\x7F' || ascii < ' ';
      out.push_back(charset == NameCharset::Hd44780 && romDiffers ? '?' : ascii);
    } else if (const char rom = Hd44780Char(c.codePoint);
               charset == NameCharset::Hd44780 && rom != 0) {
      out.push_back(rom);
    } else {
      PutAscii(out, c.codePoint);
    }
  }
  return out;
}

}  // namespace channels
