#include "cli/Files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <random>
#include <string_view>

#include "channels/Escape.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "cli/Console.h"
#else
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstring>
#endif

namespace cli {
namespace {

InputProblem ProblemOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return InputProblem::Missing;
    case EACCES:
    case EPERM:
      return InputProblem::NotAllowed;
    case EISDIR:
      return InputProblem::Directory;
    default:
      return InputProblem::Unreadable;
  }
}

// The folder part of `path` with its separator ("" for a bare name), where a
// scratch file for it is made, so that the move stays on one file system.
std::string FolderOf(const std::string& path) {
#ifdef _WIN32
  const std::size_t end = path.find_last_of("/\\:");
#else
  const std::size_t end = path.rfind('/');
#endif
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

// A scratch name in `folder`. It does not grow with the destination's name,
// so that it fits wherever a name of the longest length the system allows does.
std::string ScratchName(const std::string& folder, std::random_device& random) {
  return folder + ".teilomat-" + std::to_string(random() % 1000000000u) + ".tmp";
}

#ifdef _WIN32

using Descriptor = int;

Descriptor OpenForReading(const std::string& path) {
  return _wopen(Utf16(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

long ReadSome(Descriptor fd, char* into, std::size_t size) {
  return _read(fd, into, static_cast<unsigned>(size));
}

void Close(Descriptor fd) {
  _close(fd);
}

HANDLE HandleOf(std::FILE* file) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

FileIdentity IdentityOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return {};
  }
  return {true, info.dwVolumeSerialNumber,
          (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// What the opened input is: Directory, TooLarge or None, with its identity.
InputProblem Describe(Descriptor fd, std::size_t limit, Input& input) {
  struct _stat64 st {};
  if (_fstat64(fd, &st) != 0) return InputProblem::Unreadable;
  if ((st.st_mode & _S_IFMT) == _S_IFDIR) return InputProblem::Directory;
  if ((st.st_mode & _S_IFMT) != _S_IFREG) return InputProblem::None;
  input.identity = IdentityOf(reinterpret_cast<HANDLE>(_get_osfhandle(fd)));
  if (static_cast<std::uint64_t>(st.st_size) > limit) return InputProblem::TooLarge;
  input.text.reserve(static_cast<std::size_t>(st.st_size) + 1);
  return InputProblem::None;
}

// A name the system keeps for a device in every folder ("NUL", "con",
// "COM1:"), or a path in the device space ("\\.\pipe\x"). Whether a name
// with an extension ("nul.txt") is one differs between versions of
// Windows; the system is asked about it when the file is opened.
bool IsDeviceName(const std::string& path) {
  if (path.starts_with("\\\\.\\") || path.starts_with("//./")) return true;
  std::string name = path;
  if (name.ends_with(':')) name.pop_back();
  name.erase(0, FolderOf(name).size());
  for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (name == "NUL" || name == "CON" || name == "PRN" || name == "AUX" || name == "CONIN$" ||
      name == "CONOUT$") {
    return true;
  }
  return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) &&
         name[3] >= '1' && name[3] <= '9';
}

// A stream of our own on `path`, written as it is (no scratch file). It is
// opened for reading too where it can be, since only then does a console
// say that it is one. CON stands for the console's input or output by the
// access asked; as both it is the output, CONOUT$.
std::FILE* OpenDirect(const std::string& path) {
  std::string name = path;
  if (name.ends_with(':')) name.pop_back();
  const bool console = name.size() == 3 && (name[0] | 0x20) == 'c' && (name[1] | 0x20) == 'o' &&
                       (name[2] | 0x20) == 'n';
  const std::wstring wide = Utf16(console ? "CONOUT$" : path);
  int fd = _wopen(wide.c_str(), _O_RDWR | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) fd = _wopen(wide.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
  return file;
}

std::FILE* CreateScratch(const std::string& path) {
  const int fd =
      _wopen(Utf16(path).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT,
             _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
  return file;
}

bool ToDisk(std::FILE* file) {
  return _commit(_fileno(file)) == 0;
}

WriteReason ReasonOfWindowsError(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return WriteReason::NoSpace;
    case ERROR_FILE_TOO_LARGE:
      return WriteReason::TooLarge;
    case ERROR_PATH_NOT_FOUND:
      return WriteReason::NoFolder;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return WriteReason::NotAllowed;
    case ERROR_WRITE_PROTECT:
      return WriteReason::ReadOnlySystem;
    default:
      return WriteReason::Other;
  }
}

// Whether the file open as `handle` (a link's target) has the read-only
// attribute, which makes Windows refuse to replace it.
bool HasReadOnlyAttribute(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileInformationByHandle(handle, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Moves the scratch file over the destination. An existing one is replaced
// by ReplaceFile, which keeps its attributes and access rights.
WriteReason MoveOver(const std::string& from, const std::string& to, bool existing) {
  const std::wstring wideFrom = Utf16(from), wideTo = Utf16(to);
  if (existing && ReplaceFileW(wideTo.c_str(), wideFrom.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr)) {
    return WriteReason::None;
  }
  if (MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return WriteReason::None;
  }
  return ReasonOfWindowsError(GetLastError());
}

void Remove(const std::string& path) {
  _wremove(Utf16(path).c_str());
}

#else

using Descriptor = int;

Descriptor OpenForReading(const std::string& path) {
  return open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
}

long ReadSome(Descriptor fd, char* into, std::size_t size) {
  long got = 0;
  do {
    got = static_cast<long>(read(fd, into, size));
  } while (got < 0 && errno == EINTR);
  return got;
}

void Close(Descriptor fd) {
  close(fd);
}

FileIdentity IdentityOf(const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return {};
  return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

InputProblem Describe(Descriptor fd, std::size_t limit, Input& input) {
  struct stat st {};
  if (fstat(fd, &st) != 0) return InputProblem::Unreadable;
  if (S_ISDIR(st.st_mode)) return InputProblem::Directory;
  if (!S_ISREG(st.st_mode)) return InputProblem::None;  // a stream: its size says nothing
  input.identity = IdentityOf(st);
  if (static_cast<std::uint64_t>(st.st_size) > limit) return InputProblem::TooLarge;
  input.text.reserve(static_cast<std::size_t>(st.st_size) + 1);
  return InputProblem::None;
}

// The descriptor that /dev/stdout, /dev/stderr, /dev/fd/N or
// /proc/self/fd/N stand for; -1 for any other path. Opened by name they
// would give a new description of the file (or, through the link, the file
// itself), not the stream the shell set up.
int OwnDescriptor(std::string_view path) {
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  for (const std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
    if (!path.starts_with(folder)) continue;
    path.remove_prefix(folder.size());
    int fd = -1;
    const auto [end, ec] = std::from_chars(path.data(), path.data() + path.size(), fd);
    return !path.empty() && ec == std::errc() && end == path.data() + path.size() ? fd : -1;
  }
  return -1;
}

// `path` with every symbolic link of its last part followed: the name that a
// write through it reaches, which need not exist yet. Empty if the links
// cannot be followed (a loop, a link that cannot be read).
std::string FollowLinks(std::string path) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT ? path : std::string();
    if (!S_ISLNK(st.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t size = readlink(path.c_str(), target.data(), target.size());
    if (size <= 0 || static_cast<std::size_t>(size) >= target.size()) return {};
    target.resize(static_cast<std::size_t>(size));
    path = target.front() == '/' ? target : FolderOf(path) + target;
  }
  return {};
}

std::FILE* OpenDirect(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) close(fd);
  return file;
}

// The scratch file: for a new destination with the mode any new file gets
// (0666 less the file-creation mask), else with the mode and, where allowed,
// the owner of the file it replaces.
std::FILE* CreateScratch(const std::string& path, const struct stat* replaced) {
  const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC,
                      replaced != nullptr ? 0600 : 0666);
  if (fd < 0) return nullptr;
  bool ok = true;
  if (replaced != nullptr) {
    // Only root may give a file away; for anyone else the owner is already theirs.
    if (fchown(fd, replaced->st_uid, replaced->st_gid) != 0) errno = 0;
    ok = fchmod(fd, replaced->st_mode & 07777) == 0;
  }
  std::FILE* file = ok ? fdopen(fd, "wb") : nullptr;
  if (file == nullptr) {
    close(fd);
    unlink(path.c_str());
  }
  return file;
}

bool ToDisk(std::FILE* file) {
  return fsync(fileno(file)) == 0;
}

// Moves the scratch file over the destination, and makes the new name
// durable: the folder's entry goes to the disk too.
WriteReason MoveOver(const std::string& from, const std::string& to, bool /*existing*/) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return WriteReasonOf(errno);
  const std::string folder = FolderOf(to);
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // The rename stands; a folder we may not open is synced by the system.
  if (fd < 0) return WriteReason::None;
  // Some file systems cannot sync a folder (EINVAL); the rename stands all the same.
  const WriteReason reason =
      fsync(fd) == 0 || errno == EINVAL ? WriteReason::None : WriteReasonOf(errno);
  close(fd);
  return reason;
}

// Whether the user may not write the existing file `path` (through its
// links), as the shell's `>` would find: by the effective user, so root
// may. A read-only file system is left to the write, which names it.
bool MayNotWrite(const std::string& path) {
  if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0) return false;
  return errno == EACCES || errno == EPERM;
}

void Remove(const std::string& path) {
  unlink(path.c_str());
}

// The scratch file while it exists, for an interrupt or a termination: the
// handler removes it before the program ends as the signal asks.
char gScratchPath[PATH_MAX + 1] = {};
volatile std::sig_atomic_t gScratchSet = 0;
constexpr std::array<int, 3> kEndingSignals = {SIGINT, SIGTERM, SIGHUP};
std::array<void (*)(int), 3> gPreviousHandlers = {};

void RemoveScratchAndEnd(int signal) {
  if (gScratchSet != 0) unlink(gScratchPath);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void GuardScratch(const std::string& path) {
  if (path.size() >= sizeof gScratchPath) return;
  std::memcpy(gScratchPath, path.c_str(), path.size() + 1);
  gScratchSet = 1;
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    gPreviousHandlers[i] = std::signal(kEndingSignals[i], RemoveScratchAndEnd);
    // A signal the caller had ignored (nohup) stays ignored.
    if (gPreviousHandlers[i] == SIG_IGN) std::signal(kEndingSignals[i], SIG_IGN);
  }
}

void ReleaseScratch() {
  if (gScratchSet == 0) return;
  gScratchSet = 0;
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    if (gPreviousHandlers[i] != SIG_ERR) std::signal(kEndingSignals[i], gPreviousHandlers[i]);
  }
}

#endif

}  // namespace

WriteReason WriteReasonOf(int error) {
  switch (error) {
    case 0:
      return WriteReason::Other;  // a failure that left no error behind
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return WriteReason::NoSpace;
    case EFBIG:
      return WriteReason::TooLarge;
    case ENOENT:
    case ENOTDIR:
      return WriteReason::NoFolder;
    case EACCES:
    case EPERM:
      return WriteReason::NotAllowed;
    case EROFS:
      return WriteReason::ReadOnlySystem;
    default:
      return WriteReason::Other;
  }
}

namespace {

std::string ReasonText(WriteReason reason) {
  switch (reason) {
    case WriteReason::NoSpace:
      return "Auf dem Datenträger ist kein Platz mehr.";
    case WriteReason::TooLarge:
      return "Die Datei würde größer, als die Grenze für Dateien erlaubt (ulimit -f).";
    case WriteReason::NoFolder:
      return "Den Ordner dafür gibt es nicht.";
    case WriteReason::NotAllowed:
      return "Keine Berechtigung.";
    case WriteReason::ReadOnlySystem:
      return "Das Dateisystem ist schreibgeschützt.";
    case WriteReason::None:
    case WriteReason::Other:
      break;
  }
  return "Das System meldet einen Fehler beim Schreiben.";
}

}  // namespace

std::string OutputMessage(const std::string& path, OutputProblem problem, WriteReason reason) {
  switch (problem) {
    case OutputProblem::IsInput:
      return "Die Ausgabe " + channels::Quoted(path) +
             " ist die Kanalliste selbst; sie bleibt, wie sie ist.";
    case OutputProblem::Directory:
      return "Die Ausgabe " + channels::Quoted(path) + " ist ein Ordner, keine Datei.";
    case OutputProblem::ReadOnly:
      return "Die Datei " + channels::Quoted(path) +
             " darf nicht geschrieben werden (keine Berechtigung).";
    case OutputProblem::CannotCreate:
      return "Die Datei " + channels::Quoted(path) +
             " kann nicht angelegt werden: " + ReasonText(reason);
    case OutputProblem::None:
      break;
  }
  return WriteFailedMessage(path, reason);
}

std::string WriteFailedMessage(const std::string& path, WriteReason reason) {
  const std::string what =
      path.empty() ? "Die Standardausgabe" : "Die Ausgabe " + channels::Quoted(path);
  return what + " konnte nicht geschrieben werden: " + ReasonText(reason);
}

Input ReadInput(const std::string& path, std::size_t limit) {
  Input input;
  const bool standard = path == "-";
#ifdef _WIN32
  if (standard) _setmode(_fileno(stdin), _O_BINARY);  // no CR LF folding, no end at Ctrl+Z
  const Descriptor fd = standard ? _fileno(stdin) : OpenForReading(path);
  if (fd < 0) {
    // Windows refuses to open a directory as a file with "no permission".
    const DWORD attributes = GetFileAttributesW(Utf16(path).c_str());
    const bool folder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    input.problem = folder ? InputProblem::Directory : ProblemOf(errno);
    return input;
  }
#else
  const Descriptor fd = standard ? STDIN_FILENO : OpenForReading(path);
  if (fd < 0) {
    input.problem = ProblemOf(errno);
    return input;
  }
#endif
  input.problem = Describe(fd, limit, input);
  // Read straight into the text, one more byte than the limit allows, to see
  // that a stream goes on beyond it.
  constexpr std::size_t kChunk = 64 * 1024;
  while (input.problem == InputProblem::None) {
    const std::size_t had = input.text.size();
    const std::size_t want = std::min(kChunk, limit + 1 - had);
    input.text.resize(had + want);
    const long got = ReadSome(fd, input.text.data() + had, want);
    input.text.resize(had + static_cast<std::size_t>(got > 0 ? got : 0));
    if (got < 0)
      input.problem = ProblemOf(errno) == InputProblem::Directory ? InputProblem::Directory
                                                                  : InputProblem::Unreadable;
    if (got <= 0) break;
    if (input.text.size() > limit) input.problem = InputProblem::TooLarge;
  }
  if (!standard) Close(fd);
  if (!input) std::string().swap(input.text);
  return input;
}

Output::Output(const std::string& path, const FileIdentity& input) {
  if (path.empty() || path == "-") {
    file_ = stdout;
    return;
  }
  bool exists = false;
#ifdef _WIN32
  destination_ = path;
  if (IsDeviceName(path)) {
    kind_ = Kind::Direct;
    file_ = OpenDirect(path);
    if (file_ == nullptr) Fail(OutputProblem::CannotCreate, WriteReasonOf(errno));
    return;
  }
  const std::wstring wide = Utf16(path);
  const HANDLE handle = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    exists = true;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    const FileIdentity identity = IdentityOf(handle);
    if (GetFileType(handle) != FILE_TYPE_DISK) {
      kind_ = Kind::Direct;
    } else if (attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      problem_ = OutputProblem::Directory;
    } else if (identity.Same(input)) {
      problem_ = OutputProblem::IsInput;
    } else if (identity.Same(IdentityOf(HandleOf(stdout)))) {
      file_ = stdout;
    } else if (identity.Same(IdentityOf(HandleOf(stderr)))) {
      file_ = stderr;
    } else if (HasReadOnlyAttribute(handle)) {
      problem_ = OutputProblem::ReadOnly;
    } else if (attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      // A link: its target is the file to replace.
      std::wstring target(32768, L'\0');  // the longest path Windows knows
      const DWORD size =
          GetFinalPathNameByHandleW(handle, target.data(), static_cast<DWORD>(target.size()), 0);
      if (size == 0 || size >= target.size()) {
        Fail(OutputProblem::CannotCreate, ReasonOfWindowsError(GetLastError()));
      }
      destination_ = ToUtf8(target.c_str());
    }
    CloseHandle(handle);
  }
  if (problem_ != OutputProblem::None || file_ != nullptr) return;
  if (kind_ == Kind::Direct) {
    file_ = OpenDirect(path);
    if (file_ == nullptr) Fail(OutputProblem::CannotCreate, WriteReasonOf(errno));
    return;
  }
#else
  const int own = OwnDescriptor(path);
  if (own == STDOUT_FILENO || own == STDERR_FILENO) {
    file_ = own == STDOUT_FILENO ? stdout : stderr;
    return;
  }
  if (own >= 0) {
    kind_ = Kind::Direct;
    const int fd = fcntl(own, F_DUPFD_CLOEXEC, 0);
    file_ = fd < 0 ? nullptr : fdopen(fd, "wb");
    if (file_ == nullptr) {
      Fail(OutputProblem::CannotCreate, WriteReasonOf(errno));
      if (fd >= 0) close(fd);
    }
    return;
  }
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) {
    exists = true;
    const FileIdentity identity = IdentityOf(st);
    struct stat standard {};
    if (S_ISDIR(st.st_mode)) {
      problem_ = OutputProblem::Directory;
    } else if (!S_ISREG(st.st_mode)) {
      kind_ = Kind::Direct;
      file_ = OpenDirect(path);
      if (file_ == nullptr) {
        // An existing device or FIFO: "angelegt" would be wrong for it.
        const WriteReason reason = WriteReasonOf(errno);
        Fail(reason == WriteReason::NotAllowed ? OutputProblem::ReadOnly
                                               : OutputProblem::CannotCreate,
             reason);
      }
    } else if (identity.Same(input)) {
      problem_ = OutputProblem::IsInput;
    } else if (fstat(STDOUT_FILENO, &standard) == 0 && identity.Same(IdentityOf(standard))) {
      file_ = stdout;  // already the shell's output, as it opened it
    } else if (fstat(STDERR_FILENO, &standard) == 0 && identity.Same(IdentityOf(standard))) {
      file_ = stderr;
    } else if (MayNotWrite(path)) {
      problem_ = OutputProblem::ReadOnly;  // as the shell refuses it; a replace would not see it
    }
    if (problem_ != OutputProblem::None || file_ != nullptr) return;
  }
  destination_ = FollowLinks(path);
  if (destination_.empty()) {
    Fail(OutputProblem::CannotCreate, WriteReasonOf(errno));
    return;
  }
#endif
  kind_ = Kind::Replacing;
  replacesExisting_ = exists;
  std::random_device random;
  const std::string folder = FolderOf(destination_);
  for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
    scratch_ = ScratchName(folder, random);
#ifdef _WIN32
    file_ = CreateScratch(scratch_);
#else
    file_ = CreateScratch(scratch_, exists ? &st : nullptr);
#endif
    if (file_ == nullptr && errno != EEXIST) break;
  }
  if (file_ == nullptr) {
    Fail(OutputProblem::CannotCreate, WriteReasonOf(errno));
    scratch_.clear();
  }
