// The page's channel-list view: a channel list and its settings in, the
// plan's table, its problems and its files out. The plan job is the channel
// library's, so the page writes the same bytes as `teilomat-cli plan`; the
// problems are put here in the words of the view's own fields ("Neben dem
// Raster runden", "Raster (kHz)"). The page's script only shows what these
// functions return.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <optional>
#include <string>
#include <string_view>

#include "channels/ChannelList.h"
#include "channels/Escape.h"
#include "channels/NumberInput.h"
#include "channels/PlanJob.h"
#include "channels/PlanWriters.h"
#include "channels/Settings.h"
#include "channels/Sink.h"

namespace {

using channels::PlanOutcome;
using channels::PlanProblem;
using channels::PlanRequest;
using channels::Quoted;
using emscripten::val;

// The request the view's fields make, or why there is none, in the fields'
// words. The numbers take "." or ",".
struct ViewRequest {
  std::optional<PlanRequest> request;
  std::string problem;
};

ViewRequest ReadView(const val& fields, std::string_view format) {
  channels::SettingsText text;
  text.zf = fields["zf"].as<std::string>();
  text.txZf = fields["txZf"].as<std::string>();
  text.raster = fields["raster"].as<std::string>();
  text.am = fields["am"].as<bool>();
  text.noCp = !fields["cp"].as<bool>();
  text.address = fields["address"].as<std::string>();
  const channels::Settings settings = channels::ReadSettings(text, true);
  switch (settings.error) {
    case channels::SettingsError::None:
      break;
    case channels::SettingsError::Zf:
    case channels::SettingsError::TxZf: {
      const bool tx = settings.error == channels::SettingsError::TxZf;
      return {std::nullopt, std::string(tx ? "TX-ZF (MHz): " : "ZF (MHz): ") +
                                Quoted(tx ? text.txZf : text.zf) + " " +
                                std::string(channels::Complaint(settings.numberError)) + "."};
    }
    case channels::SettingsError::Address:  // the view offers only the chip's two
    case channels::SettingsError::Bus:      // the view has no bus: it writes no i2ctransfer
      return {std::nullopt, "I²C-Adresse " + Quoted(text.address) + " gibt es nicht."};
    case channels::SettingsError::Raster:  // the view offers only the core's steps
      return {std::nullopt, "Raster (kHz): " + Quoted(text.raster) + " gibt es nicht."};
  }
  PlanRequest request;
  request.settings = {settings.rx, settings.txZf, fields["rxOnly"].as<bool>(), settings.chip};
  request.round = fields["round"].as<bool>();
  request.format = channels::PlanFormatByName(format).value_or(channels::PlanFormat::Json);
  request.prefix = fields["name"].as<std::string>();
  if (!channels::IsCIdentifier(request.prefix)) {
    return {std::nullopt, "Name im C-Header " + Quoted(request.prefix) + " ist kein C-Bezeichner."};
  }
  const std::string base = fields["base"].as<std::string>();
  const auto address =
      channels::ReadWhole(base, channels::kMaxImageSize, channels::LeadingZeros::Decimal);
  if (!address) {
    return {std::nullopt, "Basisadresse " + Quoted(base) +
                              " ist keine Adresse (dezimal oder 0x-hexadezimal, höchstens " +
                              std::to_string(channels::kMaxImageSize) + ")."};
  }
  request.layout.base = address.value;
  request.layout.rxOnly = request.settings.rxOnly;
  return {request, {}};
}

// "25 kHz", the request's raster.
std::string RasterText(const PlanRequest& request) {
  return std::to_string(request.settings.rx.Raster() / 1000) + " kHz";
}

// The raster hints in the view's words: its field's label.
const channels::RasterControl kRasterField{"„Raster (kHz)“", "„Raster (kHz)“"};

// What the view says of an outcome: how the list was read where that is not
// UTF-8, then its problem, or the sides it moved.
std::string Problems(const PlanOutcome& outcome, const PlanRequest& request) {
  channels::StringSink said;
  if (const std::string notice = channels::ListNotice(outcome.list); !notice.empty()) {
    said.Put(notice + "\n");
  }
  switch (outcome.problem) {
    case PlanProblem::None:
      if (!outcome.Moved().empty()) {
        said.Put("Neben dem Raster gerundet, auf das Raster von " + RasterText(request) + ":\n");
        channels::PutRoundedLines(outcome.plan, said);
        if (outcome.fittingRaster.index)
          said.Put(channels::RasterFitHint(outcome.fittingRaster, kRasterField) + "\n");
      }
      if (!outcome.merged.empty()) {
        said.Put("Verschiedene Frequenzen der Liste auf demselben Kanal des Rasters:\n");
        channels::PutMergedLines(outcome.plan, outcome.merged, said);
      }
      break;
    case PlanProblem::List:
      said.Put(channels::ListMessage(outcome.list));
      break;
    case PlanProblem::HeaderZf:
      said.Put("Die ZF ist zu groß für den C-Header.");
      break;
    case PlanProblem::DividerLimit:
      said.Put(channels::LimitMessage(*outcome.plan.limit));
      said.Put(channels::RasterLimitHint(outcome.limitRaster, kRasterField));
      break;
    case PlanProblem::OffRaster:
      said.Put("Nicht im Raster von " + RasterText(request) + " (mehr als 1 Hz daneben):\n");
      channels::PutOffRasterLines(outcome.plan, request.settings, said);
      said.Put(channels::RasterFitHint(outcome.fittingRaster, kRasterField) + "\n");
      said.Put(
          "Mit „Neben dem Raster runden“ werden sie auf den nächsten Kanal gelegt, die "
          "Abweichung steht dann in der Tabelle.");
      break;
    case PlanProblem::NulName:
      said.Put("Zeile " + std::to_string(outcome.nulName->line) + ": der Name von Kanal " +
               std::to_string(outcome.nulName->number) + " enthält ein NUL-Byte.");
      break;
    case PlanProblem::BeyondHz:
      said.Put("Kanal " + std::to_string(outcome.beyondHz->number) + ": " +
               (outcome.beyondHz->tx ? "TX" : "RX") +
               " liegt außerhalb von 0 bis 4294967295 Hz, mit denen die Firmware rechnet.");
      break;
    case PlanProblem::TableTooLarge:
      said.Put("Die Tabelle braucht " + std::to_string(outcome.tableBytes) + " Bytes.");
      break;
    case PlanProblem::ImageTooLarge:
      said.Put("Das Abbild braucht " + std::to_string(outcome.image.needed) + " Bytes, mehr als " +
               std::to_string(channels::kMaxImageSize) + ".");
      break;
  }
  return said.Text();
}

// The kind of an outcome's problem, for the page's script and its tests.
std::string_view KindOf(PlanProblem problem) {
  switch (problem) {
    case PlanProblem::None:
      break;
    case PlanProblem::List:
      return "list";
    case PlanProblem::HeaderZf:
      return "headerZf";
    case PlanProblem::DividerLimit:
      return "dividerLimit";
    case PlanProblem::OffRaster:
      return "offRaster";
    case PlanProblem::ImageTooLarge:
      return "imageTooLarge";
    case PlanProblem::NulName:
      return "nulName";
    case PlanProblem::BeyondHz:
      return "beyondHz";
    case PlanProblem::TableTooLarge:
      return "tableTooLarge";
  }
  return "";
}

/// The plan of the list `csv` (its bytes) with the view's `fields`:
/// {problems, kind, clean, plan}. problems is what the view says (empty for
/// a clean list without notes), kind the problem's kind ("" for none, else
/// "settings", "list", "dividerLimit", "offRaster", ...), clean whether the
/// files can be made. plan is the plan as far as it goes, as the plan's JSON
/// document ("" where the list could not be planned at all), for the page to
/// parse into values.
val PlanTable(const std::string& csv, const val& fields) {
  val result = val::object();
  const ViewRequest view = ReadView(fields, "json");
  if (!view.request) {
    result.set("problems", view.problem);
    result.set("kind", std::string("settings"));
    result.set("clean", false);
    result.set("plan", std::string());
    return result;
  }
  const PlanOutcome outcome = channels::RunPlanJob(*view.request, csv);
  channels::StringSink plan;
  if (outcome.problem != PlanProblem::List && outcome.problem != PlanProblem::HeaderZf) {
    channels::WritePlanJson(outcome.plan.channels, view.request->settings, plan);
  }
  result.set("problems", Problems(outcome, *view.request));
  result.set("kind", std::string(KindOf(outcome.problem)));
  result.set("clean", static_cast<bool>(outcome));
  result.set("plan", plan.Text());
  return result;
}

/// The file `format` ("c", "arduino", "ihex", "bin", "csv", "csv-de" or
/// "json") of the plan, to be saved as `fileName` (which a C header's include
/// line names), as bytes; empty where there is a problem. "csv-de" is the CSV
/// for a spreadsheet in a German locale, as `--csv de` writes it.
val PlanFile(const std::string& csv, const val& fields, const std::string& format,
             const std::string& fileName) {
  const bool german = format == "csv-de";
  ViewRequest view = ReadView(fields, german ? "csv" : format);
  channels::StringSink out;
  if (view.request) {
    if (german) view.request->csv = channels::kGermanCsv;
    view.request->fileName = fileName;
    const PlanOutcome outcome = channels::RunPlanJob(*view.request, csv);
    if (outcome) channels::WritePlan(outcome, *view.request, out);
  }
  const std::string& bytes = out.Text();
  return val::global("Uint8Array")
      .new_(emscripten::typed_memory_view(bytes.size(),
                                          reinterpret_cast<const std::uint8_t*>(bytes.data())));
}

/// Why the file `name` of `bytes` bytes is not taken in, as it is larger
/// than any list the plan reads; "" for one it reads. The page asks before
/// it takes the file in.
std::string ListSizeProblem(const std::string& name, double bytes) {
  if (bytes <= static_cast<double>(channels::kMaxListBytes)) return {};
  return "Die Kanalliste " + Quoted(name) + " ist größer als " +
         std::to_string(channels::kMaxListBytes / (1024 * 1024)) + " MiB.";
}

}  // namespace

EMSCRIPTEN_BINDINGS(plan_view) {
  emscripten::function("planTable", &PlanTable);
  emscripten::function("planFile", &PlanFile);
  emscripten::function("listSizeProblem", &ListSizeProblem);
}
