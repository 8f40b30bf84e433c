#include "channels/NumberOutput.h"

#include <array>
#include <charconv>
#include <cmath>

#include "tuning/NumberText.h"
#include "tuning/TuningState.h"

namespace channels {
namespace {

const tuning::Separators kPoint{".", ""};
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

}  // namespace

std::string_view ProgramVersion() {
  return TEILOMAT_VERSION;
}

void PutInt(Sink& out, std::int64_t value) {
  std::array<char, 24> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
  out.Put(std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())));
}

void PutHex(Sink& out, std::uint8_t value) {
  const char text[] = {'0', 'x', kHexDigits[value >> 4], kHexDigits[value & 15u]};
  out.Put(std::string_view(text, sizeof text));
}

char* WriteBinary(char* p, std::uint8_t value) {
  for (unsigned bit = 8; bit-- > 0;) *p++ = ((unsigned{value} >> bit) & 1u) != 0 ? '1' : '0';
  return p;
}

void PutBinary(Sink& out, std::uint8_t value) {
  std::array<char, 8> text{};
  WriteBinary(text.data(), value);
  out.Put(std::string_view(text.data(), text.size()));
}

void PutRight(Sink& out, std::string_view text, std::size_t width) {
  out.Put(' ');
  for (std::size_t i = text.size(); i < width; ++i) out.Put(' ');
  out.Put(text);
}

void PutRightInt(Sink& out, std::int64_t value, std::size_t width) {
  std::array<char, 24> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
  PutRight(out, std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())),
           width);
}

std::string Shown(double value) {
  // Whole numbers below 10^15 (every VCO in kHz) come out of DoubleToText as
  // their plain digits; writing them straight away keeps long tables fast.
  if (std::abs(value) < 1e15 && value == std::trunc(value)) {
    std::array<char, 24> buffer{};
    const auto whole = static_cast<std::int64_t>(value);
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), whole).ptr;
    return std::string(buffer.data(), end);
  }
  return tuning::DoubleToText(value, kPoint);
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::optional<std::string_view> BandName(std::uint8_t bandBits) {
  if (bandBits == tuning::kBandAm) return "AM";
  if (bandBits == tuning::kBandFm) return "FM";
  return std::nullopt;
}

}  // namespace channels
