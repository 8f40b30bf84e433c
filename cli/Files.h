// Reading the input and writing the output of a command, safely whatever a
// path names: a regular file, a link, a directory, a device, a FIFO or the
// process's own standard streams. Paths are UTF-8 on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "channels/ChannelList.h"

namespace cli {

/// A file's place on its file system, to tell the same file under two
/// names: device and inode, on Windows the volume and the file index. Known
/// for regular files only.
struct FileIdentity {
  bool known = false;
  std::uint64_t device = 0;
  std::uint64_t file = 0;

  bool Same(const FileIdentity& other) const {
    return known && other.known && device == other.device && file == other.file;
  }
};

/// The most an input may hold: a larger one is refused, so that even an
/// endless stream such as /dev/zero ends.
inline constexpr std::size_t kMaxInputSize = channels::kMaxListBytes;

enum class InputProblem {
  None,
  Missing,     // no such file
  NotAllowed,  // no permission to read it
  Directory,   // a directory, not a file
  TooLarge,    // more than kMaxInputSize bytes
  Unreadable,  // any other failure to open or read
};

struct Input {
  std::string text;
  InputProblem problem = InputProblem::None;
  FileIdentity identity;  // of a regular file, to keep the output off it

  explicit operator bool() const { return problem == InputProblem::None; }
};

/// The bytes at `path`, unchanged ("-": standard input, in binary mode on
/// Windows too). Pipes, FIFOs and character devices are read as streams to
/// their end; at most `limit` bytes are taken.
Input ReadInput(const std::string& path, std::size_t limit = kMaxInputSize);

enum class OutputProblem {
  None,
  CannotCreate,  // the file or its scratch file cannot be made or opened
  Directory,     // the path names a directory
  IsInput,       // the path names the input itself
  ReadOnly,      // an existing file the user may not write (mode, read-only attribute)
};

/// Why a file could not be made or written, taken from the system's error
/// where the failure happens.
enum class WriteReason {
  None,
  NoSpace,         // the disk or the user's quota is full
  TooLarge,        // beyond the file size limit (ulimit -f)
  NoFolder,        // the folder to hold the file does not exist
  NotAllowed,      // no permission
  ReadOnlySystem,  // the file system is mounted read-only
  Other,           // any other failure
};

/// The reason an errno value stands for.
WriteReason WriteReasonOf(int error);

/// What the user is told: the problem with `path` and its reason, one line
/// without its newline. An empty path is standard output.
std::string OutputMessage(const std::string& path, OutputProblem problem, WriteReason reason);
/// The same for a write or a commit that failed.
std::string WriteFailedMessage(const std::string& path, WriteReason reason);

/// Where a command's output goes, chosen by what `path` names:
/// - empty or "-": standard output;
/// - /dev/stdout, /dev/stderr, /dev/fd/N (and whatever file is already one of
///   the process's standard output streams): that stream, written as the
///   shell opened it, so `-o /dev/stdout >> log` appends;
/// - anything that is not a regular file (a character device such as
///   /dev/null, a FIFO; on Windows NUL and CON): written directly;
/// - a regular file, also through a symbolic link, or a new name: a scratch
///   file beside it that Commit moves into place, so the destination holds
///   either its old bytes or all the new ones, with its mode kept and the
///   link left as a link.
/// A path that names the input (`input`) is refused before anything is written.
class Output {
 public:
  Output(const std::string& path, const FileIdentity& input);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  OutputProblem Problem() const { return problem_; }
  /// Why the output could not be made, or why Commit failed.
  WriteReason Reason() const { return reason_; }
  /// The stream to write to; null when Problem() is not None.
  std::FILE* File() const { return file_; }
  /// Whether the output is a terminal (a console on Windows).
  bool IsTerminal() const;
  /// Flushes the output; a scratch file also to the disk and then into place.
  /// Returns false, the destination left as it was, if that fails.
  bool Commit();

 private:
  enum class Kind { Borrowed, Direct, Replacing };

  void Discard();

  void Fail(OutputProblem problem, WriteReason reason);

  OutputProblem problem_ = OutputProblem::None;
  WriteReason reason_ = WriteReason::None;
  Kind kind_ = Kind::Borrowed;
  std::FILE* file_ = nullptr;
  std::string destination_;  // Replacing: the file the scratch file replaces
  std::string scratch_;      // Replacing: the scratch file while it exists
  bool replacesExisting_ = false;
};

}  // namespace cli
