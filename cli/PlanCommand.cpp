#include "cli/PlanCommand.h"

#include <charconv>
#include <optional>

#include "channels/Escape.h"
#include "channels/NumberInput.h"
#include "channels/NumberOutput.h"
#include "channels/PlanJob.h"
#include "cli/Commands.h"
#include "cli/FileSink.h"

namespace cli {

using channels::kMaxHeaderName;
using channels::kMaxImageSize;
using channels::PlanFormat;
using channels::PlanOutcome;
using channels::PlanProblem;
using channels::PlanRequest;
using channels::Quoted;
using channels::Sink;

namespace {

int Usage(Sink& err, std::string_view message) {
  return Refuse(err, message, HelpHint("plan"));
}

// An address or size typed for an image.
std::optional<std::uint64_t> ReadImageNumber(std::string_view text) {
  const auto read = channels::ReadWhole(text, kMaxImageSize, channels::LeadingZeros::Decimal);
  if (!read) return std::nullopt;
  return read.value;
}

// The C header's own options, which only it and the sketch take.
bool ReadHeaderOptions(const PlanArguments& args, PlanRequest& request, Sink& err) {
  if (!channels::WritesFirmware(request.format)) {
    const char* given = args.noNames                ? "--no-names"
                        : !args.nameLength.empty()  ? "--name-length"
                        : !args.nameCharset.empty() ? "--name-charset"
                        : !args.maxTable.empty()    ? "--max-table"
                                                    : nullptr;
    if (given) {
      Usage(err, std::string(given) + " gilt nur für --format c oder arduino.");
      return false;
    }
    return true;
  }
  if (!args.nameCharset.empty()) {
    const channels::NameCharsetByName charset = channels::NameCharsetNamed(args.nameCharset);
    if (!charset.known) {
      Usage(err, "--name-charset " + Quoted(args.nameCharset) +
                     " gibt es nicht: utf8, ascii oder hd44780.");
      return false;
    }
    request.charset = charset.charset;
  }
  if (!args.maxTable.empty()) {
    const auto bytes =
        channels::ReadWhole(args.maxTable, kMaxImageSize, channels::LeadingZeros::Decimal);
    if (!bytes) {
      Usage(err, "--max-table " + Quoted(args.maxTable) + " ist keine Größe (Bytes, höchstens " +
                     std::to_string(kMaxImageSize) + ").");
      return false;
    }
    request.maxTable = bytes.value;
  }
  request.fileName = args.output;
  if (args.noNames && !args.nameLength.empty()) {
    Usage(err, "--name-length und --no-names schließen einander aus.");
    return false;
  }
  request.names = !args.noNames;
  if (!args.nameLength.empty()) {
    const std::string_view text = args.nameLength;
    std::size_t length = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (ec != std::errc() || end != text.data() + text.size() || length < 1 ||
        length > kMaxHeaderName) {
      Usage(err, "--name-length " + Quoted(text) + " ist keine Länge: 1 bis " +
                     std::to_string(kMaxHeaderName) + " Bytes.");
      return false;
    }
    request.nameLength = length;
  }
  return true;
}

// The request the options make, or nothing with the reason on `err`.
std::optional<PlanRequest> ReadPlanRequest(const PlanArguments& args, Sink& err) {
  PlanRequest request;
  const channels::Settings settings = channels::ReadSettings(args.settings, true);
  if (!settings) {
    Usage(err, SettingsMessage(settings, args.settings));
    return std::nullopt;
  }
  request.settings = {settings.rx, settings.txZf, args.rxOnly, settings.chip};
  request.round = args.round;
  const std::optional<PlanFormat> format = channels::PlanFormatByName(args.format);
  if (!format) {
    Usage(err,
          "Format " + Quoted(args.format) +
              " gibt es für plan nicht: text, csv, json, c, arduino, ihex, bin oder i2ctransfer.");
    return std::nullopt;
  }
  request.format = *format;
  if (*format != PlanFormat::I2cTransfer && !args.settings.bus.empty()) {
    Usage(err, "--bus gilt nur für --format i2ctransfer.");
    return std::nullopt;
  }
  const CsvChoice csv = ReadCsvOption(args.csv, *format == PlanFormat::Csv);
  if (!csv.problem.empty()) {
    Usage(err, csv.problem);
    return std::nullopt;
  }
  request.csv = csv.dialect;
  if (!channels::WritesImage(*format) && !args.imageOptions.empty()) {
    Usage(err, args.imageOptions.front() + " gilt nur für ein Abbild (--format ihex oder bin).");
    return std::nullopt;
  }
  if (!channels::IsCIdentifier(args.name)) {
    Usage(err, "Name " + Quoted(args.name) + " ist kein C-Bezeichner.");
    return std::nullopt;
  }
  request.prefix = args.name;
  const std::optional<std::uint64_t> base = ReadImageNumber(args.base);
  const std::optional<std::uint64_t> size =
      args.size.empty() ? std::optional<std::uint64_t>(0) : ReadImageNumber(args.size);
  const tuning::NumberResult<std::uint8_t> fill = channels::ReadByte(args.fill);
  const std::string limit =
      " (dezimal oder 0x-hexadezimal, höchstens " + std::to_string(kMaxImageSize) + ")";
  if (!base) {
    Usage(err, "--base " + Quoted(args.base) + " ist keine Adresse" + limit + ".");
    return std::nullopt;
  }
  if (!size) {
    Usage(err, "--size " + Quoted(args.size) + " ist keine Größe" + limit + ".");
    return std::nullopt;
  }
  if (!fill) {
    Usage(err, "--fill " + Quoted(args.fill) +
                   " ist kein Byte: 0 bis 255, dezimal oder mit 0x hexadezimal.");
    return std::nullopt;
  }
  request.layout = {*base, args.size.empty() ? std::nullopt : size, fill.value, args.rxOnly};
  if (!ReadHeaderOptions(args, request, err)) return std::nullopt;
  return request;
}

// "25 kHz", the settings' raster.
std::string RasterText(const PlanRequest& request) {
  return std::to_string(request.settings.rx.Raster() / 1000) + " kHz";
}

// The raster hints in the options' words.
const channels::RasterControl& RasterOption() {
  static const channels::RasterControl option{"--raster",
                                              "Raster (" + channels::RasterChoices() + " kHz)"};
  return option;
}

// The problem that stopped the plan, in the options' words; the exit status.
int SayProblem(const PlanOutcome& outcome, const PlanRequest& request, Sink& err) {
  switch (outcome.problem) {
    case PlanProblem::None:
      break;
    case PlanProblem::List:
      return Usage(err, channels::ListMessage(outcome.list));
    case PlanProblem::HeaderZf:
      return Usage(err, "Die ZF ist zu groß für den C-Header.");
    case PlanProblem::DividerLimit:
      err.Put(channels::LimitMessage(*outcome.plan.limit));
      err.Put(channels::RasterLimitHint(outcome.limitRaster, RasterOption()));
      return kExitDividerLimit;
    case PlanProblem::OffRaster:
      err.Put("Nicht im Raster von " + RasterText(request) + " (mehr als 1 Hz daneben):\n");
      channels::PutOffRasterLines(outcome.plan, request.settings, err);
      err.Put(channels::RasterFitHint(outcome.fittingRaster, RasterOption()) + "\n");
      err.Put(
          "Mit --round werden sie auf den nächsten Kanal gelegt, die Abweichung steht dann in "
          "der Ausgabe.\n");
      return kExitUsage;
    case PlanProblem::NulName:
      return Usage(err, "Zeile " + std::to_string(outcome.nulName->line) + ": der Name von Kanal " +
                            std::to_string(outcome.nulName->number) +
                            " enthält ein NUL-Byte, an dem C ihn beenden würde.");
    case PlanProblem::BeyondHz: {
      const channels::SideBeyondHz& side = *outcome.beyondHz;
      err.Put("Kanal " + std::to_string(side.number) + ": " + (side.tx ? "TX" : "RX") + " " +
              std::to_string(side.hz) +
              " Hz liegt außerhalb von 0 bis 4294967295 Hz, mit denen die Firmware rechnet.\n");
      return kExitDividerLimit;
    }
    case PlanProblem::TableTooLarge: {
      using Kind = channels::TableFit::Kind;
      const channels::TableFit& fit = outcome.fit;
      return Usage(err, "Die Tabelle braucht " + std::to_string(outcome.tableBytes) +
                            " Bytes, --max-table erlaubt " + std::to_string(*request.maxTable) +
                            (fit.kind == Kind::Names
                                 ? "; es passt --name-length " + std::to_string(fit.nameLength)
                             : fit.kind == Kind::NoNames ? "; es passt --no-names"
                                                         : ", auch ohne Namen nicht") +
                            ".");
    }
    case PlanProblem::ImageTooLarge: {
      const std::optional<std::uint64_t>& size = request.layout.size;
      return Usage(err, "Das Abbild braucht " + std::to_string(outcome.image.needed) + " Bytes, " +
                            (size ? "--size erlaubt " + std::to_string(*size)
                                  : "plan schreibt höchstens " + std::to_string(kMaxImageSize)) +
                            ".");
    }
  }
  return kExitOk;
}

// What the command says besides its output: the sides moved, those that now
// share a channel, the names cut.
void SayNotes(const PlanOutcome& outcome, const PlanArguments& args, Sink& err,
              const PlanRequest& request) {
  if (!outcome.Moved().empty()) {
    err.Put("Mit --round auf das Raster von " + RasterText(request) + " gelegt:\n");
    channels::PutRoundedLines(outcome.plan, err);
    if (outcome.fittingRaster.index)
      err.Put(channels::RasterFitHint(outcome.fittingRaster, RasterOption()) + "\n");
  }
  if (!outcome.merged.empty()) {
    err.Put("Verschiedene Frequenzen der Liste auf demselben Kanal des Rasters:\n");
    channels::PutMergedLines(outcome.plan, outcome.merged, err);
  }
  if (channels::WritesFirmware(request.format)) {
    err.Put("Tabelle: " + std::to_string(outcome.tableBytes) + " Bytes im Flash eines AVR.\n");
    if (outcome.tableBytes > channels::kAvrMaxObject) {
      err.Put("Hinweis: avr-gcc nimmt kein Objekt über " + std::to_string(channels::kAvrMaxObject) +
              " Bytes; dort --name-length oder --no-names nehmen.\n");
    }
  }
  if (!outcome.cutNames.empty()) {
    err.Put(args.nameLength.empty()
                ? "Namen gekürzt auf " + std::to_string(kMaxHeaderName) +
                      " Bytes, mehr nimmt ein C99-Compiler nicht:\n"
                : "Namen gekürzt auf " + args.nameLength + " Bytes (--name-length):\n");
    for (const channels::ShortenedName& cut : outcome.cutNames) {
      err.Put("  Kanal " + std::to_string(cut.number) + " " + Quoted(cut.name) + ", vorher " +
              std::to_string(cut.bytesBefore) + " Bytes\n");
    }
  }
}

}  // namespace

std::string InputMessage(const std::string& path, InputProblem problem) {
  const std::string list = "Die Kanalliste " + Quoted(path);
  switch (problem) {
    case InputProblem::Missing:
      return list + " gibt es nicht.";
    case InputProblem::NotAllowed:
      return list + " darf nicht gelesen werden (keine Berechtigung).";
    case InputProblem::Directory:
      return list + " ist ein Ordner, keine Datei.";
    case InputProblem::TooLarge:
      return list + " ist größer als " + std::to_string(kMaxInputSize / (1024 * 1024)) + " MiB.";
    case InputProblem::None:
    case InputProblem::Unreadable:
      break;
  }
  return list + " kann nicht gelesen werden.";
}

int RunPlan(const PlanArguments& args, std::string input, Sink& out, Sink& err,
            channels::StringSink* notes) {
  const std::optional<PlanRequest> request = ReadPlanRequest(args, err);
  if (!request) return kExitUsage;
  const PlanOutcome outcome = channels::RunPlanJob(*request, std::move(input));
  // First, as it bears on everything after it: the list was read as Windows-1252.
  if (const std::string notice = channels::ListNotice(outcome.list); !notice.empty()) {
    err.Put(notice + "\n");
  }
  if (!outcome) return SayProblem(outcome, *request, err);
  channels::WritePlan(outcome, *request, out);
  const int status = Finish(out, err, kExitOk);
  // The notes of a plan once it is written: a run that fails says its error alone.
  if (status == kExitOk) SayNotes(outcome, args, notes != nullptr ? *notes : err, *request);
  return status;
}

int RunPlanCommand(const PlanArguments& args, Sink& out, Sink& err) {
  Input input = ReadInput(args.input);
  if (!input) return Usage(err, InputMessage(args.input, input.problem));
  Output output(args.output, input.identity);
  if (output.Problem() == OutputProblem::IsInput) {
    return Usage(err, OutputMessage(args.output, output.Problem(), output.Reason()));
  }
  if (output.Problem() != OutputProblem::None) {
    err.Put(OutputMessage(args.output, output.Problem(), output.Reason()) + "\n");
    return kExitWriteFailed;
  }
  // As gzip does: bytes for an EEPROM would only garble the terminal.
  if (args.format == "bin" && output.IsTerminal()) {
    return Usage(err,
                 "bin wird nicht auf ein Terminal geschrieben: -o DATEI nennen oder umleiten.");
  }
  if (output.File() == stdout) return RunPlan(args, std::move(input.text), out, err);
  int status = kExitOk;
  channels::StringSink notes;
  {
    FileSink sink(output.File(), args.output);
    status = RunPlan(args, std::move(input.text), sink, err, &notes);
  }
  if (status != kExitOk) return status;  // a scratch file goes, the old file stays
  if (!output.Commit()) {
    err.Put(WriteFailedMessage(args.output, output.Reason()) + "\n");
    return kExitWriteFailed;
  }
  err.Put(notes.Text());
  return kExitOk;
}

}  // namespace cli
