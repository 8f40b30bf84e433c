#include "cli/FileSink.h"

namespace cli {

FileSink::FileSink(std::FILE* file) : Sink(kChunk), file_(file) {
  buffer_.reserve(kChunk + 4096);
}

FileSink::~FileSink() {
  FileSink::Flush();
}

void FileSink::Drain() {
  if (buffer_.empty()) return;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
  buffer_.clear();
}

bool FileSink::Flush() {
  Drain();
  if (std::fflush(file_) != 0 || std::ferror(file_) != 0) failed_ = true;
  return !failed_;
}

}  // namespace cli
