// The built teilomat-cli program, run as a user runs it: exit statuses,
// messages, a C header that compiles, JSON that parses, and a full table
// whose every row decodes back to its own divider ratio.
//
// It runs on Linux and, built for Windows, under wine. The checks that need
// the build machine's C compiler and Python run on Linux only; a Windows
// build checks its C header with the test cli_header_compiles.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
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
    // A console's handles can be read too, as a console gives them out.
    out = Inheritable(outPath, outPath == "CONOUT$" ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE,
                      CREATE_ALWAYS);
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
      {{"calc", "--bogus", "145"},
       2,
       "",
       "unbekannte Option --bogus\nHilfe: teilomat-cli calc --help"},
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
      {{"--bogus", "calc", "145"}, 2, "", "--bogus steht vor dem Befehl calc"},  // takes no value
      {{"decode", "223", "48"}, 2, "", "Es fehlt DB2:"},
      {{"decode", "223", "48", "160", "1"}, 2, "", "decode nimmt 3, 5 oder 6 Bytes, nicht 4"},
      {{"decode", "0xC4", "0", "223", "48", "160", "0"}, 0, "Adresswahl-Eingang nicht gesetzt", ""},
      {{"decode", "0xC8", "0", "223", "48", "160", "0"},
       2,
       "",
       "Adressbyte \u201E0xC8\u201C ist keine"},
      {{"decode", "1", "223", "48", "160", "0"}, 2, "", "Subadresse \u201E1\u201C gibt es nicht"},
      {{"decode", "0", "223", "48", "160", "0x80"}, 2, "", "DB3 \u201E0x80\u201C muss 0x00 sein"},
      {{"decode", "0", "223", "48", "160", "0x100"}, 2, "", "DB3 \u201E0x100\u201C ist kein Byte"},
      {{"decode", "1", "2", "3", "4", "5", "6", "7"}, 2, "", "nicht 7:"},
      {{"calc", "145", "--address", "0x62", "--format", "i2ctransfer"},
       0,
       "w5@0x62 0x00 0xa9 0x30 0xa0 0x00\n",
       ""},
      {{"calc", "145", "--address", "0xc6", "--format", "i2ctransfer", "--bus", "0"},
       0,
       "-y 0 w5@0x63",
       ""},
      {{"calc", "145", "--address", "0x64"}, 2, "", "oder 0xC6 (7 Bit 0x63), je nachdem"},
      {{"table", "--from", "145", "--to", "145", "--bus", "3"},
       2,
       "",
       "--bus gilt nur für --format i2ctransfer"},
      {{"plan", "-", "--format", "i2ctransfer", "--bus", "-1"},
       2,
       "",
       "--bus \u201E-1\u201C gibt es nicht"},
      {{"decode", "1", "2", "3", "--format", "i2ctransfer"}, 2, "", "gibt es für decode nicht"},
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

