#include "cli/PlanCommand.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "channels/ChannelList.h"
#include "channels/EepromImage.h"
#include "channels/Escape.h"
#include "channels/FirmwareHeader.h"
#include "channels/NumberInput.h"
#include "channels/Plan.h"
#include "channels/PlanWriters.h"
#include "channels/RowWriter.h"
#include "cli/Commands.h"
#include "cli/FileSink.h"
#include "cli/Files.h"

namespace cli {

using channels::BuildPlanImage;
using channels::ChannelList;
using channels::Complaint;
using channels::CutName;
using channels::FirmwareHeaderSettings;
using channels::FittingRaster;
using channels::Image;
using channels::ImageLayout;
using channels::ImageMessage;
using channels::IsCIdentifier;
using channels::kMaxHeaderName;
using channels::kMaxImageSize;
using channels::LimitMessage;
using channels::ListMessage;
using channels::MakePlan;
using channels::Plan;
using channels::PlanInputsJson;
using channels::PlanInputsLine;
using channels::PlannedChannel;
using channels::PlanSettings;
using channels::PutOffRasterLines;
using channels::PutRoundedLines;
using channels::Quoted;
using channels::RasterHint;
using channels::ReadByte;
using channels::ReadChannelList;
using channels::ReadNumber;
using channels::Setup;
using channels::Sink;
using channels::WholeHz;
using channels::WriteFirmwareHeader;
using channels::WriteIntelHex;
using channels::WritePlanCsv;
using channels::WritePlanJson;
using channels::WritePlanText;

namespace {

constexpr std::string_view kHelpHint = "Hilfe: teilomat-cli plan --help\n";

std::optional<PlanFormat> PlanFormatByName(std::string_view name) {
  constexpr std::array<std::pair<std::string_view, PlanFormat>, 6> kFormats = {{
      {"text", PlanFormat::Text},
      {"csv", PlanFormat::Csv},
      {"json", PlanFormat::Json},
      {"c", PlanFormat::FirmwareHeader},
      {"ihex", PlanFormat::IntelHex},
      {"bin", PlanFormat::Bin},
  }};
  for (const auto& [known, format] : kFormats) {
    if (name == known) return format;
  }
  return std::nullopt;
}

int Usage(Sink& err, std::string_view message) {
  err.Put(message);
  err.Put('\n');
  err.Put(kHelpHint);
  return kExitUsage;
}

// An address or size: decimal digits or "0x" and hex digits, at most kMaxImageSize.
std::optional<std::uint64_t> ReadAddress(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      value > kMaxImageSize) {
    return std::nullopt;
  }
  return value;
}

// The C header's own options: --name-length and --no-names, which only it
// takes, and its ZFs in whole Hz.
bool ReadHeaderOptions(const PlanArguments& args, PlanConfig& options, Sink& err) {
  if (options.format != PlanFormat::FirmwareHeader) {
    if (args.noNames || !args.nameLength.empty()) {
      Usage(err, std::string(args.noNames ? "--no-names" : "--name-length") +
                     " gilt nur für --format c.");
      return false;
    }
    return true;
  }
  if (args.noNames && !args.nameLength.empty()) {
    Usage(err, "--name-length und --no-names schließen einander aus.");
    return false;
  }
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
    options.nameLength = length;
  }
  if (!WholeHz(options.settings.rx.zf) || !WholeHz(options.settings.txZf)) {
    Usage(err, "Die ZF ist zu groß für den C-Header.");
    return false;
  }
  return true;
}

