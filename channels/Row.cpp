#include "channels/Row.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "channels/Decimal.h"
#include "tuning/DataByteEncoder.h"

namespace channels {

tuning::TuningState Setup::State() const {
  tuning::TuningState state;
  tuning::SelectRaster(state, rasterIndex);
  state.AmFm = band;
  state.zf = zf;
  return state;
}

RowResult CalcRow(const Setup& setup, double rxMHz) {
  tuning::TuningState state = setup.State();
  const tuning::CalcOutcome outcome = tuning::Calculate(state, rxMHz, setup.zf, setup.chargePump);
  RowResult result;
  result.error = outcome.error;
  result.limit = outcome.limit;
  result.n = state.N;
  if (outcome) result.row = {rxMHz, state.N, outcome.vcoKHz, outcome.rxMHz, state.DB};
  return result;
}

double ChannelRxMHz(std::int16_t raster, std::int32_t n, double zf) {
  // The same steps as the end of a calculation: the VCO field's value, then RX.
  return tuning::VcoKHz(raster, n) / 1000.0 - zf;
}

Row ChannelRow(const Setup& setup, std::int32_t n) {
  tuning::TuningState state = setup.State();
  state.N = n;
  tuning::MakeDataBytes(state);
  if (setup.chargePump) state.DB[0] |= 1u;
  const double vco = tuning::VcoKHz(state.Raster, n);
  const double rx = ChannelRxMHz(state.Raster, n, setup.zf);
  return {rx, n, vco, rx, state.DB};
}

std::string DifferenceHz(std::string_view fromText, std::string_view toText) {
  std::optional<Decimal> to = ParseDecimal(toText);
  std::optional<Decimal> from = ParseDecimal(fromText);
  if (!to || !from) return "?";
  from->negative = !from->negative;  // to + (−from)
  Decimal hz = Add(std::move(*to), std::move(*from));
  hz.exponent += 6;  // MHz to Hz
  return DecimalText(std::move(hz));
}

}  // namespace channels
