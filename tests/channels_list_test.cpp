// Channel lists as radio tools and spreadsheets write them: the CSV reader,
// the two forms of list, a list's plan as CSV, and the EEPROM image.
#include <gtest/gtest.h>

#include "channels/ChannelList.h"
#include "channels/Csv.h"
#include "channels/EepromImage.h"
#include "channels/Encoding.h"
#include "channels/Plan.h"
#include "channels/PlanWriters.h"

namespace {

// Records joined: fields by "|", records by ";".
std::string ReadAll(std::string_view text, channels::CsvError& error, std::size_t& line) {
  channels::CsvReader reader(text, ',');
  std::vector<std::string> fields;
  std::string joined;
  while (reader.Next(fields)) {
    for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? "|" : "") + fields[i];
    joined += ";";
  }
  error = reader.Error();
  line = reader.Line();
  return joined;
}

TEST(Csv, ReadsQuotesLineEndsAndBlankLines) {
  using E = channels::CsvError;
  struct Case {
    const char* text;
    const char* records;
    E error;
    std::size_t line;  // of the last record or the error
  };
  const Case cases[] = {
      {"a,b\r\nc,d\r\n", "a|b;c|d;", E::None, 2},
      {"a,b\nc,d", "a|b;c|d;", E::None, 2},  // no line end at the end
      {"a\rb\r", "a;b;", E::None, 2},        // CR alone
      {"\"x,y\",\"say \"\"hi\"\"\"\n", "x,y|say \"hi\";", E::None, 1},
      {"\"two\r\nlines\",z\nnext\n", "two\r\nlines|z;next;", E::None, 3},
      {"a,\n\n,,\r\nb,", "a|;b|;", E::None, 4},  // blank and comma-only lines skipped
      {"\"\"\n", ";", E::None, 1},               // one empty field, quoted: not blank
      {"ab\"c\n", "ab\"c;", E::None, 1},         // a quote inside a field stands as it is
      {"a\n\"open,\nb\n", "a;", E::UnclosedQuote, 2},
      {"a\n\"x\"y,z\n", "a;", E::TextAfterQuote, 2},
  };
  for (const Case& c : cases) {
    E error = E::None;
    std::size_t line = 0;
    EXPECT_EQ(ReadAll(c.text, error, line), c.records) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_EQ(line, c.line) << c.text;
  }
  // The text ends where its view ends: the quote just past it is never read.
  std::size_t line = 0;
  E error = E::None;
  EXPECT_EQ(ReadAll(std::string_view("a\n\"b\"", 4), error, line), "a;");
  EXPECT_EQ(error, E::UnclosedQuote);
}

TEST(Csv, TakesTheSeparatorFromTheFirstLine) {
  const std::pair<std::string_view, char> cases[] = {
      {"Location,Name,Frequency", ','},
      {"Location;Name;Frequency\n1;a,b;145", ';'},
      {"\"a;b;c\",d\n", ','},  // quoted semicolons do not count
      {"a;b,c", ','},          // a tie keeps the comma
      {"a\rb;c;d", ','},       // only the first line counts
      {"a\tb\tc,d", '\t'},
      {"a\tb;c", ';'},  // a tie keeps the semicolon, and the comma before both
      {"\"a\tb\tc\",d", ','},
  };
  for (const auto& [text, separator] : cases) {
    EXPECT_EQ(channels::DetectSeparator(text), separator) << text;
  }
}

TEST(Csv, FindsBytesThatAreNotUtf8) {
  const std::size_t ok = std::string_view::npos;
  const std::pair<std::string_view, std::size_t> cases[] = {
      {"plain", ok},
      {"K\xC3\xA4se", ok},
      {"\xE2\x82\xAC", ok},      // ä, €
      {"\xF0\x9D\x84\x9E", ok},  // U+1D11E
      {"\xF4\x8F\xBF\xBF", ok},  // U+10FFFF
      {"ab\xFF", 2},
      {"\xC0\x80", 0},
      {"\xC1\xBF", 0},  // overlong
      {"\xE0\x80\x80", 0},
      {"\xED\xA0\x80", 0},      // surrogate
      {"\xF4\x90\x80\x80", 0},  // past U+10FFFF
      {"x\xC3", 1},
      {"\xE2\x82", 0},
      {"\x80", 0},
      {"\xC3\x28", 0},
      {std::string_view("x\xC3\xA4", 2), 1},  // the view ends inside ä
  };
  for (const auto& [text, offset] : cases) EXPECT_EQ(channels::FirstNonUtf8(text), offset) << text;
}

