// Writing the rows of calc and table as text for people, CSV, JSON or a C
// array. Every number is written with "." and by the core's rules, so it
// matches the window; CSV for a spreadsheet takes its dialect's separators.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "channels/ChipBus.h"
#include "channels/CsvDialect.h"
#include "channels/Row.h"
#include "channels/Sink.h"

namespace channels {

// CArray: a table as a C array; I2cTransfer: a shell script of i2c-tools'
// commands, one write a line.
enum class Format { Text, Csv, Json, CArray, I2cTransfer };

/// The format called `name` ("text", "csv", "json", "c"), or nothing.
std::optional<Format> FormatByName(std::string_view name);

/// The range a table was asked for, in MHz.
struct Range {
  double fromMHz = 0.0;
  double toMHz = 0.0;
};

/// What a document says about where its rows come from.
struct RowOrigin {
  std::string_view command;  // "calc" or "table"
  Setup setup;
  std::optional<Range> range;          // a table's, both ends or none
  std::string_view name = "teilomat";  // prefix of the C identifiers
  ChipTarget chip{};                   // address and bus of every write
};

/// Writes rows one at a time, keeping nothing of earlier rows but their
/// number, so a table of any length needs the same memory.
class RowWriter {
 public:
  /// `csv` lays out Format::Csv.
  RowWriter(Format format, const RowOrigin& origin, Sink& out, const CsvDialect& csv = kPlainCsv);

  /// Everything before the first row: a heading, a header row, an opening.
  void Begin();
  void Put(const Row& row);
  /// Everything after the last row: closing brackets, the count. Not needed
  /// for text and CSV, whose rows stand on their own. `stoppedBefore` names
  /// the channel a table stopped before, if it did; the document then says so
  /// while staying well formed.
  void End(std::string_view stoppedBefore = {});

 private:
  void PutText(const Row& row);
  void PutCsv(const Row& row);
  void PutJson(const Row& row);
  void PutC(const Row& row);
  void PutI2cTransfer(const Row& row);

  Format format_;
  RowOrigin origin_;
  Sink& out_;
  CsvDialect csv_;
  std::size_t count_ = 0;
  // The row's numbers as text, reused from row to row.
  std::string requested_, rx_, vco_, diff_;
};

/// The members "db", "db_hex" and "db_bin" of a JSON object, `between` them.
void PutJsonBytes(Sink& out, const std::array<std::uint8_t, 3>& bytes, std::string_view between);

}  // namespace channels
