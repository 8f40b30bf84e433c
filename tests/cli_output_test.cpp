// What teilomat-cli writes: the formats, the decoder's report, and what a
// failing command leaves behind. Run in-process on memory sinks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "channels/Decode.h"
#include "channels/NumberOutput.h"
#include "channels/RowWriter.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

using Command = int (*)(const cli::Arguments&, channels::Sink&, channels::Sink&);

Outcome RunWith(Command command, const cli::Arguments& args) {
  channels::StringSink out, err;
  const int status = command(args, out, err);
  return {status, out.Text(), err.Text()};
}

// The whole command line, options read as the program reads them.
Outcome RunWords(const std::vector<std::string>& words) {
  channels::StringSink out, err;
  const int status = cli::RunCommandLine(words, out, err);
  return {status, out.Text(), err.Text()};
}

cli::Arguments Calc(std::vector<std::string> rx, std::string format = "csv") {
  cli::Arguments args;
  args.rx = std::move(rx);
  args.format = std::move(format);
  return args;
}

cli::Arguments Table(std::string from, std::string to, std::string format) {
  cli::Arguments args;
  args.settings.zf = "0";
  args.settings.raster = "1";
  args.format = std::move(format);
  args.from = std::move(from);
  args.to = std::move(to);
  return args;
}

constexpr const char* kCsvHeader =
    "rx_requested_mhz,n,vco_khz,rx_mhz,diff_hz,db0,db1,db2,db0_hex,db1_hex,db2_hex,db0_bin,"
    "db1_bin,db2_bin,i2c\n";

TEST(Calc, DefaultsGiveTheWindowsNumbers) {
  const Outcome o = RunWith(cli::RunCalc, Calc({"145,68", "145.6625"}));
  EXPECT_EQ(o.status, cli::kExitOk);
  EXPECT_EQ(o.out, std::string(kCsvHeader) +
                       "145.68,6255,156375,145.675,-5000,223,48,160,0xDF,0x30,0xA0,"
                       "11011111,00110000,10100000,C4 00 DF 30 A0 00\n"
                       "145.6625,6254,156350,145.65,-12500,221,48,160,0xDD,0x30,0xA0,"
                       "11011101,00110000,10100000,C4 00 DD 30 A0 00\n");
  EXPECT_EQ(o.err, "");
}

TEST(Calc, TakesBandChargePumpAndRaster) {
  cli::Arguments args = Calc({"145.675"});
  args.settings.am = true;
  args.settings.noCp = true;
  args.settings.raster = "10";
  const Outcome o = RunWith(cli::RunCalc, args);
  // N 15638 (156380 kHz), DB2 = 16 (AM) + 64 (10 kHz).
  EXPECT_EQ(o.out.substr(std::string(kCsvHeader).size()),
            "145.675,15638,156380,145.68,5000,44,122,80,0x2C,0x7A,0x50,00101100,01111010,"
            "01010000,C4 00 2C 7A 50 00\n");
}

// Nothing is written half: one failing RX and no result is printed.
TEST(Calc, FailingResultWritesNothing) {
  struct Case {
    std::vector<std::string> rx;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{"145.675", "131,072"}, cli::kExitOk, ""},  // at 25 kHz far from the limit
      {{"145.675", "abc"}, cli::kExitUsage, "RX \u201Eabc\u201C ist keine Zahl."},
      {{"145.675", "4000"}, cli::kExitDividerLimit, "Teilerverhältnis zu gross! (max 131071)\n"},
      {{"145.675", "1e300"}, cli::kExitDividerLimit, "zu gross! (max 131071)\nbei RX \u201E1e300"},
      {{"145.675", "-10,7"}, cli::kExitOk, ""},  // N 0
      {{"145.675", "-20"},
       cli::kExitDividerLimit,
       "zu klein! (min 0)\nbei RX \u201E-20\u201C (N -372)"},
      {{"145.675", "-1e300"}, cli::kExitDividerLimit, "zu klein! (min 0)\nbei RX \u201E-1e300"},
  };
  for (const Case& c : cases) {
    for (const char* format : {"text", "csv", "json", "c"}) {
      const Outcome o = RunWith(cli::RunCalc, Calc(c.rx, format));
      EXPECT_EQ(o.status, c.status) << c.rx.back() << " " << format;
      EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
      if (c.status != cli::kExitOk) {
        EXPECT_EQ(o.out, "") << c.rx.back() << " " << format;
      }
    }
  }
}

