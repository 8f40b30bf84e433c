#include "channels/ChipBus.h"

#include <algorithm>
#include <charconv>

#include "channels/Escape.h"

namespace channels {
namespace {

constexpr std::string_view kUpperHex = "0123456789ABCDEF";
constexpr std::string_view kLowerHex = "0123456789abcdef";

// "0x" and two hex digits of `digits`.
void PutPrefixedHex(Sink& out, std::uint8_t value, std::string_view digits) {
  const char text[] = {'0', 'x', digits[value >> 4], digits[value & 15u]};
  out.Put(std::string_view(text, sizeof text));
}

bool IsCommentSafe(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
         c == '-' || c == '_' || c == '.' || c == ',';
}

}  // namespace

const std::string_view kAddressChoices =
    "0xC4 (7 Bit 0x62) oder 0xC6 (7 Bit 0x63), je nachdem, ob der Adresswahl-Eingang des TSA6057 "
    "gesetzt ist.";

std::optional<std::uint8_t> ReadChipAddress(std::string_view text) {
  if (text.size() < 3 || text.size() > 4 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return std::nullopt;
  }
  unsigned value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data() + 2, end, value, 16);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return tuning::ChipAddressByte(value);
}

std::optional<unsigned> ReadBusNumber(std::string_view text) {
  if (text.empty() || text.size() > 7 || (text[0] == '0' && text.size() > 1)) return std::nullopt;
  unsigned value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value > kMaxBus) return std::nullopt;
  return value;
}

std::string AddressComplaint(std::string_view what, std::string_view typed) {
  return std::string(what) + " " + Quoted(typed) +
         " gibt es nicht: " + std::string(kAddressChoices);
}

std::string BusComplaint(std::string_view what, std::string_view typed) {
  return std::string(what) + " " + Quoted(typed) + " gibt es nicht: eine Busnummer von 0 bis " +
         std::to_string(kMaxBus) + ", dezimal.";
}

std::string_view AddressSelectState(std::uint8_t addressByte) {
  return addressByte == tuning::kChipAddressSelect ? "gesetzt" : "nicht gesetzt";
}

void PutChipWriteHex(Sink& out, const tuning::ChipWrite& write) {
  std::array<char, 3 * 6> text{};
  char* p = text.data();
  for (const std::uint8_t b : write) {
    if (p != text.data()) *p++ = ' ';
    *p++ = kUpperHex[b >> 4];
    *p++ = kUpperHex[b & 15u];
  }
  out.Put(std::string_view(text.data(), static_cast<std::size_t>(p - text.data())));
}

void PutChipWriteJson(Sink& out, const tuning::ChipWrite& write) {
  std::array<char, 4 * 6 + 2> text{};
  char* p = text.data();
  *p++ = '[';
  for (const std::uint8_t b : write) {
    if (p != text.data() + 1) {
      *p++ = ',';
      *p++ = ' ';
    }
    p = std::to_chars(p, p + 3, b).ptr;
  }
  *p++ = ']';
  out.Put(std::string_view(text.data(), static_cast<std::size_t>(p - text.data())));
}

void PutI2cScriptHeading(Sink& out, std::string_view inputs, const ChipTarget& target) {
  out.Put("#!/bin/sh\n# ");
  // Made by the program, not from a list; a line break still cannot slip in.
  out.Put(TerminalText(inputs));
  out.Put("\n# Schreibt mit i2ctransfer (i2c-tools) in den TSA6057 an ");
  PutPrefixedHex(out, tuning::SevenBitAddress(target.address), kLowerHex);
  out.Put(" auf I2C-Bus ");
  out.Put(std::to_string(target.bus));
  out.Put(".\nset -e\n");
}

void PutI2cTransferLine(Sink& out, const ChipTarget& target,
                        const std::array<std::uint8_t, 3>& bytes) {
  const tuning::ChipWrite write = tuning::MakeChipWrite(target.address, bytes);
  // A table's lines are its bulk: each written in one piece.
  std::array<char, 64> text{};
  constexpr std::string_view kCommand = "i2ctransfer -y ";
  char* p = std::copy(kCommand.begin(), kCommand.end(), text.data());
  p = std::to_chars(p, p + 8, target.bus).ptr;
  // The address travels as the message's target, in 7 bits; the rest is its data.
  *p++ = ' ';
  *p++ = 'w';
  *p++ = static_cast<char>('0' + write.size() - 1);
  *p++ = '@';
  for (std::size_t i = 0; i < write.size(); ++i) {
    if (i > 0) *p++ = ' ';
    const std::uint8_t b = i == 0 ? tuning::SevenBitAddress(write[0]) : write[i];
    *p++ = '0';
    *p++ = 'x';
    *p++ = kLowerHex[b >> 4];
    *p++ = kLowerHex[b & 15u];
  }
  *p++ = '\n';
  out.Put(std::string_view(text.data(), static_cast<std::size_t>(p - text.data())));
}

std::string CommentText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (IsCommentSafe(text[at])) {
      out.push_back(text[at]);
      ++at;
      continue;
    }
    out.push_back('?');
    at += NextChar(text, at).length;
  }
  return out;
}

}  // namespace channels
