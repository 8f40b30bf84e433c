// The built teilomat-cli program, run as a user runs it: exit statuses,
// messages, a C header that compiles, JSON that parses, and a full table
// whose every row decodes back to its own divider ratio.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tuning/DataByteEncoder.h"

namespace {

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A file name of this test's own.
std::string Scratch(const std::string& suffix) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  return testing::TempDir() + "teilomat_" + info->name() + "_" + std::to_string(getpid()) + suffix;
}

// Runs a shell command line; returns its exit status.
int Shell(const std::string& command) {
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

struct Ran {
  int status;
  std::string out, err;
};

// Runs the program with `args`, standard output to `outPath` (or a scratch file).
Ran RunProgram(const std::vector<std::string>& args, std::string outPath = "") {
  if (outPath.empty()) outPath = Scratch(".out");
  const std::string errPath = Scratch(".err");
  std::string command = Quote(TEILOMAT_CLI_PROGRAM);
  for (const std::string& arg : args) {
    command += ' ';
    command += Quote(arg);
  }
  command += " >" + Quote(outPath) + " 2>" + Quote(errPath) + " </dev/null";
  const int status = Shell(command);
  return {status, outPath == "/dev/full" ? "" : ReadFile(outPath), ReadFile(errPath)};
}

TEST(Program, ExitStatusesAndMessages) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;  // a piece of standard output
    const char* err;  // a piece of standard error
  };
  const Case cases[] = {
      {{"calc", "145,68"}, 0, "145.675", ""},
      {{"--help"}, 0, "Beispiele:", ""},
      {{"table", "--help"}, 0, "--from", ""},
      {{"--version"}, 0, "teilomat-cli " TEILOMAT_VERSION, ""},
      {{}, 2, "", "es fehlt der Befehl"},
      {{"calc", "--bogus", "145"}, 2, "", "unbekannt oder zu viel: --bogus"},
      {{"calc"}, 2, "", "es fehlt"},
      {{"calc", "14S.6"}, 2, "", "ist keine Zahl"},
      {{"calc", "--zf", "1O.7", "145"}, 2, "", "ZF \u201E1O.7\u201C ist keine Zahl"},
      {{"calc", "--raster", "5", "145"}, 2, "", "1, 10 oder 25"},
      {{"calc", "-5", "--zf", "15"}, 0, "-5", ""},  // negative numbers are values
      {{"calc", "131.072", "--zf", "0", "--raster", "1"},
       3,
       "",
       "Teilerverhältnis zu gross! (max 131071)\n"},
      {{"calc", "1e300"}, 3, "", "Teilerverhältnis zu gross! (max 131071)\nbei RX"},
      {{"calc", "-1e300"}, 3, "", "Teilerverhältnis zu klein! (min 0)\nbei RX"},
      {{"table", "--from", "1e300", "--to", "1e301"}, 3, "", "erster Kanal"},
      {{"table", "--from", "131.07", "--to", "1e300", "--zf", "0", "--raster", "1"},
       3,
       "131.071",
       "Tabelle abgebrochen vor RX 131.072 MHz (N 131072); 2 Zeilen"},
      {{"table", "--from", "1"}, 2, "", "es fehlt --to"},
      {{"table", "--from", "3", "--to", "2"}, 2, "", "verkehrt herum"},
      {{"table", "--from", "131", "--to", "132", "--zf", "0", "--raster", "1"},
       3,
       "131.071",
       "Tabelle abgebrochen vor RX 131.072 MHz"},
      {{"foo", "145"},
       2,
       "",
       "unbekannter Befehl \u201Efoo\u201C; die Befehle sind calc, table und decode"},
      {{"decode", "223", "48"}, 2, "", "Es fehlt DB2:"},
      {{"decode", "223", "48", "160", "1"}, 2, "", "Zu viele Bytes ab \u201E1\u201C"},
      {{"decode", "223", "48", "256"}, 2, "", "kein Byte"},
      {{"decode", "0xDF", "0x30", "0xAC"}, 0, "Hinweis: Bits 2-3", ""},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    const Ran ran = RunProgram(c.args);
    EXPECT_EQ(ran.status, c.status) << shown << "\n" << ran.err;
    EXPECT_NE(ran.out.find(c.out), std::string::npos) << shown << "\n" << ran.out;
    EXPECT_NE(ran.err.find(c.err), std::string::npos) << shown << "\n" << ran.err;
    if (c.status != 0 && c.status != 3) {
      EXPECT_EQ(ran.out, "") << shown;
    }
  }
}

