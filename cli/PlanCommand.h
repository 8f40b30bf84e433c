// teilomat-cli plan: a radio's whole channel list, each channel's receive and
// transmit setting, as text, CSV, JSON, a C header or an EEPROM image. The
// plan job is the channel library's; here its request is read from the
// options, its problems are put in the options' words, and files are read
// and written.
#pragma once

#include <string>
#include <vector>

#include "channels/Settings.h"
#include "channels/Sink.h"
#include "cli/Files.h"

namespace cli {

/// The plan command's line as typed: every value is still text.
struct PlanArguments {
  std::string input = "-";          // the channel list; "-" standard input
  std::string output;               // -o: the file to write; empty: standard output
  channels::SettingsText settings;  // ZF, TX-ZF, raster, band bits, charge-pump bit
  bool round = false;               // take channels off the raster, pulled onto it
  std::string format = "text";
  std::string csv;                // --csv: plain or de; empty: not given
  std::string name = "teilomat";  // prefix of the identifiers in a C header
  std::string nameLength;         // C header: names cut to this many bytes; empty: whole
  bool noNames = false;           // C header: no names at all
  std::string nameCharset;        // C header: utf8, ascii or hd44780; empty: utf8
  std::string maxTable;           // C header: the table's largest size in bytes; empty: any
  std::string base = "0";         // image: address of channel 0
  std::string size;               // image: its size; empty: up to the last channel
  std::string fill = "0xFF";      // image: the byte in every gap
  bool rxOnly = false;            // no TX: 3 bytes a channel in an image
  // The image options typed ("--base", "--size", "--fill"), refused for a
  // format that writes no image.
  std::vector<std::string> imageOptions;
};

/// Why the list `path` could not be read: "Die Kanalliste „k.csv“ ist größer
/// als 64 MiB."
std::string InputMessage(const std::string& path, InputProblem problem);

/// Runs plan on the list `input`: results to `out`, messages to `err`.
/// Returns the exit status; on any error nothing is written to `out`. The
/// notes on a plan written (sides moved or merged, names cut) go to `notes`
/// where given, else to `err`, once `out` is flushed; a run that fails says
/// its error alone. The text is let go of as soon as it is read, so a long
/// list is not held twice.
int RunPlan(const PlanArguments& args, std::string input, channels::Sink& out, channels::Sink& err,
            channels::StringSink* notes = nullptr);

/// Runs plan as the program does: reads args.input, writes to `out` or, with
/// args.output, to that file, which appears whole or not at all.
int RunPlanCommand(const PlanArguments& args, channels::Sink& out, channels::Sink& err);

}  // namespace cli
