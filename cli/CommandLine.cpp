#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <sstream>

#include "channels/NumberOutput.h"
#include "cli/CommandTable.h"
#include "cli/Commands.h"

namespace cli {
namespace {

ParseProblem ProblemOf(const CLI::ParseError& e) {
  if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr) return ParseProblem::Unexpected;
  if (dynamic_cast<const CLI::RequiredError*>(&e) != nullptr) return ParseProblem::Missing;
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr) {
    return ParseProblem::ValueCount;
  }
  if (dynamic_cast<const CLI::ConversionError*>(&e) != nullptr) return ParseProblem::FlagValue;
  return ParseProblem::Other;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& words, channels::Sink& out,
                   channels::Sink& err) {
  std::vector<const char*> wordPointers = {"teilomat-cli"};
  for (const std::string& word : words) wordPointers.push_back(word.c_str());

  CLI::App app{"teilomat-cli: Teilerverhältnis und Datenbytes für den PLL-Synthesizer TSA6057",
               "teilomat-cli"};
  app.footer(std::string(kProgramFooter));
  app.option_defaults()->group("Optionen");
  app.set_help_flag("-h,--help", "Diese Hilfe zeigen");
  app.set_version_flag("--version", "teilomat-cli " + std::string(channels::ProgramVersion()),
                       "Version zeigen");
  app.require_subcommand(1);
  const auto formatter = app.get_formatter();
  formatter->label("Usage", "Aufruf");
  formatter->label("OPTIONS", "OPTIONEN");
  formatter->label("SUBCOMMAND", "BEFEHL");
  formatter->label("SUBCOMMANDS", "BEFEHLE");
  formatter->label("REQUIRED", "PFLICHT");
  formatter->label("Positionals", "Werte");

  // One subcommand for each entry of the table.
  CommandLine line;
  std::vector<CLI::App*> commands;
  for (const CommandEntry& entry : kCommands) {
    CLI::App* command = app.add_subcommand(std::string(entry.name), std::string(entry.help));
    entry.options(*command, line);
    command->group("Befehle");
    command->set_help_flag("-h,--help", "Diese Hilfe zeigen");
    command->footer(std::string(entry.footer));
    commands.push_back(command);
  }

  try {
    app.parse(static_cast<int>(wordPointers.size()), wordPointers.data());
  } catch (const CLI::Success& e) {
    // --help or --version, on the output, which may fail like any output.
    std::ostringstream shown;
    const int status = app.exit(e, shown, shown);
    out.Put(shown.str());
    return Finish(out, err, status);
  } catch (const CLI::ParseError& e) {
    // Before a command only --help and --version are known, so a line that
    // does not start with its command went wrong there, whatever the parser
    // made of the rest.
    const auto takesValue = [&commands](std::string_view option) {
      for (const CLI::App* command : commands) {
        const CLI::Option* known = command->get_option_no_throw(std::string(option));
        if (known != nullptr) return known->get_items_expected_max() > 0;  // flags take none
      }
      return false;
    };
    err.Put(!words.empty() && !IsCommand(words[0])
                ? MisplacedMessage(words, takesValue)
                : UsageMessage(ProblemOf(e), e.what(), words.empty() ? "" : words[0]));
    return kExitUsage;
  }

  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (commands[i]->parsed()) return kCommands[i].run(line, out, err);
  }
  return kExitUsage;  // the parser requires a command
}

}  // namespace cli