// The i2ctransfer scripts: every command as i2ctransfer's manual has it
// (wLENGTH@ADDRESS and exactly LENGTH bytes), valid for the shell, and a
// hostile name stays inside its comment. Run with a stand-in i2ctransfer,
// the script makes exactly its writes and nothing else.
TEST(Program, I2cTransferScriptsAreSafeToRun) {
  const std::string list = Scratch(".csv");
  std::ofstream(list, std::ios::binary)
      << "name,rx_mhz,tx_mhz\n\"$(touch pwned) `touch pwned`\n*/\r; touch pwned\",145.6,145\n"
         "\"\xC3\xA4\x1B]0;x\x07\",145.625,\n";
  const std::vector<std::pair<std::vector<std::string>, int>> runs = {
      {{"plan", list, "--format", "i2ctransfer", "--address", "0xC6", "--bus", "3"}, 3},
      {{"table", "--from", "145", "--to", "145.1", "--format", "i2ctransfer"}, 5},
      {{"calc", "145", "27", "--format", "i2ctransfer"}, 2},
  };
  for (const auto& [args, writes] : runs) {
    const std::string out = Scratch(".sh");
    ASSERT_EQ(RunProgram(args, out).status, 0) << args[0];
#ifndef _WIN32
    const std::string check =
        "import re, sys\n"
        "lines = open(sys.argv[1], 'rb').read().decode('ascii').split('\\n')\n"
        "assert lines[0] == '#!/bin/sh' and lines[-1] == ''\n"
        "commands = [l for l in lines[1:-1] if not l.startswith('#') and l != 'set -e']\n"
        "for l in commands:\n"
        "    m = re.fullmatch(r'i2ctransfer -y \\d+ w(\\d+)@0x6[23]((?: 0x[0-9a-f]{2})+)', l)\n"
        "    assert m and int(m.group(1)) == len(m.group(2).split()) == 5, l\n"
        "assert len(commands) == int(sys.argv[2]), len(commands)\n";
    const std::string script = Scratch(".py");
    std::ofstream(script) << check;
    EXPECT_EQ(Shell(Quote(TEILOMAT_PYTHON) + " " + Quote(script) + " " + Quote(out) + " " +
                    std::to_string(writes)),
              0)
        << ReadFile(out);
    EXPECT_EQ(Shell("bash -n " + Quote(out)), 0) << ReadFile(out);
    const std::string folder = Scratch(std::to_string(writes) + ".run.d");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string run =
        "cd " + Quote(folder) +
        " && mkdir -p bin && printf '#!/bin/sh\\necho \"$*\" >> log\\n' > "
        "bin/i2ctransfer && chmod +x bin/i2ctransfer && PATH=$PWD/bin:$PATH sh " +
        Quote(out) + " && test ! -e pwned && test $(wc -l < log) = " + std::to_string(writes);
    EXPECT_EQ(Shell("bash -c " + Quote(run)), 0) << ReadFile(out);
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
    ASSERT_EQ(f.size(), 15u) << line;
    ASSERT_EQ(ToInt(f[1]), expected) << line;
    const std::array<std::uint8_t, 3> bytes = {static_cast<std::uint8_t>(ToInt(f[5])),
                                               static_cast<std::uint8_t>(ToInt(f[6])),
                                               static_cast<std::uint8_t>(ToInt(f[7]))};
    ASSERT_EQ(tuning::DecodeDataBytes(bytes).n, expected) << line;
    // The write: address byte, subaddress, the same three bytes, DB3.
    std::array<char, 18> write{};
    std::snprintf(write.data(), write.size(), "C4 00 %02X %02X %02X 00", bytes[0], bytes[1],
                  bytes[2]);
    ASSERT_EQ(f[14], write.data()) << line;
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

// A folder of its own for one row, holding the list "list.csv" (channel 0
// receives 145.6 MHz: N 6252). Returns its path, with a separator at the end.
std::string RowFolder(int row) {
  const std::filesystem::path folder = Scratch(std::to_string(row) + ".d");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "list.csv") << "name,rx_mhz\nA,145.6\n";
  return (folder / "").string();
}

// Whether a scratch file of the program is left in `folder`.
bool ScratchLeft(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with(".teilomat-")) return true;
  }
  return false;
}

#ifdef _WIN32

// -o on Windows: devices by name, the list under another name, a file replaced.
TEST(Program, PlanOutputTargets) {
  struct Case {
    const char* name;
    const char* output;  // -o, in the row's folder unless a device
    int status;
    const char* file;  // then holds `content` (from its start); null: the folder is as it was
    const char* content;
  };
  const Case cases[] = {
      {"NUL is the device", "NUL", 0, nullptr, nullptr},
      {"nul in any case", "nul", 0, nullptr, nullptr},
      {"- is standard output", "-", 0, "out", "channel,"},
      {"a file replaced", "old.csv", 0, "old.csv", "channel,"},
      {"the list itself", "list.csv", 2, "list.csv", "name,rx_mhz"},
      {"the list by a hard link", "hard.csv", 2, "list.csv", "name,rx_mhz"},
  };
  int row = 0;
  for (const Case& c : cases) {
    const std::string folder = RowFolder(++row);
    std::ofstream(folder + "old.csv") << "old\n";
    ASSERT_TRUE(CreateHardLinkW(Wide(folder + "hard.csv").c_str(),
                                Wide(folder + "list.csv").c_str(), nullptr));
    const std::string output = c.output[0] == '-' || c.output[0] == 'N' || c.output[0] == 'n'
                                   ? c.output
                                   : folder + c.output;
    const Ran ran =
        RunProgram({"plan", folder + "list.csv", "--format", "csv", "-o", output}, folder + "out");
    EXPECT_EQ(ran.status, c.status) << c.name << "\n" << ran.err;
    if (c.file != nullptr) {
      EXPECT_TRUE(ReadFile(folder + c.file).starts_with(c.content)) << c.name;
    } else {
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 4) << c.name;
    }
    EXPECT_FALSE(ScratchLeft(folder)) << c.name;
  }
}

