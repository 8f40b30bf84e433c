// A channel plan as a single C header for a firmware, small microcontrollers
// included: declarations by default, the table and its lookup once, in the
// one file that asks for them; on AVR the table stays in flash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "channels/ChannelList.h"
#include "channels/NameCharset.h"
#include "channels/Plan.h"
#include "channels/Sink.h"
#include "tuning/ChipWrite.h"

namespace channels {

/// The longest name a header holds in bytes: C99 compilers need to take
/// string literals of no more than 4095 characters.
inline constexpr std::size_t kMaxHeaderName = 4095;

/// What a header says besides its channels.
struct FirmwareHeaderSettings {
  std::string_view prefix = "teilomat";  // of every identifier; a C identifier
  std::string_view inputs;               // the settings as a line for people
  std::int64_t zfHz = 0;                 // receive side
  std::int64_t txZfHz = 0;               // transmit side
  std::int32_t rasterHz = 25000;
  std::uint8_t bandBits = 32;
  bool chargePump = true;
  bool names = true;                                // false: the struct has no name member
  std::uint8_t addressByte = tuning::kChipAddress;  // the chip's, 0xC4 or 0xC6
  std::string_view fileName = {};  // for the include line, see IncludeName; empty: {p}_plan.h
  NameCharset charset = NameCharset::Utf8;  // of the names in the table
  std::size_t nameLength = kMaxHeaderName;  // the longest name kept, in bytes of charset
};

/// An AVR's flash holds the table without padding: number 2 bytes, rx 3, tx
/// 3, transmits 1, then the name's bytes.
inline constexpr std::size_t kAvrEntryBytes = 9;
/// The largest object avr-gcc takes, whatever the chip's flash.
inline constexpr std::size_t kAvrMaxObject = 32767;

/// `mhz` in whole Hz, rounded, or nothing where it does not fit 63 bits.
std::optional<std::int64_t> WholeHz(double mhz);

/// The first `bytes` bytes of `name`, or fewer: in Utf8 no character is cut
/// in two. A name that is cut loses its trailing blanks.
std::string_view CutName(std::string_view name, std::size_t bytes,
                         NameCharset charset = NameCharset::Utf8);

/// A channel's name as a header holds it: in the charset, cut to the length.
struct HeaderName {
  std::string text;
  bool cut = false;  // longer than the length in the charset
};
HeaderName MakeHeaderName(std::string_view name, NameCharset charset, std::size_t length);

/// The first channel whose name holds a NUL byte, which would end its C
/// string early; nullptr if none does.
const Channel* FirstNulName(const std::vector<Channel>& channels);

/// The frequency a side's bytes give in whole Hz: N × raster − the side's ZF.
std::int64_t SideHz(const PlannedSide& side, bool tx, const FirmwareHeaderSettings& settings);

/// A side whose frequency a firmware cannot hold in 32 unsigned bits.
struct SideBeyondHz {
  std::int64_t number = 0;  // the channel's
  bool tx = false;
  std::int64_t hz = 0;
};
/// The first side, in the plan's order and RX before TX, whose frequency in
/// Hz lies below 0 or above 4294967295; none if every one fits.
std::optional<SideBeyondHz> FirstSideBeyondHz(const std::vector<PlannedChannel>& plan,
                                              const FirmwareHeaderSettings& settings);

/// The bytes of each name in the table, with its terminating 0: the longest
/// name's and one; 0 without names.
std::size_t HeaderNameSize(const std::vector<PlannedChannel>& plan,
                           const FirmwareHeaderSettings& settings);

/// The table's size in an AVR's flash: entries × (kAvrEntryBytes + nameSize).
std::uint64_t TableBytes(std::size_t entries, std::size_t nameSize);

/// What a table of `entries` channels can keep within a budget of bytes.
struct TableFit {
  enum class Kind { Names, NoNames, Nothing };
  Kind kind = Kind::Nothing;
  std::size_t nameLength = 0;  // with Names: the longest name length that fits, ≥ 1
};
/// The table that fits `budget` bytes: names of up to `longestName` bytes
/// (the longest a name needs), or the largest length from 1 up that fits;
/// else no names; else nothing.
TableFit FitTable(std::size_t entries, std::size_t longestName, std::uint64_t budget);

/// The name a header's include line gives for the file at `path`: the name
/// without folders where it is a plain file name (letters, digits, ".", "_",
/// "-", "+"), else, and for "-" or an empty path, PREFIX_plan.h.
std::string IncludeName(std::string_view path, std::string_view prefix);

/// `text` with {p} standing for `prefix` and {P} for it in capitals, as in
/// the header's own fixed texts.
void PutPrefixed(Sink& out, std::string_view text, std::string_view prefix);

/// Writes the header for `plan`, which holds at least one channel (C has no
/// empty array), in the order of their numbers, each number from 0 to 65535
/// once, and whose names are no longer
/// than kMaxHeaderName, holds no NUL (FirstNulName) and no side beyond
/// 32 bits in Hz (FirstSideBeyondHz). Names are written in the settings'
/// charset, cut to their length. Only numbers go into comments: a name could
/// end one.
void WriteFirmwareHeader(const std::vector<PlannedChannel>& plan,
                         const FirmwareHeaderSettings& settings, Sink& out);

}  // namespace channels
