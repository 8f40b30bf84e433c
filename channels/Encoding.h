// The character encoding of a list as spreadsheets save it: UTF-8, the one
// that is read; UTF-16, which Excel writes as "Unicode text"; and
// Windows-1252, which German Excel writes as its plain "CSV".
#pragma once

#include <string>
#include <string_view>

namespace channels {

/// How a list's bytes are to be taken.
enum class TextEncoding {
  Utf8,         // as it is; bytes that are not UTF-8 are then refused
  Utf16,        // a UTF-16 byte-order mark, or NUL bytes in the first line
  Windows1252,  // not UTF-8, and nothing in it that Windows-1252 leaves undefined
};

/// The encoding of `text`. UTF-16 is told first: by the byte-order mark FF FE
/// or FE FF, or by a NUL byte in the first line or right after its line end
/// (the second byte of a UTF-16 CR or LF). Windows-1252 is a text without a
/// UTF-8 byte-order mark that holds a byte which is not UTF-8, no well-formed
/// UTF-8 character of two or more bytes, and none of the five bytes
/// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D). Anything
/// else is UTF-8: a text that mixes UTF-8 characters with other bytes is no
/// Windows-1252 that a spreadsheet saved.
TextEncoding DetectEncoding(std::string_view text);

/// `text`, Windows-1252, as UTF-8. Line ends and every other ASCII byte stay
/// where they are; a byte Windows-1252 leaves undefined becomes U+FFFD.
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace channels
