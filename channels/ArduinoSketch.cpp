#include "channels/ArduinoSketch.h"

#include <string>
#include <string_view>

#include "channels/NumberOutput.h"

namespace channels {

// The sketch's own code, from sketch.ino.in, made into a string at build time.
extern const std::string_view kSketchTemplate;

namespace {

struct Key {
  int pin;
  std::string_view macro;  // after the prefix in capitals
  std::string_view what;
};
constexpr Key kKeys[] = {{kSketchNextPin, "_KEY_NEXT", "naechster Kanal"},
                         {kSketchPreviousPin, "_KEY_PREVIOUS", "vorheriger Kanal"},
                         {kSketchSendPin, "_KEY_SEND", "senden, solange gedrueckt"}};

}  // namespace

void WriteArduinoSketch(const std::vector<PlannedChannel>& plan,
                        const FirmwareHeaderSettings& settings, Sink& out) {
  out.Put(
      "/* Arduino-Sketch (Uno) fuer den PLL-Synthesizer TSA6057, erzeugt von\n * teilomat-cli ");
  out.Put(ProgramVersion());
  out.Put(" (plan --format arduino).\n * ");
  out.Put(settings.inputs);
  out.Put("\n * Anschluesse:\n *   A4 SDA und A5 SCL an den TSA6057, I2C-Adresse ");
  PutHex(out, tuning::SevenBitAddress(settings.addressByte));
  out.Put('\n');
  for (const Key& key : kKeys) {
    out.Put(" *   D");
    PutInt(out, key.pin);
    out.Put(" Taste: ");
    out.Put(key.what);
    out.Put('\n');
  }
  out.Put(
      " *   Tasten gegen Masse, mit den internen Pull-ups; seriell 9600 Baud.\n"
      " * Der zuletzt gewaehlte Kanal steht im EEPROM (Bytes 0 bis 4).\n */\n"
      // Arduino.h first: arduino-builder puts the functions' prototypes
      // before the first function, the header's.
      "#include <Arduino.h>\n#include <EEPROM.h>\n#include <Wire.h>\n\n");
  const std::string upper = Upper(settings.prefix);
  for (const Key& key : kKeys) {
    out.Put("#define ");
    out.Put(upper);
    out.Put(key.macro);
    out.Put(' ');
    PutInt(out, key.pin);
    out.Put('\n');
  }
  out.Put("#define ");
  out.Put(upper);
  out.Put("_PLAN_IMPLEMENTATION\n");
  FirmwareHeaderSettings header = settings;
  header.fileName = {};  // the sketch is no file to include
  WriteFirmwareHeader(plan, header, out);
  PutPrefixed(out, kSketchTemplate, settings.prefix);
}

}  // namespace channels
