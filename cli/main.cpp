// teilomat-cli: divider ratios and data bytes of the TSA6057 for firmware work.
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/FileSink.h"

namespace {

// Says on standard error that the program failed where it should not have,
// with `detail` (a library's English words) shown safely.
void SayUnexpected(const char* detail) {
  std::fputs("teilomat-cli: unerwarteter Fehler", stderr);
  if (detail != nullptr) {
    std::fputs(" (", stderr);
    for (const char* c = detail; *c != '\0'; ++c) {
      const auto byte = static_cast<unsigned char>(*c);
      std::fputc(byte < 0x20 || byte == 0x7F ? '?' : byte, stderr);
    }
    std::fputc(')', stderr);
  }
  std::fputs(". Bitte mit dem Aufruf melden.\n", stderr);
}

int Main(int argc, char** argv) {
  const cli::Console console;
  cli::FileSink out(stdout);
  cli::FileSink err(stderr);
  return cli::RunCommandLine(cli::Utf8Arguments(argc, argv), out, err);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  // A file beyond the size limit is then a write that fails, which the
  // program sees, reports and cleans up after, instead of a silent end.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  try {
    return Main(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fputs("teilomat-cli: nicht genug Arbeitsspeicher.\n", stderr);
  } catch (const std::exception& e) {
    SayUnexpected(e.what());
  } catch (...) {
    SayUnexpected(nullptr);
  }
  return cli::kExitUnexpected;
}
