#include "channels/FirmwareHeader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "channels/Escape.h"
#include "channels/NumberOutput.h"

namespace channels {
namespace {

// The header's fixed text. In it, {p} stands for the prefix and {P} for the
// prefix in capitals.
constexpr std::string_view kUsage = R"( *
 * Jede Datei darf ihn einbinden und bekommt die Deklarationen. Genau eine
 * .c-Datei definiert vorher {P}_PLAN_IMPLEMENTATION und bekommt die Tabelle
 * und {p}_plan_find:
 *     #define {P}_PLAN_IMPLEMENTATION
 *     #include "{p}_plan.h"   (so, wie diese Datei heisst)
 * Auf AVR liegt die Tabelle mit PROGMEM im Flash, sonst als const-Daten.
 */
#ifndef {P}_PLAN_H
#define {P}_PLAN_H

#include <stdint.h>

)";

constexpr std::string_view kDeclarations = R"(
/* Kopiert Kanal number nach *out und gibt 1 zurueck; 0, wenn es ihn nicht gibt. */
#ifdef __cplusplus
extern "C" {
#endif
int {p}_plan_find(uint16_t number, struct {p}_plan_channel *out);
#ifdef __cplusplus
}
#endif

#endif /* {P}_PLAN_H */

#ifdef {P}_PLAN_IMPLEMENTATION
#ifndef {P}_PLAN_IMPLEMENTED
#define {P}_PLAN_IMPLEMENTED

#include <string.h>
#ifdef __AVR__
#include <avr/pgmspace.h>
#define {P}_PLAN_FLASH PROGMEM
#else
#define {P}_PLAN_FLASH
#endif

)";

// The lookup: a binary search, since the channels are in the order of their
// numbers; every read of the table goes through {p}_plan_copy.
constexpr std::string_view kFind = R"(
static void {p}_plan_copy(void *to, const void *from, size_t size) {
#ifdef __AVR__
    memcpy_P(to, from, size);
#else
    memcpy(to, from, size);
#endif
}

int {p}_plan_find(uint16_t number, struct {p}_plan_channel *out) {
    uint32_t low = 0;
    uint32_t high = {P}_PLAN_COUNT;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        uint16_t found;
        {p}_plan_copy(&found, &{p}_plan_table[middle].number, sizeof found);
        if (found == number) {
            {p}_plan_copy(out, &{p}_plan_table[middle], sizeof *out);
            return 1;
        }
        if (found < number) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return 0;
}

#endif /* {P}_PLAN_IMPLEMENTED */
#endif /* {P}_PLAN_IMPLEMENTATION */
)";

// `text` with {p} and {P} filled in.
void PutFilled(Sink& out, std::string_view text, std::string_view prefix, std::string_view upper) {
  for (std::size_t at = text.find('{'); at != std::string_view::npos; at = text.find('{')) {
    out.Put(text.substr(0, at));
    const std::string_view mark = text.substr(at, 3);
    out.Put(mark == "{p}" ? prefix : mark == "{P}" ? upper : mark);
    text.remove_prefix(at + mark.size());
  }
  out.Put(text);
}

void PutCBytes(Sink& out, const std::array<std::uint8_t, 3>& bytes) {
  out.Put('{');
  for (std::size_t i = 0; i < 3; ++i) {
    if (i > 0) out.Put(", ");
    PutHex(out, bytes[i]);
  }
  out.Put('}');
}

void PutDefine(Sink& out, std::string_view upper, std::string_view name, std::int64_t value,
               std::string_view suffix, std::string_view comment) {
  out.Put("#define ");
  out.Put(upper);
  out.Put(name);
  out.Put(value < 0 ? " (" : " ");
  PutInt(out, value);
  out.Put(suffix);
  out.Put(value < 0 ? ")" : "");
  out.Put(" /* ");
  out.Put(comment);
  out.Put(" */\n");
}

// "RX 145.6 MHz, N 6252", or where the grid's frequency differs from the
// list's, as --round gives it, "RX 145.6125 MHz, Raster 145.6 MHz, N 6252".
void PutSideComment(Sink& out, std::string_view side, const PlannedSide& planned) {
  out.Put(side);
  out.Put(' ');
  if (planned.DiffHz() != "0") {
    out.Put(Shown(planned.requestedMHz));
    out.Put(" MHz, Raster ");
  }
  out.Put(planned.Mhz());
  out.Put(" MHz, N ");
  PutInt(out, planned.n);
}

// The comment after a channel's row: numbers only.
void PutChannelComment(Sink& out, const PlannedChannel& channel) {
  out.Put(" /* ");
  PutSideComment(out, "RX", channel.rx);
  if (channel.tx) {
    out.Put("; ");
    PutSideComment(out, "TX", *channel.tx);
  }
  out.Put(" */\n");
}

}  // namespace

