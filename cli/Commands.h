// The commands calc, table and decode of teilomat-cli, from the command
// line's texts to the output and the exit status, and the messages every
// command shares: a call refused, a setting that cannot be read.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "channels/CsvDialect.h"
#include "channels/Settings.h"
#include "channels/Sink.h"

namespace cli {

/// Exit statuses.
enum ExitStatus : int {
  kExitOk = 0,
  kExitWriteFailed = 1,   // the output could not be written
  kExitUsage = 2,         // unknown option, missing value, text that is not a number
  kExitDividerLimit = 3,  // a divider ratio above 131071 or below 0
  kExitUnexpected = 4,    // anything unforeseen: memory ran out, an internal error
};

/// The line of calc, table or decode as typed: every value is still text.
struct Arguments {
  channels::SettingsText settings;  // decode takes its ZF alone
  std::string format = "text";
  std::string name = "teilomat";   // prefix of the identifiers in a C array
  std::string csv;                 // --csv: plain or de; empty: not given
  std::vector<std::string> rx;     // calc: the receive frequencies in MHz
  std::string from, to;            // table: the range in MHz
  std::vector<std::string> bytes;  // decode: DB0, DB1, DB2
};

/// Each command: results go to `out`, messages to `err`; returns the exit
/// status. A command that fails writes nothing to `out`, except a CSV or
/// text table that reaches the divider limit: its rows up to the limit stand.
int RunCalc(const Arguments& args, channels::Sink& out, channels::Sink& err);
int RunTable(const Arguments& args, channels::Sink& out, channels::Sink& err);
int RunDecode(const Arguments& args, channels::Sink& out, channels::Sink& err);

/// Where every refusal but plan's points to.
inline constexpr std::string_view kHelpHint = "Hilfe: teilomat-cli --help\n";

/// "Hilfe: teilomat-cli plan --help\n", where `command`'s refusals point to;
/// kHelpHint for none.
std::string HelpHint(std::string_view command);

/// Puts `message`, a line end and `hint` on `err`; returns kExitUsage.
int Refuse(channels::Sink& err, std::string_view message, std::string_view hint);

/// Flushes `out`: `status`, or kExitWriteFailed, said on `err`, where the
/// output could not be written.
int Finish(channels::Sink& out, channels::Sink& err, int status);

/// Why a setting could not be read: "ZF „x“ ist keine Zahl.", "Raster „7“
/// gibt es nicht: 1, 10 oder 25 (kHz)."
std::string SettingsMessage(const channels::Settings& settings, const channels::SettingsText& text);

/// The CSV dialect --csv names, or why it cannot be had.
struct CsvChoice {
  channels::CsvDialect dialect;
  std::string problem;  // empty: none
};

/// Reads --csv as typed (`typed`, empty where it was not given) for a command
/// whose format is CSV or not (`csvFormat`): "plain" (the default) or "de".
CsvChoice ReadCsvOption(std::string_view typed, bool csvFormat);

/// What the command-line parser found wrong.
enum class ParseProblem {
  Unexpected,  // an unknown option or a value too many
  Missing,     // a required option, value or command is missing
  ValueCount,  // an option or value got too few or too many values
  FlagValue,   // a value given to an option that takes none: --round=x
  NoCommand,   // the first word is no command; `detail` is that word
  Other,       // anything else
};

/// The German message for a command line the parser refused; `detail` is the
/// parser's own (English) text, from which names are taken, or for NoCommand
/// the word that stands where the command belongs.
/// The hint points to `command`'s help, or with none to the program's.
std::string UsageMessage(ParseProblem problem, std::string_view detail,
                         std::string_view command = {});

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
