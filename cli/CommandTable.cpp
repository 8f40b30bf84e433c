// The commands of teilomat-cli, one entry each: name, help, options, run.
#include "cli/CommandTable.h"

#include <CLI/CLI.hpp>

namespace cli {
namespace {

constexpr std::string_view kExamples =
    R"(Raster wählen: das Kanalraster des Bandes, 25 kHz für FM-Kanäle auf 2 m und
70 cm, 10 kHz für AM-Rundfunk und CB (27 MHz). RX + ZF muss ein Vielfaches
des Rasters sein: 12,5-kHz-Kanäle passen nur mit 1 kHz, und nur wo RX + ZF
ganze kHz ergibt. N = (RX + ZF) / Raster ist höchstens 131071, also reicht ein
Raster bis 131071 × Raster: 131,071 MHz bei 1 kHz, 1310,71 MHz bei 10 kHz,
3276,775 MHz bei 25 kHz.
ZF positiv: der VCO läuft über RX, auf RX + ZF; ZF negativ: darunter.

Beispiele:
  teilomat-cli calc 145,68                 Ergebnis wie im Fenster (ZF 10,7, Raster 25 kHz)
  teilomat-cli calc --raster 10 --zf 0,455 --am 27.125 27.135 --format csv
  teilomat-cli table --from 144 --to 146 --format c --name kanal > kanaele.h
  teilomat-cli table --from 0 --to 131.071 --zf 0 --raster 1 --format csv > alle.csv
  teilomat-cli decode 223 48 160
  teilomat-cli decode 0xDF 0x30 0xA0 --zf 10.7 --format json
  teilomat-cli plan kanaele.csv --format c --name funk -o funk.h
  teilomat-cli plan kanaele.csv --format ihex --base 0x100 -o eeprom.hex
  teilomat-cli calc 145,675 --format i2ctransfer --bus 1 > abstimmen.sh

Der TSA6057 am I2C-Bus: ein Schreibzugriff aus dem Adressbyte 0xC4 (0xC6 mit
gesetztem Adresswahl-Eingang, --address), der Subadresse 0x00, DB0, DB1, DB2
und DB3 = 0x00; Wire und i2ctransfer nehmen die 7-Bit-Adresse 0x62 oder 0x63.
Unter Linux zeigt "i2cdetect -l" die Busse (für --bus) und "i2cdetect -y 1" den
Baustein auf Bus 1 als 62 oder 63. Ohne Datenblatt geschrieben, nach zwei
öffentlichen Beschreibungen, die übereinstimmen; ausprobiert nur an einem
Modell des Bausteins auf einem simulierten ATmega328P, nie an einem echten.

Die Optionen eines Befehls zeigt zum Beispiel: teilomat-cli table --help
Zahlen mit "." oder "," als Dezimaltrennzeichen; ausgegeben wird "."; mit
--csv de ";" zwischen den Zellen, Dezimalkomma, UTF-8 mit BOM, CR LF, ohne die
Binärspalten (*_bin), deren führende Nullen eine Tabellenkalkulation striche.
Exit-Status: 0 in Ordnung, 1 Ausgabe nicht schreibbar, 2 falscher Aufruf oder
keine Zahl, 3 Teilerverhältnis zu gross (max 131071) oder zu klein (min 0),
4 unerwarteter Fehler (etwa zu wenig Arbeitsspeicher).)";

constexpr std::string_view kPlanNotes =
    R"(Die Kanalliste ist ein CSV-Export aus CHIRP (Spalten Location, Name,
Frequency, Duplex, Offset; weitere Spalten zählen nicht) oder eine eigene Liste
mit der Kopfzeile name,rx_mhz,tx_mhz (leeres tx_mhz: der Kanal sendet nicht),
als UTF-8, getrennt mit "," oder mit ";" (dann auch mit Dezimalkomma).
Eine Liste aus einer deutschen Tabellenkalkulation, mit ";" und Dezimalkomma:
  name;rx_mhz;tx_mhz
  Relais;145,6;145,0
