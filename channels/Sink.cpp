#include "channels/Sink.h"

namespace channels {

Sink::Sink(std::FILE* file) : file_(file) {
  if (file_ != nullptr) buffer_.reserve(kChunk + 4096);
}

Sink::~Sink() {
  Flush();
}

bool Sink::Flush() {
  if (file_ == nullptr) return !failed_;
  if (!buffer_.empty()) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
    buffer_.clear();
  }
  if (std::fflush(file_) != 0 || std::ferror(file_) != 0) failed_ = true;
  return !failed_;
}

}  // namespace channels