// The raster in kHz, as chosen, in the text heading and the C header's comment.
TEST(Calc, HeadingNamesTheRaster) {
  for (const char* raster : {"1", "10", "25"}) {
    for (const char* format : {"text", "c"}) {
      cli::Arguments args = Calc({"27.125"}, format);
      args.settings.raster = raster;
      args.settings.zf = "0.455";
      const Outcome o = RunWith(cli::RunCalc, args);
      EXPECT_NE(o.out.find(std::string("ZF 0.455 MHz, Raster ") + raster + " kHz, Band FM (32)"),
                std::string::npos)
          << o.out;
    }
  }
}

std::vector<std::size_t> Starts(const std::string& line, std::vector<std::size_t>* ends) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == ' ') continue;
    starts.push_back(i);
    while (i < line.size() && line[i] != ' ') ++i;
    ends->push_back(i);
  }
  return starts;
}

// Every number of the text format ends under the end of its heading; the
// hex and binary bytes start under theirs. RX, difference and N of many
// widths, a negative one among them.
TEST(Calc, TextColumnsLineUp) {
  cli::Arguments args = Calc({"0,5", "145.68", "-5", "131.1234567"}, "text");
  args.settings.raster = "10";
  const Outcome o = RunWith(cli::RunCalc, args);
  ASSERT_EQ(o.status, cli::kExitOk);
  std::vector<std::string> lines;
  for (std::size_t at = 0, next; at < o.out.size(); at = next + 1) {
    next = o.out.find('\n', at);
    lines.push_back(o.out.substr(at, next - at));
  }
  ASSERT_EQ(lines.size(), 6u) << o.out;
  EXPECT_EQ(lines[2].find("0.5"), 12u) << lines[2];  // a blank, then 14 columns for RX
  // "RX soll/MHz", "N", "VCO/kHz", "RX ist/MHz", "Abw./Hz", "DB0".."DB2", "hex", "binär", "I²C"
  std::vector<std::size_t> headEnds;
  const std::vector<std::size_t> headStarts = Starts(lines[1], &headEnds);
  ASSERT_EQ(headStarts.size(), 13u) << lines[1];
  const std::size_t numberHeads[] = {1, 2, 3, 5, 6, 7, 8, 9};
  for (std::size_t row = 2; row < lines.size(); ++row) {
    std::vector<std::size_t> ends;
    const std::vector<std::size_t> starts = Starts(lines[row], &ends);
    ASSERT_EQ(starts.size(), 20u) << lines[row];
    for (std::size_t column = 0; column < 8; ++column) {
      EXPECT_EQ(ends[column], headEnds[numberHeads[column]]) << lines[row];
    }
    EXPECT_EQ(starts[8], headStarts[10]) << lines[row];
    EXPECT_EQ(starts[11], headStarts[11]) << lines[row];
    EXPECT_EQ(starts[14] + 1, headStarts[12]) << lines[row];  // the "ä" of "binär" is two bytes
  }
}

TEST(Calc, RefusesBadOptions) {
  const std::pair<const char*, const char*> cases[] = {
      {"--zf", "zehn"},    {"--raster", "12.5"}, {"--raster", "25000"},
      {"--format", "xml"}, {"--name", "2fast"},  {"--name", "a-b"},
  };
  for (const auto& [option, value] : cases) {
    const Outcome o = RunWords({"calc", "145.675", option, value});
    EXPECT_EQ(o.status, cli::kExitUsage) << value;
    EXPECT_EQ(o.out, "") << value;
    EXPECT_NE(o.err.find(value), std::string::npos) << o.err;
  }
  // What was typed is shown, never obeyed by the terminal.
  const Outcome esc = RunWith(cli::RunCalc, Calc({"\x1B[2J"}));
  EXPECT_NE(esc.err.find("\u201E?[2J\u201C"), std::string::npos) << esc.err;
  EXPECT_EQ(cli::UsageMessage(cli::ParseProblem::Other, "x\x1B]0;y\a").find('\x1B'),
            std::string::npos);
}