Vorsicht: "wie angezeigt" gespeichert, schreibt eine Zelle mit drei
Nachkommastellen 145,613 statt 145,6125, und plan kann das nicht sehen: mit
voller Genauigkeit speichern.
Raster wählen: das Kanalraster des Bandes, 25 kHz für FM-Kanäle auf 2 m und
70 cm, 10 kHz für AM-Rundfunk und CB (27 MHz). RX + ZF (und TX + TX-ZF) muss
ein Vielfaches des Rasters sein: 12,5-kHz-Kanäle passen nur mit 1 kHz, und
nur wo RX + ZF ganze kHz ergibt. N ist höchstens 131071, also reicht ein
Raster bis 131071 × Raster: 131,071 MHz bei 1 kHz, 1310,71 MHz bei 10 kHz,
3276,775 MHz bei 25 kHz.
ZF positiv: der VCO läuft über RX, auf RX + ZF; ZF negativ: darunter.
--tx-zf für einen Sender, der mischt: der VCO läuft auf TX + TX-ZF (negativ:
darunter); 0, wenn der VCO selbst auf der Sendefrequenz läuft. Für CB mit
--raster 10 --zf 0,455 liegt TX mit --tx-zf 0 neben dem Raster: --tx-zf 0,455
oder --rx-only angeben.
Das Bandbit (--am) wählt den Eingang des TSA6057 (AM- oder FM-Oszillator),
nicht die Modulation: die Spalte Mode ändert es nicht.
Ein Kanal mehr als 1 Hz neben dem Raster ist ein Fehler; --round nimmt ihn
und zeigt die Abweichung in Hz. Genau zwischen zwei Kanälen des Rasters geht
--round zum geraden N, wie die Rechnung selbst rundet: mit ZF 10,7 MHz bei
25 kHz 145,6125 MHz hinunter auf 145,6 und 145,5875 MHz hinauf auf 145,6; mit
einer anderen ZF auch andersherum (ZF 10,725: 145,6125 hinauf auf 145,625).
Landen verschiedene Frequenzen der Liste auf demselben Kanal des Rasters,
nennt die Standardfehlerausgabe sie. Im EEPROM-Abbild (ihex, bin) steht Kanal L
bei --base + L * 6: erst RX DB0-DB2, dann TX DB0-DB2 (mit --rx-only nur RX,
3 Bytes). Lücken und der Rest bis --size bekommen --fill. --base, --size und
--fill gelten nur für ihex und bin; --rx-only lässt TX in jedem Format weg.
Der C-Header (c) ist ein Header im stb-Stil mit der Tabelle und ihrer Suche,
nicht das C-Array von table --format c. Er deklariert nur; genau eine .c-Datei definiert vor dem
#include PRÄFIX_PLAN_IMPLEMENTATION und bekommt die Tabelle (auf AVR im Flash)
und ihre Funktionen. arduino schreibt einen ganzen Sketch für einen Arduino Uno:
D2 nächster, D3 vorheriger Kanal, D4 gedrückt senden; der Kanal bleibt im EEPROM.
Die Liste darf auch ein Strom sein (-, /dev/stdin, <(...)), höchstens 64 MiB.
-o ersetzt eine Datei ganz oder gar nicht und behält ihre Rechte; ein Link
bleibt ein Link; -o - ist die Standardausgabe; /dev/stdout, /dev/fd/N, Geräte
und FIFOs werden direkt beschrieben; die Liste selbst ist kein Ziel.
bin wird nicht auf ein Terminal geschrieben.
--csv de: ";" zwischen den Zellen, Dezimalkomma, UTF-8 mit BOM, CR LF; ein Name,
der mit =, +, - oder @ beginnt, bekommt ein ' davor und wird so keine Formel.

Beispiele:
  teilomat-cli plan kanaele.csv
  teilomat-cli plan kanaele.csv --format c --name funk -o funk.h
  teilomat-cli plan kanaele.csv --format arduino --name-charset ascii -o funk/funk.ino
  teilomat-cli plan kanaele.csv --format ihex --base 0x100 --size 0x800 -o eeprom.hex
  teilomat-cli plan kanaele.csv --format csv --csv de -o kanaele-excel.csv
  teilomat-cli plan - --tx-zf 10.7 --format bin < kanaele.csv > eeprom.bin
  teilomat-cli plan kanaele.csv --format i2ctransfer --address 0xC6 -o kanaele.sh

Exit-Status: 0 in Ordnung, 1 Ausgabe nicht schreibbar, 2 Kanalliste oder Aufruf
fehlerhaft, Kanal neben dem Raster, Abbild oder Tabelle zu groß, 3 Teilerverhältnis
zu gross (max 131071) oder zu klein (min 0), eine Frequenz außerhalb von 32 Bit in
Hz (c, arduino), 4 unerwarteter Fehler.)";

