// A sink that writes to an open file in chunks.
#pragma once

#include <cstdio>
#include <string>

#include "channels/Sink.h"
#include "cli/Files.h"

namespace cli {

class FileSink final : public channels::Sink {
 public:
  /// `name` is the path the user gave, for messages; empty for standard output.
  explicit FileSink(std::FILE* file, std::string name = {});
  /// Writes what is left, as Flush does.
  ~FileSink() override;

  bool Flush() override;

  const std::string& Name() const { return name_; }
  /// Why the first write that failed did, None while all went well.
  WriteReason Reason() const { return reason_; }

 private:
  static constexpr std::size_t kChunk = 64 * 1024;

  void Drain() override;
  void Check(bool ok);

  std::FILE* file_;
  std::string name_;
  WriteReason reason_ = WriteReason::None;
};

}  // namespace cli
