#include "channels/CsvDialect.h"

#include <string>

#include "channels/Escape.h"

namespace channels {

std::optional<CsvDialect> CsvDialectByName(std::string_view name) {
  if (name == "plain") return kPlainCsv;
  if (name == "de") return kGermanCsv;
  return std::nullopt;
}

void PutCsvStart(Sink& out, const CsvDialect& dialect) {
  if (dialect.byteOrderMark) out.Put("\xEF\xBB\xBF");
}

void PutCsvHeader(Sink& out, std::string_view names, const CsvDialect& dialect) {
  bool first = true;
  while (!names.empty()) {
    const std::size_t comma = names.find(',');
    const std::string_view name = names.substr(0, comma);
    names.remove_prefix(comma == std::string_view::npos ? names.size() : comma + 1);
    if (dialect.spreadsheet && name.ends_with("_bin")) continue;
    if (!first) out.Put(dialect.separator);
    out.Put(name);
    first = false;
  }
  out.Put(dialect.lineEnd);
}

void PutCsvNumber(Sink& out, std::string_view number, const CsvDialect& dialect) {
  if (dialect.decimal == '.') {
    out.Put(number);
    return;
  }
  for (const char c : number) out.Put(c == '.' ? dialect.decimal : c);
}

void PutCsvText(Sink& out, std::string_view text, const CsvDialect& dialect) {
  if (dialect.spreadsheet && !text.empty() &&
      std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
    // Appended piece by piece: GCC 12 at -O3 sees overlaps in "'" + text.
    std::string guarded(1, '\'');
    guarded += text;
    PutCsvField(out, guarded, dialect.separator);
    return;
  }
  PutCsvField(out, text, dialect.separator);
}

}  // namespace channels