// The C header, with every name cut to options.nameLength bytes and each cut
// one named on `err`.
void WriteHeader(std::vector<PlannedChannel>& plan, const PlanArguments& args,
                 const PlanConfig& options, Sink& out, Sink& err) {
  std::string cut;
  for (PlannedChannel& channel : plan) {
    const std::string_view name = CutName(channel.name, options.nameLength);
    if (args.noNames || name.size() == channel.name.size()) continue;
    cut += "  Kanal " + std::to_string(channel.number) + " " + Quoted(name) + ", vorher " +
           std::to_string(channel.name.size()) + " Bytes\n";
    channel.name = name;
  }
  if (!cut.empty()) {
    err.Put(args.nameLength.empty()
                ? "Namen gekürzt auf " + std::to_string(kMaxHeaderName) +
                      " Bytes, mehr nimmt ein C99-Compiler nicht:\n"
                : "Namen gekürzt auf " + args.nameLength + " Bytes (--name-length):\n");
    err.Put(cut);
  }
  const PlanSettings& settings = options.settings;
  const std::string inputs = PlanInputsLine(settings);
  const FirmwareHeaderSettings header{args.name,
                                      inputs,
                                      *WholeHz(settings.rx.zf),
                                      *WholeHz(settings.txZf),
                                      settings.rx.Raster(),
                                      settings.rx.band,
                                      settings.rx.chargePump,
                                      !args.noNames};
  WriteFirmwareHeader(plan, header, out);
}

int Finish(Sink& out, Sink& err) {
  if (out.Flush()) return kExitOk;
  err.Put(kWriteFailed);
  return kExitWriteFailed;
}

}  // namespace

std::optional<PlanConfig> ReadPlanConfig(const PlanArguments& args, Sink& err) {
  PlanConfig options;
  const auto number = [&err](std::string_view what, std::string_view text, double& value) -> bool {
    const tuning::NumberResult<double> read = ReadNumber(text);
    value = read.value;
    if (!read)
      Usage(err, std::string(what) + " " + Quoted(text) + " " + std::string(Complaint(read.error)) +
                     ".");
    return static_cast<bool>(read);
  };
  Setup& setup = options.settings.rx;
  if (!number("ZF", args.zf, setup.zf) || !number("TX-ZF", args.txZf, options.settings.txZf)) {
    return std::nullopt;
  }
  constexpr std::array<std::string_view, 3> kRasters = {"1", "10", "25"};  // as in RasterTab
  const auto raster = std::find(kRasters.begin(), kRasters.end(), args.raster);
  if (raster == kRasters.end()) {
    Usage(err, "Raster " + Quoted(args.raster) + " gibt es nicht: 1, 10 oder 25 (kHz).");
    return std::nullopt;
  }
  setup.rasterIndex = static_cast<int>(raster - kRasters.begin());
  setup.band = args.am ? tuning::kBandAm : tuning::kBandFm;
  setup.chargePump = !args.noCp;
  options.settings.rxOnly = args.rxOnly;

  const std::optional<PlanFormat> format = PlanFormatByName(args.format);
  if (!format) {
    Usage(err, "Format " + Quoted(args.format) +
                   " gibt es für plan nicht: text, csv, json, c, ihex oder bin.");
    return std::nullopt;
  }
  options.format = *format;
  if (*format != PlanFormat::IntelHex && *format != PlanFormat::Bin && !args.imageOptions.empty()) {
    Usage(err, args.imageOptions.front() + " gilt nur für ein Abbild (--format ihex oder bin).");
    return std::nullopt;
  }
  if (!IsCIdentifier(args.name)) {
    Usage(err, "Name " + Quoted(args.name) + " ist kein C-Bezeichner.");
    return std::nullopt;
  }
  const std::optional<std::uint64_t> base = ReadAddress(args.base);
  const std::optional<std::uint64_t> size =
      args.size.empty() ? std::optional<std::uint64_t>(0) : ReadAddress(args.size);
  const tuning::NumberResult<std::uint8_t> fill = ReadByte(args.fill);
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
  options.layout = {*base, args.size.empty() ? std::nullopt : size, fill.value, args.rxOnly};
  if (!ReadHeaderOptions(args, options, err)) return std::nullopt;
  return options;
}

