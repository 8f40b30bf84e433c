#include "cli/FileSink.h"

#include <cerrno>
#include <utility>

namespace cli {

FileSink::FileSink(std::FILE* file, std::string name)
    : Sink(kChunk), file_(file), name_(std::move(name)) {
  buffer_.reserve(kChunk + 4096);
}

FileSink::~FileSink() {
  FileSink::Flush();
}

// Keeps the reason of the first failure, read from errno at once.
void FileSink::Check(bool ok) {
  if (!ok && reason_ == WriteReason::None) reason_ = WriteReasonOf(errno);
}

void FileSink::Drain() {
  if (buffer_.empty()) return;
  errno = 0;
  Check(std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size());
  buffer_.clear();
}

bool FileSink::Flush() {
  Drain();
  errno = 0;
  Check(std::fflush(file_) == 0);
  Check(std::ferror(file_) == 0);
  return reason_ == WriteReason::None;
}

}  // namespace cli
