#include "channels/RowWriter.h"

#include <array>
#include <charconv>
#include <cmath>

#include "channels/Escape.h"
#include "channels/NumberOutput.h"
#include "channels/Settings.h"

namespace channels {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

}  // namespace

std::optional<Format> FormatByName(std::string_view name) {
  if (name == "text") return Format::Text;
  if (name == "csv") return Format::Csv;
  if (name == "json") return Format::Json;
  if (name == "c") return Format::CArray;
  if (name == "i2ctransfer") return Format::I2cTransfer;
  return std::nullopt;
}

RowWriter::RowWriter(Format format, const RowOrigin& origin, Sink& out, const CsvDialect& csv)
    : format_(format), origin_(origin), out_(out), csv_(csv) {}

void RowWriter::Begin() {
  const Setup& setup = origin_.setup;
  switch (format_) {
    case Format::Text:
      out_.Put("teilomat-cli ");
      out_.Put(ProgramVersion());
      out_.Put(": ");
      PutInputsLine(out_, setup, std::nullopt);
      out_.Put('\n');
      // The same columns as PutText.
      PutRight(out_, "RX soll/MHz", 14);
      PutRight(out_, "N", 9);
      PutRight(out_, "VCO/kHz", 10);
      PutRight(out_, "RX ist/MHz", 14);
      PutRight(out_, "Abw./Hz", 10);
      PutRight(out_, "DB0", 3);
      PutRight(out_, "DB1", 3);
      PutRight(out_, "DB2", 3);
      out_.Put(" hex            binär                      I²C\n");
      break;
    case Format::Csv:
      PutCsvStart(out_, csv_);
      PutCsvHeader(out_,
                   "rx_requested_mhz,n,vco_khz,rx_mhz,diff_hz,db0,db1,db2,db0_hex,db1_hex,db2_hex,"
                   "db0_bin,db1_bin,db2_bin,i2c",
                   csv_);
      break;
    case Format::Json:
      PutJsonOpening(out_, origin_.command);
      out_.Put(",\n");
      PutInputsJson(out_, setup, std::nullopt);
      if (origin_.range) {
        out_.Put(",\n  \"from_mhz\": ");
        out_.Put(Shown(origin_.range->fromMHz));
        out_.Put(",\n  \"to_mhz\": ");
        out_.Put(Shown(origin_.range->toMHz));
      }
      out_.Put(",\n  \"results\": [");
      break;
    case Format::CArray: {
      const std::string guard = Upper(origin_.name) + "_CHANNELS_H";
      out_.Put("/* Datenbytes {DB0, DB1, DB2} fuer den PLL-Synthesizer TSA6057.\n * Erzeugt von ");
      out_.Put("teilomat-cli ");
      out_.Put(ProgramVersion());
      out_.Put(" (");
      out_.Put(origin_.command);
      out_.Put(").\n * ");
      PutInputsLine(out_, setup, std::nullopt);
      out_.Put("\n");
      if (origin_.range) {
        out_.Put(" * Bereich: RX ");
        out_.Put(Shown(origin_.range->fromMHz));
        out_.Put(" bis ");
        out_.Put(Shown(origin_.range->toMHz));
        out_.Put(" MHz\n");
      }
      out_.Put(" */\n#ifndef ");
      out_.Put(guard);
      out_.Put("\n#define ");
      out_.Put(guard);
      out_.Put("\n\n#include <stdint.h>\n\nstatic const uint8_t ");
      out_.Put(origin_.name);
      out_.Put("_channels[][3] = {\n");
      break;
    }
    case Format::I2cTransfer: {
      StringSink inputs;
      inputs.Put("teilomat-cli ");
      inputs.Put(ProgramVersion());
      inputs.Put(" ");
      inputs.Put(origin_.command);
      inputs.Put(": ");
      PutInputsLine(inputs, setup, std::nullopt);
      if (origin_.range) {
        inputs.Put(", RX ");
        inputs.Put(Shown(origin_.range->fromMHz));
        inputs.Put(" bis ");
        inputs.Put(Shown(origin_.range->toMHz));
        inputs.Put(" MHz");
      }
      PutI2cScriptHeading(out_, inputs.Text(), origin_.chip);
      break;
    }
  }
}

void RowWriter::Put(const Row& row) {
  rx_ = Shown(row.rxMHz);
  vco_ = Shown(row.vcoKHz);
  if (row.requestedMHz == row.rxMHz) {
    requested_ = rx_;
    // Not `= "0"`: GCC 12 at -O3 wrongly sees overlapping copies (-Wrestrict)
    // in assigning a one-character literal to a string.
    diff_.assign(1, '0');
  } else {
    requested_ = Shown(row.requestedMHz);
    diff_ = DifferenceHz(requested_, rx_);
  }
  switch (format_) {
    case Format::Text:
      PutText(row);
      break;
    case Format::Csv:
      PutCsv(row);
      break;
    case Format::Json:
      PutJson(row);
      break;
    case Format::CArray:
      PutC(row);
      break;
    case Format::I2cTransfer:
      PutI2cTransfer(row);
      break;
  }
  ++count_;
}

void RowWriter::PutText(const Row& row) {
  PutRight(out_, requested_, 14);
  PutRightInt(out_, row.n, 9);
  PutRight(out_, vco_, 10);
  PutRight(out_, rx_, 14);
  PutRight(out_, diff_, 10);
  for (std::uint8_t b : row.bytes) PutRightInt(out_, b, 3);
  for (std::uint8_t b : row.bytes) {
    out_.Put(' ');
    PutHex(out_, b);
  }
  for (std::uint8_t b : row.bytes) {
    out_.Put(' ');
    PutBinary(out_, b);
  }
  out_.Put(' ');
  PutChipWriteHex(out_, tuning::MakeChipWrite(origin_.chip.address, row.bytes));
  out_.Put('\n');
}