TEST(Table, TextAndCsvKeepTheRowsBeforeTheLimit) {
  for (const char* format : {"csv", "text"}) {
    const Outcome o = RunWith(cli::RunTable, Table("131.07", "131.08", format));
    EXPECT_EQ(o.status, cli::kExitDividerLimit) << format;
    EXPECT_NE(o.out.find("131.071"), std::string::npos) << format;
    EXPECT_EQ(o.out.find("131.072"), std::string::npos) << format;
    EXPECT_EQ(o.err,
              "Teilerverhältnis zu gross! (max 131071)\n"
              "Tabelle abgebrochen vor RX 131.072 MHz (N 131072); 2 Zeilen geschrieben.\n");
  }
  const Outcome csv = RunWith(cli::RunTable, Table("131.07", "131.08", "csv"));
  EXPECT_EQ(csv.out.substr(std::string(kCsvHeader).size()),
            "131.07,131070,131070,131.07,0,253,255,35,0xFD,0xFF,0x23,11111101,11111111,00100011,"
            "C4 00 FD FF 23 00\n"
            "131.071,131071,131071,131.071,0,255,255,35,0xFF,0xFF,0x23,11111111,11111111,"
            "00100011,C4 00 FF FF 23 00\n");
}

// A table has at most 131072 rows, N 0 to 131071: a range reaching beyond
// gives those and exits 3.
TEST(Table, HoldsAtMostEveryDividerOnce) {
  struct Case {
    const char *from, *to, *zf, *raster;
    std::size_t rows;
    int status;
  };
  const Case cases[] = {
      {"0", "131.071", "0", "1", 131072, cli::kExitOk},
      {"0", "131.072", "0", "1", 131072, cli::kExitDividerLimit},
      {"0", "1000000", "10.7", "25", 130644, cli::kExitDividerLimit},  // N 428 up
  };
  for (const Case& c : cases) {
    cli::Arguments args = Table(c.from, c.to, "csv");
    args.settings.zf = c.zf;
    args.settings.raster = c.raster;
    const Outcome o = RunWith(cli::RunTable, args);
    EXPECT_EQ(o.status, c.status) << c.to;
    EXPECT_EQ(static_cast<std::size_t>(std::count(o.out.begin(), o.out.end(), '\n')), c.rows + 1)
        << c.to;
  }
}

// A table stopped by the divider limit keeps its rows; a JSON document or C
// header is closed as usual and says where it stopped.
TEST(Table, StoppedTableClosesItsDocument) {
  const std::pair<const char*, const char*> cases[] = {
      {"json", "\"complete\": false,\n  \"stopped_before\": \"RX 131.072 MHz (N 131072)\"\n}\n"},
      {"c",
       "  /* Abgebrochen vor RX 131.072 MHz (N 131072): Teilerverhaeltnis zu gross (max "
       "131071). */\n};\n\n#define TEILOMAT_CHANNEL_COUNT 2\n"},
      {"csv", "131.071,131071,"},
  };
  for (const auto& [format, piece] : cases) {
    const Outcome o = RunWith(cli::RunTable, Table("131.07", "131.08", format));
    EXPECT_EQ(o.status, cli::kExitDividerLimit) << format;
    EXPECT_NE(o.out.find(piece), std::string::npos) << o.out;
    EXPECT_NE(o.err.find("abgebrochen vor RX 131.072 MHz (N 131072); 2 Zeilen"), std::string::npos)
        << o.err;
  }
  // Nothing at all before the first row, in any format.
  const Outcome beyond = RunWith(cli::RunTable, Table("140", "150", "csv"));
  EXPECT_EQ(beyond.status, cli::kExitDividerLimit);
  EXPECT_EQ(beyond.out, "");
}

// A table whose first channel lies above the limit is refused for the limit,
// however far its end reaches: near it, or beyond the 32-bit range.
TEST(Table, FirstChannelAboveTheLimitIsRefusedWhateverTheEnd) {
  const std::tuple<const char*, std::size_t, const char*> cases[] = {
      {"131.07", 3, "abgebrochen vor RX 131.072 MHz (N 131072); 2 Zeilen"},
      {"131.071", 2, "abgebrochen vor RX 131.072 MHz (N 131072); 1 Zeile "},
      {"131.072", 0, "erster Kanal, RX 131.072 MHz (N 131072), liegt über"},
      {"131.073", 0, "erster Kanal, RX 131.073 MHz (N 131073), liegt über"},
  };
  for (const auto& [from, lines, message] : cases) {
    for (const char* to : {"131.08", "1e9"}) {
      const Outcome o = RunWith(cli::RunTable, Table(from, to, "csv"));
      EXPECT_EQ(o.status, cli::kExitDividerLimit) << from << " " << to;
      EXPECT_EQ(static_cast<std::size_t>(std::count(o.out.begin(), o.out.end(), '\n')), lines);
      EXPECT_EQ(o.err.find("Teilerverhältnis zu gross! (max 131071)\n"), 0u) << o.err;
      EXPECT_NE(o.err.find(message), std::string::npos) << o.err;
    }
  }
}