// The settings' options, declared once for every command: --zf for all of
// them; --raster, --am and --no-cp for those that compute rows; --tx-zf for
// plan alone, whose help speaks of receiving and transmitting.
enum class SettingsOptions { ZfOnly, Rows, Plan };

void AddSettingsOptions(CLI::App& command, channels::SettingsText& settings,
                        SettingsOptions which) {
  const bool plan = which == SettingsOptions::Plan;
  command
      .add_option("--zf", settings.zf,
                  plan ? "ZF zum Empfangen in MHz (Vorgabe 10.7)"
                       : "Zwischenfrequenz ZF in MHz (Vorgabe 10.7)")
      ->type_name("MHZ");
  if (which == SettingsOptions::ZfOnly) return;
  if (plan) {
    command
        .add_option("--tx-zf", settings.txZf,
                    "ZF zum Senden in MHz (Vorgabe 0: der VCO läuft auf der Sendefrequenz)")
        ->type_name("MHZ");
  }
  command
      .add_option("--raster", settings.raster,
                  "Kanalraster in kHz: " + channels::RasterChoices() + " (Vorgabe 25)")
      ->type_name("KHZ");
  command.add_flag("--am", settings.am,
                   plan ? "Bandbits 16 (AM-Eingang des Bausteins) statt 32 (FM-Eingang), für "
                          "alle Kanäle"
                        : "Bandbits 16 (AM) statt 32 (FM)");
  command.add_flag("--no-cp", settings.noCp, "Ladungspumpen-Bit (Bit 0 von DB0) 0 statt 1");
  command
      .add_option("--address", settings.address,
                  "Adressbyte des TSA6057: 0xC4 oder, mit gesetztem Adresswahl-Eingang, 0xC6 "
                  "(7 Bit 0x62 oder 0x63; Vorgabe 0xC4)")
      ->type_name("ADRESSE");
  command
      .add_option("--bus", settings.bus,
                  "--format i2ctransfer: die I2C-Busnummer für i2ctransfer, wie "
                  "i2cdetect -l sie zeigt (Vorgabe 1)")
      ->type_name("N");
}

// --csv, the dialect of --format csv.
void AddCsvOption(CLI::App& command, std::string& csv) {
  command
      .add_option("--csv", csv,
                  "--format csv: plain (Vorgabe) oder de für Excel und LibreOffice auf Deutsch")
      ->type_name("ART");
}

// --format and --name of calc and table.
void AddRowOptions(CLI::App& command, Arguments& args) {
  AddSettingsOptions(command, args.settings, SettingsOptions::Rows);
  command
      .add_option("--format", args.format,
                  "Ausgabe: text, csv, json, c oder i2ctransfer (Vorgabe text)")
      ->type_name("FORMAT");
  AddCsvOption(command, args.csv);
  command.add_option("--name", args.name, "Präfix der Bezeichner im C-Header (Vorgabe teilomat)")
      ->type_name("NAME");
}

// --base, --size and --fill, remembered as typed: a format without an image
// refuses them.
void ImageOption(PlanArguments& plan, std::string_view option, const std::string& value) {
  if (option == "--base") plan.base = value;
  if (option == "--size") plan.size = value;
  if (option == "--fill") plan.fill = value;
  plan.imageOptions.emplace_back(option);
}

void CalcOptions(CLI::App& command, CommandLine& line) {
  command.add_option("RX", line.args.rx, "Empfangsfrequenzen in MHz")->required()->type_name("MHZ");
  AddRowOptions(command, line.args);
}

void TableOptions(CLI::App& command, CommandLine& line) {
  command.add_option("--from", line.args.from, "Erste Empfangsfrequenz in MHz")
      ->required()
      ->type_name("MHZ");
  command.add_option("--to", line.args.to, "Letzte Empfangsfrequenz in MHz")
      ->required()
      ->type_name("MHZ");
  AddRowOptions(command, line.args);
}

void DecodeOptions(CLI::App& command, CommandLine& line) {
  // Any number of bytes is taken here, so that Run can say which are missing
  // or too many, in the names the user knows.
  command
      .add_option("DB0-DB2", line.args.bytes,
                  "DB0 DB1 DB2, dezimal oder 0x-hexadezimal; oder eine ganze Schreibfolge: die 5 "
                  "Bytes ab der Subadresse, oder 6 mit dem Adressbyte davor")
      ->type_name("BYTE");
  AddSettingsOptions(command, line.args.settings, SettingsOptions::ZfOnly);
  command.add_option("--format", line.args.format, "Ausgabe: text, csv oder json (Vorgabe text)")
      ->type_name("FORMAT");
  AddCsvOption(command, line.args.csv);
}

