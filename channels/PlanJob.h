// The whole plan job, for every front end, and the library's main header.
//
// How a list flows: the list's text (CSV bytes) is read into a ChannelList
// (ChannelList, over Csv and NumberInput); MakePlan (Plan) works out both
// sides of every channel through the core (Row, tuning/); RunPlanJob checks
// the plan against the request (divider limits, the raster, the image's
// size) and gives a PlanOutcome: the plan, the sides moved onto the raster,
// the raster that would fit, the names cut, and the one problem that stops
// the output, as a value; WritePlan hands the outcome to the format's writer
// (PlanWriters, FirmwareHeader, EepromImage), which puts it into a Sink: a
// file for the command line, a string for the page. Nothing here knows a
// command line or a page: each front end words the problem itself, and the
// writers' numbers come from NumberOutput, their escaping from Escape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "channels/ChannelList.h"
#include "channels/CsvDialect.h"
#include "channels/EepromImage.h"
#include "channels/FirmwareHeader.h"
#include "channels/NameCharset.h"
#include "channels/Plan.h"
#include "channels/Sink.h"

namespace channels {

/// What a plan is written as.
enum class PlanFormat {
  Text,            // a table for people
  Csv,             // a row a channel
  Json,            // one document
  FirmwareHeader,  // a C header with the table and its lookup
  ArduinoSketch,   // the same header in an Arduino sketch that tunes the chip
  IntelHex,        // an EEPROM image as Intel HEX
  Bin,             // the same image as raw bytes
  I2cTransfer,     // a shell script of i2c-tools' commands, a write a side
};

/// The format called `name` ("text", "csv", "json", "c", "arduino", "ihex",
/// "bin", "i2ctransfer"), or nothing.
std::optional<PlanFormat> PlanFormatByName(std::string_view name);

/// True for the formats that write an EEPROM image.
bool WritesImage(PlanFormat format);
/// True for the formats that hold the firmware's table: the C header and the sketch.
bool WritesFirmware(PlanFormat format);

struct PlanRequest {
  PlanSettings settings;
  bool round = false;  // take sides off the raster, pulled onto its nearest channel
  PlanFormat format = PlanFormat::Text;
  CsvDialect csv;                           // Csv
  ImageLayout layout;                       // IntelHex and Bin
  std::string prefix = "teilomat";          // FirmwareHeader: of every identifier
  std::size_t nameLength = kMaxHeaderName;  // FirmwareHeader: names cut to this many bytes
  bool names = true;                        // FirmwareHeader: false, no names at all
  // The firmware's formats, FirmwareHeader and ArduinoSketch:
  NameCharset charset = NameCharset::Utf8;  // of the names in the table
  std::optional<std::uint64_t> maxTable;    // the table's largest size in flash, in bytes
  std::string fileName;                     // the file written, for the include line
};

/// What stops a plan from being written.
enum class PlanProblem {
  None,
  List,           // the list could not be read: PlanOutcome::list says why
  HeaderZf,       // FirmwareHeader: a ZF does not fit whole Hz in 63 bits
  DividerLimit,   // a side lies beyond the divider's limits: Plan::limit
  OffRaster,      // sides off the raster (Plan::offRaster) and no `round`
  ImageTooLarge,  // the image needs more than the layout allows: PlanOutcome::image
  NulName,        // firmware: a name holds a NUL byte: PlanOutcome::nulName
  BeyondHz,       // firmware: a side's Hz do not fit 32 unsigned bits: PlanOutcome::beyondHz
  TableTooLarge,  // firmware: tableBytes above maxTable; PlanOutcome::fit says what fits
};

/// A name the header holds shorter than the list does.
struct ShortenedName {
  std::int64_t number = 0;
  std::string name;             // as the header holds it, in its charset
  std::size_t bytesBefore = 0;  // the list's name's length
};

/// Moved, never copied: the plan's names point into the list's channels, which
/// a move leaves where they are.
struct PlanOutcome {
  PlanOutcome() = default;
  PlanOutcome(PlanOutcome&&) = default;
  PlanOutcome& operator=(PlanOutcome&&) = default;
  PlanOutcome(const PlanOutcome&) = delete;
  PlanOutcome& operator=(const PlanOutcome&) = delete;

  PlanProblem problem = PlanProblem::None;
  ChannelList list;  // the plan's names point into its channels
  Plan plan;         // as far as it goes: with a divider beyond its limit, up to that side
  /// Where sides lie off the raster: the rasters the list would fit.
  RasterFit fittingRaster;
  /// Where a divider is beyond its limits: the coarsest other raster on which
  /// that side's divider lies within them (index into RasterTab), if any.
  std::optional<int> limitRaster;
  std::vector<MergedSides> merged;      // sides `round` put together, RX first
  std::vector<ShortenedName> cutNames;  // FirmwareHeader
  Image image;                          // IntelHex and Bin
  // The firmware's formats:
  const Channel* nulName = nullptr;  // in `list`
  std::optional<SideBeyondHz> beyondHz;
  std::uint64_t tableBytes = 0;  // the table in an AVR's flash
  TableFit fit;                  // with TableTooLarge: what would fit maxTable

  explicit operator bool() const { return problem == PlanProblem::None; }
  /// The sides `round` moved onto the raster.
  const std::vector<SideRef>& Moved() const { return plan.offRaster; }
};

/// Reads `list` (a CSV channel list's bytes, let go of once read) and plans
/// it as `request` asks.
PlanOutcome RunPlanJob(const PlanRequest& request, std::string list);

/// What the firmware's formats say besides the channels, for `request`.
FirmwareHeaderSettings HeaderSettings(const PlanRequest& request, std::string_view inputs);

/// Writes an outcome without a problem in the request's format.
void WritePlan(const PlanOutcome& outcome, const PlanRequest& request, Sink& out);

}  // namespace channels
