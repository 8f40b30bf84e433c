// CSV for programs and for a spreadsheet in a German locale: separators,
// decimal commas, the byte-order mark, line ends and the cells kept as text,
// in every writer of CSV.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "channels/Csv.h"
#include "channels/CsvDialect.h"
#include "channels/Decode.h"
#include "channels/PlanJob.h"
#include "channels/RowWriter.h"

namespace {

using channels::CsvDialect;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr const char* kList =
    "name,rx_mhz,tx_mhz\nRelais DB0XY,145.6,145.0\n\"a;b\",145.5,\n=SUMME(A1),145.525,\n";

// calc 27.1234, or the table of channels 5800 and 5801 (25 kHz, ZF 10.7).
std::string Rows(const CsvDialect& csv, bool table) {
  channels::StringSink out;
  const channels::Setup setup;
  channels::RowWriter writer(channels::Format::Csv, {table ? "table" : "calc", setup, {}}, out,
                             csv);
  writer.Begin();
  if (table) {
    for (const std::int32_t n : {5800, 5801}) writer.Put(channels::ChannelRow(setup, n));
  } else {
    writer.Put(channels::CalcRow(setup, 27.1234).row);
  }
  writer.End();
  return out.Text();
}

std::string Calc(const CsvDialect& csv) {
  return Rows(csv, false);
}
std::string Table(const CsvDialect& csv) {
  return Rows(csv, true);
}

std::string Decode(const CsvDialect& csv) {
  channels::StringSink out;
  channels::WriteDecode(channels::Decode({223, 48, 172}, 10.7, 0xC6), channels::Format::Csv, out,
                        csv);
  return out.Text();
}

std::string PlanCsv(const CsvDialect& csv, std::string list = kList) {
  channels::PlanRequest request;
  request.format = channels::PlanFormat::Csv;
  request.csv = csv;
  const channels::PlanOutcome outcome = channels::RunPlanJob(request, std::move(list));
  channels::StringSink out;
  if (outcome) channels::WritePlan(outcome, request, out);
  return out.Text();
}

using Cell = std::tuple<std::size_t, std::size_t, std::string>;  // line, cell, text

TEST(CsvDialect, EveryWriterInBothDialects) {
  struct Case {
    const char* name;
    std::string (*write)(const CsvDialect&);
    bool german;
    std::size_t columns;  // counted in the header by hand
    std::vector<Cell> cells;
  };
  // N 1513 for 27.1234: DB0 0xD3, DB1 0x0B; 6255 for DB0 223, DB1 48; 6252 for 145.6.
  const Case cases[] = {
      {"calc",
       Calc,
       false,
       15,
       {{1, 0, "27.1234"},
        {1, 3, "27.125"},
        {1, 4, "1600"},
        {1, 11, "11010011"},
        {1, 14, "C4 00 D3 0B A0 00"}}},
      {"calc de",
       Calc,
       true,
       12,
       {{1, 0, "27,1234"},
        {1, 2, "37825"},
        {1, 3, "27,125"},
        {1, 4, "1600"},
        {1, 8, "0xD3"},
        {1, 11, "C4 00 D3 0B A0 00"}}},
      {"table", Table, false, 15, {{2, 0, "134.325"}, {2, 2, "145025"}, {2, 12, "00101101"}}},
      {"table de", Table, true, 12, {{1, 0, "134,3"}, {2, 3, "134,325"}, {2, 10, "0xA0"}}},
      {"decode", Decode, false, 21, {{1, 6, "11011111"}, {1, 15, "10.7"}, {1, 16, "145.675"}}},
      {"decode de",
       Decode,
       true,
       18,
       {{1, 6, "6255"},
        {1, 11, "156375"},
        {1, 12, "10,7"},
        {1, 13, "145,675"},
        {1, 14, "Bits 2-3 von DB2 sind gesetzt (Wert 12); sie sollten frei sein."},
        {1, 15, "0xC6"},
        {1, 17, "1"}}},
      {"plan",
       [](const CsvDialect& csv) { return PlanCsv(csv); },
       false,
       16,
       {{1, 2, "145.6"}, {2, 1, "a;b"}, {3, 1, "=SUMME(A1)"}, {3, 2, "145.525"}}},
      {"plan de",
       [](const CsvDialect& csv) { return PlanCsv(csv); },
       true,
       16,
       {{1, 1, "Relais DB0XY"},
        {1, 2, "145,6"},
        {1, 8, "145"},
        {1, 15, "C4 00 51 2D A0 00"},
        {2, 1, "a;b"},
        {3, 1, "'=SUMME(A1)"},
        {3, 2, "145,525"}}},
  };
  for (const Case& c : cases) {
    const std::string text = c.write(c.german ? channels::kGermanCsv : channels::kPlainCsv);
    // The mark once, at the very start; every line, the last too, ends alike.
    EXPECT_EQ(text.starts_with(kBom), c.german) << c.name;
    EXPECT_EQ(text.find(kBom, c.german ? kBom.size() : 0), std::string::npos) << c.name;
    std::size_t lines = 0, crs = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') ++lines;
      if (text[i] == '\r') crs += i + 1 < text.size() && text[i + 1] == '\n' ? 1u : 100u;
    }
    EXPECT_TRUE(text.ends_with('\n')) << c.name;
    EXPECT_EQ(crs, c.german ? lines : 0) << c.name << "\n" << text;

    channels::CsvReader reader(std::string_view(text).substr(c.german ? kBom.size() : 0),
                               c.german ? ';' : ',');
    std::vector<std::vector<std::string>> records;
    for (std::vector<std::string> fields; reader.Next(fields);) records.push_back(fields);
    ASSERT_EQ(records.size(), lines) << c.name << "\n" << text;
    for (const std::vector<std::string>& fields : records) {
      EXPECT_EQ(fields.size(), c.columns) << c.name << ": " << fields.front();
      // A spreadsheet would drop a leading zero of a binary cell.
      for (const std::string& field : fields) {
        EXPECT_FALSE(c.german && field.size() > 1 && field.front() == '0' &&
                     field.find_first_not_of("01") == std::string::npos)
            << c.name << ": " << field;
      }
    }
    for (const auto& [line, cell, expected] : c.cells) {
      ASSERT_LT(line, records.size()) << c.name;
      ASSERT_LT(cell, records[line].size()) << c.name;
      EXPECT_EQ(records[line][cell], expected) << c.name << ", line " << line << ", cell " << cell;
    }
  }
}

// A German plan is no list to read back, but plan reads one: mark, ";",
// decimal commas and CR LF give the same plan as the list it came from.
TEST(CsvDialect, GermanPlanReadsBackAsItsList) {
  const std::string list = "name,rx_mhz,tx_mhz\nRelais DB0XY,145.6,145.0\n\"a;b\",145.5,\n";
  EXPECT_EQ(PlanCsv(channels::kPlainCsv, PlanCsv(channels::kGermanCsv, list)),
            PlanCsv(channels::kPlainCsv, list));
}

}  // namespace
