// Reading a whole input file and writing an output file that appears whole
// or not at all. Paths are UTF-8 on every platform.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace cli {

/// The bytes of the file at `path`, unchanged ("-": standard input, read in
/// binary mode on Windows too). Nothing if it cannot be read.
std::optional<std::string> ReadInput(const std::string& path);

/// A file written beside its destination under a name of its own and moved
/// into place by Commit, so the destination holds either its old bytes or
/// all the new ones. Without Commit the scratch file is removed again.
class ReplacingFile {
 public:
  explicit ReplacingFile(std::string path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  /// The scratch file to write to; null if it could not be created.
  std::FILE* File() const { return file_; }
  /// Flushes the scratch file to the disk and moves it over the destination.
  /// Returns false, leaving the destination as it was, if that fails.
  bool Commit();

 private:
  void Discard();

  std::string path_;
  std::string scratch_;
  std::FILE* file_ = nullptr;
};

}  // namespace cli
