// teilomat-cli plan: a radio's whole channel list, each channel's receive and
// transmit setting, as text, CSV, JSON, a C header or an EEPROM image.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "channels/EepromImage.h"
#include "channels/FirmwareHeader.h"
#include "channels/Plan.h"
#include "channels/Sink.h"
#include "cli/Files.h"

namespace cli {

/// The plan command's line as typed: every value is still text.
struct PlanArguments {
  std::string input = "-";    // the channel list; "-" standard input
  std::string output;         // -o: the file to write; empty: standard output
  std::string zf = "10.7";    // MHz, for receiving
  std::string txZf = "0";     // MHz, for transmitting: 0 puts the VCO on the transmit frequency
  std::string raster = "25";  // kHz: 1, 10 or 25
  bool am = false;            // band bits 16 instead of 32
  bool noCp = false;          // charge-pump bit 0 instead of 1
  bool round = false;         // take channels off the raster, pulled onto it
  std::string format = "text";
  std::string name = "teilomat";  // prefix of the identifiers in a C header
  std::string nameLength;         // C header: names cut to this many bytes; empty: whole
  bool noNames = false;           // C header: no names at all
  std::string base = "0";         // image: address of channel 0
  std::string size;               // image: its size; empty: up to the last channel
  std::string fill = "0xFF";      // image: the byte in every gap
  bool rxOnly = false;            // no TX: 3 bytes a channel in an image
  // The image options typed ("--base", "--size", "--fill"), refused for a
  // format that writes no image.
  std::vector<std::string> imageOptions;
};

enum class PlanFormat { Text, Csv, Json, FirmwareHeader, IntelHex, Bin };

/// The plan command's settings, read from its arguments.
struct PlanConfig {
  channels::PlanSettings settings;
  PlanFormat format = PlanFormat::Text;
  channels::ImageLayout layout;
  std::size_t nameLength = channels::kMaxHeaderName;  // C header: the longest name in bytes
};

/// The settings of `args`, or nothing with the reason on `err` (as RunPlan
/// says it). The page reads its settings here, as the command does.
std::optional<PlanConfig> ReadPlanConfig(const PlanArguments& args, channels::Sink& err);

/// Why the list `path` could not be read: "Die Kanalliste „k.csv“ ist größer
/// als 64 MiB."
std::string InputMessage(const std::string& path, InputProblem problem);

/// Runs plan on the list `input`: results to `out`, messages to `err`.
/// Returns the exit status; on any error nothing is written to `out`. The
/// text is let go of as soon as it is read, so a long list is not held twice.
/// `seePlan`, where given, is shown the plan as soon as it is made, also one
/// that ends in an error (its names point into the list, which lives only
/// for the call).
int RunPlan(const PlanArguments& args, std::string input, channels::Sink& out, channels::Sink& err,
            const std::function<void(const channels::Plan&)>& seePlan = {});

/// Runs plan as the program does: reads args.input, writes to `out` or, with
/// args.output, to that file, which appears whole or not at all.
int RunPlanCommand(const PlanArguments& args, channels::Sink& out, channels::Sink& err);

}  // namespace cli
