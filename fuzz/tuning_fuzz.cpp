// Feeds arbitrary bytes through the text reader and the whole calculation:
// the input is split into RX text, ZF text, decimal and grouping separator.
//   build/fuzz/fuzz/tuning_fuzz -max_total_time=60
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tuning/DividerCalculation.h"
#include "tuning/NumberText.h"

namespace {

// Takes the part up to the next NUL byte (or the rest) off the front of `data`.
std::string_view NextField(std::string_view& data) {
  const std::size_t end = data.find('\0');
  const std::string_view field = data.substr(0, end);
  data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
  return field;
}

// Separators under which written text must read back: a decimal separator,
// two different ones, and neither holding a character a number is made of.
bool Distinct(const tuning::Separators& seps) {
  const auto plain = [](const std::string& s) {
    return s.find_first_of("0123456789+-eE \t") == std::string::npos;
  };
  const bool apart = seps.grouping.empty() || (!seps.decimal.starts_with(seps.grouping) &&
                                               !seps.grouping.starts_with(seps.decimal));
  return !seps.decimal.empty() && plain(seps.decimal) && plain(seps.grouping) && apart;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const std::string_view rxText = NextField(data);
  const std::string_view zfText = NextField(data);
  const tuning::Separators seps{std::string(NextField(data)), std::string(NextField(data))};

  const auto rx = tuning::TextToDouble(rxText, seps);
  const auto zf = tuning::TextToDouble(zfText, seps);
  if (rx.error != tuning::NumberError::None && rx.value != 0.0) std::abort();
  if (!rx || !zf) return 0;

  tuning::TuningState state;
  for (int index = 0; index < 3; ++index) {
    tuning::SelectRaster(state, index);
    const tuning::CalcOutcome out = tuning::Calculate(state, rx.value, zf.value, index != 1);
    // Success means a divider the chip has: 0 to 131071, never a negative one.
    if (out && (state.N < 0 || state.N > tuning::kMaxDivider ||
                (state.DB[0] & 1) != (index != 1 ? 1 : 0))) {
      std::abort();
    }
    if (out.error == tuning::TuningError::DividerNegative && state.N >= 0) std::abort();
    if (out.error == tuning::TuningError::None && Distinct(seps)) {
      // What the window would show reads back to the same value.
      const std::string shown = tuning::DoubleToText(out.rxMHz, seps);
      const auto back = tuning::TextToDouble(shown, seps);
      if (back && tuning::DoubleToText(back.value, seps) != shown) std::abort();
    }
  }
  return 0;
}
