// The page's channel-list view: a channel list and its settings in, the
// plan's table, its problems and its files out. The files and the problems
// come from the plan command itself (cli::RunPlan), so the page writes the
// same bytes and says the same words as `teilomat-cli plan`; the page's
// script only shows what these functions return.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <string_view>
#include <utility>

#include "channels/Plan.h"
#include "channels/Sink.h"
#include "cli/Commands.h"
#include "cli/PlanCommand.h"

namespace {

using emscripten::val;

// The settings as the view holds them, in the command's words: every
// number still text ("." or "," as the decimal separator).
cli::PlanArguments Arguments(const val& settings, std::string format) {
  cli::PlanArguments args;
  args.zf = settings["zf"].as<std::string>();
  args.txZf = settings["txZf"].as<std::string>();
  args.raster = settings["raster"].as<std::string>();
  args.am = settings["am"].as<bool>();
  args.noCp = !settings["cp"].as<bool>();
  args.round = settings["round"].as<bool>();
  args.name = settings["name"].as<std::string>();
  args.base = settings["base"].as<std::string>();
  args.rxOnly = settings["rxOnly"].as<bool>();
  args.format = std::move(format);
  return args;
}

// The command's messages without its pointer to its own help, which means
// nothing in the page.
std::string WithoutHelpLine(std::string_view text) {
  constexpr std::string_view kHelp = "Hilfe: teilomat-cli";
  std::string kept;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end == std::string_view::npos ? end : end + 1);
    if (!line.starts_with(kHelp)) kept += line;
    text.remove_prefix(line.size());
  }
  return kept;
}

// One side's cells after a ",": N, DB0, DB1, DB2 and the deviation in Hz
// (empty for none); all empty for a side that is not there.
void PutSide(std::string& cells, const channels::PlannedSide* side) {
  if (side == nullptr) {
    cells += ",,,,,";
    return;
  }
  cells += ',' + std::to_string(side->row.n);
  for (const std::uint8_t byte : side->row.bytes) cells += ',' + std::to_string(byte);
  const std::string diff = side->DiffHz();
  cells += ',';
  if (diff != "0") cells += diff;
}

/// The plan of the list `csv` (its bytes) with `settings`: {problems, clean,
/// names, numbers}. problems is what the command says on its error stream
/// (empty for a clean list), clean whether it would write its files. The
/// table, as far as the plan goes: names holds each channel's name, numbers
/// a line for each channel (numbers hold no "," or line end, names may):
/// number, RX and TX in MHz, then N, DB0, DB1, DB2 and the deviation in Hz
/// for RX, then for TX, split by ",".
val PlanTable(const std::string& csv, const val& settings) {
  const cli::PlanArguments args = Arguments(settings, "csv");
  channels::StringSink out;
  channels::StringSink err;
  // The table, also for a list with problems, as far as the plan goes.
  val names = val::array();
  std::string numbers;
  const int status = cli::RunPlan(args, csv, out, err, [&](const channels::Plan& plan) {
    for (const channels::PlannedChannel& channel : plan.channels) {
      names.call<void>("push", std::string(channel.name));
      numbers += std::to_string(channel.number) + ',' + channel.rx.Mhz() + ',' +
                 (channel.tx ? channel.tx->Mhz() : std::string());
      PutSide(numbers, &channel.rx);
      PutSide(numbers, channel.tx ? &*channel.tx : nullptr);
      numbers += '\n';
    }
  });
  val result = val::object();
  result.set("problems", WithoutHelpLine(err.Text()));
  result.set("clean", status == cli::kExitOk);
  result.set("names", names);
  result.set("numbers", numbers);
  return result;
}

/// The file `format` ("c", "ihex", "bin", "csv" or "json") that the command
/// writes for the list and settings, as bytes; empty where it writes none.
val PlanFile(const std::string& csv, const val& settings, const std::string& format) {
  channels::StringSink out;
  channels::StringSink err;
  if (cli::RunPlan(Arguments(settings, format), csv, out, err) != cli::kExitOk) {
    return val::global("Uint8Array").new_(0);
  }
  const std::string& bytes = out.Text();
  return val::global("Uint8Array")
      .new_(emscripten::typed_memory_view(bytes.size(),
                                          reinterpret_cast<const std::uint8_t*>(bytes.data())));
}

/// The command's message for a file `name` of `bytes` bytes that it would
/// not read, as it is too large; "" for one it reads. The page asks before
/// it takes the file in.
std::string ListSizeProblem(const std::string& name, double bytes) {
  if (bytes <= static_cast<double>(cli::kMaxInputSize)) return {};
  return cli::InputMessage(name, cli::InputProblem::TooLarge);
}

}  // namespace

EMSCRIPTEN_BINDINGS(plan_view) {
  emscripten::function("planTable", &PlanTable);
  emscripten::function("planFile", &PlanFile);
  emscripten::function("listSizeProblem", &ListSizeProblem);
}