TEST(Table, CHeaderNamesItsInputsAndCountsItsRows) {
  cli::Arguments args = Table("145,6", "145.625", "c");
  args.settings.zf = "10,7";
  args.settings.raster = "25";
  args.name = "kanal";
  const Outcome o = RunWith(cli::RunTable, args);
  EXPECT_EQ(o.status, cli::kExitOk);
  const std::string version(channels::ProgramVersion());
  EXPECT_EQ(o.out,
            "/* Datenbytes {DB0, DB1, DB2} fuer den PLL-Synthesizer TSA6057.\n"
            " * Erzeugt von teilomat-cli " +
                version +
                " (table).\n"
                " * ZF 10.7 MHz, Raster 25 kHz, Band FM (32), CP 1\n"
                " * Bereich: RX 145.6 bis 145.625 MHz\n"
                " */\n"
                "#ifndef KANAL_CHANNELS_H\n#define KANAL_CHANNELS_H\n\n#include <stdint.h>\n\n"
                "static const uint8_t kanal_channels[][3] = {\n"
                "    {0xD9, 0x30, 0xA0}, /* RX 145.6 MHz, N 6252 */\n"
                "    {0xDB, 0x30, 0xA0}, /* RX 145.625 MHz, N 6253 */\n"
                "};\n\n#define KANAL_CHANNEL_COUNT 2\n\n#endif /* KANAL_CHANNELS_H */\n");
}

// A range that starts below N 0 is refused whole, even where its end lies
// above: a table never holds a negative divider ratio.
TEST(Table, RefusesRangesWithoutRows) {
  struct Case {
    cli::Arguments args;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {Table("2", "1", "csv"), cli::kExitUsage, "verkehrt herum"},
      {Table("1.0005", "1.0009", "csv"), cli::kExitUsage, "kein Kanal"},
      {Table("1", "x", "csv"), cli::kExitUsage, "--to \u201Ex\u201C ist keine Zahl"},
      {Table("x", "1", "csv"), cli::kExitUsage, "--from \u201Ex\u201C ist keine Zahl"},
      {Table("-0.001", "1", "csv"), cli::kExitDividerLimit,
       "Teilerverhältnis zu klein! (min 0)\nTabelle nicht geschrieben: --from \u201E-0.001\u201C "
       "liegt unter dem niedrigsten Kanal, RX 0 MHz (N 0).\n"},
      {Table("-1e12", "1e12", "json"), cli::kExitDividerLimit, "zu klein! (min 0)"},
  };
  for (const auto& [args, status, message] : cases) {
    const Outcome o = RunWith(cli::RunTable, args);
    EXPECT_EQ(o.status, status) << message;
    EXPECT_EQ(o.out, "") << message;
    EXPECT_NE(o.err.find(message), std::string::npos) << o.err;
  }
}

TEST(Decode, NamesWhatTheEncoderNeverWrites) {
  struct Case {
    std::array<std::uint8_t, 3> bytes;
    std::vector<std::string> starts;  // the notes, by their first words
  };
  const Case cases[] = {
      {{223, 48, 160}, {}},
      {{223, 48, 16}, {}},
      {{223, 48, 164}, {"Bits 2-3 von DB2"}},
      {{223, 48, 176}, {"Beide Bandbits"}},
      {{223, 48, 128}, {"Kein Bandbit"}},
      {{255, 255, 0xFF}, {"Bits 2-3 von DB2", "Beide Bandbits", "Referenzbits 192"}},
  };
  for (const Case& c : cases) {
    const channels::DecodeReport report = channels::Decode(c.bytes, 10.7);
    ASSERT_EQ(report.notes.size(), c.starts.size()) << int{c.bytes[2]};
    for (std::size_t i = 0; i < c.starts.size(); ++i) {
      EXPECT_TRUE(report.notes[i].starts_with(c.starts[i])) << report.notes[i];
    }
  }
  const channels::DecodeReport unknown = channels::Decode({0, 0, 192 + 32}, 10.7);
  EXPECT_FALSE(unknown.raster);
  EXPECT_FALSE(unknown.rxMHz);
}

