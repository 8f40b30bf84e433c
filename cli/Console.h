// The console teilomat-cli runs in: its arguments as UTF-8, and output that
// shows German text and keeps "\n" line ends on every platform.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

/// Sets standard output and error up for the run and puts the console back
/// as it was at the end. On Windows: UTF-8 as the console's output code page,
/// so that "ä" and "„" show as such; both streams in binary mode, so that
/// every line ends in "\n" alone, as on Linux, also in files; standard output
/// and error fully buffered, so that no UTF-8 character reaches the console
/// in pieces. Whatever is buffered is written when this object ends.
/// Elsewhere it changes nothing.
class Console {
 public:
  Console();
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

 private:
  [[maybe_unused]] unsigned previousCodePage_ = 0;  // 0: nothing to put back (Windows only)
};

/// The program's arguments (without its name) as UTF-8. On Windows they are
/// read from the wide command line, since `argv` holds them in the ANSI code
/// page, which loses every character it lacks; elsewhere `argv` is taken as
/// it is.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

#ifdef _WIN32
/// UTF-8 text as UTF-16, for the system's wide (W) functions, file names
/// among them.
std::wstring Utf16(std::string_view utf8);
/// The inverse: zero-terminated UTF-16 text as UTF-8.
std::string ToUtf8(const wchar_t* text);
#endif

}  // namespace cli
