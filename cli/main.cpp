// teilomat-cli: divider ratios and data bytes of the TSA6057 for firmware work.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "channels/RowWriter.h"
#include "channels/Sink.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/PlanCommand.h"

namespace {

constexpr const char* kExamples = R"(Beispiele:
  teilomat-cli calc 145,68                 Ergebnis wie im Fenster (ZF 10,7, Raster 25 kHz)
  teilomat-cli calc --raster 10 --zf 0,455 --am 27.125 27.135 --format csv
  teilomat-cli table --from 144 --to 146 --format c --name kanal > kanaele.h
  teilomat-cli table --from 0 --to 131.071 --zf 0 --raster 1 --format csv > alle.csv
  teilomat-cli decode 223 48 160
  teilomat-cli decode 0xDF 0x30 0xA0 --zf 10.7 --format json
  teilomat-cli plan kanaele.csv --format c --name funk -o funk.h
  teilomat-cli plan kanaele.csv --format ihex --base 0x100 -o eeprom.hex

Die Optionen eines Befehls zeigt zum Beispiel: teilomat-cli table --help
Zahlen mit "." oder "," als Dezimaltrennzeichen; ausgegeben wird immer ".".
Exit-Status: 0 in Ordnung, 1 Ausgabe nicht schreibbar, 2 falscher Aufruf oder
keine Zahl, 3 Teilerverhältnis zu gross (max 131071) oder zu klein (min 0).)";

constexpr const char* kPlanNotes =
    R"(Die Kanalliste ist ein CSV-Export aus CHIRP (Spalten Location, Name,
Frequency, Duplex, Offset; weitere Spalten zählen nicht) oder eine eigene Liste
mit der Kopfzeile name,rx_mhz,tx_mhz (leeres tx_mhz: der Kanal sendet nicht).
Das Bandbit (--am) wählt den Eingang des TSA6057 (AM- oder FM-Oszillator),
nicht die Modulation: die Spalte Mode ändert es nicht.
Ein Kanal mehr als 1 Hz neben dem Raster ist ein Fehler; --round nimmt ihn
und zeigt die Abweichung in Hz. Im EEPROM-Abbild (ihex, bin) steht Kanal L
bei --base + L * 6: erst RX DB0-DB2, dann TX DB0-DB2 (mit --rx-only nur RX,
3 Bytes). Lücken und der Rest bis --size bekommen --fill.

Beispiele:
  teilomat-cli plan kanaele.csv
  teilomat-cli plan kanaele.csv --format c --name funk -o funk.h
  teilomat-cli plan kanaele.csv --format ihex --base 0x100 --size 0x800 -o eeprom.hex
  teilomat-cli plan - --tx-zf 10.7 --format bin < kanaele.csv > eeprom.bin

Exit-Status: 0 in Ordnung, 1 Ausgabe nicht schreibbar, 2 Kanalliste oder Aufruf
fehlerhaft, Kanal neben dem Raster, Abbild zu groß, 3 Teilerverhältnis zu gross
(max 131071) oder zu klein (min 0).)";

