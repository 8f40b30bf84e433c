// Where writers put their output: text or bytes, gathered in a buffer and
// handed on in large chunks, so a long table costs a handful of system calls
// when it goes to a file and nothing more than a string when it stays in
// memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace channels {

class Sink {
 public:
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;
  virtual ~Sink() = default;

  void Put(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= chunk_) Drain();
  }
  void Put(char c) {
    buffer_.push_back(c);
    if (buffer_.size() >= chunk_) Drain();
  }

  /// Hands everything buffered on. Returns false if this or any earlier
  /// hand-over failed (disk full, closed pipe and the like).
  virtual bool Flush() = 0;

 protected:
  /// Hands the buffer on when it holds `chunk` bytes or more.
  explicit Sink(std::size_t chunk) : chunk_(chunk) {}
  /// Hands the buffer on and empties it.
  virtual void Drain() = 0;

  std::string buffer_;

 private:
  std::size_t chunk_;
};

/// A sink that keeps everything in memory.
class StringSink final : public Sink {
 public:
  StringSink() : Sink(std::string::npos) {}

  bool Flush() override { return true; }
  /// Everything written so far.
  const std::string& Text() const { return buffer_; }

 private:
  void Drain() override {}
};

}  // namespace channels
