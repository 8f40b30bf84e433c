// The three commands of teilomat-cli, from the command line's texts to the
// output and the exit status.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "channels/Sink.h"

namespace cli {

enum class Command { Calc, Table, Decode };

/// Exit statuses.
enum ExitStatus : int {
  kExitOk = 0,
  kExitWriteFailed = 1,   // the output could not be written
  kExitUsage = 2,         // unknown option, missing value, text that is not a number
  kExitDividerLimit = 3,  // a divider ratio above 131071 or below 0
  kExitUnexpected = 4,    // anything unforeseen: memory ran out, an internal error
};

/// Said on standard error when standard output cannot be written.
inline constexpr std::string_view kWriteFailed = "Die Ausgabe konnte nicht geschrieben werden.\n";

/// The command line as typed: every value is still text, read by Run.
struct Arguments {
  std::string zf = "10.7";    // MHz
  std::string raster = "25";  // kHz: 1, 10 or 25
  bool am = false;            // band bits 16 instead of 32
  bool noCp = false;          // charge-pump bit 0 instead of 1
  std::string format = "text";
  std::string name = "teilomat";   // prefix of the identifiers in a C header
  std::vector<std::string> rx;     // calc: the receive frequencies in MHz
  std::string from, to;            // table: the range in MHz
  std::vector<std::string> bytes;  // decode: DB0, DB1, DB2
};

/// Runs a command: results go to `out`, messages to `err`. Returns the exit
/// status. A command that fails writes nothing to `out`, except a CSV or text
/// table that reaches the divider limit: its rows up to the limit stand.
int Run(Command command, const Arguments& args, channels::Sink& out, channels::Sink& err);

/// What the command-line parser found wrong.
enum class ParseProblem {
  Unexpected,  // an unknown option or a value too many
  Missing,     // a required option, value or command is missing
  ValueCount,  // an option or value got too few or too many values
  NoCommand,   // the first word is no command; `detail` is that word
  Other,       // anything else
};

/// The German message for a command line the parser refused; `detail` is the
/// parser's own (English) text, from which names are taken, or for NoCommand
/// the word that stands where the command belongs.
std::string UsageMessage(ParseProblem problem, std::string_view detail);

/// Whether `word` names one of the commands.
bool IsCommand(std::string_view word);

/// The message for a command line that does not start with its command;
/// `words` are its words after the program's name, `takesValue` tells which
/// options are followed by a value (none written with it, as --zf=3). An
/// option before a known command is named, with the line in the order it
/// belongs in; else the first word that is neither option nor value is named
/// as an unknown command; else the first option.
std::string MisplacedMessage(const std::vector<std::string>& words,
                             const std::function<bool(std::string_view)>& takesValue);

}  // namespace cli
