#include "channels/FirmwareHeader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

#include "channels/Escape.h"
#include "channels/NumberOutput.h"

namespace channels {
namespace {

// What stands for the marks of the header's fixed texts.
struct Fills {
  std::string_view prefix, upper, file, subaddress, db3;
};

// The header's fixed text. In it, {p} stands for the prefix and {P} for the
// prefix in capitals.
constexpr std::string_view kUsage = R"( *
 * Jede Datei darf ihn einbinden und bekommt die Deklarationen. Genau eine
 * .c-Datei definiert vorher {P}_PLAN_IMPLEMENTATION und bekommt die Tabelle
 * und die Funktionen:
 *     #define {P}_PLAN_IMPLEMENTATION
 *     #include "{f}"
 * Auf AVR liegt die Tabelle mit PROGMEM im Flash, sonst als const-Daten.
 * Ladungspumpen-Bit und Bandbits stecken schon in den Datenbytes:
 * {p}_plan_message gibt die ganze Nachricht an den TSA6057 nach seiner
 * Adresse, etwa fuer Wire.write(message, 5).
 */
#ifndef {P}_PLAN_H
#define {P}_PLAN_H

#include <stdint.h>

)";

constexpr std::string_view kDeclarations = R"(
#ifdef __cplusplus
extern "C" {
#endif
/* Kopiert Kanal number nach *out und gibt 1 zurueck; 0, wenn es ihn nicht gibt. */
int {p}_plan_find(uint16_t number, struct {p}_plan_channel *out);
/* Kopiert den Kanal an Stelle index (0 bis {P}_PLAN_COUNT - 1, nach Nummern
 * geordnet) nach *out und gibt 1 zurueck; 0 dahinter. */
int {p}_plan_at(uint16_t index, struct {p}_plan_channel *out);
/* Die 5 Bytes nach der Adresse: Subadresse, DB0, DB1, DB2, DB3. tx ungleich 0
 * waehlt die Sendeseite; ein Kanal, der nicht sendet, gibt seine Empfangsseite. */
void {p}_plan_message(const struct {p}_plan_channel *channel, int tx, uint8_t message[5]);
/* Die Frequenz, die die Bytes ergeben, in Hz: N * Raster - ZF der Seite. */
uint32_t {p}_plan_frequency_hz(const struct {p}_plan_channel *channel, int tx);
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

int {p}_plan_at(uint16_t index, struct {p}_plan_channel *out) {
    /* Als Summe: so warnt kein Compiler, ein 16-Bit-Index sei stets kleiner. */
    if ((uint32_t)index + 1u > (uint32_t){P}_PLAN_COUNT) {
        return 0;
    }
    {p}_plan_copy(out, &{p}_plan_table[index], sizeof *out);
    return 1;
}

static const uint8_t *{p}_plan_side(const struct {p}_plan_channel *channel, int tx) {
    return tx && channel->transmits ? channel->tx : channel->rx;
}

void {p}_plan_message(const struct {p}_plan_channel *channel, int tx, uint8_t message[5]) {
    const uint8_t *bytes = {p}_plan_side(channel, tx);
    message[0] = {s}; /* Subadresse: ab DB0 */
    message[1] = bytes[0];
    message[2] = bytes[1];
    message[3] = bytes[2];
    message[4] = {d}; /* DB3: keine Testbits */
}

uint32_t {p}_plan_frequency_hz(const struct {p}_plan_channel *channel, int tx) {
    const uint8_t *bytes = {p}_plan_side(channel, tx);
    const uint32_t n = (uint32_t)(bytes[0] >> 1) | (uint32_t)bytes[1] << 7 |
                       (uint32_t)(bytes[2] & 3u) << 15;
    const uint32_t zf = tx && channel->transmits ? (uint32_t){P}_PLAN_TX_ZF_HZ
                                                 : (uint32_t){P}_PLAN_ZF_HZ;
    return n * (uint32_t){P}_PLAN_RASTER_HZ - zf; /* modulo 2^32, wie beabsichtigt */
}

#endif /* {P}_PLAN_IMPLEMENTED */
#endif /* {P}_PLAN_IMPLEMENTATION */
)";

// `text` with {p}, {P}, {f}, {s} and {d} filled in from `fills`; every
// other brace stays as it is.
void PutFilled(Sink& out, std::string_view text, const Fills& fills) {
  const std::pair<std::string_view, std::string_view> marks[] = {{"{p}", fills.prefix},
                                                                 {"{P}", fills.upper},
                                                                 {"{f}", fills.file},
                                                                 {"{s}", fills.subaddress},
                                                                 {"{d}", fills.db3}};
  for (std::size_t at = text.find('{'); at != std::string_view::npos; at = text.find('{')) {
    out.Put(text.substr(0, at));
    text.remove_prefix(at);
    std::size_t taken = 1;  // a brace of the C code
    for (const auto& [mark, fill] : marks) {
      if (text.substr(0, 3) == mark) {
        out.Put(fill);
        taken = 3;
      }
    }
    if (taken == 1) out.Put('{');
    text.remove_prefix(taken);
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

std::string_view CutName(std::string_view name, std::size_t bytes, NameCharset charset) {
  if (name.size() <= bytes) return name;
  // Back to the first byte of a character: continuation bytes are 10xxxxxx.
  while (charset == NameCharset::Utf8 && bytes > 0 &&
         (static_cast<unsigned char>(name[bytes]) & 0xC0u) == 0x80u) {
    --bytes;
  }
  name = name.substr(0, bytes);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

HeaderName MakeHeaderName(std::string_view name, NameCharset charset, std::size_t length) {
  HeaderName made{InCharset(name, charset), false};
  const std::string_view cut = CutName(made.text, length, charset);
  if (cut.size() != made.text.size()) {
    made.text.resize(cut.size());
    made.cut = true;
  }
  return made;
}

const Channel* FirstNulName(const std::vector<Channel>& channels) {
  for (const Channel& channel : channels) {
    if (channel.name.find('\0') != std::string::npos) return &channel;
  }
  return nullptr;
}

std::int64_t SideHz(const PlannedSide& side, bool tx, const FirmwareHeaderSettings& settings) {
  return std::int64_t{side.n} * settings.rasterHz - (tx ? settings.txZfHz : settings.zfHz);
}

std::optional<SideBeyondHz> FirstSideBeyondHz(const std::vector<PlannedChannel>& plan,
                                              const FirmwareHeaderSettings& settings) {
  constexpr std::int64_t kMax = 0xFFFFFFFF;
  for (const PlannedChannel& channel : plan) {
    const std::int64_t rx = SideHz(channel.rx, false, settings);
    if (rx < 0 || rx > kMax) return SideBeyondHz{channel.number, false, rx};
    if (!channel.tx) continue;
    const std::int64_t tx = SideHz(*channel.tx, true, settings);
    if (tx < 0 || tx > kMax) return SideBeyondHz{channel.number, true, tx};
  }
  return std::nullopt;
}

std::size_t HeaderNameSize(const std::vector<PlannedChannel>& plan,
                           const FirmwareHeaderSettings& settings) {
  if (!settings.names) return 0;
  std::size_t size = 1;
  for (const PlannedChannel& channel : plan) {
    size = std::max(
        size, MakeHeaderName(channel.name, settings.charset, settings.nameLength).text.size() + 1);
  }
  return size;
}

std::uint64_t TableBytes(std::size_t entries, std::size_t nameSize) {
  return std::uint64_t{entries} * (kAvrEntryBytes + nameSize);
}

TableFit FitTable(std::size_t entries, std::size_t longestName, std::uint64_t budget) {
  if (entries == 0) return {TableFit::Kind::Names, std::max<std::size_t>(longestName, 1)};
  const std::uint64_t perEntry = budget / entries;
  if (perEntry < kAvrEntryBytes) return {};
  // A name of L bytes takes L + 1 with its 0; one of 0 bytes is no name.
  if (perEntry < kAvrEntryBytes + 2) return {TableFit::Kind::NoNames, 0};
  const std::uint64_t length =
      std::min<std::uint64_t>(perEntry - kAvrEntryBytes - 1, std::max<std::size_t>(longestName, 1));
  return {TableFit::Kind::Names, static_cast<std::size_t>(length)};
}

std::string IncludeName(std::string_view path, std::string_view prefix) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const bool plain =
      !name.empty() && name != "-" && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '_' || c == '-' || c == '+';
      });
  return plain ? std::string(name) : std::string(prefix) + "_plan.h";
}

void PutPrefixed(Sink& out, std::string_view text, std::string_view prefix) {
  const std::string upper = Upper(prefix);
  PutFilled(out, text, Fills{prefix, upper, "{f}", "{s}", "{d}"});  // only {p} and {P}
}

void WriteFirmwareHeader(const std::vector<PlannedChannel>& plan,
                         const FirmwareHeaderSettings& settings, Sink& out) {
  const std::string upper = Upper(settings.prefix);
  const std::string file = IncludeName(settings.fileName, settings.prefix);
  StringSink subaddress, db3;
  PutHex(subaddress, tuning::kChipSubaddress);
  PutHex(db3, tuning::kChipDb3);
  const Fills fills{settings.prefix, upper, file, subaddress.Text(), db3.Text()};
  // The longest name and its terminating zero; none without names.
  const std::size_t nameSize = HeaderNameSize(plan, settings);
  out.Put(
      "/* Kanalplan fuer den PLL-Synthesizer TSA6057: Datenbytes {DB0, DB1, DB2}\n"
      " * zum Empfangen (rx) und Senden (tx) je Kanal.\n * Erzeugt von teilomat-cli ");
  out.Put(ProgramVersion());
  out.Put(" (plan).\n * ");
  out.Put(settings.inputs);
  out.Put('\n');
  PutFilled(out, kUsage, fills);

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
  out.Put("#define ");
  out.Put(upper);
  out.Put("_TSA6057_ADDRESS ");
  PutHex(out, tuning::SevenBitAddress(settings.addressByte));
  out.Put(" /* I2C-Adresse in 7 Bit, wie Wire sie nimmt (Adressbyte ");
  PutHex(out, settings.addressByte);
  out.Put(") */\n");

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
    out.Put("_PLAN_NAME_SIZE]; /* ");
    out.Put(settings.charset == NameCharset::Utf8    ? "UTF-8"
            : settings.charset == NameCharset::Ascii ? "ASCII"
                                                     : "HD44780U-Zeichensatz A00");
    out.Put(", mit 0 abgeschlossen */\n");
  }
  out.Put("};\n");
  PutFilled(out, kDeclarations, fills);

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
      PutCString(out, MakeHeaderName(channel.name, settings.charset, settings.nameLength).text);
    }
    out.Put("},");
    PutChannelComment(out, channel);
  }
  out.Put("};\n");
  PutFilled(out, kFind, fills);
}

}  // namespace channels