// Why the list `path` could not be read.
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
            const std::function<void(const Plan&)>& seePlan) {
  const std::optional<PlanConfig> options = ReadPlanConfig(args, err);
  if (!options) return kExitUsage;
  ChannelList list = ReadChannelList(input);
  std::string().swap(input);
  if (!list) return Usage(err, ListMessage(list));
  const PlanSettings& settings = options->settings;
  Plan plan = MakePlan(list.channels, settings);  // the C header may cut names
  if (seePlan) seePlan(plan);
  if (!plan) {
    err.Put(LimitMessage(*plan.limit));
    return kExitDividerLimit;
  }
  if (!plan.offRaster.empty()) {
    const std::optional<int> fitting = FittingRaster(list.channels, settings);
    const std::string raster = std::to_string(settings.rx.Raster() / 1000) + " kHz";
    if (!args.round) {
      err.Put("Nicht im Raster von " + raster + " (mehr als 1 Hz daneben):\n");
      PutOffRasterLines(plan, settings, err);
      err.Put(RasterHint(fitting) + "\n");
      err.Put(
          "Mit --round werden sie auf den nächsten Kanal gelegt, die Abweichung steht dann in "
          "der Ausgabe.\n");
      return kExitUsage;
    }
    err.Put("Mit --round auf das Raster von " + raster + " gelegt:\n");
    PutRoundedLines(plan, err);
    if (fitting) err.Put(RasterHint(fitting) + "\n");
  }

  switch (options->format) {
    case PlanFormat::Text:
      WritePlanText(plan.channels, PlanInputsLine(settings), out);
      break;
    case PlanFormat::Csv:
      WritePlanCsv(plan.channels, out);
      break;
    case PlanFormat::Json:
      WritePlanJson(plan.channels, PlanInputsJson(settings), out);
      break;
    case PlanFormat::FirmwareHeader:
      WriteHeader(plan.channels, args, *options, out, err);
      break;
    case PlanFormat::IntelHex:
    case PlanFormat::Bin: {
      const Image image = BuildPlanImage(plan.channels, options->layout);
      if (!image) return Usage(err, ImageMessage(image, options->layout));
      if (options->format == PlanFormat::Bin) {
        out.Put(std::string_view(reinterpret_cast<const char*>(image.bytes.data()),
                                 image.bytes.size()));
      } else {
        WriteIntelHex(image.bytes, out);
      }
      break;
    }
  }
  return Finish(out, err);
}

int RunPlanCommand(const PlanArguments& args, Sink& out, Sink& err) {
  Input input = ReadInput(args.input);
  if (!input) return Usage(err, InputMessage(args.input, input.problem));
  Output output(args.output, input.identity);
  switch (output.Problem()) {
    case OutputProblem::None:
      break;
    case OutputProblem::IsInput:
      return Usage(err, "Die Ausgabe " + Quoted(args.output) +
                            " ist die Kanalliste selbst; sie bleibt, wie sie ist.");
    case OutputProblem::Directory:
      err.Put("Die Ausgabe " + Quoted(args.output) + " ist ein Ordner, keine Datei.\n");
      return kExitWriteFailed;
    case OutputProblem::CannotCreate:
      err.Put("Die Datei " + Quoted(args.output) + " kann nicht angelegt werden.\n");
      return kExitWriteFailed;
  }
  // As gzip does: bytes for an EEPROM would only garble the terminal.
  if (args.format == "bin" && output.IsTerminal()) {
    return Usage(err,
                 "bin wird nicht auf ein Terminal geschrieben: -o DATEI nennen oder umleiten.");
  }
  if (output.File() == stdout) return RunPlan(args, std::move(input.text), out, err);
  int status = kExitOk;
  {
    FileSink sink(output.File());
    status = RunPlan(args, std::move(input.text), sink, err);
  }
  if (status != kExitOk) return status;  // a scratch file goes, the old file stays
  if (!output.Commit()) {
    err.Put(kWriteFailed);
    return kExitWriteFailed;
  }
  return kExitOk;
}

}  // namespace cli
