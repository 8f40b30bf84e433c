#include "channels/Encoding.h"

#include <array>
#include <cstdint>

#include "channels/Csv.h"
#include "channels/Escape.h"

namespace channels {
namespace {

// The code points of 0x80 to 0x9F in Windows-1252; 0 where it has none.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

bool Undefined(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] == 0;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

TextEncoding DetectEncoding(std::string_view text) {
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) return TextEncoding::Utf16;
  // In UTF-16 every ASCII character has a NUL byte beside it, its line end too.
  const std::size_t end = text.find_first_of("\r\n");
  const std::string_view first = text.substr(0, end == std::string_view::npos ? end : end + 2);
  if (first.find('\0') != std::string_view::npos) return TextEncoding::Utf16;

  if (text.starts_with("\xEF\xBB\xBF") || FirstNonUtf8(text) == std::string_view::npos) {
    return TextEncoding::Utf8;
  }
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      ++at;
      continue;
    }
    const Utf8Char c = NextChar(text, at);
    if (c.valid || Undefined(byte)) return TextEncoding::Utf8;
    ++at;
  }
  return TextEncoding::Windows1252;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else if (byte <= 0x9F) {
      const std::uint16_t code = kHighControls[byte - 0x80];
      AppendUtf8(out, code != 0 ? code : 0xFFFD);
    } else {
      AppendUtf8(out, byte);  // Latin-1 from 0xA0: the code point is the byte
    }
  }
  return out;
}

}  // namespace channels
