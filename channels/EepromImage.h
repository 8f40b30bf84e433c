// An EEPROM image of a channel plan: each channel's data bytes at an address
// of its own, written as raw bytes or as Intel HEX.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "channels/Sink.h"

namespace channels {

/// The largest image made: 16 MiB, beyond the largest serial EEPROM.
inline constexpr std::uint64_t kMaxImageSize = 16 * 1024 * 1024;

/// Where the channels go in the image.
struct ImageLayout {
  std::uint64_t base = 0;             // address of channel 0
  std::optional<std::uint64_t> size;  // the image's size; none: up to the last channel
  std::uint8_t fill = 0xFF;           // every byte no channel writes
  bool rxOnly = false;                // 3 bytes a channel (RX) instead of 6 (RX, then TX)
};

/// One channel's bytes.
struct ImageRecord {
  std::int64_t number = 0;                          // 0 or more
  std::array<std::uint8_t, 3> rx{};                 // DB0, DB1, DB2 to receive
  std::optional<std::array<std::uint8_t, 3>> tx{};  // to transmit; none: the fill byte
};

/// The image from address 0, or why there is none.
struct Image {
  std::vector<std::uint8_t> bytes;
  std::uint64_t needed = 0;  // the size the channels need: base + (last number + 1) × record
  bool tooLarge = false;     // `needed` exceeds the layout's size or kMaxImageSize

  explicit operator bool() const { return !tooLarge; }
};

/// Lays the records out: channel L at base + L × 6 (× 3 with rxOnly), its RX
/// bytes first, then its TX bytes. Everything else holds the fill byte.
Image BuildImage(const std::vector<ImageRecord>& records, const ImageLayout& layout);

/// Writes bytes from address 0 as Intel HEX: data records of 16 bytes, an
/// extended linear address record wherever the address passes a 64 KiB
/// boundary, and the end-of-file record. Every line ends in "\n".
void WriteIntelHex(const std::vector<std::uint8_t>& bytes, Sink& out);

}  // namespace channels