TEST(Program, CommaAndPointReadAlike) {
  for (const char* format : {"text", "csv", "json", "c"}) {
    const Ran comma = RunProgram({"calc", "--zf", "10,7", "145,68", "0,5", "--format", format});
    const Ran point = RunProgram({"calc", "--zf", "10.7", "145.68", "0.5", "--format", format});
    EXPECT_EQ(comma.status, 0);
    EXPECT_EQ(comma.out, point.out) << format;
    EXPECT_NE(point.out.find("145.675"), std::string::npos) << format;
  }
}

TEST(Program, ReportsAnOutputThatCannotBeWritten) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"calc", "145.675"}, {"--help"}, {"--version"}}) {
    const Ran ran = RunProgram(args, "/dev/full");
    EXPECT_EQ(ran.status, 1) << args[0];
    EXPECT_NE(ran.err.find("nicht geschrieben"), std::string::npos) << ran.err;
  }
}

TEST(Program, CHeaderCompiles) {
  const std::string header = Scratch("_kanal.h");
  ASSERT_EQ(
      RunProgram({"table", "--from", "144", "--to", "146", "--format", "c", "--name", "kanal"},
                 header)
          .status,
      0);
  ASSERT_EQ(RunProgram({"calc", "145.68", "27,125", "--am", "--no-cp", "--format", "c"},
                       Scratch("_calc.h"))
                .status,
            0);
  // Both headers in one file, one of them twice: the include guard holds and
  // the identifiers do not clash.
  const std::string source = Scratch(".c");
  std::ofstream(source)
      << "#include \"" << header << "\"\n#include \"" << header << "\"\n#include \""
      << Scratch("_calc.h")
      << "\"\n"
         "int main(void) {\n"
         "  unsigned sum = 0;\n"
         "  unsigned i;\n"
         "  for (i = 0; i < KANAL_CHANNEL_COUNT; ++i) sum += kanal_channels[i][0];\n"
         "  return (int)(sum + teilomat_channels[TEILOMAT_CHANNEL_COUNT - 1][2]\n"
         "      + sizeof kanal_channels / sizeof kanal_channels[0]\n"
         "      - KANAL_CHANNEL_COUNT);\n"
         "}\n";
  const std::string command = Quote(TEILOMAT_C_COMPILER) +
                              " -std=c99 -pedantic -Wall -Wextra -Werror -o " +
                              Quote(Scratch(".bin")) + " " + Quote(source) + " 2>&1";
  EXPECT_EQ(Shell(command), 0) << command;
}

TEST(Program, JsonParses) {
  const std::vector<std::vector<std::string>> runs = {
      {"calc", "145,68", "145.6625", "-1", "--format", "json"},
      {"table", "--from", "26.965", "--to", "27.405", "--raster", "10", "--zf", "0.455", "--format",
       "json"},
      {"decode", "255", "255", "255", "--format", "json"},
      {"decode", "0xDF", "0x30", "0xA0", "--format", "json"},
  };
  // Checks what a consumer relies on: a count that matches the results.
  const std::string check =
      "import json, sys\n"
      "d = json.load(open(sys.argv[1]))\n"
      "assert d['program'] == 'teilomat-cli'\n"
      "if 'results' in d:\n"
      "    assert d['count'] == len(d['results']) > 0\n"
      "    for r in d['results']:\n"
      "        assert isinstance(r['n'], int) and len(r['db']) == 3\n";
  const std::string script = Scratch(".py");
  std::ofstream(script) << check;
  for (const auto& args : runs) {
    const std::string out = Scratch(".json");
    ASSERT_EQ(RunProgram(args, out).status, 0) << args[0];
    EXPECT_EQ(Shell(Quote(TEILOMAT_PYTHON) + " " + Quote(script) + " " + Quote(out)), 0)
        << args[0] << "\n"
        << ReadFile(out);
  }
}

