#include "channels/PlanWriters.h"

#include <array>

#include "channels/Escape.h"
#include "channels/NumberOutput.h"
#include "channels/Settings.h"

namespace channels {
namespace {

void PutTextSide(Sink& out, const std::optional<PlannedSide>& side) {
  if (!side) {
    PutRight(out, "-", 12);
    PutRight(out, "", 9 + 1 + 7 + 3 * 4);
    return;
  }
  PutRight(out, side->Mhz(), 12);
  PutRight(out, side->DiffHz(), 9);
  PutRight(out, std::to_string(side->n), 7);
  for (std::uint8_t b : side->bytes) PutRight(out, std::to_string(b), 3);
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
  PutInt(out, side->n);
  for (std::uint8_t b : side->bytes) {
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
  PutInt(out, side->n);
  out.Put(", \"db\": [");
  for (std::size_t i = 0; i < 3; ++i) {
    if (i > 0) out.Put(", ");
    PutInt(out, side->bytes[i]);
  }
  out.Put("]}");
}

}  // namespace

Image BuildPlanImage(const std::vector<PlannedChannel>& plan, const ImageLayout& layout) {
  std::vector<ImageRecord> records;
  records.reserve(plan.size());
  for (const PlannedChannel& channel : plan) {
    records.push_back({channel.number, channel.rx.bytes, std::nullopt});
    if (channel.tx) records.back().tx = channel.tx->bytes;
  }
  return BuildImage(records, layout);
}

void WritePlanText(const std::vector<PlannedChannel>& plan, const PlanSettings& settings,
                   Sink& out) {
  out.Put("teilomat-cli ");
  out.Put(ProgramVersion());
  out.Put(" plan: ");
  PutInputsLine(out, settings.rx, settings.txZf);
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

void WritePlanJson(const std::vector<PlannedChannel>& plan, const PlanSettings& settings,
                   Sink& out) {
  PutJsonOpening(out, "plan");
  out.Put(",\n");
  PutInputsJson(out, settings.rx, settings.txZf);
  out.Put(",\n  \"channels\": [");
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

}  // namespace channels
