#include "channels/Settings.h"

#include "channels/Escape.h"
#include "channels/NumberInput.h"
#include "channels/NumberOutput.h"
#include "tuning/TuningState.h"

namespace channels {

Settings ReadSettings(const SettingsText& text, bool withTxZf) {
  Settings settings;
  const tuning::NumberResult<double> zf = ReadNumber(text.zf);
  if (!zf) {
    settings.error = SettingsError::Zf;
    settings.numberError = zf.error;
    return settings;
  }
  settings.rx.zf = zf.value;
  if (withTxZf) {
    const tuning::NumberResult<double> txZf = ReadNumber(text.txZf);
    if (!txZf) {
      settings.error = SettingsError::TxZf;
      settings.numberError = txZf.error;
      return settings;
    }
    settings.txZf = txZf.value;
  }
  const std::optional<int> raster = RasterIndexOfKHz(text.raster);
  if (!raster) {
    settings.error = SettingsError::Raster;
    return settings;
  }
  settings.rx.rasterIndex = *raster;
  settings.rx.band = text.am ? tuning::kBandAm : tuning::kBandFm;
  settings.rx.chargePump = !text.noCp;
  const std::optional<std::uint8_t> address = ReadChipAddress(text.address);
  if (!address) {
    settings.error = SettingsError::Address;
    return settings;
  }
  settings.chip.address = *address;
  if (!text.bus.empty()) {
    const std::optional<unsigned> bus = ReadBusNumber(text.bus);
    if (!bus) {
      settings.error = SettingsError::Bus;
      return settings;
    }
    settings.chip.bus = *bus;
  }
  return settings;
}

std::optional<int> RasterIndexOfKHz(std::string_view kHz) {
  const tuning::TuningState state;
  for (std::size_t i = 0; i < state.RasterTab.size(); ++i) {
    if (kHz == std::to_string(state.RasterTab[i] / 1000)) return static_cast<int>(i);
  }
  return std::nullopt;
}

int RasterKHz(int index) {
  const tuning::TuningState state;
  return state.RasterTab[static_cast<std::size_t>(index)] / 1000;
}

std::string RasterChoices() {
  const tuning::TuningState state;
  std::string choices;
  for (std::size_t i = 0; i < state.RasterTab.size(); ++i) {
    if (i > 0) choices += i + 1 == state.RasterTab.size() ? " oder " : ", ";
    choices += std::to_string(state.RasterTab[i] / 1000);
  }
  return choices;
}

void PutInputsLine(Sink& out, const Setup& setup, std::optional<double> txZf) {
  out.Put("ZF ");
  out.Put(Shown(setup.zf));
  if (txZf) {
    out.Put(" MHz, TX-ZF ");
    out.Put(Shown(*txZf));
  }
  out.Put(" MHz, Raster ");
  PutInt(out, setup.Raster() / 1000);
  out.Put(" kHz, Band ");
  out.Put(BandName(setup.band).value_or("?"));
  out.Put(" (");
  PutInt(out, setup.band);
  out.Put("), CP ");
  out.Put(setup.chargePump ? '1' : '0');
}

void PutInputsJson(Sink& out, const Setup& setup, std::optional<double> txZf) {
  out.Put("  \"zf_mhz\": ");
  out.Put(Shown(setup.zf));
  if (txZf) {
    out.Put(",\n  \"tx_zf_mhz\": ");
    out.Put(Shown(*txZf));
  }
  out.Put(",\n  \"raster_khz\": ");
  PutInt(out, setup.Raster() / 1000);
  out.Put(",\n  \"band\": ");
  PutJsonString(out, BandName(setup.band).value_or("?"));
  out.Put(",\n  \"band_bits\": ");
  PutInt(out, setup.band);
  out.Put(",\n  \"charge_pump\": ");
  out.Put(setup.chargePump ? '1' : '0');
}

void PutJsonOpening(Sink& out, std::string_view command) {
  out.Put("{\n  \"program\": \"teilomat-cli\",\n  \"version\": ");
  PutJsonString(out, ProgramVersion());
  out.Put(",\n  \"command\": ");
  PutJsonString(out, command);
}

}  // namespace channels
