// A channel plan: every channel of a radio's list with the settings the
// synthesizer gets to receive and to transmit on it. Channels off the raster
// and sides beyond the divider's limits are outcomes; the functions below put
// the channels they concern into words that every front end shares, and
// what to do with them is the caller's choice.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "channels/ChannelList.h"
#include "channels/ChipBus.h"
#include "channels/Row.h"
#include "channels/Sink.h"
#include "tuning/ChipWrite.h"

namespace channels {

/// One side (receive or transmit) of a channel as the synthesizer gets it.
/// Only the numbers are kept; their texts are made as they are written.
struct PlannedSide {
  double requestedMHz = 0.0;            // the list's frequency for this side
  std::int32_t n = 0;                   // divider ratio
  double vcoKHz = 0.0;                  // VCO as the window shows it
  double mhz = 0.0;                     // the frequency the rounded divider really gives
  std::array<std::uint8_t, 3> bytes{};  // DB0, DB1, DB2, charge-pump bit included

  /// mhz as written.
  std::string Mhz() const;
  /// mhz − requestedMHz in Hz, exact on the digits shown.
  std::string DiffHz() const;
  /// More than 1 Hz between the list's frequency and the grid's.
  bool OffRaster() const;
};

struct PlannedChannel {
  std::int64_t number = 0;
  std::string_view name;  // in the channel list, which outlives the plan
  PlannedSide rx;
  std::optional<PlannedSide> tx;  // none: the channel does not transmit
};

/// What a plan is made with.
struct PlanSettings {
  Setup rx;             // receiving: ZF, raster, band bits, charge-pump bit
  double txZf = 0.0;    // MHz; transmitting takes the same raster, band and CP
  bool rxOnly = false;  // leave every channel's TX out
  ChipTarget chip{};    // where each side's I²C write goes

  /// The transmit side's setup: rx with txZf.
  Setup Tx() const;
};

/// A side of a planned channel.
struct SideRef {
  std::size_t index = 0;  // into Plan::channels
  bool tx = false;
};

/// Channels whose list frequencies differ on one side but whose sides land on
/// the same channel of the grid there, as --round or a frequency less than
/// 1 Hz off the grid puts them.
struct MergedSides {
  bool tx = false;
  std::vector<std::size_t> channels;  // indices into Plan::channels, in number order
};

/// The first side whose divider lies beyond its limits.
struct LimitHit {
  std::int64_t number = 0;
  std::string_view name;
  bool tx = false;
  double mhz = 0.0;  // the frequency asked for
  RowResult result;
};

struct Plan {
  std::vector<PlannedChannel> channels;  // by channel number
  std::vector<SideRef> offRaster;        // sides more than 1 Hz off the raster
  std::optional<LimitHit> limit;         // with one, `channels` stops before it

  explicit operator bool() const { return !limit; }
};

/// The plan of `channels` (numbers unique, in any order), sorted by number.
/// A side off the raster is planned on the nearest channel of the grid and
/// listed in offRaster.
Plan MakePlan(const std::vector<Channel>& channels, const PlanSettings& settings);

/// The sides of `plan` that share a channel of the grid though their list
/// frequencies differ: RX sides with RX sides, TX with TX, RX first. One
/// frequency listed several times (other tones, as CHIRP lists hold them)
/// is not named.
std::vector<MergedSides> FindMergedSides(const Plan& plan);

/// The rasters other than the settings' own that a list could take, as
/// indices into RasterTab.
struct RasterFit {
  /// The coarsest on which every side of every channel lies, with every
  /// divider within its limits; none if there is no such raster.
  std::optional<int> index;
  /// Without `index`: the coarsest on whose grid every side lies but where
  /// some divider is beyond its limits; none where the sides lie off every
  /// grid.
  std::optional<int> beyondLimit;
};

/// The rasters `channels` would fit, as RasterFit says.
RasterFit FittingRaster(const std::vector<Channel>& channels, const PlanSettings& settings);

/// The coarsest raster (index into RasterTab) other than the setup's own on
/// which `mhz` gives a divider within 0 to 131071; none if there is none.
std::optional<int> RasterReaching(const Setup& setup, double mhz);

/// How a front end names its raster control in a hint: `name` before a
/// step ("--raster", "„Raster (kHz)“"), `none` where no step reaches
/// ("Raster (1, 10 oder 25 kHz)").
struct RasterControl {
  std::string name;
  std::string none;
};

/// "Hinweis: alle Kanäle passen zu --raster 10.", that only a raster whose
/// dividers are too large would fit, or that none of the three fits; no line
/// end.
std::string RasterFitHint(const RasterFit& fit, const RasterControl& control);

/// Which raster brings a side beyond the limit within it, or that none does,
/// as a line.
std::string RasterLimitHint(std::optional<int> rasterIndex, const RasterControl& control);

/// The core's words for the limit and the side: "Teilerverhältnis zu gross!
/// (max 131071)\nKanal 0 „L“: RX 131.072 MHz (N 131072)\n".
std::string LimitMessage(const LimitHit& hit);

/// One line for each side off the raster, with the channels on either side:
/// "  Kanal 0 „S12“: RX 145.6125 MHz, nächste Kanäle 145.6 und 145.625 MHz\n".
void PutOffRasterLines(const Plan& plan, const PlanSettings& settings, Sink& out);

/// One line for each group of merged sides, with the list's frequencies:
/// "  RX 145.6 MHz: Kanal 1 „A“ (145.6 MHz), Kanal 5 „S12“ (145.6125 MHz)\n".
void PutMergedLines(const Plan& plan, const std::vector<MergedSides>& merged, Sink& out);

/// One line for each side --round moves, with the list's frequency and the
/// grid's: "  Kanal 0 „S12“: RX 145.6125 MHz -> 145.6 MHz\n".
void PutRoundedLines(const Plan& plan, Sink& out);

}  // namespace channels