#else

struct ShellCase {
  const char* name;
  const char* before;   // prepares the folder; null: the row is skipped (`skip` says why)
  const char* command;  // $P is the program, $PLAN "$P plan list.csv --format csv"
  int status;
  const char* after;  // a test that must hold afterwards; $E is the file of standard error
};

// Runs each row in a folder of its own with bash: `before`, `command`, then
// `after`. No row may leave a scratch file behind.
void RunShellCases(const std::vector<ShellCase>& cases, const char* skip) {
  int row = 0;
  for (const ShellCase& c : cases) {
    const std::string folder = RowFolder(++row);
    if (c.before == nullptr) {
      std::cout << "[ SKIPPED  ] " << c.name << ": " << skip << "\n";
      continue;
    }
    const std::string status = Scratch(std::to_string(row) + ".status");
    const std::string script = "cd " + Quote(folder) + " && P=" + Quote(TEILOMAT_CLI_PROGRAM) +
                               " && E=" + Quote(Scratch(std::to_string(row) + ".err")) +
                               " && PLAN=\"$P plan list.csv --format csv\" && " + c.before +
                               " && { " + c.command + "; } 2>>\"$E\" </dev/null; echo $? > " +
                               Quote(status) + "; wait; " + c.after;
    EXPECT_EQ(Shell("bash -c " + Quote(script)), 0) << c.name << ": " << c.after;
    EXPECT_EQ(ReadFile(status), std::to_string(c.status) + "\n") << c.name;
    EXPECT_FALSE(ScratchLeft(folder)) << c.name;
  }
}

// -o onto every kind of target. Devices are made with mknod, which needs root.
TEST(Program, PlanOutputTargets) {
  const char* root = geteuid() == 0 ? "mknod null c 1 3" : nullptr;
  const char* longName = "N=$(printf %0$(getconf NAME_MAX .)d 0)";
  const std::vector<ShellCase> cases = {
      {"a new file", ":", "$PLAN -o new.csv", 0, "grep -q 6252 new.csv"},
      {"a file keeps its mode", "echo old > f && chmod 640 f", "$PLAN -o f", 0,
       "grep -q 6252 f && test $(stat -c %a f) = 640"},
      {"a link is written through", "echo old > f && ln -s f l", "$PLAN -o l", 0,
       "test -L l && grep -q 6252 f"},
      {"a dangling link makes its target", "ln -s f l", "$PLAN -o l", 0,
       "test -L l && grep -q 6252 f"},
      {"/dev/stdout appends", "echo old > log", "$PLAN -o /dev/stdout >> log", 0,
       "test $(head -1 log) = old && grep -q 6252 log"},
      {"/dev/stderr", ":", "$PLAN -o /dev/stderr", 0, "grep -q 6252 \"$E\""},
      {"/dev/fd/3 appends", "echo old > log", "$PLAN -o /dev/fd/3 3>> log", 0,
       "test $(head -1 log) = old && grep -q 6252 log"},
      {"- is standard output", ":", "$PLAN -o - > out", 0, "grep -q 6252 out && test ! -e ./-"},
      {"a FIFO stays one", "mkfifo p && { timeout 10 cat p > got & }", "$PLAN -o p", 0,
       "test -p p && grep -q 6252 got"},
      {"a device stays one", root, "$PLAN -o null", 0, "test -c null"},
      {"the list itself", ":", "$PLAN -o list.csv", 2, "grep -q rx_mhz list.csv"},
      {"the list by a hard link", "ln list.csv h", "$PLAN -o h", 2, "grep -q rx_mhz list.csv"},
      {"the list by a link", "ln -s list.csv h", "$PLAN -o h", 2,
       "grep -q 'Kanalliste selbst' \"$E\""},
      {"a name of NAME_MAX bytes", longName, "$PLAN -o $N", 0, "grep -q 6252 $N"},
      {"a folder", ":", "$PLAN -o .", 1, "grep -q Ordner \"$E\""},
      // The size limit makes the second write fail: the old file stays.
      {"a write that fails", "echo old > f && seq -f K%g,145.6 500 | sed 1iname,rx_mhz > big",
       "(ulimit -f 1; $P plan big --format csv -o f)", 1, "test $(cat f) = old"},
      // As gzip does: no bytes onto a terminal, and the message names -o.
      {"bin onto a terminal", ":", "script -qec \"$P plan list.csv --format bin\" /dev/null > out",
       2, "grep -q -- '-o DATEI' out"},
  };
  RunShellCases(cases, "mknod needs root");
}

