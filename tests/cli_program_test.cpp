// The built teilomat-cli program, run as a user runs it: exit statuses,
// messages, a C header that compiles, JSON that parses, and a full table
// whose every row decodes back to its own divider ratio.
//
// It runs on Linux and, built for Windows, under wine. The checks that need
// the build machine's C compiler and Python run on Linux only; a Windows
// build checks its C header with the test cli_header_compiles.
#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include "tuning/DataByteEncoder.h"

namespace {

// Standing for a standard output that takes no byte: the program must say
// that it could not write and exit 1.
const std::string kUnwritable = "<unwritable>";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A file name of this test's own, apart from any other run of the suite.
std::string Scratch(const std::string& suffix) {
  static const std::string run = std::to_string(std::random_device{}());
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  return testing::TempDir() + "teilomat_" + info->name() + "_" + run + suffix;
}

#ifdef _WIN32

std::wstring Wide(const std::string& utf8) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
  return out;
}

// An argument written so that the program's C runtime (and
// CommandLineToArgvW) reads it back unchanged.
std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

// A file the program inherits as one of its standard streams.
HANDLE Inheritable(const std::string& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs the program with `args` (UTF-8, passed on as UTF-16 whatever the code
// page); returns its exit status, -1 if it did not start.
int Execute(const std::vector<std::string>& args, const std::string& outPath,
            const std::string& errPath) {
  std::wstring commandLine = QuoteArgument(Wide(TEILOMAT_CLI_PROGRAM));
  for (const std::string& arg : args) commandLine += L" " + QuoteArgument(Wide(arg));
  HANDLE out = INVALID_HANDLE_VALUE;
  if (outPath == kUnwritable) {
    // A file opened for reading only: every write to it fails.
    const std::string readOnly = Scratch(".readonly");
    std::ofstream(readOnly) << "";
    out = Inheritable(readOnly, GENERIC_READ, OPEN_EXISTING);
  } else {
    out = Inheritable(outPath, GENERIC_WRITE, CREATE_ALWAYS);
  }
  HANDLE err = Inheritable(errPath, GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE in = Inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  DWORD status = 0;
  const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process) != 0;
  if (started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE h : {in, out, err}) CloseHandle(h);
  return started ? static_cast<int>(status) : -1;
}

#else

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

// Runs a shell command line; returns its exit status.
int Shell(const std::string& command) {
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

int Execute(const std::vector<std::string>& args, const std::string& outPath,
            const std::string& errPath) {
  std::string command = Quote(TEILOMAT_CLI_PROGRAM);
  for (const std::string& arg : args) {
    command += ' ';
    command += Quote(arg);
  }
  command += " >" + Quote(outPath == kUnwritable ? "/dev/full" : outPath);
  command += " 2>" + Quote(errPath) + " </dev/null";
  return Shell(command);
}

#endif

struct Ran {
  int status;
  std::string out, err;
};

// Runs the program with `args`, standard output to `outPath` (or a scratch file).
Ran RunProgram(const std::vector<std::string>& args, std::string outPath = "") {
  if (outPath.empty()) outPath = Scratch(".out");
  const std::string errPath = Scratch(".err");
  const int status = Execute(args, outPath, errPath);
  return {status, outPath == kUnwritable ? "" : ReadFile(outPath), ReadFile(errPath)};
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
      // Read as UTF-8 and written back so, also where the code page is not UTF-8.
      {{"größe", "145"},
       2,
       "",
       "unbekannter Befehl \u201Egr\u00F6\u00DFe\u201C; die Befehle sind calc, table, decode und "
       "plan"},
      // Options come after the command; the message says so and which one.
      {{"--raster", "1", "calc", "145"}, 2, "", "Befehl: teilomat-cli calc --raster 1 145\n"},
      {{"--am", "table", "--from", "1", "--to", "2"}, 2, "", "--am steht vor dem Befehl table"},
      {{"--zf", "3", "foo"}, 2, "", "unbekannter Befehl \u201Efoo\u201C"},
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
    EXPECT_EQ((ran.out + ran.err).find('\r'), std::string::npos) << shown << ": lines end in \\n";
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
    const Ran ran = RunProgram(args, kUnwritable);
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
#ifdef _WIN32
  GTEST_SKIP() << "compiled on Linux; a Windows build's header is compiled by cli_header_compiles";
#else
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
#endif
}

TEST(Program, JsonParses) {
  const std::string list = Scratch(".csv");
  std::ofstream(list) << "name,rx_mhz,tx_mhz\n\"say \"\"\\\x01\",145.6,\nb,145.5,145\n";
  const std::vector<std::vector<std::string>> runs = {
      {"plan", list, "--format", "json"},
      {"calc", "145,68", "145.6625", "-1", "--format", "json"},
      {"table", "--from", "26.965", "--to", "27.405", "--raster", "10", "--zf", "0.455", "--format",
       "json"},
      {"decode", "255", "255", "255", "--format", "json"},
      {"decode", "0xDF", "0x30", "0xA0", "--format", "json"},
  };
#ifndef _WIN32
  // Checks what a consumer relies on: a count that matches the results.
  const std::string check =
      "import json, sys\n"
      "d = json.load(open(sys.argv[1]))\n"
      "assert d['program'] == 'teilomat-cli'\n"
      "assert d['charge_pump'] == 1\n"
      "if 'results' in d:\n"
      "    assert d['count'] == len(d['results']) > 0\n"
      "    for r in d['results']:\n"
      "        assert isinstance(r['n'], int) and len(r['db']) == 3\n";
  const std::string script = Scratch(".py");
  std::ofstream(script) << check;
#endif
  for (const auto& args : runs) {
    const std::string out = Scratch(".json");
    ASSERT_EQ(RunProgram(args, out).status, 0) << args[0];
#ifdef _WIN32
    EXPECT_NE(ReadFile(out).find("\"program\": \"teilomat-cli\""), std::string::npos);
#else
    EXPECT_EQ(Shell(Quote(TEILOMAT_PYTHON) + " " + Quote(script) + " " + Quote(out)), 0)
        << args[0] << "\n"
        << ReadFile(out);
#endif
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
  EXPECT_NE(ReadFile(json).find("\"complete\": false"), std::string::npos);
  const std::string header = Scratch(".h");
  EXPECT_EQ(RunProgram(withFormat("c"), header).status, 3);
  EXPECT_NE(ReadFile(header).find("Abgebrochen vor RX 131.072 MHz"), std::string::npos);
#ifdef _WIN32
  GTEST_SKIP() << "parsed and compiled on Linux";
#else
  const std::string script = Scratch(".py");
  std::ofstream(script) << "import json, sys\n"
                           "d = json.load(open(sys.argv[1]))\n"
                           "assert d['count'] == len(d['results']) == 3\n"
                           "assert d['complete'] is False\n"
                           "assert d['results'][-1]['n'] == 131071\n";
  EXPECT_EQ(Shell(Quote(TEILOMAT_PYTHON) + " " + Quote(script) + " " + Quote(json)), 0)
      << ReadFile(json);
  const std::string source = Scratch(".c");
  std::ofstream(source) << "#include \"" << header
                        << "\"\n"
                           "typedef char three_rows[TEILOMAT_CHANNEL_COUNT == 3 ? 1 : -1];\n"
                           "int main(void) { return teilomat_channels[2][1] == 255 ? 0 : 1; }\n";
  EXPECT_EQ(Shell(Quote(TEILOMAT_C_COMPILER) + " -std=c99 -Wall -Wextra -Werror -o " +
                  Quote(Scratch(".bin")) + " " + Quote(source) + " && " + Quote(Scratch(".bin"))),
            0)
      << ReadFile(header);
#endif
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

// A list as CHIRP exports it: CR LF, a gap at 1, a channel that does not transmit.
std::string ChirpList() {
  const std::string path = Scratch(".csv");
  std::ofstream(path, std::ios::binary) << "Location,Name,Frequency,Duplex,Offset\r\n"
                                           "0,A,145.600000,-,0.600000\r\n2,B,145.500000,off,0\r\n";
  return path;
}

// The same bytes on Linux and under wine, in a file and on standard output:
// channel 0 receives 145.6 (217 48 160) and transmits 145 (81 45 160), 1 is a
// gap, 2 only receives 145.5 (209 48 160). The records are srec_cat's for these bytes.
TEST(Program, PlanWritesTheSameImageEverywhere) {
  const std::string list = ChirpList();
  const std::string hex = Scratch(".hex");
  const Ran ran = RunProgram({"plan", list, "--format", "ihex", "-o", hex});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "");
  EXPECT_EQ(ReadFile(hex),
            ":10000000D930A0512DA0FFFFFFFFFFFFD130A0FF8F\n:02001000FFFFF0\n:00000001FF\n");
  EXPECT_EQ(
      RunProgram({"plan", list, "--format", "bin"}).out,
      std::string("\xD9\x30\xA0\x51\x2D\xA0\xFF\xFF\xFF\xFF\xFF\xFF\xD1\x30\xA0\xFF\xFF\xFF", 18));
  // An image option typed for a format without an image is refused by name.
  const Ran text = RunProgram({"plan", list, "--size", "0x100"});
  EXPECT_EQ(text.status, 2);
  EXPECT_NE(text.err.find("--size gilt nur für ein Abbild"), std::string::npos) << text.err;
}

// An image past 64 KiB read back by two other programs: objcopy's binary of
// our Intel HEX is our binary, and srec_cat finds every checksum right.
TEST(Program, PlanImageReadsBackWithObjcopyAndSrecCat) {
#ifdef _WIN32
  GTEST_SKIP() << "binutils and srecord run on Linux";
#else
  const std::vector<std::string> args = {"plan",    ChirpList(), "--base", "0xFFF0",  "--size",
                                         "0x10100", "--fill",    "0x5A",   "--format"};
  std::vector<std::string> hexArgs = args, binArgs = args;
  hexArgs.push_back("ihex");
  binArgs.push_back("bin");
  const std::string hex = Scratch(".hex"), bin = Scratch(".bin"), back = Scratch(".back");
  ASSERT_EQ(RunProgram(hexArgs, hex).status, 0);
  ASSERT_EQ(RunProgram(binArgs, bin).status, 0);
  EXPECT_NE(ReadFile(hex).find(":020000040001F9\n"), std::string::npos);
  ASSERT_EQ(Shell(Quote(TEILOMAT_OBJCOPY) + " -I ihex -O binary " + Quote(hex) + " " + Quote(back)),
            0);
  EXPECT_EQ(ReadFile(bin).size(), 0x10100u);
  EXPECT_TRUE(ReadFile(back) == ReadFile(bin));
  EXPECT_EQ(Shell(Quote(TEILOMAT_SREC_CAT) + " " + Quote(hex) + " -intel -o " +
                  Quote(Scratch(".srec")) + " 2>&1"),
            0);
#endif
}

// -o: a failing run leaves the file that was there, and so does a run killed
// while it writes.
TEST(Program, PlanKeepsTheOldFileWhenItFails) {
  const std::string target = Scratch(".h");
  std::ofstream(target, std::ios::binary) << "old\n";
  const std::string offRaster = Scratch(".csv");
  std::ofstream(offRaster) << "name,rx_mhz\nS,145.6125\n";
  EXPECT_EQ(RunProgram({"plan", offRaster, "--format", "c", "-o", target}).status, 2);
  EXPECT_EQ(ReadFile(target), "old\n");
  const Ran nowhere = RunProgram({"plan", ChirpList(), "-o", target + ".missing/x.h"});
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_NE(nowhere.err.find("kann nicht angelegt werden"), std::string::npos) << nowhere.err;
#ifndef _WIN32
  // The file-size limit of 1 KiB kills the program in its second write.
  std::ofstream big(Scratch(".big.csv"));
  big << "name,rx_mhz\n";
  for (int i = 0; i < 500; ++i) big << "Kanal" << i << ",145.6\n";
  big.close();
  EXPECT_NE(
      Shell("ulimit -f 1; " + Quote(TEILOMAT_CLI_PROGRAM) + " plan " + Quote(Scratch(".big.csv")) +
            " --format csv -o " + Quote(target) + " 2>/dev/null"),
      0);
  EXPECT_EQ(ReadFile(target), "old\n");
#endif
}

#ifdef _WIN32
// In a console window the messages show their umlauts and quotes: read back
// from the console's screen, they are whole, not a sign for each UTF-8 byte.
TEST(Program, MessagesShowWholeInAConsole) {
  FreeConsole();  // a console of this test's own, whatever started it
  ASSERT_TRUE(AllocConsole());
  EXPECT_EQ(Execute({"calc", "abc"}, "CONOUT$", "CONOUT$"), 2);
  EXPECT_EQ(Execute({"calc", "--raster", "1", "145"}, "CONOUT$", "CONOUT$"), 3);
  HANDLE screen =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  std::wstring shown(800, L' ');  // the first lines of the screen
  DWORD read = 0;
  ReadConsoleOutputCharacterW(screen, shown.data(), 800, COORD{0, 0}, &read);
  CloseHandle(screen);
  EXPECT_NE(shown.find(L"RX \u201Eabc\u201C ist keine Zahl."), std::wstring::npos) << shown;
  EXPECT_NE(shown.find(L"Teilerverh\u00E4ltnis zu gross! (max 131071)"), std::wstring::npos);
}
#endif

}  // namespace