std::optional<std::int64_t> WholeHz(double mhz) {
  const double hz = std::round(mhz * 1e6);
  if (!(std::abs(hz) < 9e18)) return std::nullopt;  // NaN included
  return static_cast<std::int64_t>(hz);
}

std::string_view CutName(std::string_view name, std::size_t bytes) {
  if (name.size() <= bytes) return name;
  // Back to the first byte of a character: continuation bytes are 10xxxxxx.
  while (bytes > 0 && (static_cast<unsigned char>(name[bytes]) & 0xC0u) == 0x80u) --bytes;
  return name.substr(0, bytes);
}

void WriteFirmwareHeader(const std::vector<PlannedChannel>& plan,
                         const FirmwareHeaderSettings& settings, Sink& out) {
  const std::string upper = Upper(settings.prefix);
  // The longest name and its terminating zero; none without names.
  std::size_t nameSize = settings.names ? 1 : 0;
  if (settings.names) {
    for (const PlannedChannel& channel : plan) {
      nameSize = std::max(nameSize, channel.name.size() + 1);
    }
  }
  out.Put(
      "/* Kanalplan fuer den PLL-Synthesizer TSA6057: Datenbytes {DB0, DB1, DB2}\n"
      " * zum Empfangen (rx) und Senden (tx) je Kanal.\n * Erzeugt von teilomat-cli ");
  out.Put(ProgramVersion());
  out.Put(" (plan).\n * ");
  out.Put(settings.inputs);
  out.Put('\n');
  PutFilled(out, kUsage, settings.prefix, upper);

  PutDefine(out, upper, "_PLAN_COUNT", static_cast<std::int64_t>(plan.size()), "",
            "Kanaele in der Tabelle");
  PutDefine(out, upper, "_PLAN_NAME_SIZE", static_cast<std::int64_t>(nameSize), "",
            settings.names ? "Bytes je Name, mit der abschliessenden 0" : "ohne Namen");
  PutDefine(out, upper, "_PLAN_ZF_HZ", settings.zfHz, "L", "ZF zum Empfangen in Hz");
  PutDefine(out, upper, "_PLAN_TX_ZF_HZ", settings.txZfHz, "L", "ZF zum Senden in Hz");
  PutDefine(out, upper, "_PLAN_RASTER_HZ", settings.rasterHz, "L", "Kanalraster in Hz");
  PutDefine(out, upper, "_PLAN_BAND_BITS", settings.bandBits, "",
            "in DB2: 16 AM-Eingang, 32 FM-Eingang");
  PutDefine(out, upper, "_PLAN_CP_BIT", settings.chargePump ? 1 : 0, "",
            "Ladungspumpen-Bit, Bit 0 von DB0");

  out.Put("\nstruct ");
  out.Put(settings.prefix);
  out.Put(
      "_plan_channel {\n"
      "    uint16_t number;   /* Kanalnummer */\n"
      "    uint8_t rx[3];     /* DB0, DB1, DB2 zum Empfangen */\n"
      "    uint8_t tx[3];     /* DB0, DB1, DB2 zum Senden; 0 bei transmits 0 */\n"
      "    uint8_t transmits; /* 1: der Kanal sendet */\n");
  if (settings.names) {
    out.Put("    char name[");
    out.Put(upper);
    out.Put("_PLAN_NAME_SIZE]; /* UTF-8, mit 0 abgeschlossen */\n");
  }
  out.Put("};\n");
  PutFilled(out, kDeclarations, settings.prefix, upper);

  out.Put("static const struct ");
  out.Put(settings.prefix);
  out.Put("_plan_channel ");
  out.Put(settings.prefix);
  out.Put("_plan_table[");
  out.Put(upper);
  out.Put("_PLAN_COUNT] ");
  out.Put(upper);
  out.Put("_PLAN_FLASH = {\n");
  for (const PlannedChannel& channel : plan) {
    out.Put("    {");
    PutInt(out, channel.number);
    out.Put(", ");
    PutCBytes(out, channel.rx.bytes);
    out.Put(", ");
    PutCBytes(out, channel.tx ? channel.tx->bytes : std::array<std::uint8_t, 3>{});
    out.Put(channel.tx ? ", 1" : ", 0");
    if (settings.names) {
      out.Put(", ");
      PutCString(out, channel.name);
    }
    out.Put("},");
    PutChannelComment(out, channel);
  }
  out.Put("};\n");
  PutFilled(out, kFind, settings.prefix, upper);
}

}  // namespace channels
