// Text from a list or a command line, made safe for where it goes: a
// terminal, a message, a C string, JSON or CSV. Such text may hold anything,
// terminal controls included, so every output goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "channels/Sink.h"

namespace channels {

/// One character of UTF-8 text: its code point and its length in bytes, or,
/// for a byte that starts no well-formed character (overlong forms,
/// surrogates and code points past U+10FFFF included), the length 1 and no
/// code point.
struct Utf8Char {
  std::uint32_t codePoint = 0;
  std::size_t length = 1;
  bool valid = false;
};

/// The character of `text` that starts at byte `at` (< text.size()).
Utf8Char NextChar(std::string_view text, std::size_t at);

/// `text` as a terminal may show it: C0 and C1 controls, DEL, every bidi
/// control (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069), the
/// line and paragraph separators U+2028 and U+2029, and every byte that is
/// not part of a well-formed UTF-8 character become "?". Nothing else changes.
std::string TerminalText(std::string_view text);

/// „text“, terminal-safe, for a message.
std::string Quoted(std::string_view text);

/// „text“ as Quoted writes it, cut after `maxCharacters` characters with
/// "…", so a long cell does not flood a message.
std::string QuotedClipped(std::string_view text, std::size_t maxCharacters = 40);

/// `text` as a C string literal: printable ASCII as it is, except that
/// quotes, backslashes and question marks (trigraphs) are escaped; every
/// other byte as a three-digit octal escape.
void PutCString(Sink& out, std::string_view text);

/// `text` as a JSON string. Every character stays as it is, but quotes and
/// backslashes are escaped, and C0 and C1 controls, DEL, the bidi controls
/// U+202A to U+202E and U+2066 to U+2069 and the line and paragraph
/// separators are written as \u escapes; a byte that is no part of a UTF-8
/// character as \ufffd.
void PutJsonString(Sink& out, std::string_view text);

/// `text` as one CSV field: in double quotes (doubled inside) where it holds
/// the separator, a quote or a line break; else as it is.
void PutCsvField(Sink& out, std::string_view text, char separator = ',');

}  // namespace channels