// A table that runs into the divider limit keeps the rows before it, and a
// JSON document or C header is still whole and says that it stopped.
TEST(Program, TableStoppedAtTheLimitStaysWellFormed) {
  const std::vector<std::string> range = {"table", "--from", "131.069",  "--to", "131.2",
                                          "--zf",  "0",      "--raster", "1"};
  auto withFormat = [&range](const char* format) {
    std::vector<std::string> args = range;
    args.insert(args.end(), {"--format", format});
    return args;
  };
  const std::string json = Scratch(".json");
  const Ran j = RunProgram(withFormat("json"), json);
  EXPECT_EQ(j.status, 3);
  EXPECT_NE(j.err.find("Tabelle abgebrochen vor RX 131.072 MHz (N 131072)"), std::string::npos);
  const std::string script = Scratch(".py");
  std::ofstream(script) << "import json, sys\n"
                           "d = json.load(open(sys.argv[1]))\n"
                           "assert d['count'] == len(d['results']) == 3\n"
                           "assert d['complete'] is False\n"
                           "assert d['results'][-1]['n'] == 131071\n";
  EXPECT_EQ(Shell(Quote(TEILOMAT_PYTHON) + " " + Quote(script) + " " + Quote(json)), 0)
      << ReadFile(json);

  const std::string header = Scratch(".h");
  EXPECT_EQ(RunProgram(withFormat("c"), header).status, 3);
  const std::string source = Scratch(".c");
  std::ofstream(source) << "#include \"" << header
                        << "\"\n"
                           "typedef char three_rows[TEILOMAT_CHANNEL_COUNT == 3 ? 1 : -1];\n"
                           "int main(void) { return teilomat_channels[2][1] == 255 ? 0 : 1; }\n";
  EXPECT_EQ(Shell(Quote(TEILOMAT_C_COMPILER) + " -std=c99 -Wall -Wextra -Werror -o " +
                  Quote(Scratch(".bin")) + " " + Quote(source) + " && " + Quote(Scratch(".bin"))),
            0)
      << ReadFile(header);
  EXPECT_NE(ReadFile(header).find("Abgebrochen vor RX 131.072 MHz"), std::string::npos);
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

int ToInt(const std::string& text) {
  int value = -1;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The whole 17-bit table: every row decodes back to its own N, one row per N.
TEST(Program, FullTableDecodesBack) {
  const Ran ran = RunProgram(
      {"table", "--from", "0", "--to", "131,071", "--zf", "0", "--raster", "1", "--format", "csv"});
  ASSERT_EQ(ran.status, 0) << ran.err;
  std::istringstream lines(ran.out);
  std::string line;
  std::getline(lines, line);  // header
  int expected = 0;
  while (std::getline(lines, line)) {
    const std::vector<std::string> f = Split(line);
    ASSERT_EQ(f.size(), 14u) << line;
    ASSERT_EQ(ToInt(f[1]), expected) << line;
    const std::array<std::uint8_t, 3> bytes = {static_cast<std::uint8_t>(ToInt(f[5])),
                                               static_cast<std::uint8_t>(ToInt(f[6])),
                                               static_cast<std::uint8_t>(ToInt(f[7]))};
    ASSERT_EQ(tuning::DecodeDataBytes(bytes).n, expected) << line;
    ASSERT_EQ(f[4], "0") << line;
    ++expected;
  }
  EXPECT_EQ(expected, 131072);
}

// decode of calc's bytes gives back N, step, band, charge-pump bit and RX.
TEST(Program, DecodeGivesBackCalcsInputs) {
  struct Case {
    std::vector<std::string> options;
    const char *raster, *band, *cp;
  };
  const Case cases[] = {
      {{}, "25", "FM", "1"},
      {{"--raster", "1", "--am"}, "1", "AM", "1"},
      {{"--raster", "10", "--no-cp", "--zf", "0,455"}, "10", "FM", "0"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"calc", "27.125", "88,5", "--format", "csv"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Ran calc = RunProgram(args);
    ASSERT_EQ(calc.status, 0) << calc.err;
    std::istringstream lines(calc.out);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
      const std::vector<std::string> f = Split(line);
      std::string zf = "10.7";
      for (std::size_t i = 0; i + 1 < c.options.size(); ++i) {
        if (c.options[i] == "--zf") zf = c.options[i + 1];
      }
      const Ran decode = RunProgram({"decode", f[8], f[9], f[10], "--zf", zf, "--format", "csv"});
      ASSERT_EQ(decode.status, 0) << decode.err;
      const std::vector<std::string> d = Split(decode.out.substr(decode.out.find('\n') + 1));
      EXPECT_EQ(d[9], f[1]) << "N";
      EXPECT_EQ(d[10], c.raster);
      EXPECT_EQ(d[11], c.band);
      EXPECT_EQ(d[13], c.cp);
      EXPECT_EQ(d[14], f[2]) << "VCO";
      EXPECT_EQ(d[16], f[3]) << "RX";
    }
  }
}

}  // namespace
