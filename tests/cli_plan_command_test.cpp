// teilomat-cli plan in-process: options, refusals and outputs of the
// command, and the file that appears whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "channels/Sink.h"
#include "cli/CommandLine.h"
#include "cli/Files.h"
#include "cli/PlanCommand.h"

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

// plan with `options` on the list `input`, read from a file as the program
// reads it, CSV unless the options say otherwise.
Outcome Plan(std::string_view input, std::vector<std::string> options = {}) {
  // A name of the test's own: ctest runs the tests side by side.
  const std::string list = ::testing::TempDir() + "teilomat-plan-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".csv";
  std::ofstream(list, std::ios::binary) << input;
  std::vector<std::string> words = {"plan", list};
  if (std::find(options.begin(), options.end(), "--format") == options.end()) {
    words.insert(words.end(), {"--format", "csv"});
  }
  words.insert(words.end(), options.begin(), options.end());
  channels::StringSink out, err;
  const int status = cli::RunCommandLine(words, out, err);
  std::remove(list.c_str());
  return {status, out.Text(), err.Text()};
}

TEST(Plan, RefusesOffRasterUnlessRoundedAndStopsAtTheLimits) {
  struct Case {
    const char* input;
    std::vector<std::string> options;
    int status;
    const char* piece;  // of the output, or of the message when it fails
  };
  const Case cases[] = {
      {"name,rx_mhz\nS12,145.6125\n",
       {},
       2,
       "Kanal 0 \u201ES12\u201C: RX 145.6125 MHz, nächste Kanäle 145.6 und 145.625 MHz\n"},
      {"name,rx_mhz\nS12,145.6125\n", {"--round"}, 0, "0,S12,145.6,-12500,6252,217,48,160,,"},
      {"name,rx_mhz\nA,145.600001\n", {}, 0, ",145.6,-1,6252,"},  // 1 Hz: on the grid
      {"name,rx_mhz\nA,145.6000011\n", {}, 2, "RX 145.6000011 MHz"},
      {"name,rx_mhz,tx_mhz\nT,145.6,145.0125\n",
       {},
       2,
       "TX 145.0125 MHz, nächste Kanäle 145 und 145.025 MHz"},
      {"name,rx_mhz,tx_mhz\nT,27.125,27.125\n",
       {"--raster", "1", "--zf", "0.455"},
       0,
       ",27.125,0,27580,121,215,32,27.125,0,27125,235,211,32"},
      {"name,rx_mhz,tx_mhz\nS,145.5,145.5\n",
       {"--tx-zf", "10.7", "--am"},
       0,
       ",6248,209,48,144,145.5,0,6248,209,48,144"},
      {"name,rx_mhz\nL,131.071\n", {"--raster", "1", "--zf", "0"}, 0, ",131071,255,255,35"},
      {"name,rx_mhz\nL,131.072\n",
       {"--raster", "1", "--zf", "0"},
       3,
       "Teilerverhältnis zu gross! (max 131071)\nKanal 0 \u201EL\u201C: RX 131.072 MHz (N 131072)"},
      {"Location,Name,Frequency,Duplex,Offset\n9,Neg,1,-,20\n",
       {},
       3,
       "Teilerverhältnis zu klein! (min 0)\nKanal 9 \u201ENeg\u201C: TX -19 MHz (N -760)"},
      {"name,rx_mhz\nX,1e300\n", {}, 3, "zu gross! (max 131071)\nKanal 0 \u201EX\u201C: RX 1E+300"},
      {"name,rx_mhz\n\"\x1B]0;x\x07\",145.6\n",
       {"--format", "text"},
       0,
       "  ?]0;x?  C4 00 D9 30 A0 00  -\n"},
      {"name,rx_mhz\nA,145.6\n",
       {"--format", "xml"},
       2,
       "text, csv, json, c, arduino, ihex, bin oder i2ctransfer"},
      {"name;rx_mhz\n\xC4;145,6\n", {}, 0, "0,\xC3\x84,145.6,0,6252,217,48,160,,"},
      {"name,rx_mhz\nA,145.6\n",
       {"--fill", "256", "--format", "bin"},
       2,
       "--fill \u201E256\u201C ist kein Byte"},
      {"name,rx_mhz\nA,145.6\n", {"--base", "16"}, 2, "--base gilt nur für ein Abbild"},
      {"name,rx_mhz\nA,145.61\n", {}, 2, "alle Kanäle passen zu --raster 10"},
      {"name,rx_mhz\nA,145.6\n",
       {"--format", "c", "--tx-zf", "1e300"},
       2,
       "zu groß für den C-Header"},
      {"name,rx_mhz\nA,145.6\n",
       {"--format", "bin", "--size", "5"},
       2,
       "Das Abbild braucht 6 Bytes, --size erlaubt 5."},
      {"name,rx_mhz,tx_mhz\nA,145.6,145\n",
       {"--rx-only"},
       0,
       "0,A,145.6,0,6252,217,48,160,,,,,,,C4 00 D9 30 A0 00,\n"},
      {"name,rx_mhz\nA,145.6\n", {"--format", "c", "--name", "_funk_2"}, 0, "_FUNK_2_PLAN_COUNT 1"},
      // Ties of a repeater's TX, as calc 145.0125 --zf 0 and calc 431.0125 --zf 0 give them.
      {"Location,Name,Frequency,Duplex,Offset\n1,A,145.6125,-,0.6\n",
       {"--round"},
       0,
       ",145,-12500,5800,81,45,160,C4 00 D9 30 A0 00,C4 00 51 2D A0 00\n"},
      {"Location,Name,Frequency,Duplex,Offset\n1,A,438.6125,-,7.6\n",
       {"--round"},
       0,
       ",431,-12500,17240,177,134,160,C4 00 69 8C A0 00,C4 00 B1 86 A0 00\n"},
  };
  for (const Case& c : cases) {
    const Outcome o = Plan(c.input, c.options);
    EXPECT_EQ(o.status, c.status) << c.input << o.err;
    EXPECT_NE((c.status == 0 ? o.out : o.err).find(c.piece), std::string::npos) << o.out << o.err;
    if (c.status != 0) {
      EXPECT_EQ(o.out, "") << c.input;
    }
  }
  // Said first, also when the list then fails.
  EXPECT_EQ(Plan("name;rx_mhz\n\xC4;x\n")
                .err.find("Die Kanalliste ist nicht UTF-8; gelesen als "
                          "Windows-1252 (Excel: \u201ECSV (Trennzeichen-"
                          "getrennt)\u201C).\nZeile 2, Spalte rx_mhz"),
            0u);
  // Rounded onto a raster when a finer one would have fitted: it is named.
  EXPECT_NE(Plan("name,rx_mhz\nA,145.61\n", {"--round"}).err.find("passen zu --raster 10."),
            std::string::npos);
  // Every channel --round moves is named, whatever the format.
  const Outcome c = Plan("name,rx_mhz\nS12,145.6125\n", {"--round", "--format", "c"});
  EXPECT_NE(c.err.find("Kanal 0 \u201ES12\u201C: RX 145.6125 MHz -> 145.6 MHz\n"),
            std::string::npos);
}

