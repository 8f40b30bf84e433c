// Reading comma-separated values as spreadsheets and radio-programming tools
// write them: fields in double quotes may hold separators, doubled quotes and
// line breaks; lines end in CR LF, LF or CR alone. The separator is ",";
// ";", as spreadsheets in a German locale write it; or tab.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace channels {

/// Why the reader stopped before the end of the text.
enum class CsvError {
  None,
  UnclosedQuote,   // a quoted field runs to the end of the text
  TextAfterQuote,  // something other than the separator or a line end follows a closing quote
};

/// Reads records one at a time from text held by the caller. A record whose
/// fields are all empty (a blank line, or nothing but separators) is
/// skipped. A quote inside an unquoted field is taken as it stands. The text
/// ends where the view ends: nothing past it is read.
class CsvReader {
 public:
  CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

  /// Reads the next record into `fields`, reusing its strings. Returns false
  /// at the end of the text or on an error; Error() then says which.
  bool Next(std::vector<std::string>& fields);

  CsvError Error() const { return error_; }
  /// The line (from 1) on which the last record began, or on which the error lies.
  std::size_t Line() const { return recordLine_; }

 private:
  std::string_view text_;
  char separator_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  std::size_t recordLine_ = 0;
  CsvError error_ = CsvError::None;
};

/// The separator of a list whose first line is `text`'s: the one of ",", ";"
/// and tab that this line holds most often outside quotes; on a tie ","
/// before ";" before tab.
char DetectSeparator(std::string_view text);

/// The line (from 1) on which the byte at `offset` stands, counting CR LF, LF
/// and CR alone as one line end each.
std::size_t LineAt(std::string_view text, std::size_t offset);

/// The offset of the first byte of `text` that is not part of a well-formed
/// UTF-8 character (overlong forms and surrogates included), or npos.
std::size_t FirstNonUtf8(std::string_view text);

}  // namespace channels
