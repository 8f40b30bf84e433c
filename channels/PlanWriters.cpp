#include "channels/PlanWriters.h"

#include <algorithm>
#include <array>

#include "channels/ChipBus.h"
#include "channels/Escape.h"
#include "channels/NumberOutput.h"
#include "channels/Settings.h"

namespace channels {
namespace {

// The number of characters of `text`, each well-formed UTF-8 character and
// each stray byte counting one.
std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); at += NextChar(text, at).length) ++count;
  return count;
}

// A side's write in hex, or "-" for a side that is not there.
void PutTextWrite(Sink& out, const std::optional<PlannedSide>& side, std::uint8_t address) {
  if (side) {
    PutChipWriteHex(out, tuning::MakeChipWrite(address, side->bytes));
  } else {
    out.Put('-');
  }
}

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

void PutCsvSide(Sink& out, const std::optional<PlannedSide>& side, const CsvDialect& csv) {
  if (!side) {
    out.Put(std::string(6, csv.separator));
    return;
  }
  out.Put(csv.separator);
  PutCsvNumber(out, side->Mhz(), csv);
  out.Put(csv.separator);
  PutCsvNumber(out, side->DiffHz(), csv);
  out.Put(csv.separator);
  PutInt(out, side->n);
  for (std::uint8_t b : side->bytes) {
    out.Put(csv.separator);
    PutInt(out, b);
  }
}

void PutJsonSide(Sink& out, const std::optional<PlannedSide>& side, std::uint8_t address) {
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
  out.Put("], \"i2c\": ");
  PutChipWriteJson(out, tuning::MakeChipWrite(address, side->bytes));
  out.Put('}');
}

// The comment before a side's write: "# Kanal 3, RX 145.6 MHz: Relais DB0XY".
void PutScriptSide(Sink& out, std::int64_t number, std::string_view name, std::string_view which,
                   const PlannedSide& side, const ChipTarget& target) {
  out.Put("# Kanal ");
  PutInt(out, number);
  out.Put(", ");
  out.Put(which);
  out.Put(' ');
  out.Put(side.Mhz());
  out.Put(" MHz: ");
  out.Put(name);
  out.Put('\n');
  PutI2cTransferLine(out, target, side.bytes);
}

// For each channel of `merged`, the mark after its name: "[RX wie Kanal 1;
// TX wie Kanal 1, 7]", the channels of each of its groups whose list
// frequency differs from its own.
std::vector<std::string> MergeMarks(const std::vector<PlannedChannel>& plan,
                                    const std::vector<MergedSides>& merged) {
  std::vector<std::string> marks(merged.empty() ? 0 : plan.size());
  for (const MergedSides& group : merged) {
    for (const std::size_t channel : group.channels) {
      std::string& mark = marks[channel];
      mark += mark.empty() ? "  [" : "; ";
      mark += group.tx ? "TX wie Kanal " : "RX wie Kanal ";
      bool first = true;
      const auto listMHz = [&plan, &group](std::size_t i) {
        return group.tx ? plan[i].tx->requestedMHz : plan[i].rx.requestedMHz;
      };
      for (const std::size_t other : group.channels) {
        if (listMHz(other) == listMHz(channel)) continue;
        if (!first) mark += ", ";
        mark += std::to_string(plan[other].number);
        first = false;
      }
    }
  }
  for (std::string& mark : marks) {
    if (!mark.empty()) mark += ']';
  }
  return marks;
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

void WritePlanText(const std::vector<PlannedChannel>& plan, const PlanSettings& settings, Sink& out,
                   const std::vector<MergedSides>& merged) {
  const std::vector<std::string> marks = MergeMarks(plan, merged);
  // The names as shown, and the widest, so the writes after them line up.
  std::vector<std::string> names;
  names.reserve(plan.size());
  std::size_t nameWidth = 4;  // "Name"
  for (const PlannedChannel& channel : plan) {
    // A name is shown, never obeyed: control characters cannot reach the terminal.
    names.push_back(TerminalText(channel.name));
    nameWidth = std::max(nameWidth, CharacterCount(names.back()));
  }
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
  out.Put("  Name");
  out.Put(std::string(nameWidth - 4, ' '));
  // Each write is 17 characters wide.
  out.Put("  RX I²C");
  out.Put(std::string(17 - 6 + 2, ' '));
  out.Put("TX I²C\n");
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const PlannedChannel& channel = plan[i];
    PutRight(out, std::to_string(channel.number), 6);
    PutTextSide(out, channel.rx);
    PutTextSide(out, channel.tx);
    out.Put("  ");
    out.Put(names[i]);
    out.Put(std::string(nameWidth - CharacterCount(names[i]), ' '));
    out.Put("  ");
    PutTextWrite(out, channel.rx, settings.chip.address);
    out.Put("  ");
    PutTextWrite(out, channel.tx, settings.chip.address);
    if (!marks.empty()) out.Put(marks[i]);
    out.Put('\n');
  }
}

void WritePlanCsv(const std::vector<PlannedChannel>& plan, const PlanSettings& settings, Sink& out,
                  const CsvDialect& csv) {
  const std::uint8_t address = settings.chip.address;
  PutCsvStart(out, csv);
  PutCsvHeader(out,
               "channel,name,rx_mhz,rx_diff_hz,rx_n,rx_db0,rx_db1,rx_db2,tx_mhz,tx_diff_hz,tx_n,"
               "tx_db0,tx_db1,tx_db2,rx_i2c,tx_i2c",
               csv);
  for (const PlannedChannel& channel : plan) {
    PutInt(out, channel.number);
    out.Put(csv.separator);
    PutCsvText(out, channel.name, csv);
    PutCsvSide(out, channel.rx, csv);
    PutCsvSide(out, channel.tx, csv);
    out.Put(csv.separator);
    PutChipWriteHex(out, tuning::MakeChipWrite(address, channel.rx.bytes));
    out.Put(csv.separator);
    if (channel.tx) PutChipWriteHex(out, tuning::MakeChipWrite(address, channel.tx->bytes));
    out.Put(csv.lineEnd);
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
    PutJsonSide(out, plan[i].rx, settings.chip.address);
    out.Put(", \"tx\": ");
    PutJsonSide(out, plan[i].tx, settings.chip.address);
    out.Put("}");
  }
  out.Put("\n  ],\n  \"count\": ");
  PutInt(out, static_cast<std::int64_t>(plan.size()));
  out.Put("\n}\n");
}

void WritePlanI2cTransfer(const std::vector<PlannedChannel>& plan, const PlanSettings& settings,
                          Sink& out) {
  StringSink inputs;
  inputs.Put("teilomat-cli ");
  inputs.Put(ProgramVersion());
  inputs.Put(" plan: ");
  PutInputsLine(inputs, settings.rx, settings.txZf);
  PutI2cScriptHeading(out, inputs.Text(), settings.chip);
  for (const PlannedChannel& channel : plan) {
    // A name stays inside its comment: no line break, quote or control gets out.
    const std::string name = CommentText(channel.name);
    PutScriptSide(out, channel.number, name, "RX", channel.rx, settings.chip);
    if (channel.tx) PutScriptSide(out, channel.number, name, "TX", *channel.tx, settings.chip);
  }
}

}  // namespace channels
