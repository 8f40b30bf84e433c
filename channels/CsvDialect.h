// How the writers lay out CSV: for programs (",", decimal point, LF), the
// default, or for a spreadsheet opened by a double click in a German locale
// (";", decimal comma, UTF-8 with a byte-order mark, CR LF). The writers take
// the dialect as a value; nothing here looks at the locale.
#pragma once

#include <optional>
#include <string_view>

#include "channels/Sink.h"

namespace channels {

struct CsvDialect {
  char separator = ',';             // between cells
  char decimal = '.';               // in every number with a fraction
  std::string_view lineEnd = "\n";  // after every line, the last one too
  bool byteOrderMark = false;       // U+FEFF as UTF-8 before the first line
  // For a spreadsheet: no binary columns, whose leading zeros it would drop,
  // and no text cell it would take for a formula.
  bool spreadsheet = false;
};

/// The default: what programs read.
inline constexpr CsvDialect kPlainCsv{};
/// What Excel and LibreOffice in a German locale open right.
inline constexpr CsvDialect kGermanCsv{';', ',', "\r\n", true, true};

/// The dialect called `name` ("plain" or "de"), or nothing.
std::optional<CsvDialect> CsvDialectByName(std::string_view name);

/// Everything before the header row: the byte-order mark, if any.
void PutCsvStart(Sink& out, const CsvDialect& dialect);
/// The header row from `names` ("a,b,c"), with the dialect's separator and
/// line end; a spreadsheet's leaves out the columns whose names end in "_bin".
void PutCsvHeader(Sink& out, std::string_view names, const CsvDialect& dialect);
/// A number as NumberOutput writes it, with the dialect's decimal separator.
void PutCsvNumber(Sink& out, std::string_view number, const CsvDialect& dialect);
/// A text cell as PutCsvField writes it with the dialect's separator. For a
/// spreadsheet, text that starts with "=", "+", "-", "@", a tab or a CR
/// gets a "'" before it, so it stays text and is never run as a formula.
void PutCsvText(Sink& out, std::string_view text, const CsvDialect& dialect);

}  // namespace channels
