#include "channels/PlanJob.h"

#include <array>
#include <utility>

#include "channels/PlanWriters.h"
#include "channels/Settings.h"

namespace channels {
namespace {

// Cuts every name to request.nameLength bytes and keeps what was cut.
void CutNames(Plan& plan, const PlanRequest& request, std::vector<ShortenedName>& cut) {
  if (!request.names) return;
  for (PlannedChannel& channel : plan.channels) {
    const std::string_view name = CutName(channel.name, request.nameLength);
    if (name.size() == channel.name.size()) continue;
    cut.push_back({channel.number, name, channel.name.size()});
    channel.name = name;
  }
}

void WriteHeader(const PlanOutcome& outcome, const PlanRequest& request, Sink& out) {
  const PlanSettings& settings = request.settings;
  StringSink inputs;
  PutInputsLine(inputs, settings.rx, settings.txZf);
  const FirmwareHeaderSettings header{
      request.prefix,       inputs.Text(),    *WholeHz(settings.rx.zf), *WholeHz(settings.txZf),
      settings.rx.Raster(), settings.rx.band, settings.rx.chargePump,   request.names};
  WriteFirmwareHeader(outcome.plan.channels, header, out);
}

}  // namespace

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

bool WritesImage(PlanFormat format) {
  return format == PlanFormat::IntelHex || format == PlanFormat::Bin;
}

PlanOutcome RunPlanJob(const PlanRequest& request, std::string list) {
  PlanOutcome outcome;
  const PlanSettings& settings = request.settings;
  if (request.format == PlanFormat::FirmwareHeader &&
      (!WholeHz(settings.rx.zf) || !WholeHz(settings.txZf))) {
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
  if (request.format == PlanFormat::FirmwareHeader) {
    CutNames(outcome.plan, request, outcome.cutNames);
  }
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
      WritePlanText(channels, request.settings, out);
      break;
    case PlanFormat::Csv:
      WritePlanCsv(channels, out);
      break;
    case PlanFormat::Json:
      WritePlanJson(channels, request.settings, out);
      break;
    case PlanFormat::FirmwareHeader:
      WriteHeader(outcome, request, out);
      break;
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