#ifndef _WIN32
  if (file_ != nullptr) GuardScratch(scratch_);
#endif
}

Output::~Output() {
  Discard();
}

void Output::Fail(OutputProblem problem, WriteReason reason) {
  problem_ = problem;
  reason_ = reason;
}

void Output::Discard() {
  if (file_ != nullptr && kind_ != Kind::Borrowed) std::fclose(file_);
  file_ = nullptr;
  if (!scratch_.empty()) Remove(scratch_);
  scratch_.clear();
#ifndef _WIN32
  ReleaseScratch();
#endif
}

bool Output::IsTerminal() const {
  if (file_ == nullptr) return false;
#ifdef _WIN32
  DWORD mode = 0;
  return GetConsoleMode(HandleOf(file_), &mode) != 0;
#else
  return isatty(fileno(file_)) != 0;
#endif
}

bool Output::Commit() {
  if (file_ == nullptr) return false;
  // The first failure's reason, taken before anything else can change errno.
  WriteReason reason = WriteReason::None;
  const auto check = [&reason](bool ok) {
    if (!ok && reason == WriteReason::None) reason = WriteReasonOf(errno);
  };
  errno = 0;
  check(std::fflush(file_) == 0);
  if (reason == WriteReason::None && std::ferror(file_) != 0) reason = WriteReason::Other;
  if (kind_ == Kind::Borrowed) {
    reason_ = reason;
    return reason == WriteReason::None;
  }
  if (kind_ == Kind::Replacing && reason == WriteReason::None) check(ToDisk(file_));
  check(std::fclose(file_) == 0);
  file_ = nullptr;
  if (kind_ == Kind::Replacing && reason == WriteReason::None) {
    reason = MoveOver(scratch_, destination_, replacesExisting_);
    if (reason == WriteReason::None) scratch_.clear();  // Discard below lets the signals go
  }
  Discard();
  reason_ = reason;
  return reason == WriteReason::None;
}

}  // namespace cli