// The options every command that computes rows takes.
void AddSetupOptions(CLI::App& command, cli::Arguments& args) {
  command.add_option("--zf", args.zf, "Zwischenfrequenz ZF in MHz (Vorgabe 10.7)")
      ->type_name("MHZ");
  command.add_option("--raster", args.raster, "Kanalraster in kHz: 1, 10 oder 25 (Vorgabe 25)")
      ->type_name("KHZ");
  command.add_flag("--am", args.am, "Bandbits 16 (AM) statt 32 (FM)");
  command.add_flag("--no-cp", args.noCp, "Ladungspumpen-Bit (Bit 0 von DB0) 0 statt 1");
  command.add_option("--format", args.format, "Ausgabe: text, csv, json oder c (Vorgabe text)")
      ->type_name("FORMAT");
  command.add_option("--name", args.name, "Präfix der Bezeichner im C-Header (Vorgabe teilomat)")
      ->type_name("NAME");
}

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
  app.footer(kExamples);
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

  cli::Arguments args;
  CLI::App* calc = app.add_subcommand("calc", "Ergebnis je Empfangsfrequenz RX (MHz)");
  calc->add_option("RX", args.rx, "Empfangsfrequenzen in MHz")->required()->type_name("MHZ");
  AddSetupOptions(*calc, args);

  CLI::App* table = app.add_subcommand("table", "Alle Kanäle des Rasters von --from bis --to");
  table->add_option("--from", args.from, "Erste Empfangsfrequenz in MHz")
      ->required()
      ->type_name("MHZ");
  table->add_option("--to", args.to, "Letzte Empfangsfrequenz in MHz")
      ->required()
      ->type_name("MHZ");
  AddSetupOptions(*table, args);

  CLI::App* decode = app.add_subcommand(
      "decode", "Datenbytes DB0 DB1 DB2 zurücklesen; Raster, Band und CP stehen in den Bytes");
  // Any number of bytes is taken here, so that Run can say which are missing
  // or too many, in the names the user knows.
  decode->add_option("DB0-DB2", args.bytes, "DB0 DB1 DB2, dezimal oder 0x-hexadezimal")
      ->type_name("BYTE");
  decode->add_option("--zf", args.zf, "Zwischenfrequenz ZF in MHz (Vorgabe 10.7)")
      ->type_name("MHZ");
  decode->add_option("--format", args.format, "Ausgabe: text, csv oder json (Vorgabe text)")
      ->type_name("FORMAT");

  cli::PlanArguments planArgs;
  CLI::App* plan = app.add_subcommand(
      "plan",
      "Eine Kanalliste (CSV, auch aus CHIRP): RX und TX jedes Kanals, bis zum EEPROM-Abbild");
  plan->add_option("LISTE", planArgs.input, "Die Kanalliste als CSV; - liest die Standardeingabe")
      ->required()
      ->type_name("DATEI");
  plan->add_option("--zf", planArgs.zf, "ZF zum Empfangen in MHz (Vorgabe 10.7)")->type_name("MHZ");
  plan->add_option("--tx-zf", planArgs.txZf,
                   "ZF zum Senden in MHz (Vorgabe 0: der VCO läuft auf der Sendefrequenz)")
      ->type_name("MHZ");
  plan->add_option("--raster", planArgs.raster, "Kanalraster in kHz: 1, 10 oder 25 (Vorgabe 25)")
      ->type_name("KHZ");
  plan->add_flag("--am", planArgs.am,
                 "Bandbits 16 (AM-Eingang des Bausteins) statt 32 (FM-Eingang), für alle Kanäle");
  plan->add_flag("--no-cp", planArgs.noCp, "Ladungspumpen-Bit (Bit 0 von DB0) 0 statt 1");
  plan->add_flag("--round", planArgs.round,
                 "Kanäle neben dem Raster auf den nächsten Kanal legen und die Abweichung zeigen");
  plan->add_option("--format", planArgs.format,
                   "Ausgabe: text, csv, json, c, ihex oder bin (Vorgabe text)")
      ->type_name("FORMAT");
  plan->add_option("-o", planArgs.output,
                   "In diese Datei schreiben: sie entsteht ganz oder gar nicht")
      ->type_name("DATEI");
  plan->add_option("--name", planArgs.name, "Präfix der Bezeichner im C-Header (Vorgabe teilomat)")
      ->type_name("NAME");
  plan->add_option("--name-length", planArgs.nameLength,
                   "C-Header: Namen auf so viele Bytes kürzen, an einer Zeichengrenze")
      ->type_name("BYTES");
  plan->add_flag("--no-names", planArgs.noNames, "C-Header: ohne Namen");
  plan->add_option("--base", planArgs.base, "Abbild: Adresse von Kanal 0 (Vorgabe 0)")
      ->type_name("ADRESSE");
  plan->add_option("--size", planArgs.size,
                   "Abbild: Größe in Bytes (Vorgabe: bis zum letzten Kanal)")
      ->type_name("BYTES");
  plan->add_option("--fill", planArgs.fill, "Abbild: Füllbyte für Lücken (Vorgabe 0xFF)")
      ->type_name("BYTE");
  plan->add_flag("--rx-only", planArgs.rxOnly, "Abbild: nur RX, 3 Bytes je Kanal");

  for (CLI::App* command : {calc, table, decode, plan}) {
    command->group("Befehle");
    command->set_help_flag("-h,--help", "Diese Hilfe zeigen");
    command->footer(command == plan ? kPlanNotes : kExamples);
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
    const auto takesValue = [calc, table, decode, plan](std::string_view option) {
      for (const CLI::App* command : {calc, table, decode, plan}) {
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

  if (plan->parsed()) {
    channels::Sink out(stdout);
    channels::Sink err(stderr);
    return cli::RunPlanCommand(planArgs, out, err);
  }
  cli::Command command = cli::Command::Calc;
  if (table->parsed()) command = cli::Command::Table;
  if (decode->parsed()) command = cli::Command::Decode;
  channels::Sink out(stdout);
  channels::Sink err(stderr);
  return cli::Run(command, args, out, err);
}
