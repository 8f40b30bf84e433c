#include "channels/PlanWriters.h"

#include <array>

#include "channels/Escape.h"
#include "channels/RowWriter.h"

namespace channels {
namespace {

// Writes `text` right-aligned in `width` columns, after one blank.
void PutRight(Sink& out, std::string_view text, std::size_t width) {
  out.Put(' ');
  for (std::size_t i = text.size(); i < width; ++i) out.Put(' ');
  out.Put(text);
}

void PutTextSide(Sink& out, const std::optional<PlannedSide>& side) {
  if (!side) {
    PutRight(out, "-", 12);
    PutRight(out, "", 9 + 1 + 7 + 3 * 4);
    return;
  }
  PutRight(out, side->Mhz(), 12);
  PutRight(out, side->DiffHz(), 9);
  PutRight(out, std::to_string(side->row.n), 7);
  for (std::uint8_t b : side->row.bytes) PutRight(out, std::to_string(b), 3);
}

void PutCsvSide(Sink& out, const std::optional<PlannedSide>& side) {
  if (!side) {
    out.Put(",,,,,,");
    return;
  }
  out.Put(',');
  out.Put(side->Mhz());
  out.Put(',');
  out.Put(side->DiffHz());
  out.Put(',');
  PutInt(out, side->row.n);
  for (std::uint8_t b : side->row.bytes) {
    out.Put(',');
    PutInt(out, b);
  }
}

void PutJsonSide(Sink& out, const std::optional<PlannedSide>& side) {
  if (!side) {
    out.Put("null");
    return;
  }
  out.Put("{\"mhz\": ");
  out.Put(side->Mhz());
  out.Put(", \"diff_hz\": ");
  out.Put(side->DiffHz());
  out.Put(", \"n\": ");
  PutInt(out, side->row.n);
  out.Put(", \"db\": [");
  for (std::size_t i = 0; i < 3; ++i) {
    if (i > 0) out.Put(", ");
    PutInt(out, side->row.bytes[i]);
  }
  out.Put("]}");
}

void PutCBytes(Sink& out, const std::array<std::uint8_t, 3>& bytes) {
  out.Put('{');
  for (std::size_t i = 0; i < 3; ++i) {
    if (i > 0) out.Put(", ");
    PutHex(out, bytes[i]);
  }
  out.Put('}');
}

// "145.6 MHz, N 6252", or with --round "145.6125 MHz, Raster 145.6 MHz, N 6252":
// the list's frequency and the grid's.
void PutCComment(Sink& out, const PlannedSide& side) {
  if (side.DiffHz() != "0") {
    out.Put(Shown(side.row.requestedMHz));
    out.Put(" MHz, Raster ");
  }
  out.Put(side.Mhz());
  out.Put(" MHz, N ");
  PutInt(out, side.row.n);
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

std::string PlanInputsLine(const PlanSettings& settings) {
  const Setup& setup = settings.rx;
  return "ZF " + Shown(setup.zf) + " MHz, TX-ZF " + Shown(settings.txZf) + " MHz, Raster " +
         std::to_string(setup.Raster() / 1000) + " kHz, Band " +
         std::string(BandName(setup.band).value_or("?")) + " (" + std::to_string(setup.band) +
         "), CP " + (setup.chargePump ? "1" : "0");
}

std::string PlanInputsJson(const PlanSettings& settings) {
  const Setup& setup = settings.rx;
  return "  \"zf_mhz\": " + Shown(setup.zf) + ",\n  \"tx_zf_mhz\": " + Shown(settings.txZf) +
         ",\n  \"raster_khz\": " + std::to_string(setup.Raster() / 1000) + ",\n  \"band\": \"" +
         std::string(BandName(setup.band).value_or("?")) +
         "\",\n  \"band_bits\": " + std::to_string(setup.band) +
         ",\n  \"charge_pump\": " + (setup.chargePump ? "1" : "0") + ",\n";
}

Image BuildPlanImage(const std::vector<PlannedChannel>& plan, const ImageLayout& layout) {
  std::vector<ImageRecord> records;
  records.reserve(plan.size());
  for (const PlannedChannel& channel : plan) {
    records.push_back({channel.number, channel.rx.row.bytes, std::nullopt});
    if (channel.tx) records.back().tx = channel.tx->row.bytes;
  }
  return BuildImage(records, layout);
}

void WritePlanText(const std::vector<PlannedChannel>& plan, std::string_view inputs, Sink& out) {
  out.Put("teilomat-cli ");
  out.Put(ProgramVersion());
  out.Put(" plan: ");
  out.Put(inputs);
  out.Put('\n');
  // The same columns as the rows below.
  PutRight(out, "Kanal", 6);
  for (std::string_view side : {"RX/MHz", "TX/MHz"}) {
    PutRight(out, side, 12);
    PutRight(out, "Abw./Hz", 9);
    PutRight(out, "N", 7);
    for (std::string_view db : {"DB0", "DB1", "DB2"}) PutRight(out, db, 3);
  }
  out.Put("  Name\n");
  for (const PlannedChannel& channel : plan) {
    PutRight(out, std::to_string(channel.number), 6);
    PutTextSide(out, channel.rx);
    PutTextSide(out, channel.tx);
    out.Put("  ");
    // A name is shown, never obeyed: control characters cannot reach the terminal.
    out.Put(TerminalText(channel.name));
    out.Put('\n');
  }
}

void WritePlanCsv(const std::vector<PlannedChannel>& plan, Sink& out) {
  out.Put(
      "channel,name,rx_mhz,rx_diff_hz,rx_n,rx_db0,rx_db1,rx_db2,tx_mhz,tx_diff_hz,tx_n,tx_db0,"
      "tx_db1,tx_db2\n");
  for (const PlannedChannel& channel : plan) {
    PutInt(out, channel.number);
    out.Put(',');
    PutCsvField(out, channel.name);
    PutCsvSide(out, channel.rx);
    PutCsvSide(out, channel.tx);
    out.Put('\n');
  }
}

void WritePlanJson(const std::vector<PlannedChannel>& plan, std::string_view inputsJson,
                   Sink& out) {
  out.Put("{\n  \"program\": \"teilomat-cli\",\n  \"version\": ");
  PutJsonString(out, ProgramVersion());
  out.Put(",\n  \"command\": \"plan\",\n");
  out.Put(inputsJson);
  out.Put("  \"channels\": [");
  for (std::size_t i = 0; i < plan.size(); ++i) {
    out.Put(i == 0 ? "\n    {\"channel\": " : ",\n    {\"channel\": ");
    PutInt(out, plan[i].number);
    out.Put(", \"name\": ");
    PutJsonString(out, plan[i].name);
    out.Put(", \"rx\": ");
    PutJsonSide(out, plan[i].rx);
    out.Put(", \"tx\": ");
    PutJsonSide(out, plan[i].tx);
    out.Put("}");
  }
  out.Put("\n  ],\n  \"count\": ");
  PutInt(out, static_cast<std::int64_t>(plan.size()));
  out.Put("\n}\n");
}

void WritePlanC(const std::vector<PlannedChannel>& plan, std::string_view inputs,
                std::string_view prefix, Sink& out) {
  const std::string upper = Upper(prefix);
  const std::string guard = upper + "_PLAN_H";
  out.Put(
      "/* Kanalplan fuer den PLL-Synthesizer TSA6057: Datenbytes {DB0, DB1, DB2}\n"
      " * zum Empfangen (rx) und Senden (tx) je Kanal.\n * Erzeugt von teilomat-cli ");
  out.Put(ProgramVersion());
  out.Put(" (plan).\n * ");
  out.Put(inputs);
  out.Put("\n */\n#ifndef ");
  out.Put(guard);
  out.Put("\n#define ");
  out.Put(guard);
  out.Put("\n\n#include <stdint.h>\n\nstruct ");
  out.Put(prefix);
  out.Put(
      "_plan_channel {\n"
      "    uint16_t number;   /* Kanalnummer */\n"
      "    const char *name;  /* UTF-8 */\n"
      "    uint8_t rx[3];     /* DB0, DB1, DB2 zum Empfangen */\n"
      "    uint8_t tx[3];     /* DB0, DB1, DB2 zum Senden; 0 bei transmits 0 */\n"
      "    uint8_t transmits; /* 1: der Kanal sendet */\n"
      "};\n\nstatic const struct ");
  out.Put(prefix);
  out.Put("_plan_channel ");
  out.Put(prefix);
  out.Put("_plan[] = {\n");
  for (const PlannedChannel& channel : plan) {
    out.Put("    {");
    PutInt(out, channel.number);
    out.Put(", ");
    PutCString(out, channel.name);
    out.Put(", ");
    PutCBytes(out, channel.rx.row.bytes);
    out.Put(", ");
    PutCBytes(out, channel.tx ? channel.tx->row.bytes : std::array<std::uint8_t, 3>{});
    out.Put(channel.tx ? ", 1}, /* RX " : ", 0}, /* RX ");
    // Only numbers in comments: a name could end one.
    PutCComment(out, channel.rx);
    if (channel.tx) {
      out.Put("; TX ");
      PutCComment(out, *channel.tx);
    }
    out.Put(" */\n");
  }
  out.Put("};\n\n#define ");
  out.Put(upper);
  out.Put("_PLAN_COUNT ");
  PutInt(out, static_cast<std::int64_t>(plan.size()));
  out.Put("\n\n#endif /* ");
  out.Put(guard);
  out.Put(" */\n");
}

}  // namespace channels
