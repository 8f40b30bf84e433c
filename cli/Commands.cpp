#include "cli/Commands.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "channels/Decode.h"
#include "channels/Escape.h"
#include "channels/NumberInput.h"
#include "channels/NumberOutput.h"
#include "channels/Plan.h"
#include "channels/Row.h"
#include "channels/RowWriter.h"
#include "channels/TableRange.h"
#include "cli/CommandTable.h"
#include "cli/FileSink.h"

namespace cli {

using channels::CalcRow;
using channels::ChannelRow;
using channels::ChannelRxMHz;
using channels::Complaint;
using channels::Decode;
using channels::FindTableRange;
using channels::Format;
using channels::FormatByName;
using channels::IsCIdentifier;
using channels::Quoted;
using channels::Range;
using channels::RangeError;
using channels::ReadByte;
using channels::ReadNumber;
using channels::Row;
using channels::RowOrigin;
using channels::RowResult;
using channels::RowWriter;
using channels::Settings;
using channels::SettingsError;
using channels::SettingsText;
using channels::Setup;
using channels::Shown;
using channels::Sink;
using channels::TableRange;
using channels::TerminalText;
using channels::WriteDecode;

namespace {

// A refusal of `command`'s own, pointing to its help.
int Usage(Sink& err, std::string_view command, std::string_view message) {
  return Refuse(err, message, HelpHint(command));
}

// A number typed for `what`, or a message and nothing.
std::optional<double> Number(std::string_view command, std::string_view what, std::string_view text,
                             Sink& err) {
  const tuning::NumberResult<double> number = ReadNumber(text);
  if (number) return number.value;
  Usage(err, command,
        std::string(what) + " " + Quoted(text) + " " + std::string(Complaint(number.error)) + ".");
  return std::nullopt;
}

// What every row needs, read from the options.
struct RowRequest {
  Setup setup;
  Format format = Format::Text;
  channels::ChipTarget chip;
  channels::CsvDialect csv;
};

std::optional<RowRequest> ReadRowRequest(std::string_view command, const Arguments& args,
                                         Sink& err) {
  const Settings settings = channels::ReadSettings(args.settings, false);
  if (!settings) {
    Usage(err, command, SettingsMessage(settings, args.settings));
    return std::nullopt;
  }
  RowRequest options{settings.rx, Format::Text, settings.chip, {}};
  const std::optional<Format> format = FormatByName(args.format);
  if (!format) {
    Usage(err, command,
          "Format " + Quoted(args.format) + " gibt es nicht: text, csv, json, c oder i2ctransfer.");
    return std::nullopt;
  }
  options.format = *format;
  if (*format != Format::I2cTransfer && !args.settings.bus.empty()) {
    Usage(err, command, "--bus gilt nur für --format i2ctransfer.");
    return std::nullopt;
  }
  const CsvChoice csv = ReadCsvOption(args.csv, *format == Format::Csv);
  if (!csv.problem.empty()) {
    Usage(err, command, csv.problem);
    return std::nullopt;
  }
  options.csv = csv.dialect;
  if (!IsCIdentifier(args.name)) {
    Usage(err, command, "Name " + Quoted(args.name) + " ist kein C-Bezeichner.");
    return std::nullopt;
  }
  return options;
}

// "RX 145.675 MHz (N 6255)", the place of a channel in a message.
std::string Place(double rxMHz, std::int64_t n) {
  return "RX " + Shown(rxMHz) + " MHz (N " + std::to_string(n) + ")";
}

// The core's message for the limit, then where it was hit.
int DividerLimit(Sink& err, tuning::Limit limit, std::string_view detail) {
  err.Put(tuning::LimitMessage(limit));
  err.Put('\n');
  err.Put(detail);
  err.Put('\n');
  return kExitDividerLimit;
}

}  // namespace

int RunCalc(const Arguments& args, Sink& out, Sink& err) {
  const std::optional<RowRequest> options = ReadRowRequest("calc", args, err);
  if (!options) return kExitUsage;
  std::vector<double> requested;
  for (const std::string& text : args.rx) {
    const std::optional<double> rx = Number("calc", "RX", text, err);
    if (!rx) return kExitUsage;
    requested.push_back(*rx);
  }
  if (requested.empty()) return Usage(err, "calc", "Es fehlt eine Empfangsfrequenz RX.");

  // Every result first, so a failing one leaves nothing half written.
  std::vector<Row> rows;
  for (std::size_t i = 0; i < requested.size(); ++i) {
    const RowResult result = CalcRow(options->setup, requested[i]);
    if (result.limit == tuning::Limit::Incalculable) {
      return Usage(err, "calc",
                   "RX " + Quoted(args.rx[i]) + " und ZF " + Quoted(args.settings.zf) +
                       " ergeben kein Teilerverhältnis im Rechenbereich.");
    }
    if (!result) {
      // N is known where it lies beyond a limit; beyond the arithmetic it is not.
      const bool knownN = result.error == tuning::TuningError::DividerTooLarge ||
                          result.error == tuning::TuningError::DividerNegative;
      const int status = DividerLimit(
          err, result.limit,
          "bei RX " + Quoted(args.rx[i]) + (knownN ? " (N " + std::to_string(result.n) + ")" : ""));
      if (result.limit == tuning::Limit::TooLarge) {
        const std::optional<int> reaching = channels::RasterReaching(options->setup, requested[i]);
        const tuning::TuningState state;
        err.Put(reaching ? "Hinweis: mit --raster " +
                               std::to_string(state.RasterTab[static_cast<std::size_t>(*reaching)] /
                                              1000) +
                               " liegt das Teilerverhältnis zwischen 0 und 131071.\n"
                         : "Mit keinem Raster (" + channels::RasterChoices() +
                               " kHz) liegt das Teilerverhältnis zwischen 0 und 131071.\n");
      }
      return status;
    }
    rows.push_back(result.row);
  }

  RowWriter writer(options->format, RowOrigin{"calc", options->setup, {}, args.name, options->chip},
                   out, options->csv);
  writer.Begin();
  for (const Row& row : rows) writer.Put(row);
  writer.End();
  return Finish(out, err, kExitOk);
}

int RunTable(const Arguments& args, Sink& out, Sink& err) {
  const std::optional<RowRequest> options = ReadRowRequest("table", args, err);
  if (!options) return kExitUsage;
  const std::optional<double> from = Number("table", "--from", args.from, err);
  if (!from) return kExitUsage;
  const std::optional<double> to = Number("table", "--to", args.to, err);
  if (!to) return kExitUsage;

  const Setup& setup = options->setup;
  const TableRange range = FindTableRange(setup, *from, *to);
  switch (range.error) {
    case RangeError::None:
      break;
    case RangeError::Reversed:
      return Usage(err, "table",
                   "Der Bereich ist verkehrt herum: --from " + Quoted(args.from) +
                       " liegt über --to " + Quoted(args.to) + ".");
    case RangeError::NoChannel:
      return Usage(err, "table",
                   "Zwischen --from " + Quoted(args.from) + " und --to " + Quoted(args.to) +
                       " liegt kein Kanal des Rasters.");
    case RangeError::AboveLimit:
      return DividerLimit(err, tuning::Limit::TooLarge,
                          "Tabelle nicht geschrieben: schon ihr erster Kanal liegt über "
                          "der Grenze.");
    case RangeError::OutOfRange:
      return Usage(err, "table",
                   "Der Bereich ergibt Teilerverhältnisse außerhalb des Rechenbereichs.");
    case RangeError::BelowZero:
      return DividerLimit(err, tuning::Limit::TooSmall,
                          "Tabelle nicht geschrieben: --from " + Quoted(args.from) +
                              " liegt unter dem niedrigsten Kanal, " +
                              Place(ChannelRxMHz(setup.Raster(), 0, setup.zf), 0) + ".");
  }

  const std::int16_t raster = setup.Raster();
  const std::int64_t stop = range.StopAt();
  const std::string stopPlace =
      Place(ChannelRxMHz(raster, static_cast<std::int32_t>(stop), setup.zf), stop);
  if (range.RowCount() == 0) {
    return DividerLimit(err, tuning::Limit::TooLarge,
                        "Tabelle nicht geschrieben: schon ihr erster Kanal, " + stopPlace +
                            ", liegt über der Grenze.");
  }

  RowWriter writer(options->format,
                   RowOrigin{"table", setup, Range{*from, *to}, args.name, options->chip}, out,
                   options->csv);
  writer.Begin();
  for (std::int64_t n = range.first; n <= range.LastRow(); ++n) {
    writer.Put(ChannelRow(setup, static_cast<std::int32_t>(n)));
  }
  if (!range.HitsLimit()) {
    writer.End();
    return Finish(out, err, kExitOk);
  }
  // The rows before the limit stay valid output; a JSON document or C header
  // is closed as usual and says where the table stopped.
  writer.End(stopPlace);
  const int status = Finish(out, err, kExitDividerLimit);
  if (status != kExitDividerLimit) return status;
  return DividerLimit(err, tuning::Limit::TooLarge,
                      "Tabelle abgebrochen vor " + stopPlace + "; " +
                          std::to_string(range.RowCount()) +
                          (range.RowCount() == 1 ? " Zeile" : " Zeilen") + " geschrieben.");
}

int RunDecode(const Arguments& args, Sink& out, Sink& err) {
  const std::optional<double> zf = Number("decode", "ZF", args.settings.zf, err);
  if (!zf) return kExitUsage;
  const std::optional<Format> format = FormatByName(args.format);
  if (!format || *format == Format::CArray || *format == Format::I2cTransfer) {
    return Usage(
        err, "decode",
        "Format " + Quoted(args.format) + " gibt es für decode nicht: text, csv oder json.");
  }
  const CsvChoice csv = ReadCsvOption(args.csv, *format == Format::Csv);
  if (!csv.problem.empty()) return Usage(err, "decode", csv.problem);
  if (args.bytes.size() < 3) {
    constexpr std::array<std::string_view, 3> kNames = {"DB0 DB1 DB2", "DB1 DB2", "DB2"};
    return Usage(err, "decode",
                 std::string(args.bytes.size() < 2 ? "Es fehlen " : "Es fehlt ") +
                     std::string(kNames[args.bytes.size()]) +
                     ": decode braucht drei Bytes, DB0 DB1 DB2.");
  }
  // Each byte read first, in the name it has in a write of that many bytes.
  const std::size_t count = args.bytes.size();
  const bool knownCount = count == 3 || count == 5 || count == 6;
  std::vector<std::uint8_t> typed;
  for (std::size_t i = 0; i < count; ++i) {
    const tuning::NumberResult<std::uint8_t> byte = ReadByte(args.bytes[i]);
    if (!byte && knownCount) {
      return Usage(err, "decode",
                   std::string(channels::WriteByteName(count, i)) + " " + Quoted(args.bytes[i]) +
                       " ist kein Byte: 0 bis 255, dezimal oder mit 0x hexadezimal.");
    }
    typed.push_back(byte.value);
  }
  const channels::TakenWrite taken = channels::TakeWrite(typed);
  if (taken.problem != channels::WriteProblem::None) {
    const std::string_view at = taken.at < count ? std::string_view(args.bytes[taken.at]) : "";
    return Usage(err, "decode", channels::WriteComplaint(taken, at, count));
  }
  WriteDecode(Decode(taken.bytes, *zf, taken.address), *format, out, csv.dialect);
  return Finish(out, err, kExitOk);
}

CsvChoice ReadCsvOption(std::string_view typed, bool csvFormat) {
  if (typed.empty()) return {};
  if (!csvFormat) return {{}, "--csv gilt nur für --format csv."};
  const std::optional<channels::CsvDialect> dialect = channels::CsvDialectByName(typed);
  if (!dialect) return {{}, "--csv " + Quoted(typed) + " gibt es nicht: plain oder de."};
  return {*dialect, {}};
}

int Refuse(Sink& err, std::string_view message, std::string_view hint) {
  err.Put(message);
  err.Put('\n');
  err.Put(hint);
  return kExitUsage;
}

int Finish(Sink& out, Sink& err, int status) {
  if (out.Flush()) return status;
  // Only a file's sink can fail; it knows which file and why.
  const auto* file = dynamic_cast<const FileSink*>(&out);
  err.Put(WriteFailedMessage(file != nullptr ? file->Name() : std::string(),
                             file != nullptr ? file->Reason() : WriteReason::Other));
  err.Put('\n');
  return kExitWriteFailed;
}

std::string SettingsMessage(const Settings& settings, const SettingsText& text) {
  switch (settings.error) {
    case SettingsError::None:
      break;
    case SettingsError::Zf:
      return "ZF " + Quoted(text.zf) + " " + std::string(Complaint(settings.numberError)) + ".";
    case SettingsError::TxZf:
      return "TX-ZF " + Quoted(text.txZf) + " " + std::string(Complaint(settings.numberError)) +
             ".";
    case SettingsError::Raster:
      return "Raster " + Quoted(text.raster) + " gibt es nicht: " + channels::RasterChoices() +
             " (kHz).";
    case SettingsError::Address:
      return channels::AddressComplaint("--address", text.address);
    case SettingsError::Bus:
      return channels::BusComplaint("--bus", text.bus);
  }
  return {};
}

std::string HelpHint(std::string_view command) {
  if (command.empty()) return std::string(kHelpHint);
  return "Hilfe: teilomat-cli " + std::string(command) + " --help\n";
}

namespace {

// "--tx-zf" out of the parser's "--tx-zf: 1 required MHZ missing" and the like.
std::string_view OptionOf(std::string_view detail) {
  return detail.substr(0, detail.find(':'));
}

// A value or option the parser did not expect, as the user wrote it.
std::string Unexpected(std::string_view word) {
  if (word.starts_with("-")) return "unbekannte Option " + std::string(word);
  return "ein Wert zu viel: " + Quoted(word);
}

}  // namespace

std::string UsageMessage(ParseProblem problem, std::string_view detail, std::string_view command) {
  // The parser's texts: "The following argument was not expected: --foo",
  // "--to is required", "A subcommand is required", "--zf: 1 required TEXT
  // missing", "--am: 0 required ... 1 provided"; none of its words is passed
  // on, only the names of the options and values.
  std::string message = "Aufruf fehlerhaft: ";
  switch (problem) {
    case ParseProblem::Unexpected: {
      const std::size_t colon = detail.find(": ");
      std::string_view words = colon == std::string_view::npos ? detail : detail.substr(colon + 2);
      std::string said;
      while (!words.empty()) {
        const std::size_t space = words.find(' ');
        if (!said.empty()) said += ", ";
        said += Unexpected(words.substr(0, space));
        words = space == std::string_view::npos ? std::string_view() : words.substr(space + 1);
      }
      message += said;
      break;
    }
    case ParseProblem::Missing:
      if (detail.starts_with("A subcommand")) {
        message += "es fehlt der Befehl: calc, table, decode oder plan";
      } else {
        const std::string_view name = detail.substr(0, detail.find(" is required"));
        message += "es fehlt ";
        if (name == "LISTE") {
          message += "die Liste (LISTE)";
        } else if (name == "RX") {
          message += "die Empfangsfrequenz (RX)";
        } else {
          message += name;
        }
      }
      break;
    case ParseProblem::NoCommand:
      if (detail.starts_with("-")) {
        message += "unbekannt oder zu viel: ";
        message += detail;
        message += "; zuerst kommt der Befehl: calc, table, decode oder plan";
      } else {
        message += "unbekannter Befehl " + Quoted(detail) +
                   "; die Befehle sind calc, table, decode und plan";
      }
      break;
    case ParseProblem::ValueCount: {
      const std::string_view option = OptionOf(detail);
      if (detail.find("At Most") != std::string_view::npos) {
        message += std::string(option) + " steht mehr als einmal da: es nimmt nur einen Wert";
      } else if (detail.find(": 0 required") != std::string_view::npos) {
        message += std::string(option) + " nimmt keinen Wert";
      } else {
        message += std::string(option) + " braucht einen Wert";
      }
      break;
    }
    case ParseProblem::FlagValue: {
      // "Could not convert: --round = x", "--am: Should be true/false or a
      // number": the option is the first word that starts with "--".
      const std::size_t start = std::min(detail.find("--"), detail.size());
      const std::string_view rest = detail.substr(start);
      message += std::string(rest.substr(0, rest.find_first_of(" :="))) + " nimmt keinen Wert";
      break;
    }
    case ParseProblem::Other:
      message += "diese Befehlszeile ist so nicht lesbar";
      break;
  }
  // The parser's text may hold a word of the command line, controls and all.
  return TerminalText(message) + "\n" + HelpHint(command);
}

bool IsCommand(std::string_view word) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.name == word) return true;
  }
  return false;
}

std::string MisplacedMessage(const std::vector<std::string>& words,
                             const std::function<bool(std::string_view)>& takesValue) {
  const std::string* firstOption = nullptr;
  bool valueNext = false;
  for (const std::string& word : words) {
    if (word.size() > 1 && word.front() == '-') {
      if (firstOption == nullptr) firstOption = &word;
      valueNext = takesValue(word);
    } else if (valueNext) {
      valueNext = false;
    } else if (!IsCommand(word) || firstOption == nullptr) {
      return UsageMessage(ParseProblem::NoCommand, word);
    } else {
      std::string line = "teilomat-cli " + word;
      for (const std::string& other : words) {
        if (&other != &word) line += " " + other;
      }
      const std::string_view option =
          std::string_view(*firstOption).substr(0, firstOption->find('='));
      return TerminalText("Aufruf fehlerhaft: die Option " + std::string(option) +
                          " steht vor dem Befehl " + word +
                          "; Optionen kommen nach dem Befehl: " + line) +
             "\n" + std::string(kHelpHint);
    }
  }
  return UsageMessage(ParseProblem::NoCommand,
                      firstOption != nullptr ? *firstOption : words.front());
}

}  // namespace cli