// What plan says of the rasters, in the options' words. 156.301 MHz lies
// on 1 kHz only, with N 156301 there; 1410.7 MHz gives N 1410700 at 1 kHz and
// 56428 at 25 kHz; the CB list's TX 27.125 MHz lies off 10 kHz with TX-ZF 0.
TEST(Plan, RasterHintsNameTheOptionToGive) {
  struct Case {
    const char* input;
    std::vector<std::string> options;
    int status;
    const char* piece;
  };
  const std::vector<std::string> cb = {"--raster", "10", "--zf", "0,455", "--am"};
  const Case cases[] = {
      {"name,rx_mhz\nA,145.601\n",
       {},
       2,
       "Nur mit --raster 1 liegen alle Kanäle im Raster, dort ist aber ein Teilerverhältnis zu "
       "gross (max 131071).\n"},
      {"name,rx_mhz\nA,145.6125\n",
       {},
       2,
       "Kein Raster (1, 10 oder 25 kHz) passt zu allen Kanälen.\n"},
      {"name,rx_mhz\nA,1400\n",
       {"--raster", "1"},
       3,
       "(N 1410700)\nHinweis: mit --raster 25 liegt das Teilerverhältnis dieses Kanals zwischen 0 "
       "und 131071.\n"},
      {"name,rx_mhz\nA,4000\n",
       {},
       3,
       "(N 160428)\nMit keinem Raster (1, 10 oder 25 kHz) liegt das Teilerverhältnis dieses Kanals "
       "zwischen 0 und 131071.\n"},
      {"name,rx_mhz,tx_mhz\nK1,27.125,27.125\n", cb, 2, "TX 27.125 MHz, nächste Kanäle"},
  };
  for (const Case& c : cases) {
    const Outcome o = Plan(c.input, c.options);
    EXPECT_EQ(o.status, c.status) << c.input << o.err;
    EXPECT_NE(o.err.find(c.piece), std::string::npos) << c.input << o.err;
  }
  std::vector<std::string> withTxZf = cb;
  withTxZf.insert(withTxZf.end(), {"--tx-zf", "0,455"});
  const Outcome cbOk = Plan("name,rx_mhz,tx_mhz\nK1,27.125,27.125\n", withTxZf);
  EXPECT_NE(cbOk.out.find(",27.125,0,2758,141,21,80,C4 00 8D 15 50 00,"), std::string::npos)
      << cbOk.err;
}

