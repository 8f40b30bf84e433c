#include "channels/Escape.h"

#include <cstdint>

namespace channels {
namespace {

// Characters that move the cursor, switch the terminal's state or reorder
// what follows: C0 and C1 controls, DEL, and the bidi embeddings, overrides
// and isolates.
bool IsControl(std::uint32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F) || (code >= 0x202A && code <= 0x202E) ||
         (code >= 0x2066 && code <= 0x2069);
}

// What a terminal may not show as it is: the controls, the bidi marks (ALM,
// LRM, RLM), which reorder neutral characters around them, and the line and
// paragraph separators, which break a line.
bool HiddenFromTerminal(std::uint32_t code) {
  return IsControl(code) || code == 0x061C || code == 0x200E || code == 0x200F || code == 0x2028 ||
         code == 0x2029;
}

constexpr std::string_view kHexDigits = "0123456789abcdef";

}  // namespace

// The range of the first continuation byte rules out overlong forms,
// surrogates and code points past U+10FFFF.
Utf8Char NextChar(std::string_view text, std::size_t at) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t more = 0;
  unsigned char low = 0x80, high = 0xBF;
  std::uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2;
    code = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3;
    code = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {};
  }
  if (text.size() - at <= more) return {};
  for (std::size_t k = 1; k <= more; ++k) {
    const unsigned char next = byte(at + k);
    if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return {};
    code = (code << 6) | (next & 0x3Fu);
  }
  return {code, more + 1, true};
}

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Char c = NextChar(text, at);
    if (c.valid && !HiddenFromTerminal(c.codePoint)) {
      out.append(text.substr(at, c.length));
    } else {
      out += '?';
    }
    at += c.length;
  }
  return out;
}

std::string Quoted(std::string_view text) {
  return "\u201E" + TerminalText(text) + "\u201C";
}

std::string QuotedClipped(std::string_view text, std::size_t maxCharacters) {
  std::size_t at = 0;
  for (std::size_t count = 0; at < text.size() && count < maxCharacters; ++count) {
    at += NextChar(text, at).length;
  }
  if (at == text.size()) return Quoted(text);
  return "\u201E" + TerminalText(text.substr(0, at)) + "\u2026\u201C";
}

void PutCString(Sink& out, std::string_view text) {
  out.Put('"');
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\' || c == '?') {
      out.Put('\\');
      out.Put(c);
    } else if (u >= 0x20 && u < 0x7F) {
      out.Put(c);
    } else {
      // Always three digits, so a digit after it cannot join the escape.
      const char octal[] = {'\\', static_cast<char>('0' + (u >> 6)),
                            static_cast<char>('0' + ((u >> 3) & 7u)),
                            static_cast<char>('0' + (u & 7u))};
      out.Put(std::string_view(octal, sizeof octal));
    }
  }
  out.Put('"');
}

void PutJsonString(Sink& out, std::string_view text) {
  out.Put('"');
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Char c = NextChar(text, at);
    const char first = text[at];
    if (first == '"' || first == '\\') {
      out.Put('\\');
      out.Put(first);
    } else if (c.valid &&
               (IsControl(c.codePoint) || c.codePoint == 0x2028 || c.codePoint == 0x2029)) {
      out.Put("\\u");
      for (int shift = 12; shift >= 0; shift -= 4)
        out.Put(kHexDigits[(c.codePoint >> shift) & 15u]);
    } else if (c.valid) {
      out.Put(text.substr(at, c.length));
    } else {
      out.Put("\\ufffd");  // a byte of no character: JSON is UTF-8 throughout
    }
    at += c.length;
  }
  out.Put('"');
}

void PutCsvField(Sink& out, std::string_view text, char separator) {
  const char special[] = {separator, '"', '\r', '\n'};
  if (text.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
    out.Put(text);
    return;
  }
  out.Put('"');
  for (char c : text) {
    if (c == '"') out.Put('"');
    out.Put(c);
  }
  out.Put('"');
}

}  // namespace channels
