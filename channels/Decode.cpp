#include "channels/Decode.h"

#include "channels/ChipBus.h"
#include "channels/Escape.h"
#include "channels/NumberOutput.h"
#include "channels/Row.h"
#include "channels/Settings.h"
#include "tuning/DividerCalculation.h"

namespace channels {

TakenWrite TakeWrite(std::span<const std::uint8_t> bytes) {
  TakenWrite taken;
  // A refused write gives nothing but the problem and its place.
  const auto refuse = [](WriteProblem problem, std::size_t at) {
    TakenWrite refused;
    refused.problem = problem;
    refused.at = at;
    return refused;
  };
  if (bytes.size() != 3 && bytes.size() != 5 && bytes.size() != 6) {
    return refuse(WriteProblem::Count, 0);
  }
  std::size_t db0 = 0;
  if (bytes.size() >= 5) {
    const std::size_t subaddress = bytes.size() - 5;
    if (subaddress == 1) {
      if (bytes[0] != tuning::kChipAddress && bytes[0] != tuning::kChipAddressSelect) {
        return refuse(WriteProblem::Address, 0);
      }
      taken.address = bytes[0];
    }
    if (bytes[subaddress] != tuning::kChipSubaddress) {
      return refuse(WriteProblem::Subaddress, subaddress);
    }
    if (bytes.back() != tuning::kChipDb3) return refuse(WriteProblem::Db3, bytes.size() - 1);
    db0 = subaddress + 1;
  }
  for (std::size_t i = 0; i < 3; ++i) taken.bytes[i] = bytes[db0 + i];
  return taken;
}

std::string_view WriteByteName(std::size_t count, std::size_t index) {
  constexpr std::array<std::string_view, 6> kNames = {"Adressbyte", "Subadresse", "DB0",
                                                      "DB1",        "DB2",        "DB3"};
  if (count == 3) index += 2;
  if (count == 5) index += 1;
  return index < kNames.size() ? kNames[index] : "Byte";
}

std::string WriteComplaint(const TakenWrite& taken, std::string_view typed, std::size_t count) {
  const std::string byte = std::string(WriteByteName(count, taken.at)) + " " + Quoted(typed);
  switch (taken.problem) {
    case WriteProblem::None:
      break;
    case WriteProblem::Count:
      return "decode nimmt 3, 5 oder 6 Bytes, nicht " + std::to_string(count) +
             ": DB0 DB1 DB2; Subadresse DB0 DB1 DB2 DB3; oder Adressbyte Subadresse DB0 DB1 DB2 "
             "DB3.";
    case WriteProblem::Address:
      return byte + " ist keine Adresse des TSA6057: " + std::string(kAddressChoices);
    case WriteProblem::Subaddress:
      return byte + " gibt es nicht: der TSA6057 wird ab DB0 beschrieben, mit der Subadresse 0x00.";
    case WriteProblem::Db3:
      return byte + " muss 0x00 sein: seine Testbits schalten den TSA6057 in Testbetriebsarten.";
  }
  return {};
}

DecodeReport Decode(const std::array<std::uint8_t, 3>& bytes, double zf,
                    std::optional<std::uint8_t> address) {
  DecodeReport report;
  report.address = address;
  report.bytes = bytes;
  report.fields = tuning::DecodeDataBytes(bytes);
  report.zf = zf;
  report.raster = tuning::RasterForRefBits(report.fields.refBits);
  if (report.raster) {
    report.vcoKHz = tuning::VcoKHz(*report.raster, report.fields.n);
    report.rxMHz = ChannelRxMHz(*report.raster, report.fields.n, zf);
  }

  const tuning::DecodedBytes& f = report.fields;
  if (f.reservedBits != 0) {
    report.notes.push_back("Bits 2-3 von DB2 sind gesetzt (Wert " + std::to_string(f.reservedBits) +
                           "); sie sollten frei sein.");
  }
  if (f.bandBits == (tuning::kBandAm | tuning::kBandFm)) {
    report.notes.push_back("Beide Bandbits sind gesetzt (48): AM (16) und FM (32) zugleich.");
  } else if (f.bandBits == 0) {
    report.notes.push_back("Kein Bandbit ist gesetzt: weder AM (16) noch FM (32).");
  }
  if (!report.raster) {
    report.notes.push_back(
        "Referenzbits 192 (Bits 6 und 7 von DB2): kein bekanntes Raster, VCO und RX unbekannt.");
  }
  return report;
}

namespace {

void PutOptionalNumber(Sink& out, const std::optional<double>& value, std::string_view none) {
  if (value) {
    out.Put(Shown(*value));
  } else {
    out.Put(none);
  }
}

// A frequency with its unit, or "unbekannt" where the bytes give none.
void PutFrequency(Sink& out, const std::optional<double>& value, std::string_view unit) {
  if (!value) {
    out.Put("unbekannt");
    return;
  }
  out.Put(Shown(*value));
  out.Put(unit);
}

void WriteText(const DecodeReport& r, Sink& out) {
  if (r.address) {
    out.Put("Adresse  ");
    PutHex(out, *r.address);
    out.Put(" (7 Bit ");
    PutHex(out, tuning::SevenBitAddress(*r.address));
    out.Put("), Adresswahl-Eingang ");
    out.Put(AddressSelectState(*r.address));
    out.Put('\n');
  }
  for (std::size_t i = 0; i < 3; ++i) {
    out.Put("DB");
    out.Put(static_cast<char>('0' + i));
    out.Put("      ");
    const std::string value = std::to_string(r.bytes[i]);
    out.Put(std::string(3 - value.size(), ' '));
    out.Put(value);
    out.Put("  ");
    PutHex(out, r.bytes[i]);
    out.Put("  ");
    PutBinary(out, r.bytes[i]);
    out.Put('\n');
  }
  out.Put("N        ");
  PutInt(out, r.fields.n);
  out.Put("\nRaster   ");
  if (r.raster) {
    PutInt(out, *r.raster / 1000);
    out.Put(" kHz");
  } else {
    out.Put("unbekannt");
  }
  out.Put(" (Referenzbits ");
  PutInt(out, r.fields.refBits);
  out.Put(")\nBand     ");
  out.Put(BandName(r.fields.bandBits).value_or("unklar"));
  out.Put(" (Bandbits ");
  PutInt(out, r.fields.bandBits);
  out.Put(")\nCP       ");
  out.Put(r.fields.chargePump ? '1' : '0');
  out.Put("\nVCO      ");
  PutFrequency(out, r.vcoKHz, " kHz");
  out.Put("\nRX       ");
  PutFrequency(out, r.rxMHz, " MHz");
  out.Put(" bei ZF ");
  out.Put(Shown(r.zf));
  out.Put(" MHz\n");
  for (const std::string& note : r.notes) {
    out.Put("Hinweis: ");
    out.Put(note);
    out.Put('\n');
  }
}

void WriteCsv(const DecodeReport& r, Sink& out, const CsvDialect& csv) {
  const char separator = csv.separator;
  PutCsvStart(out, csv);
  PutCsvHeader(out,
               "db0,db1,db2,db0_hex,db1_hex,db2_hex,db0_bin,db1_bin,db2_bin,n,raster_khz,band,"
               "band_bits,charge_pump,vco_khz,zf_mhz,rx_mhz,notes,address,address_7bit,"
               "address_select",
               csv);
  for (std::uint8_t b : r.bytes) {
    PutInt(out, b);
    out.Put(separator);
  }
  for (std::uint8_t b : r.bytes) {
    PutHex(out, b);
    out.Put(separator);
  }
  if (!csv.spreadsheet) {
    for (std::uint8_t b : r.bytes) {
      PutBinary(out, b);
      out.Put(separator);
    }
  }
  PutInt(out, r.fields.n);
  out.Put(separator);
  if (r.raster) PutInt(out, *r.raster / 1000);
  out.Put(separator);
  out.Put(BandName(r.fields.bandBits).value_or(""));
  out.Put(separator);
  PutInt(out, r.fields.bandBits);
  out.Put(separator);
  out.Put(r.fields.chargePump ? '1' : '0');
  out.Put(separator);
  if (r.vcoKHz) PutCsvNumber(out, Shown(*r.vcoKHz), csv);
  out.Put(separator);
  PutCsvNumber(out, Shown(r.zf), csv);
  out.Put(separator);
  if (r.rxMHz) PutCsvNumber(out, Shown(*r.rxMHz), csv);
  out.Put(separator);
  std::string notes;
  for (const std::string& note : r.notes) {
    if (!notes.empty()) notes += " ";
    notes += note;
  }
  PutCsvText(out, notes, csv);
  out.Put(separator);
  if (r.address) {
    PutHex(out, *r.address);
    out.Put(separator);
    PutHex(out, tuning::SevenBitAddress(*r.address));
    out.Put(separator);
    out.Put(*r.address == tuning::kChipAddressSelect ? '1' : '0');
  } else {
    out.Put(std::string(2, separator));
  }
  out.Put(csv.lineEnd);
}

void WriteJson(const DecodeReport& r, Sink& out) {
  PutJsonOpening(out, "decode");
  out.Put(",\n  ");
  PutJsonBytes(out, r.bytes, ",\n  ");
  out.Put(",\n  \"n\": ");
  PutInt(out, r.fields.n);
  out.Put(",\n  \"raster_khz\": ");
  if (r.raster) {
    PutInt(out, *r.raster / 1000);
  } else {
    out.Put("null");
  }
  out.Put(",\n  \"ref_bits\": ");
  PutInt(out, r.fields.refBits);
  out.Put(",\n  \"band\": ");
  if (const auto band = BandName(r.fields.bandBits)) {
    PutJsonString(out, *band);
  } else {
    out.Put("null");
  }
  out.Put(",\n  \"band_bits\": ");
  PutInt(out, r.fields.bandBits);
  out.Put(",\n  \"reserved_bits\": ");
  PutInt(out, r.fields.reservedBits);
  out.Put(",\n  \"charge_pump\": ");
  out.Put(r.fields.chargePump ? '1' : '0');
  out.Put(",\n  \"vco_khz\": ");
  PutOptionalNumber(out, r.vcoKHz, "null");
  out.Put(",\n  \"zf_mhz\": ");
  out.Put(Shown(r.zf));
  out.Put(",\n  \"rx_mhz\": ");
  PutOptionalNumber(out, r.rxMHz, "null");
  out.Put(",\n  \"notes\": [");
  for (std::size_t i = 0; i < r.notes.size(); ++i) {
    out.Put(i > 0 ? ",\n    " : "\n    ");
    PutJsonString(out, r.notes[i]);
  }
  out.Put(r.notes.empty() ? "]" : "\n  ]");
  out.Put(",\n  \"address\": ");
  if (r.address) {
    PutInt(out, *r.address);
    out.Put(",\n  \"address_7bit\": ");
    PutInt(out, tuning::SevenBitAddress(*r.address));
    out.Put(",\n  \"address_select\": ");
    out.Put(*r.address == tuning::kChipAddressSelect ? '1' : '0');
  } else {
    out.Put("null,\n  \"address_7bit\": null,\n  \"address_select\": null");
  }
  out.Put("\n}\n");
}

}  // namespace

void WriteDecode(const DecodeReport& report, Format format, Sink& out, const CsvDialect& csv) {
  switch (format) {
    case Format::Text:
      WriteText(report, out);
      break;
    case Format::Csv:
      WriteCsv(report, out, csv);
      break;
    case Format::Json:
      WriteJson(report, out);
      break;
    case Format::CArray:
    case Format::I2cTransfer:
      break;
  }
}

}  // namespace channels
