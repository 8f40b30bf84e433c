#include "tuning/TuningState.h"

namespace tuning {

bool SelectRaster(TuningState& state, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= state.RasterTab.size()) return false;
  state.Raster = state.RasterTab[static_cast<std::size_t>(index)];
  return true;
}

}  // namespace tuning
