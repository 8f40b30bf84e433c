// A channel plan: every channel of a radio's list with the settings the
// synthesizer gets to receive and to transmit on it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "channels/Row.h"

namespace channels {

/// One side (receive or transmit) of a channel as the synthesizer gets it:
/// requestedMHz from the list, rxMHz the frequency N really gives. Only the
/// numbers are kept; their texts are made as they are written.
struct PlannedSide {
  Row row;

  /// row.rxMHz as written.
  std::string Mhz() const;
  /// row.rxMHz − row.requestedMHz in Hz, exact on the digits shown.
  std::string DiffHz() const;
};

struct PlannedChannel {
  std::int64_t number = 0;
  std::string_view name;  // in the channel list, which outlives the plan
  PlannedSide rx;
  std::optional<PlannedSide> tx;  // none: the channel does not transmit
};

}  // namespace channels
