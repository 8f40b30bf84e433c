#include "channels/EepromImage.h"

#include <algorithm>

namespace channels {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// One record: ":", count, address, type, data, checksum. The checksum makes
// the sum of all bytes from count to checksum zero modulo 256.
void PutRecord(Sink& out, std::uint16_t address, std::uint8_t type, const std::uint8_t* data,
               std::size_t count) {
  std::array<char, 1 + 2 * (4 + 255 + 1) + 1> line{};
  char* p = line.data();
  unsigned sum = 0;
  const auto put = [&p, &sum](std::uint8_t byte) {
    *p++ = kHexDigits[byte >> 4];
    *p++ = kHexDigits[byte & 15u];
    sum += byte;
  };
  *p++ = ':';
  put(static_cast<std::uint8_t>(count));
  put(static_cast<std::uint8_t>(address >> 8));
  put(static_cast<std::uint8_t>(address & 0xFFu));
  put(type);
  for (std::size_t i = 0; i < count; ++i) put(data[i]);
  put(static_cast<std::uint8_t>((0x100u - (sum & 0xFFu)) & 0xFFu));
  *p++ = '\n';
  out.Put(std::string_view(line.data(), static_cast<std::size_t>(p - line.data())));
}

}  // namespace

Image BuildImage(const std::vector<ImageRecord>& records, const ImageLayout& layout) {
  const std::uint64_t recordSize = layout.rxOnly ? 3 : 6;
  std::int64_t last = -1;
  for (const ImageRecord& record : records) last = std::max(last, record.number);
  Image image;
  image.needed = layout.base + static_cast<std::uint64_t>(last + 1) * recordSize;
  const std::uint64_t size = layout.size.value_or(image.needed);
  if (image.needed > size || size > kMaxImageSize) {
    image.tooLarge = true;
    return image;
  }
  image.bytes.assign(static_cast<std::size_t>(size), layout.fill);
  for (const ImageRecord& record : records) {
    const auto at = static_cast<std::size_t>(layout.base) +
                    static_cast<std::size_t>(record.number) * static_cast<std::size_t>(recordSize);
    std::copy(record.rx.begin(), record.rx.end(),
              image.bytes.begin() + static_cast<std::ptrdiff_t>(at));
    if (!layout.rxOnly && record.tx) {
      std::copy(record.tx->begin(), record.tx->end(),
                image.bytes.begin() + static_cast<std::ptrdiff_t>(at + 3));
    }
  }
  return image;
}

void WriteIntelHex(const std::vector<std::uint8_t>& bytes, Sink& out) {
  for (std::size_t at = 0; at < bytes.size(); at += 16) {
    // Records start at multiples of 16, so none crosses a 64 KiB boundary.
    if (at % 0x10000 == 0 && at > 0) {
      const std::uint8_t upper[] = {static_cast<std::uint8_t>(at >> 24),
                                    static_cast<std::uint8_t>((at >> 16) & 0xFFu)};
      PutRecord(out, 0, 4, upper, 2);
    }
    PutRecord(out, static_cast<std::uint16_t>(at & 0xFFFFu), 0, bytes.data() + at,
              std::min<std::size_t>(16, bytes.size() - at));
  }
  PutRecord(out, 0, 1, nullptr, 0);
}

}  // namespace channels