TEST(Decode, GivesBackWhatCalcEncoded) {
  cli::Arguments args;
  args.bytes = {"0xDF", "48", "160"};
  args.format = "csv";
  const Outcome o = RunWith(cli::RunDecode, args);
  EXPECT_EQ(o.status, cli::kExitOk);
  EXPECT_EQ(
      o.out,
      "db0,db1,db2,db0_hex,db1_hex,db2_hex,db0_bin,db1_bin,db2_bin,n,raster_khz,band,"
      "band_bits,charge_pump,vco_khz,zf_mhz,rx_mhz,notes,address,address_7bit,address_select\n"
      "223,48,160,0xDF,0x30,0xA0,11011111,00110000,10100000,6255,25,FM,32,1,156375,10.7,"
      "145.675,,,,\n");

  // The charge-pump bit as the byte holds it, 0 here.
  channels::StringSink text;
  channels::WriteDecode(channels::Decode({222, 48, 160}, 10.7), channels::Format::Text, text);
  EXPECT_EQ(text.Text().find("DB0      222  0xDE  11011110\nDB1"), 0u) << text.Text();
  EXPECT_NE(text.Text().find("\nCP       0"), std::string::npos) << text.Text();
  // A note is the CSV's last field.
  channels::StringSink csv;
  channels::WriteDecode(channels::Decode({223, 48, 164}, 10.7), channels::Format::Csv, csv);
  EXPECT_NE(csv.Text().find(",145.675,Bits 2-3 von DB2"), std::string::npos) << csv.Text();

  args.bytes = {"1", "2", "0x123"};
  const Outcome bad = RunWith(cli::RunDecode, args);
  EXPECT_EQ(bad.status, cli::kExitUsage);
  EXPECT_NE(bad.err.find("DB2 \u201E0x123\u201C ist kein Byte"), std::string::npos) << bad.err;
  args.bytes = {"1", "2", "3"};
  args.format = "c";
  EXPECT_EQ(RunWith(cli::RunDecode, args).status, cli::kExitUsage);
}

}  // namespace

namespace {

// Each kind of option error and each command's refusals, in German, pointing
// to the help of the command they belong to; a divider beyond the limit is
// told the raster that reaches it (200 + 10.7 MHz: N 210700 at 1 kHz, 8428 at
// 25 kHz; 4010.7 MHz: N 160428 at 25 kHz).
TEST(CommandLine, ErrorsSayWhatIsWrongAndPointToTheCommandsHelp) {
  struct Case {
    std::vector<std::string> words;
    int status;
    const char* errEnd;
  };
  const int usage = cli::kExitUsage;
  const Case cases[] = {
      {{"plan", "a.csv", "--tx-zf"},
       usage,
       ": --tx-zf braucht einen Wert\nHilfe: teilomat-cli plan --help\n"},
      {{"calc", "1", "--zf", "1", "--zf", "2"},
       usage,
       "--zf steht mehr als einmal da: es nimmt nur einen Wert\nHilfe: teilomat-cli calc --help\n"},
      {{"table", "--from", "1", "--to", "2", "--foo"},
       usage,
       ": unbekannte Option --foo\nHilfe: teilomat-cli table --help\n"},
      {{"table", "--from", "1", "--to", "2", "x"},
       usage,
       ": ein Wert zu viel: „x“\nHilfe: teilomat-cli table --help\n"},
      {{"plan"}, usage, ": es fehlt die Liste (LISTE)\nHilfe: teilomat-cli plan --help\n"},
      {{"table", "--from", "1"}, usage, ": es fehlt --to\nHilfe: teilomat-cli table --help\n"},
      {{"plan", "a.csv", "--round=x"},
       usage,
       ": --round nimmt keinen Wert\nHilfe: teilomat-cli plan --help\n"},
      {{"calc", "--raster", "1", "200"},
       cli::kExitDividerLimit,
       "(N 210700)\nHinweis: mit --raster 25 liegt das Teilerverhältnis zwischen 0 und 131071.\n"},
      {{"calc", "4000"},
       cli::kExitDividerLimit,
       "Mit keinem Raster (1, 10 oder 25 kHz) liegt das Teilerverhältnis zwischen 0 und 131071.\n"},
  };
  for (const Case& c : cases) {
    const Outcome o = RunWords(c.words);
    EXPECT_EQ(o.status, c.status) << o.err;
    EXPECT_TRUE(o.err.ends_with(c.errEnd)) << o.err;
  }
  EXPECT_EQ(cli::UsageMessage(cli::ParseProblem::Other, "Some English text", "decode"),
            "Aufruf fehlerhaft: diese Befehlszeile ist so nicht lesbar\n"
            "Hilfe: teilomat-cli decode --help\n");
}

}  // namespace
