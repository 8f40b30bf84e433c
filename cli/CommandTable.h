// The commands of teilomat-cli in one table: a new command is one entry here,
// with its options and the function that runs it.
#pragma once

#include <array>
#include <string_view>

#include "channels/Sink.h"
#include "cli/Commands.h"
#include "cli/PlanCommand.h"

namespace CLI {
class App;
}

namespace cli {

/// Every value any command's line holds, as typed.
struct CommandLine {
  Arguments args;      // calc, table, decode
  PlanArguments plan;  // plan
};

struct CommandEntry {
  std::string_view name;
  std::string_view help;    // its line in the list of commands
  std::string_view footer;  // the notes and examples under its own help
  /// Adds the command's options and values, bound to `line`.
  void (*options)(CLI::App& command, CommandLine& line);
  /// Runs the command on what the parser put into `line`; returns the exit status.
  int (*run)(const CommandLine& line, channels::Sink& out, channels::Sink& err);
};

/// The examples under the program's own help.
extern const std::string_view kProgramFooter;

/// The commands in the order the help lists them.
extern const std::array<CommandEntry, 4> kCommands;

}  // namespace cli
