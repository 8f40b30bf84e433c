// Reading comma-separated values as spreadsheets and radio-programming tools
// write them: fields in double quotes may hold commas, doubled quotes and line
// breaks; lines end in CR LF, LF or CR alone.
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
  TextAfterQuote,  // something other than a comma or a line end follows a closing quote
};

/// Reads records one at a time from text held by the caller. A record whose
/// fields are all empty (a blank line, or nothing but commas) is skipped.
/// A quote inside an unquoted field is taken as it stands.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text) : text_(text) {}

  /// Reads the next record into `fields`, reusing its strings. Returns false
  /// at the end of the text or on an error; Error() then says which.
  bool Next(std::vector<std::string>& fields);

  CsvError Error() const { return error_; }
  /// The line (from 1) on which the last record began, or on which the error lies.
  std::size_t Line() const { return recordLine_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  std::size_t recordLine_ = 0;
  CsvError error_ = CsvError::None;
};

/// The offset of the first byte of `text` that is not part of a well-formed
/// UTF-8 character (overlong forms and surrogates included), or npos.
std::size_t FirstNonUtf8(std::string_view text);

}  // namespace channels