// The C header's options and settings; cli_plan_header.cmake compiles it.
TEST(Plan, HeaderCutsNamesAndStatesItsSettings) {
  const std::string kList = "name,rx_mhz\nH\xC3\xB6ren,145.6\nS20,145.5\n";
  struct Case {
    std::string input;
    std::vector<std::string> options;
    const char* piece;  // of the output, or of the message where it fails
    const char* note = "";
  };
  const Case cases[] = {
      {kList, {"--name-length", "4"}, R"("H\303\266r"})", "\u201EH\u00F6r\u201C, vorher 6 Bytes"},
      {kList, {"--name-length", "3"}, R"("H\303\266"})"},
      {kList, {"--name-length", "2"}, R"("H"})"},             // not half an ö
      {kList, {"--name-length", "3"}, "_PLAN_NAME_SIZE 4 "},  // S20 and its 0
      {"name,rx_mhz\n" + std::string(4096, 'x') + ",1\n", {}, "_SIZE 4096 ", "auf 4095 Bytes,"},
      {kList, {"--no-names"}, "{0x00, 0x00, 0x00}, 0}, /* RX 145.5 MHz, N 6248 */"},
      {kList, {"--zf", "-10.7"}, "#define TEILOMAT_PLAN_ZF_HZ (-10700000L) "},
      {kList, {"--tx-zf", "0.455"}, "#define TEILOMAT_PLAN_TX_ZF_HZ 455000L "},
      {kList, {"--raster", "10", "--zf", "0"}, "#define TEILOMAT_PLAN_RASTER_HZ 10000L "},
      {kList, {"--am"}, "#define TEILOMAT_PLAN_BAND_BITS 16 "},
      {kList, {"--no-cp"}, "#define TEILOMAT_PLAN_CP_BIT 0 "},
      {"name,rx_mhz\nS,145.6125\n", {"--round"}, "RX 145.6125 MHz, Raster 145.6 MHz, N 6252"},
      {kList, {"--name-length", "0"}, "--name-length \u201E0\u201C ist keine Länge: 1 bis 4095"},
      {kList, {"--name-length", "4096"}, "--name-length \u201E4096\u201C ist keine Länge"},
      {kList, {"--name-length", "4", "--no-names"}, "schließen einander aus"},
      {kList, {"--zf", "1e300"}, "Die ZF ist zu groß für den C-Header."},
      {kList,
       {"--no-names", "--format", "csv"},
       "--no-names gilt nur für --format c oder arduino.\n"},
      {kList, {"--max-table", "1", "--format", "csv"}, "--max-table gilt nur für --format c"},
      {kList, {"--name-charset", "ascii"}, R"("Hoeren"})"},
      {kList, {"--name-charset", "x"}, "\u201Ex\u201C gibt es nicht: utf8, ascii oder hd44780."},
      {kList, {}, "#define TEILOMAT_PLAN_COUNT 2 ", "Tabelle: 32 Bytes im Flash eines AVR.\n"},
      {kList,
       {"--max-table", "28"},
       "braucht 32 Bytes, --max-table erlaubt 28; es passt --name-length 4."},
      {kList, {"--max-table", "18"}, "es passt --no-names."},
      {std::string("name,rx_mhz\nA\0B,1\n", 18),
       {},
       "Zeile 2: der Name von Kanal 0 enthält ein NUL"},
      {"name,rx_mhz\nA,-5\n", {}, "Kanal 0: RX -5000000 Hz liegt außerhalb von 0 bis 4294967295"},
      {kList, {"--format", "arduino"}, "\nvoid setup() {\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> options = c.options;
    if (std::find(options.begin(), options.end(), "--format") == options.end()) {
      options.insert(options.begin(), {"--format", "c"});
    }
    const Outcome o = Plan(c.input, options);
    EXPECT_NE((o.status == 0 ? o.out : o.err).find(c.piece), std::string::npos) << o.out << o.err;
    EXPECT_NE(o.err.find(c.note), std::string::npos) << c.piece << o.err;
  }
}

TEST(Files, OutputAppearsWholeOrNotAtAll) {
  const std::string path = testing::TempDir() + "teilomat_replacing_file.txt";
  const auto read = [&path] {
    std::ifstream in(path, std::ios::binary);
    return (std::ostringstream() << in.rdbuf()).str();
  };
  std::ofstream(path, std::ios::binary) << "old\n";
  {
    cli::Output file(path, {});
    ASSERT_NE(file.File(), nullptr);
    std::fputs("half", file.File());
  }  // given up: no Commit
  EXPECT_EQ(read(), "old\n");
  cli::Output file(path, {});
  std::fputs("new\n", file.File());
  EXPECT_TRUE(file.Commit());
  EXPECT_EQ(read(), "new\n");
  EXPECT_EQ(cli::ReadInput(path).text, "new\n");
  EXPECT_EQ(cli::ReadInput(path + ".missing").problem, cli::InputProblem::Missing);
  // The limit holds to the byte: four bytes fit four, not three.
  EXPECT_TRUE(cli::ReadInput(path, 4));
  EXPECT_EQ(cli::ReadInput(path, 3).problem, cli::InputProblem::TooLarge);
}

// Any command's words; plan's (after "plan") on `list`.
Outcome RunAny(const std::vector<std::string>& words,
               std::string_view list = "name,rx_mhz\nA,145.6\n") {
  if (words.front() == "plan") return Plan(list, {words.begin() + 1, words.end()});
  channels::StringSink out, err;
  return {cli::RunCommandLine(words, out, err), out.Text(), err.Text()};
}

// Each CSV for a German spreadsheet; for programs it stays as it is (--csv
// plain, below, and the other suites). N 1513 for 27.1234; 6255 for DB0 223, DB1
// 48; 6252 145.6.
TEST(Csv, WritesWhatAGermanSpreadsheetOpens) {
  const char* list = "name,rx_mhz,tx_mhz\n\"a;b\",145.6,145\n=X,145.5,\n";
  const std::string bom = "\xEF\xBB\xBF";
  const std::string rows =
      bom + "rx_requested_mhz;n;vco_khz;rx_mhz;diff_hz;db0;db1;db2;db0_hex;db1_hex;db2_hex;i2c\r\n";
  const std::vector<std::string> calc = {"calc", "27.1234"},
                                 decode = {"decode", "223", "48", "172"};
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {calc,
       rows + "27,1234;1513;37825;27,125;1600;211;11;160;0xD3;0x0B;0xA0;C4 00 D3 0B A0 00\r\n"},
      {decode, bom + "db0;db1;db2;db0_hex;db1_hex;db2_hex;n;raster_khz;band;band_bits;charge_pump;"
                     "vco_khz;zf_mhz;rx_mhz;notes;address;address_7bit;address_select\r\n223;48;"
                     "172;0xDF;0x30;0xAC;6255;25;FM;32;1;156375;10,7;145,675;\"Bits 2-3 von DB2 "
                     "sind gesetzt (Wert 12); sie sollten frei sein.\";;;\r\n"},
      {{"plan"},
       bom + "channel;name;rx_mhz;rx_diff_hz;rx_n;rx_db0;rx_db1;rx_db2;tx_mhz;tx_diff_hz;tx_n;tx_"
             "db0;tx_db1;tx_db2;rx_i2c;tx_i2c\r\n0;\"a;b\";145,6;0;6252;217;48;160;145;0;5800;81;"
             "45;160;C4 00 D9 30 A0 00;C4 00 51 2D A0 00\r\n1;'=X;145,5;0;6248;209;48;160;;;;;;;C4 "
             "00 D1 30 A0 00;\r\n"},
  };
  for (auto [words, expected] : cases) {
    words.insert(words.end(), {"--format", "csv", "--csv", "de"});
    EXPECT_EQ(RunAny(words, list).out, expected);
  }
  // An output, but plan reads it back: the mark, ";" and CR LF.
  const std::string de = RunAny({"plan", "--csv", "de"}, "name,rx_mhz\n\"a;b\",145.6\n").out;
  EXPECT_EQ(RunAny({"plan"}, de).out, RunAny({"plan"}, "name,rx_mhz\n\"a;b\",145.6\n").out);
}