void RowWriter::PutCsv(const Row& row) {
  const char separator = csv_.separator;
  PutCsvNumber(out_, requested_, csv_);
  out_.Put(separator);
  PutInt(out_, row.n);
  out_.Put(separator);
  PutCsvNumber(out_, vco_, csv_);
  out_.Put(separator);
  PutCsvNumber(out_, rx_, csv_);
  out_.Put(separator);
  PutCsvNumber(out_, diff_, csv_);
  // The byte columns are the bulk of every row: written in one piece.
  std::array<char, 64> text{};
  char* p = text.data();
  for (std::uint8_t b : row.bytes) {
    *p++ = separator;
    p = std::to_chars(p, p + 3, b).ptr;  // a byte has at most three digits
  }
  // "0x" keeps a hex cell text in a spreadsheet too.
  for (std::uint8_t b : row.bytes) {
    *p++ = separator;
    *p++ = '0';
    *p++ = 'x';
    *p++ = kHexDigits[b >> 4];
    *p++ = kHexDigits[b & 15u];
  }
  if (!csv_.spreadsheet) {
    for (std::uint8_t b : row.bytes) {
      *p++ = separator;
      p = WriteBinary(p, b);
    }
  }
  *p++ = separator;
  out_.Put(std::string_view(text.data(), static_cast<std::size_t>(p - text.data())));
  // Blanks and letters: text in a spreadsheet as well.
  PutChipWriteHex(out_, tuning::MakeChipWrite(origin_.chip.address, row.bytes));
  out_.Put(csv_.lineEnd);
}

void RowWriter::PutJson(const Row& row) {
  out_.Put(count_ == 0 ? "\n    {\"rx_requested_mhz\": " : ",\n    {\"rx_requested_mhz\": ");
  out_.Put(requested_);
  out_.Put(", \"n\": ");
  PutInt(out_, row.n);
  out_.Put(", \"vco_khz\": ");
  out_.Put(vco_);
  out_.Put(", \"rx_mhz\": ");
  out_.Put(rx_);
  out_.Put(", \"diff_hz\": ");
  out_.Put(diff_);
  out_.Put(", ");
  PutJsonBytes(out_, row.bytes, ", ");
  out_.Put(", \"i2c\": ");
  PutChipWriteJson(out_, tuning::MakeChipWrite(origin_.chip.address, row.bytes));
  out_.Put('}');
}

void PutJsonBytes(Sink& out, const std::array<std::uint8_t, 3>& bytes, std::string_view between) {
  // One array member: the bytes as numbers, or as strings written by `put`.
  const auto member = [&out, &bytes](std::string_view name, void (*put)(Sink&, std::uint8_t)) {
    out.Put('"');
    out.Put(name);
    out.Put("\": [");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (i > 0) out.Put(", ");
      if (put == nullptr) {
        PutInt(out, bytes[i]);
      } else {
        out.Put('"');
        put(out, bytes[i]);
        out.Put('"');
      }
    }
    out.Put(']');
  };
  member("db", nullptr);
  out.Put(between);
  member("db_hex", PutHex);
  out.Put(between);
  member("db_bin", PutBinary);
}

void RowWriter::PutC(const Row& row) {
  out_.Put("    {");
  for (std::size_t i = 0; i < 3; ++i) {
    if (i > 0) out_.Put(", ");
    PutHex(out_, row.bytes[i]);
  }
  out_.Put("}, /* RX ");
  out_.Put(rx_);
  out_.Put(" MHz, N ");
  PutInt(out_, row.n);
  if (requested_ != rx_) {
    out_.Put(" (angefragt ");
    out_.Put(requested_);
    out_.Put(" MHz)");
  }
  out_.Put(" */\n");
}

void RowWriter::PutI2cTransfer(const Row& row) {
  PutI2cTransferLine(out_, origin_.chip, row.bytes);
}

void RowWriter::End(std::string_view stoppedBefore) {
  switch (format_) {
    case Format::Text:
    case Format::Csv:
      break;
    case Format::Json:
      out_.Put(count_ == 0 ? "],\n  \"count\": " : "\n  ],\n  \"count\": ");
      PutInt(out_, static_cast<std::int64_t>(count_));
      out_.Put(",\n  \"complete\": ");
      out_.Put(stoppedBefore.empty() ? "true" : "false");
      if (!stoppedBefore.empty()) {
        out_.Put(",\n  \"stopped_before\": ");
        PutJsonString(out_, stoppedBefore);
      }
      out_.Put("\n}\n");
      break;
    case Format::CArray: {
      if (!stoppedBefore.empty()) {
        out_.Put("  /* Abgebrochen vor ");
        out_.Put(stoppedBefore);
        out_.Put(": Teilerverhaeltnis zu gross (max 131071). */\n");
      }
      out_.Put("};\n\n#define ");
      out_.Put(Upper(origin_.name));
      out_.Put("_CHANNEL_COUNT ");
      PutInt(out_, static_cast<std::int64_t>(count_));
      out_.Put("\n\n#endif /* ");
      out_.Put(Upper(origin_.name));
      out_.Put("_CHANNELS_H */\n");
      break;
    }
    case Format::I2cTransfer:
      if (!stoppedBefore.empty()) {
        out_.Put("# Abgebrochen vor ");
        out_.Put(TerminalText(stoppedBefore));
        out_.Put(": Teilerverhaeltnis zu gross (max 131071).\n");
      }
      break;
  }
}

}  // namespace channels
