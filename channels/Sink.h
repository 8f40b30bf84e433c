// Buffered output: text is gathered in memory and handed to the file in large
// chunks, so writing a long table costs a handful of system calls.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace channels {

class Sink {
 public:
  /// Writes to `file` in chunks. Without a file everything stays in memory,
  /// where Text() shows it (for tests).
  explicit Sink(std::FILE* file = nullptr);
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;
  ~Sink();

  void Put(std::string_view text) {
    buffer_.append(text);
    if (file_ != nullptr && buffer_.size() >= kChunk) Flush();
  }
  void Put(char c) {
    buffer_.push_back(c);
    if (file_ != nullptr && buffer_.size() >= kChunk) Flush();
  }

  /// Hands everything buffered to the file and flushes it. Returns false if
  /// this or any earlier write failed (disk full, closed pipe and the like).
  bool Flush();

  /// Everything written so far, for a sink without a file.
  const std::string& Text() const { return buffer_; }

 private:
  static constexpr std::size_t kChunk = 64 * 1024;

  std::FILE* file_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace channels