// --csv with another format or an unknown value is refused, pointing to the
// command's help; "plain" is the default.
TEST(Csv, RefusedOutsideCsvAndUnknown) {
  const std::string wrong = "--csv gilt nur für --format csv.";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"calc", "145", "--csv", "de"}, wrong},
      {{"table", "--from", "145", "--to", "145", "--format", "json", "--csv", "plain"}, wrong},
      {{"decode", "223", "48", "160", "--csv", "de"}, wrong},
      {{"plan", "--format", "i2ctransfer", "--csv", "de"}, wrong},
      {{"calc", "145", "--format", "csv", "--csv", "excel"},
       "--csv \u201Eexcel\u201C gibt es nicht: plain oder de."},
      {{"decode", "1", "2", "3", "--format", "csv", "--csv", "\x1B[2J"},
       "--csv \u201E?[2J\u201C gibt es nicht: plain oder de."},
  };
  for (const auto& [words, message] : cases) {
    const Outcome o = RunAny(words);
    EXPECT_EQ(o.status, 2) << message;
    EXPECT_EQ(o.out + o.err, message + "\nHilfe: teilomat-cli " + words[0] + " --help\n");
  }
  EXPECT_EQ(RunAny({"calc", "145", "--format", "csv", "--csv", "plain"}).out,
            RunAny({"calc", "145", "--format", "csv"}).out);
}

}  // namespace
