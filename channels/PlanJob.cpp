#include "channels/PlanJob.h"

#include <array>
#include <utility>

#include "channels/ArduinoSketch.h"
#include "channels/PlanWriters.h"
#include "channels/Settings.h"

namespace channels {
namespace {

// The names the header cuts, as it holds them; the header cuts them itself.
std::vector<ShortenedName> CutNames(const Plan& plan, const FirmwareHeaderSettings& header) {
  std::vector<ShortenedName> cut;
  if (!header.names) return cut;
  for (const PlannedChannel& channel : plan.channels) {
    HeaderName name = MakeHeaderName(channel.name, header.charset, header.nameLength);
    if (name.cut) cut.push_back({channel.number, std::move(name.text), channel.name.size()});
  }
  return cut;
}

// Checks the plan for the firmware's formats and sizes its table.
void CheckFirmware(PlanOutcome& outcome, const PlanRequest& request) {
  const FirmwareHeaderSettings header = HeaderSettings(request, {});
  if (request.names) outcome.nulName = FirstNulName(outcome.list.channels);
  if (outcome.nulName) {
    outcome.problem = PlanProblem::NulName;
    return;
  }
  outcome.beyondHz = FirstSideBeyondHz(outcome.plan.channels, header);
  if (outcome.beyondHz) {
    outcome.problem = PlanProblem::BeyondHz;
    return;
  }
  outcome.cutNames = CutNames(outcome.plan, header);
  const std::size_t count = outcome.plan.channels.size();
  outcome.tableBytes = TableBytes(count, HeaderNameSize(outcome.plan.channels, header));
  if (request.maxTable && outcome.tableBytes > *request.maxTable) {
    FirmwareHeaderSettings whole = header;
    whole.nameLength = kMaxHeaderName;
    const std::size_t longest = HeaderNameSize(outcome.plan.channels, whole);
    outcome.fit = FitTable(count, longest > 0 ? longest - 1 : 0, *request.maxTable);
    outcome.problem = PlanProblem::TableTooLarge;
  }
}

}  // namespace

std::optional<PlanFormat> PlanFormatByName(std::string_view name) {
  constexpr std::array<std::pair<std::string_view, PlanFormat>, 8> kFormats = {{
      {"text", PlanFormat::Text},
      {"csv", PlanFormat::Csv},
      {"json", PlanFormat::Json},
      {"c", PlanFormat::FirmwareHeader},
      {"arduino", PlanFormat::ArduinoSketch},
      {"ihex", PlanFormat::IntelHex},
      {"bin", PlanFormat::Bin},
      {"i2ctransfer", PlanFormat::I2cTransfer},
  }};
  for (const auto& [known, format] : kFormats) {
    if (name == known) return format;
  }
  return std::nullopt;
}

bool WritesImage(PlanFormat format) {
  return format == PlanFormat::IntelHex || format == PlanFormat::Bin;
}

bool WritesFirmware(PlanFormat format) {
  return format == PlanFormat::FirmwareHeader || format == PlanFormat::ArduinoSketch;
}

FirmwareHeaderSettings HeaderSettings(const PlanRequest& request, std::string_view inputs) {
  const PlanSettings& settings = request.settings;
  FirmwareHeaderSettings header;
  header.prefix = request.prefix;
  header.inputs = inputs;
  header.zfHz = WholeHz(settings.rx.zf).value_or(0);
  header.txZfHz = WholeHz(settings.txZf).value_or(0);
  header.rasterHz = settings.rx.Raster();
  header.bandBits = settings.rx.band;
  header.chargePump = settings.rx.chargePump;
  header.names = request.names;
  header.addressByte = settings.chip.address;
  header.fileName = request.fileName;
  header.charset = request.charset;
  header.nameLength = request.nameLength;
  return header;
}

PlanOutcome RunPlanJob(const PlanRequest& request, std::string list) {
  PlanOutcome outcome;
  const PlanSettings& settings = request.settings;
  if (WritesFirmware(request.format) && (!WholeHz(settings.rx.zf) || !WholeHz(settings.txZf))) {
    outcome.problem = PlanProblem::HeaderZf;
    return outcome;
  }
  outcome.list = ReadChannelList(list);
  std::string().swap(list);
  if (!outcome.list) {
    outcome.problem = PlanProblem::List;
    return outcome;
  }
  outcome.plan = MakePlan(outcome.list.channels, settings);
  if (!outcome.plan) {
    outcome.problem = PlanProblem::DividerLimit;
    const LimitHit& hit = *outcome.plan.limit;
    outcome.limitRaster = RasterReaching(hit.tx ? settings.Tx() : settings.rx, hit.mhz);
    return outcome;
  }
  if (!outcome.plan.offRaster.empty()) {
    outcome.fittingRaster = FittingRaster(outcome.list.channels, settings);
    if (!request.round) {
      outcome.problem = PlanProblem::OffRaster;
      return outcome;
    }
  }
  outcome.merged = FindMergedSides(outcome.plan);
  if (WritesFirmware(request.format)) CheckFirmware(outcome, request);
  if (WritesImage(request.format)) {
    outcome.image = BuildPlanImage(outcome.plan.channels, request.layout);
    if (!outcome.image) outcome.problem = PlanProblem::ImageTooLarge;
  }
  return outcome;
}

void WritePlan(const PlanOutcome& outcome, const PlanRequest& request, Sink& out) {
  const std::vector<PlannedChannel>& channels = outcome.plan.channels;
  switch (request.format) {
    case PlanFormat::Text:
      WritePlanText(channels, request.settings, out, outcome.merged);
      break;
    case PlanFormat::Csv:
      WritePlanCsv(channels, request.settings, out, request.csv);
      break;
    case PlanFormat::I2cTransfer:
      WritePlanI2cTransfer(channels, request.settings, out);
      break;
    case PlanFormat::Json:
      WritePlanJson(channels, request.settings, out);
      break;
    case PlanFormat::FirmwareHeader:
    case PlanFormat::ArduinoSketch: {
      StringSink inputs;
      PutInputsLine(inputs, request.settings.rx, request.settings.txZf);
      const FirmwareHeaderSettings header = HeaderSettings(request, inputs.Text());
      if (request.format == PlanFormat::FirmwareHeader) {
        WriteFirmwareHeader(channels, header, out);
      } else {
        WriteArduinoSketch(channels, header, out);
      }
      break;
    }
    case PlanFormat::IntelHex:
      WriteIntelHex(outcome.image.bytes, out);
      break;
    case PlanFormat::Bin: {
      const std::vector<std::uint8_t>& bytes = outcome.image.bytes;
      out.Put(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
      break;
    }
  }
}

}  // namespace channels
