// A channel plan as a single C header for a firmware, small microcontrollers
// included: declarations by default, the table and its lookup once, in the
// one file that asks for them; on AVR the table stays in flash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "channels/Plan.h"
#include "channels/Sink.h"

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
  bool names = true;  // false: the struct has no name member
};

/// `mhz` in whole Hz, rounded, or nothing where it does not fit 63 bits.
std::optional<std::int64_t> WholeHz(double mhz);

/// The first `bytes` bytes of the UTF-8 text `name`, or fewer, so that no
/// character is cut in two.
std::string_view CutName(std::string_view name, std::size_t bytes);

/// Writes the header for `plan`, which holds at least one channel (C has no
/// empty array), in the order of their numbers, each number from 0 to 65535
/// once, and whose names are no longer
/// than kMaxHeaderName. Only numbers go into comments: a name could end one.
void WriteFirmwareHeader(const std::vector<PlannedChannel>& plan,
                         const FirmwareHeaderSettings& settings, Sink& out);

}  // namespace channels