// Windows-1252 as Excel writes it; the UTF-8 each character must become, typed.
TEST(Encoding, TellsUtf16AndWindows1252FromUtf8) {
  using T = channels::TextEncoding;
  struct Case {
    const char* name;
    std::string_view text;
    T encoding;
    const char* utf8;  // for Windows-1252
  };
  const Case cases[] = {
      {"ASCII", "a,b\n", T::Utf8, ""},
      {"UTF-8", "K\xC3\xA4se", T::Utf8, ""},
      {"Latin-1 range", "K\xE4se \xDF \xA0\xFF", T::Windows1252, "Käse ß \u00A0ÿ"},
      {"0x80 to 0x9F", "\x80\x84\x93\x8A\x9F\x99", T::Windows1252, "€„“ŠŸ™"},
      {"0x81", "\xE4\x81", T::Utf8, ""},
      {"0x8D", "\xE4\x8D", T::Utf8, ""},
      {"0x8F", "\xE4\x8F", T::Utf8, ""},
      {"0x90", "\xE4\x90", T::Utf8, ""},
      {"0x9D", "\xE4\x9D", T::Utf8, ""},
      {"UTF-8 and a bad byte", "\xC3\xA4\n\xE4", T::Utf8, ""},
      {"UTF-8 mark and a bad byte", "\xEF\xBB\xBF\xE4", T::Utf8, ""},
      {"UTF-16 LE mark", "\xFF\xFEL", T::Utf16, ""},
      {"UTF-16 BE mark", "\xFE\xFF\xE4", T::Utf16, ""},
      {"NUL in the first line", std::string_view("a\0\xE4", 3), T::Utf16, ""},
      {"NUL after a CR", std::string_view("\r\0a", 3), T::Utf16, ""},
      {"NUL in the second line", std::string_view("a\nb\0", 4), T::Utf8, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(channels::DetectEncoding(c.text), c.encoding) << c.name;
    if (c.encoding == T::Windows1252) {
      EXPECT_EQ(channels::Windows1252ToUtf8(c.text), c.utf8) << c.name;
    }
  }
  const channels::ChannelList list = channels::ReadChannelList("name;rx_mhz\nH\xF6ren;145,6\n");
  ASSERT_TRUE(list) << channels::ListMessage(list);
  EXPECT_EQ(list.channels.at(0).name, "Hören");
  EXPECT_EQ(channels::ListNotice(list),
            "Die Kanalliste ist nicht UTF-8; gelesen als Windows-1252 "
            "(Excel: \u201ECSV (Trennzeichen-getrennt)\u201C).");
  EXPECT_EQ(channels::ListNotice(channels::ReadChannelList("name,rx_mhz\nH\xC3\xB6ren,145\n")), "");
}

// A CHIRP export as its columns are documented: a byte-order mark, CR LF, a
// quoted name with a comma and quotes, a comment over two lines, a gap at 2,
// every Duplex value, columns in an unusual order and one unknown to us.
constexpr const char* kChirp =
    "\xEF\xBB\xBFLocation,Frequency,Name,Duplex,Offset,Mode,Comment,NewColumn\r\n"
    "0,145.600000,\"Relais, \"\"DB0XY\"\"\",-,0.600000,FM,,x\r\n"
    "1,145.500000,Simplex,,0.000000,AM,,\r\n"
    "3,145.525000,Empfang,off,0.600000,NFM,\"nur\r\nhören\",\r\n"
    "5,145.350000,Plus,+,0.600000,FM,,\r\n"  // out of order: plan sorts
    "4,145.300000,Split,split,433.500000,FM,,\r\n";

TEST(ChannelList, ReadsEveryDuplexOfAChirpExport) {
  const channels::ChannelList list = channels::ReadChannelList(kChirp);
  ASSERT_TRUE(list) << channels::ListMessage(list);
  struct Want {
    std::int64_t number;
    const char* name;
    double rx, tx;  // tx 0: none
    std::size_t line;
  };
  const Want want[] = {{0, "Relais, \"DB0XY\"", 145.6, 145.0, 2},
                       {1, "Simplex", 145.5, 145.5, 3},
                       {3, "Empfang", 145.525, 0, 4},
                       {5, "Plus", 145.35, 145.95, 6},
                       {4, "Split", 145.3, 433.5, 7}};
  ASSERT_EQ(list.channels.size(), std::size(want));
  for (std::size_t i = 0; i < std::size(want); ++i) {
    const channels::Channel& c = list.channels[i];
    EXPECT_EQ(c.number, want[i].number);
    EXPECT_EQ(c.name, want[i].name);
    EXPECT_DOUBLE_EQ(c.rxMHz, want[i].rx);
    EXPECT_DOUBLE_EQ(c.txMHz.value_or(0), want[i].tx) << c.name;
    EXPECT_EQ(c.line, want[i].line) << c.name;
  }
}

TEST(ChannelList, PlainListsAndRefusals) {
  using E = channels::ListError;
  constexpr const char* kHead = "Location,Name,Frequency,Duplex,Offset\n";
  struct Case {
    std::string text;
    E error;
    std::size_t line;
    const char* message;  // a piece of it; for a good list its channels' TX, "-" for none
  };
  std::string many;  // one channel past the highest number
  for (int i = 0; i <= 65536; ++i) {
    many += 'P';  // appended piece by piece: GCC 12 at -O3 sees overlaps (-Wrestrict) in "P" + ...
    many += std::to_string(i);
    many += ",145\n";
  }
  const Case cases[] = {
      {"name,rx_mhz\na,145.6\nb,145.5\n", E::None, 0, "--"},  // a receiver
      {"name,rx_mhz,tx_mhz\na,145.6,\nb,145.5,144\n", E::None, 0, "-144"},
      {"", E::Empty, 0, "leer"},
      {"\xEF\xBB\xBF\r\n", E::Empty, 1, "leer"},
      {kHead, E::NoChannels, 1, "keinen Kanal"},
      {"Location,Name,Frequency,Offset\n1,a,145,0\n", E::MissingColumn, 1, "\u201EDuplex\u201C"},
      {"name,tx_mhz,rx\n", E::MissingColumn, 1, "\u201ELocation\u201C"},
      {"rx_mhz\n145\n", E::MissingColumn, 1, "\u201Ename\u201C"},
      {std::string(kHead) + "1,a,145,,\n2,b,14S.6,,\n", E::NotANumber, 3,
       "Zeile 3, Spalte Frequency: \u201E14S.6\u201C ist keine Zahl"},
      {std::string(kHead) + "1,a,145,+,\n", E::NotANumber, 2, "Zeile 2: Offset ist leer."},
      {std::string(kHead) + "1,a, ,,\n", E::NotANumber, 2, "Zeile 2: Frequency ist leer."},
      {std::string(kHead) + " ,a,145,,\n", E::BadNumber, 2, "Zeile 2: Location ist leer."},
      {"name,rx_mhz,tx_mhz\na,145,x\n", E::NotANumber, 2, "Spalte tx_mhz"},
      {std::string(kHead) + "1.5,a,145,,\n", E::BadNumber, 2, "Kanalnummer"},
      {std::string(kHead) + "-1,a,145,,\n", E::BadNumber, 2, "Kanalnummer"},
      {std::string(kHead) + "65536,a,145,,\n", E::BadNumber, 2, "(0 bis 65535)"},
      {std::string(kHead) + "1,a,145,dup,\n", E::UnknownDuplex, 2, "\u201Edup\u201C gibt es nicht"},
      {std::string(kHead) + "7,a,145,,\n8,b,145,,\n7,c,145,,\n", E::DuplicateNumber, 4,
       "Kanal 7 steht schon in Zeile 2"},
      {std::string(kHead) + "1,\xC3\xA4,145,,\n2,\xE4,145,,\n", E::NotUtf8, 3, "kein UTF-8"},
      {std::string(kHead) + "1,\"a,145,,\n", E::BadQuote, 2, "Anführungszeichen"},
      {std::string(kHead) + "1,a,\x1B[2J,,\n", E::NotANumber, 2, "?[2J"},  // shown, not obeyed
      {std::string(kHead) + "1,a,1e400,,\n", E::NotANumber, 2,
       "\u201E1e400\u201C liegt außerhalb des Zahlenbereichs"},
      {std::string(kHead) + "1,a," + std::string(100000, '7') + "x,,\n", E::NotANumber, 2,
       "7777\u2026\u201C ist zu lang"},
      {"Location;Name;Frequency;Duplex\n1;a;145;\n", E::MissingColumn, 1,
       "\u201EOffset\u201C in der Kopfzeile (Zeile 1): \u201ELocation;Name;Frequency;Duplex\u201C"},
      {"Location,Name,Frequency,Duplex,Offse\r1,\xC3\xA4,\xE4,,\r", E::NotUtf8, 2,
       "\u201ECSV UTF-8\u201C"},
      {std::string(kHead) + "1,\xC3\xA4,145,,\r\r\n2,\xE4,145,,\n", E::NotUtf8, 4,
       "\u201EUnicode (UTF-8)\u201C"},
      {std::string("\xFF\xFEL\0", 4), E::Utf16, 1, "UTF-16 (so speichert Excel"},
      {std::string("L\0o\0c\0\r\0\n\0", 10), E::Utf16, 1, "\u201ECSV UTF-8\u201C, in"},
      {std::string(kHead) + "0,a,145,,\n" + std::string("1,b\0,145,,\n", 11), E::None, 0,
       "145145"},  // not UTF-16
      {std::string(kHead) + "1,a,145,-,-0.6\n", E::NegativeOffset, 2,
       "Zeile 2, Spalte Offset: \u201E-0.6\u201C ist negativ. Bei Duplex + und - gibt Duplex die "
       "Richtung an und Offset den Abstand, ohne Vorzeichen."},
      {std::string(kHead) + "1,a,145,+,-0.6\n", E::NegativeOffset, 2, "ist negativ"},
      {std::string(kHead) + "0,a,145,-,-0\n1,b,145,Split,-0\n", E::None, 0, "1450"},
      {std::string(kHead) + "0,a,145,OFF,\n1,b,145,Off,\n2,c,145,SPLIT,144\n", E::None, 0, "--144"},
      {"Location,Name,Frequency,Duplex,Offset,LOCATION\n", E::DuplicateColumn, 1,
       "Die Spalte \u201ELocation\u201C steht zweimal in der Kopfzeile (Zeile 1): als Spalte 1 "
       "und als Spalte 6."},
      {"name,rx_mhz,tx_mhz,Tx_MHz\n", E::DuplicateColumn, 1, "Spalte 3 und als Spalte 4"},
      {"Comment,Location,Name,Frequency,Duplex,Offset,Comment\nx,0,a,145,,,\n", E::None, 0, "145"},
      {"name,rx_mhz\n" + many, E::TooManyChannels, 65538,
       "Zeile 65538: die Kanalliste hat mehr als 65536 Kan\u00E4le; eine eigene Liste z\u00E4hlt "
       "sie ab 0, h\u00F6chstens bis 65535."},
      {std::string(kHead) + "1,a,145,6,-,0,6\n", E::TooManyCells, 2,
       "Zeile 2: 7 Felder, die Kopfzeile hat nur 5. Steht ein Dezimalkomma oder ein Komma im "
       "Namen ohne Anf\u00FChrungszeichen darin? Dann das Feld in Anf\u00FChrungszeichen setzen "
       "(\"145,6\") oder die Liste mit \u201E;\u201C als Trennzeichen speichern."},
      {"name;rx_mhz\na;145;;x\n", E::TooManyCells, 2, "Ein Feld, das \u201E;\u201C enth\u00E4lt"},
      {"name\trx_mhz\na\t145\t6\n", E::TooManyCells, 2,
       "3 Felder, die Kopfzeile hat nur 2. Ein "
       "Feld, das einen Tabulator enth\u00E4lt, geh\u00F6rt in Anf\u00FChrungszeichen."},
      {"name,rx_mhz,tx_mhz\na,145.6,,\nb,145.5,144, ,,\n", E::None, 0, "-144"},  // trailing
      {"Location\tName\tDuplex\n", E::MissingColumn, 1,
       "\u201EFrequency\u201C in der Kopfzeile (Zeile 1): \u201ELocation Name Duplex\u201C"},
      {std::string(kHead) + "65535,a,145,,\n65535,b,145,,\n", E::DuplicateNumber, 3, "Kanal 65535"},
  };
  for (const Case& c : cases) {
    const channels::ChannelList list = channels::ReadChannelList(c.text);
    EXPECT_EQ(list.error, c.error) << c.text;
    if (c.error != E::None) {
      EXPECT_EQ(list.line, c.line) << c.text;
      const std::string message = channels::ListMessage(list);
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
      EXPECT_EQ(message.find('\x1B'), std::string::npos) << message;
      continue;
    }
    std::string tx;
    for (const channels::Channel& channel : list.channels) {
      tx += channel.txMHz ? std::to_string(static_cast<int>(*channel.txMHz)) : "-";
      EXPECT_EQ(channel.number, &channel - list.channels.data());  // numbered from 0
    }
    EXPECT_EQ(tx, c.message) << c.text;
  }
}

// Hand-worked: RX 145.6 + ZF 10.7 = 156.3 MHz = 6252 × 25 kHz, 6252 = 48 × 128 + 108,
// so DB0 = 2 × 108 + 1 = 217, DB1 48, DB2 32 + 128 = 160; and so on for each.
TEST(Plan, ChirpExportToCsv) {
  const channels::ChannelList list = channels::ReadChannelList(kChirp);
  const channels::Plan plan = channels::MakePlan(list.channels, {});
  channels::StringSink out;
  channels::WritePlanCsv(plan.channels, {}, out);
  EXPECT_EQ(out.Text(),
            "channel,name,rx_mhz,rx_diff_hz,rx_n,rx_db0,rx_db1,rx_db2,tx_mhz,tx_diff_hz,tx_n,"
            "tx_db0,tx_db1,tx_db2,rx_i2c,tx_i2c\n"
            "0,\"Relais, \"\"DB0XY\"\"\",145.6,0,6252,217,48,160,145,0,5800,81,45,160,"
            "C4 00 D9 30 A0 00,C4 00 51 2D A0 00\n"
            "1,Simplex,145.5,0,6248,209,48,160,145.5,0,5820,121,45,160,"  // Mode AM: still FM input
            "C4 00 D1 30 A0 00,C4 00 79 2D A0 00\n"
            "3,Empfang,145.525,0,6249,211,48,160,,,,,,,C4 00 D3 30 A0 00,\n"
            "4,Split,145.3,0,6240,193,48,160,433.5,0,17340,121,135,160,"
            "C4 00 C1 30 A0 00,C4 00 79 87 A0 00\n"
            "5,Plus,145.35,0,6242,197,48,160,145.95,0,5838,157,45,160,"
            "C4 00 C5 30 A0 00,C4 00 9D 2D A0 00\n");
}

TEST(Image, LaysChannelsOutWithGapsBaseAndFill) {
  const std::vector<channels::ImageRecord> records = {{0, {1, 2, 3}, {{4, 5, 6}}},
                                                      {2, {7, 8, 9}, std::nullopt}};
  using Bytes = std::vector<std::uint8_t>;
  const std::uint8_t e = 0xEE;
  struct Case {
    channels::ImageLayout layout;
    Bytes bytes;  // empty: too large
  };
  const Case cases[] = {
      {{1, std::nullopt, e, false}, {e, 1, 2, 3, 4, 5, 6, e, e, e, e, e, e, 7, 8, 9, e, e, e}},
      {{0, std::nullopt, e, true}, {1, 2, 3, e, e, e, 7, 8, 9}},
      {{1, 11, e, true}, {e, 1, 2, 3, e, e, e, 7, 8, 9, e}},
      {{1, 9, e, true}, {}},
      {{0, channels::kMaxImageSize + 1, e, true}, {}},
  };
  for (const Case& c : cases) {
    const channels::Image image = channels::BuildImage(records, c.layout);
    EXPECT_EQ(static_cast<bool>(image), !c.bytes.empty());
    EXPECT_EQ(image.bytes, c.bytes);
  }
}

TEST(Image, IntelHexRecordsAndTheAddressPast64KiB) {
  channels::StringSink small;
  channels::WriteIntelHex({1, 2, 3}, small);  // 03 + 01 + 02 + 03 = 9, checksum 0x100 − 9
  EXPECT_EQ(small.Text(), ":03000000010203F7\n:00000001FF\n");
  channels::StringSink large;
  channels::WriteIntelHex(std::vector<std::uint8_t>(0x10001, 0), large);
  const std::string& hex = large.Text();
  EXPECT_EQ(hex.find(":02000004"), hex.size() - 42);  // once, right before the last byte
  EXPECT_TRUE(
      hex.ends_with(":10FFF0000000000000000000000000000000000001\n"
                    ":020000040001F9\n:0100000000FF\n:00000001FF\n"));
}

// Separators, decimal commas and header case as spreadsheets save them, and
// repeater shifts added in decimal: 145.6125 − 0.6 in binary arithmetic is
// 145.01250000000002, which --round would put on 145.025 instead of 145.
TEST(ChannelList, ReadsSpreadsheetsAndShiftsExactly) {
  constexpr const char* kSemicolons = "Location;Name;Frequency;Duplex;Offset\n";
  struct Case {
    std::string text;
    std::int64_t number;
    double rx, tx;
  };
  const Case cases[] = {
      {std::string(kSemicolons) + "1;a;145,6125;-;0,6\n", 1, 145.6125, 145.0125},
      {"location,NAME,Frequency,duplex,OFFSET\n2,a,145.6125,-,0.6\n", 2, 145.6125, 145.0125},
      {std::string(kSemicolons) + "3;\"a;b\";438,6125;-;7,6\n", 3, 438.6125, 431.0125},  // 70 cm
      {std::string(kSemicolons) + "4;a;145,0125;+;0,6\n", 4, 145.0125, 145.6125},
      {std::string(kSemicolons) + "5;a;145,3;split;433,5\n", 5, 145.3, 433.5},
      {"Name;RX_MHz;tx_mhz\na;145,6;144,8\n", 0, 145.6, 144.8},
      {std::string(kSemicolons) + "65535;a;145;;\n", 65535, 145, 145},  // the highest number
      {"Location\tName\tFrequency\tDuplex\tOffset\n6\ta,b\t145,6125\t-\t0,6\n", 6, 145.6125,
       145.0125},
  };
  for (const Case& c : cases) {
    const channels::ChannelList list = channels::ReadChannelList(c.text);
    ASSERT_TRUE(list) << channels::ListMessage(list);
    ASSERT_EQ(list.channels.size(), 1u) << c.text;
    EXPECT_EQ(list.channels[0].number, c.number) << c.text;
    EXPECT_EQ(list.channels[0].rxMHz, c.rx) << c.text;
    EXPECT_EQ(list.channels[0].txMHz.value_or(0), c.tx) << c.text;
  }
}

}  // namespace