// -o refuses what the shell's `>` refuses, and a write that fails says which
// file and why; the old file stays in each failure. As root the program runs
// as nobody for the rows about permissions, as the shell would.
TEST(Program, PlanOutputFailuresNameFileAndReason) {
  const bool root = geteuid() == 0;
  const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
  const bool other = !root || Shell(asNobody + "test -x " + Quote(TEILOMAT_CLI_PROGRAM)) == 0;
  const std::string as = root ? asNobody : "";
  const std::string readOnly = as + "$PLAN -o f", throughLink = as + "$PLAN -o l";
  const std::string noFolderRight = as + "$PLAN -o f", fifo = as + "$PLAN -o p";
  const char* user = other ? "echo old > f && chmod 444 f && chmod 777 ." : nullptr;
  const char* link = other ? "echo old > f && chmod 444 f && ln -s f l && chmod 777 ." : nullptr;
  const char* writable =
      other ? "echo old > f && chmod 666 f && ln -s f l && chmod 777 ." : nullptr;
  const char* shut = other ? "echo old > f && chmod 666 f && chmod 555 ." : nullptr;
  const std::vector<ShellCase> cases = {
      {"a read-only file", user, readOnly.c_str(), 1,
       "test \"$(cat f)\" = old && "
       "grep -qxF 'Die Datei „f“ darf nicht geschrieben werden (keine Berechtigung).' \"$E\""},
      {"a link to a read-only file", link, throughLink.c_str(), 1,
       "test -L l && test \"$(cat f)\" = old && grep -qF '„l“ darf nicht geschrieben' \"$E\""},
      {"a FIFO it may not open", other ? "mkfifo -m 444 p && chmod 777 ." : nullptr, fifo.c_str(),
       1, "grep -qxF 'Die Datei „p“ darf nicht geschrieben werden (keine Berechtigung).' \"$E\""},
      {"a link to a writable file", writable, throughLink.c_str(), 0,
       "test -L l && grep -q 6252 f"},
      {"no right to the folder", shut, noFolderRight.c_str(), 1,
       "chmod 755 . && test \"$(cat f)\" = old && grep -qxF 'Die Datei „f“ kann nicht angelegt "
       "werden: Keine Berechtigung.' \"$E\""},
      {"root replaces a read-only file", root ? "echo old > f && chmod 444 f" : nullptr,
       "$PLAN -o f", 0, "grep -q 6252 f && test $(stat -c %a f) = 444"},
      {"a missing folder", ":", "$PLAN -o none/x.csv", 1,
       "grep -qxF 'Die Datei „none/x.csv“ kann nicht angelegt werden: Den Ordner dafür gibt es "
       "nicht.' \"$E\""},
      {"a full disk", ":", "$PLAN -o /dev/full", 1,
       "grep -qxF 'Die Ausgabe „/dev/full“ konnte nicht geschrieben werden: Auf dem Datenträger "
       "ist kein Platz mehr.' \"$E\""},
      {"standard output on a full disk", ":", "$PLAN > /dev/full", 1,
       "grep -qxF 'Die Standardausgabe konnte nicht geschrieben werden: Auf dem Datenträger ist "
       "kein Platz mehr.' \"$E\""},
      {"the file size limit", "echo old > f && seq -f K%g,145.6 500 | sed 1iname,rx_mhz > big",
       "(ulimit -f 1; $P plan big --format csv -o f)", 1,
       "test \"$(cat f)\" = old && grep -qF 'Die Ausgabe „f“ konnte nicht geschrieben werden: "
       "Die Datei würde größer' \"$E\""},
  };
  RunShellCases(cases, "as root only, or nobody cannot run the program here");
}

