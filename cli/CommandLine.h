// The whole command line of teilomat-cli: its words parsed by the command
// table's options, and the command they name run.
#pragma once

#include <string>
#include <vector>

#include "channels/Sink.h"

namespace cli {

/// Parses `words` (the arguments after the program's name, as UTF-8) and runs
/// the command they name: results, help and version to `out`, messages to
/// `err`. Returns the exit status.
int RunCommandLine(const std::vector<std::string>& words, channels::Sink& out, channels::Sink& err);

}  // namespace cli
