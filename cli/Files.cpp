#include "cli/Files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <random>

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "cli/Console.h"
#else
#include <unistd.h>
#endif

namespace cli {
namespace {

#ifdef _WIN32

std::FILE* OpenForReading(const std::string& path) {
  return _wfopen(Utf16(path).c_str(), L"rb");
}

// Creates `path`, which must not exist yet, for writing bytes.
std::FILE* CreateNew(const std::string& path) {
  const int fd =
      _wopen(Utf16(path).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
  return fd < 0 ? nullptr : _fdopen(fd, "wb");
}

bool ToDisk(std::FILE* file) {
  return _commit(_fileno(file)) == 0;
}

bool MoveOver(const std::string& from, const std::string& to) {
  return MoveFileExW(Utf16(from).c_str(), Utf16(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void Remove(const std::string& path) {
  _wremove(Utf16(path).c_str());
}

#else

std::FILE* OpenForReading(const std::string& path) {
  return std::fopen(path.c_str(), "rb");
}

std::FILE* CreateNew(const std::string& path) {
  // Read and write for whom the user's file-creation mask allows, as for any new file.
  const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) close(fd);
  return file;
}

bool ToDisk(std::FILE* file) {
  return fsync(fileno(file)) == 0;
}

bool MoveOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

void Remove(const std::string& path) {
  std::remove(path.c_str());
}

#endif

}  // namespace

std::optional<std::string> ReadInput(const std::string& path) {
  std::FILE* file = nullptr;
  if (path == "-") {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);  // no CR LF folding, no end at Ctrl+Z
#endif
    file = stdin;
  } else {
    file = OpenForReading(path);
    if (file == nullptr) return std::nullopt;
  }
  std::string text;
  // A file is read into a string of its own size, with no growing on the way.
  if (file != stdin && std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size > 0) text.reserve(static_cast<std::size_t>(size) + 1);
    std::rewind(file);
  }
  std::array<char, 64 * 1024> chunk{};
  std::size_t got = 0;
  while ((got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0)
    text.append(chunk.data(), got);
  const bool failed = std::ferror(file) != 0;
  if (file != stdin) std::fclose(file);
  if (failed) return std::nullopt;
  return text;
}

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {
  // A name beside the destination, so the move stays on one file system.
  std::random_device random;
  for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
    scratch_ = path_ + ".teilomat-" + std::to_string(random() % 1000000000u) + ".tmp";
    file_ = CreateNew(scratch_);
  }
  if (file_ == nullptr) scratch_.clear();
}

ReplacingFile::~ReplacingFile() {
  Discard();
}

void ReplacingFile::Discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!scratch_.empty()) Remove(scratch_);
  scratch_.clear();
}

bool ReplacingFile::Commit() {
  if (file_ == nullptr) return false;
  bool ok = std::fflush(file_) == 0 && std::ferror(file_) == 0 && ToDisk(file_);
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  ok = ok && MoveOver(scratch_, path_);
  if (ok) scratch_.clear();
  Discard();
  return ok;
}

}  // namespace cli
