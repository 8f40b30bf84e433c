// teilomat-cli plan in-process: the CSV reader, the channel list, the plan's
// refusals and outputs, the EEPROM image, and the file that appears whole.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "channels/ChannelList.h"
#include "channels/Csv.h"
#include "channels/EepromImage.h"
#include "channels/PlanWriters.h"
#include "cli/Files.h"
#include "cli/PlanCommand.h"

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
  };
  for (const auto& [text, offset] : cases) EXPECT_EQ(channels::FirstNonUtf8(text), offset) << text;
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
      {std::string(kHead) + "1,a,145,+,\n", E::NotANumber, 2, "Spalte Offset"},
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

struct Outcome {
  int status;
  std::string out, err;
};

Outcome Plan(std::string_view input, std::vector<std::string> options = {}) {
  cli::PlanArguments args;
  args.format = "csv";
  for (std::size_t i = 0; i < options.size(); ++i) {
    const std::string& o = options[i];
    if (o == "--round") args.round = true;
    if (o == "--am") args.am = true;
    if (o == "--no-cp") args.noCp = true;
    if (o == "--format") args.format = options[++i];
    if (o == "--raster") args.raster = options[++i];
    if (o == "--zf") args.zf = options[++i];
    if (o == "--tx-zf") args.txZf = options[++i];
    if (o == "--fill") args.fill = options[++i];
    if (o == "--name-length") args.nameLength = options[++i];
    if (o == "--no-names") args.noNames = true;
  }
  channels::StringSink out, err;
  const int status = cli::RunPlan(args, std::string(input), out, err);
  return {status, out.Text(), err.Text()};
}

// Hand-worked: RX 145.6 + ZF 10.7 = 156.3 MHz = 6252 × 25 kHz, 6252 = 48 × 128 + 108,
// so DB0 = 2 × 108 + 1 = 217, DB1 48, DB2 32 + 128 = 160; and so on for each.
TEST(Plan, ChirpExportToCsv) {
  const Outcome o = Plan(kChirp);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(
      o.out,
      "channel,name,rx_mhz,rx_diff_hz,rx_n,rx_db0,rx_db1,rx_db2,tx_mhz,tx_diff_hz,tx_n,"
      "tx_db0,tx_db1,tx_db2\n"
      "0,\"Relais, \"\"DB0XY\"\"\",145.6,0,6252,217,48,160,145,0,5800,81,45,160\n"
      "1,Simplex,145.5,0,6248,209,48,160,145.5,0,5820,121,45,160\n"  // Mode AM: still FM input
      "3,Empfang,145.525,0,6249,211,48,160,,,,,,\n"
      "4,Split,145.3,0,6240,193,48,160,433.5,0,17340,121,135,160\n"
      "5,Plus,145.35,0,6242,197,48,160,145.95,0,5838,157,45,160\n");
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
      {"name,rx_mhz\n\"\x1B]0;x\x07\",145.6\n", {"--format", "text"}, 0, "  ?]0;x?\n"},
      {"name,rx_mhz\nA,145.6\n", {"--format", "xml"}, 2, "text, csv, json, c, ihex oder bin"},
      {"name,rx_mhz\nA,145.6\n", {"--fill", "256"}, 2, "--fill \u201E256\u201C ist kein Byte"},
  };
  for (const Case& c : cases) {
    const Outcome o = Plan(c.input, c.options);
    EXPECT_EQ(o.status, c.status) << c.input << o.err;
    EXPECT_NE((c.status == 0 ? o.out : o.err).find(c.piece), std::string::npos) << o.out << o.err;
    if (c.status != 0) {
      EXPECT_EQ(o.out, "") << c.input;
    }
  }
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
      {"name,rx_mhz\nS,145.6125\n", {"--round"}, "RX 145.6 MHz (Liste 145.6125 MHz), N 6252"},
      {kList, {"--name-length", "0"}, "--name-length \u201E0\u201C ist keine Länge: 1 bis 4095"},
      {kList, {"--name-length", "4096"}, "--name-length \u201E4096\u201C ist keine Länge"},
      {kList, {"--name-length", "4", "--no-names"}, "schließen einander aus"},
      {kList, {"--zf", "1e300"}, "Die ZF ist zu groß für den C-Header."},
      {kList, {"--no-names", "--format", "csv"}, "--no-names gilt nur für --format c.\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> options = {"--format", "c"};
    options.insert(options.end(), c.options.begin(), c.options.end());
    const Outcome o = Plan(c.input, options);
    EXPECT_NE((o.status == 0 ? o.out : o.err).find(c.piece), std::string::npos) << o.out << o.err;
    EXPECT_NE(o.err.find(c.note), std::string::npos) << c.piece << o.err;
  }
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

TEST(Files, ReplacingFileAppearsWholeOrNotAtAll) {
  const std::string path = testing::TempDir() + "teilomat_replacing_file.txt";
  const auto read = [&path] {
    std::ifstream in(path, std::ios::binary);
    return (std::ostringstream() << in.rdbuf()).str();
  };
  std::ofstream(path, std::ios::binary) << "old\n";
  {
    cli::ReplacingFile file(path);
    ASSERT_NE(file.File(), nullptr);
    std::fputs("half", file.File());
  }  // given up: no Commit
  EXPECT_EQ(read(), "old\n");
  cli::ReplacingFile file(path);
  std::fputs("new\n", file.File());
  EXPECT_TRUE(file.Commit());
  EXPECT_EQ(read(), "new\n");
  EXPECT_EQ(cli::ReadInput(path).value_or(""), "new\n");
  EXPECT_FALSE(cli::ReadInput(path + ".missing"));
}

}  // namespace
