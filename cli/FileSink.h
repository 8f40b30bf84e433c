// A sink that writes to an open file in chunks.
#pragma once

#include <cstdio>

#include "channels/Sink.h"

namespace cli {

class FileSink final : public channels::Sink {
 public:
  explicit FileSink(std::FILE* file);
  /// Writes what is left, as Flush does.
  ~FileSink() override;

  bool Flush() override;

 private:
  static constexpr std::size_t kChunk = 64 * 1024;

  void Drain() override;

  std::FILE* file_;
  bool failed_ = false;
};

}  // namespace cli
