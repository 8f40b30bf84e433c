#include "channels/Plan.h"

#include "channels/RowWriter.h"

namespace channels {

std::string PlannedSide::Mhz() const {
  return Shown(row.rxMHz);
}

std::string PlannedSide::DiffHz() const {
  if (row.requestedMHz == row.rxMHz) return "0";
  return DifferenceHz(Shown(row.requestedMHz), Shown(row.rxMHz));
}

}  // namespace channels