void PlanOptions(CLI::App& command, CommandLine& line) {
  command
      .add_option("LISTE", line.plan.input, "Die Kanalliste als CSV; - liest die Standardeingabe")
      ->required()
      ->type_name("DATEI");
  AddSettingsOptions(command, line.plan.settings, SettingsOptions::Plan);
  command.add_flag(
      "--round", line.plan.round,
      "Kanäle neben dem Raster auf den nächsten Kanal legen und die Abweichung zeigen");
  command
      .add_option("--format", line.plan.format,
                  "Ausgabe: text, csv, json, c, arduino, ihex, bin oder i2ctransfer (Vorgabe text)")
      ->type_name("FORMAT");
  AddCsvOption(command, line.plan.csv);
  command
      .add_option("-o", line.plan.output,
                  "In diese Datei schreiben: sie entsteht ganz oder gar nicht; eine, die nicht "
                  "geschrieben werden darf, wird nicht ersetzt; - ist die Standardausgabe")
      ->type_name("DATEI");
  command
      .add_option("--name", line.plan.name, "Präfix der Bezeichner im C-Header (Vorgabe teilomat)")
      ->type_name("NAME");
  command
      .add_option("--name-length", line.plan.nameLength,
                  "c, arduino: Namen auf so viele Bytes (1 bis 4095) kürzen, an einer "
                  "Zeichengrenze")
      ->type_name("BYTES");
  command.add_flag("--no-names", line.plan.noNames, "c, arduino: ohne Namen (9 Bytes je Kanal)");
  command
      .add_option("--name-charset", line.plan.nameCharset,
                  "c, arduino: Namen als utf8, ascii oder hd44780 (Vorgabe utf8)")
      ->type_name("SATZ");
  command
      .add_option("--max-table", line.plan.maxTable,
                  "c, arduino: eine Tabelle über so viele Bytes im Flash ablehnen (avr-gcc nimmt "
                  "höchstens 32767 Bytes je Objekt; ein Uno hat neben dem Bootloader 32256 Bytes "
                  "für den ganzen Sketch)")
      ->type_name("BYTES");
  command
      .add_option_function<std::string>(
          "--base", [&line](const std::string& value) { ImageOption(line.plan, "--base", value); },
          "Abbild: Adresse von Kanal 0 (Vorgabe 0)")
      ->type_name("ADRESSE");
  command
      .add_option_function<std::string>(
          "--size", [&line](const std::string& value) { ImageOption(line.plan, "--size", value); },
          "Abbild: Größe in Bytes (Vorgabe: bis zum letzten Kanal)")
      ->type_name("BYTES");
  command
      .add_option_function<std::string>(
          "--fill", [&line](const std::string& value) { ImageOption(line.plan, "--fill", value); },
          "Abbild: Füllbyte für Lücken (Vorgabe 0xFF)")
      ->type_name("BYTE");
  command.add_flag("--rx-only", line.plan.rxOnly,
                   "Nur RX: kein TX in der Ausgabe, im Abbild 3 Bytes je Kanal");
}

}  // namespace

const std::string_view kProgramFooter = kExamples;

const std::array<CommandEntry, 4> kCommands = {{
    {"calc", "Ergebnis je Empfangsfrequenz RX (MHz)", kExamples, CalcOptions,
     [](const CommandLine& line, channels::Sink& out, channels::Sink& err) {
       return RunCalc(line.args, out, err);
     }},
    {"table", "Alle Kanäle des Rasters von --from bis --to", kExamples, TableOptions,
     [](const CommandLine& line, channels::Sink& out, channels::Sink& err) {
       return RunTable(line.args, out, err);
     }},
    {"decode", "Datenbytes DB0 DB1 DB2 zurücklesen; Raster, Band und CP stehen in den Bytes",
     kExamples, DecodeOptions,
     [](const CommandLine& line, channels::Sink& out, channels::Sink& err) {
       return RunDecode(line.args, out, err);
     }},
    {"plan", "Eine Kanalliste (CSV, auch aus CHIRP): RX und TX jedes Kanals, bis zum EEPROM-Abbild",
     kPlanNotes, PlanOptions,
     [](const CommandLine& line, channels::Sink& out, channels::Sink& err) {
       return RunPlanCommand(line.plan, out, err);
     }},
}};

}  // namespace cli