// The list as a path: every kind of file, and memory bounded by the channels.
TEST(Program, PlanInputKinds) {
#if defined(__SANITIZE_ADDRESS__)
  const char* plain = nullptr;  // the sanitizers reserve far more address space
#else
  const char* plain =
      "{ echo name,rx_mhz; head -c 30M /dev/zero | tr '\\0' '\\n'; echo B,145.5; } > b";
#endif
  const char* user = geteuid() == 0 ? nullptr : "chmod 000 list.csv";
  const std::vector<ShellCase> cases = {
      {"a folder", ":", "$P plan .", 2, "grep -q 'Kanalliste „.“ ist ein Ordner' \"$E\""},
      {"no such file", ":", "$P plan none", 2, "grep -q 'gibt es nicht' \"$E\""},
      {"no permission", user, "$PLAN", 2, "grep -q 'keine Berechtigung' \"$E\""},
      {"/dev/stdin", ":", "$P plan /dev/stdin --format csv < list.csv > out", 0,
       "grep -q 6252 out"},
      {"a pipe", ":", "$P plan <(cat list.csv) --format csv > out", 0, "grep -q 6252 out"},
      {"an endless stream", ":", "$P plan /dev/zero", 2, "grep -q '64 MiB' \"$E\""},
      {"30 MiB of blank lines in 400 MiB", plain,
       "(ulimit -v 409600; $P plan b --format csv > out)", 0, "grep -q 6248 out"},
      {"memory runs out: exit 4", plain, "(ulimit -v 24576; $P plan b)", 4,
       "grep -q 'nicht genug Arbeitsspeicher' \"$E\""},
  };
  RunShellCases(cases, "needs a plain build and, for permissions, a user other than root");
}

#endif

#ifdef _WIN32
// A file with the read-only attribute is refused before anything is written;
// a folder is no list (Windows opens neither, saying "no permission").
TEST(Program, PlanRefusesAReadOnlyFileAndAFolder) {
  const std::string folder = RowFolder(1);
  const std::string target = folder + "old.csv";
  std::ofstream(target, std::ios::binary) << "old\n";
  ASSERT_TRUE(SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_READONLY));
  const Ran ran =
      RunProgram({"plan", folder + "list.csv", "--format", "csv", "-o", target}, folder + "out");
  SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ran.status, 1);
  EXPECT_NE(ran.err.find("darf nicht geschrieben werden (keine Berechtigung)."), std::string::npos)
      << ran.err;
  EXPECT_EQ(ReadFile(target), "old\n");
  EXPECT_FALSE(ScratchLeft(folder));
  const Ran list = RunProgram({"plan", folder});
  EXPECT_EQ(list.status, 2);
  EXPECT_NE(list.err.find("ist ein Ordner"), std::string::npos) << list.err;
}

// In a console window the messages show their umlauts and quotes: read back
// from the console's screen, they are whole, not a sign for each UTF-8 byte.
TEST(Program, MessagesShowWholeInAConsole) {
  FreeConsole();  // a console of this test's own, whatever started it
  ASSERT_TRUE(AllocConsole());
  EXPECT_EQ(Execute({"calc", "abc"}, "CONOUT$", "CONOUT$"), 2);
  EXPECT_EQ(Execute({"calc", "--raster", "1", "145"}, "CONOUT$", "CONOUT$"), 3);
  // No EEPROM bytes onto a console.
  EXPECT_EQ(Execute({"plan", ChirpList(), "--format", "bin"}, "CONOUT$", "CONOUT$"), 2);
  EXPECT_EQ(Execute({"plan", ChirpList(), "--format", "bin", "-o", "CON"}, "NUL", "CONOUT$"), 2);
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
