// teilomat-cli: divider ratios and data bytes of the TSA6057 for firmware work.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "channels/RowWriter.h"
#include "cli/CommandTable.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/FileSink.h"

namespace {

cli::ParseProblem ProblemOf(const CLI::ParseError& e) {
  if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr) return cli::ParseProblem::Unexpected;
  if (dynamic_cast<const CLI::RequiredError*>(&e) != nullptr) return cli::ParseProblem::Missing;
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr) {
    return cli::ParseProblem::ValueCount;
  }
  return cli::ParseProblem::Other;
}

}  // namespace

int main(int argc, char** argv) {
  const cli::Console console;
  // The parser gets the program's name and the arguments as UTF-8.
  const std::vector<std::string> words = cli::Utf8Arguments(argc, argv);
  std::vector<const char*> wordPointers = {argc > 0 ? argv[0] : "teilomat-cli"};
  for (const std::string& word : words) wordPointers.push_back(word.c_str());

  CLI::App app{"teilomat-cli: Teilerverhältnis und Datenbytes für den PLL-Synthesizer TSA6057",
               "teilomat-cli"};
  app.footer(std::string(cli::kProgramFooter));
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
  cli::CommandLine line;
  std::vector<CLI::App*> commands;
  for (const cli::CommandEntry& entry : cli::kCommands) {
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
    // --help or --version, on standard output, which may fail like any output.
    const int status = app.exit(e);
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
      std::fputs(cli::kWriteFailed.data(), stderr);
      return cli::kExitWriteFailed;
    }
    return status;
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
    const std::string message = !words.empty() && !cli::IsCommand(words[0])
                                    ? cli::MisplacedMessage(words, takesValue)
                                    : cli::UsageMessage(ProblemOf(e), e.what());
    std::fputs(message.c_str(), stderr);
    return cli::kExitUsage;
  }

  cli::FileSink out(stdout);
  cli::FileSink err(stderr);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (commands[i]->parsed()) return cli::kCommands[i].run(line, out, err);
  }
  return cli::kExitUsage;  // the parser requires a command
}
