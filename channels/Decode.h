// Reading three data bytes back: divider ratio, channel step, band and
// charge-pump bit, with everything the encoder would never write named; or a
// whole I²C write, whose fixed bytes are checked and whose address is named.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "channels/RowWriter.h"
#include "channels/Sink.h"
#include "tuning/DataByteEncoder.h"

namespace channels {

/// What is wrong with the bytes of a write, before DB0 to DB2 are looked at.
enum class WriteProblem { None, Count, Address, Subaddress, Db3 };

/// DB0 to DB2 taken out of the bytes typed: those three alone, the write from
/// its subaddress on (subaddress, DB0, DB1, DB2, DB3), or the whole write with
/// the address byte first.
struct TakenWrite {
  std::array<std::uint8_t, 3> bytes{};
  std::optional<std::uint8_t> address;  // where the write named it
  WriteProblem problem = WriteProblem::None;
  std::size_t at = 0;  // the byte a problem lies in, counted from 0
};

/// Takes 3, 5 or 6 bytes apart. Problems: Count for any other number of
/// bytes; Address for an address byte other than 0xC4 and 0xC6; Subaddress
/// for one other than 0x00; Db3 for a DB3 other than 0x00.
TakenWrite TakeWrite(std::span<const std::uint8_t> bytes);

/// The name of byte `index` of `count` bytes (3, 5 or 6): "Adressbyte",
/// "Subadresse", "DB0" to "DB3".
std::string_view WriteByteName(std::size_t count, std::size_t index);

/// Why the write was refused, in German: `typed` is the byte as it was
/// typed, `count` the number of bytes.
std::string WriteComplaint(const TakenWrite& taken, std::string_view typed, std::size_t count);

struct DecodeReport {
  std::optional<std::uint8_t> address;  // the address byte, if the write named it
  std::array<std::uint8_t, 3> bytes{};
  tuning::DecodedBytes fields;
  double zf = 10.7;                    // ZF in MHz for the receive frequency
  std::optional<std::int16_t> raster;  // channel step in Hz; none for reference bits 192
  std::optional<double> vcoKHz;        // VCO as the window shows it, if the step is known
  std::optional<double> rxMHz;         // RX for `zf`, if the step is known
  std::vector<std::string> notes;      // anything unexpected, in German
};

/// Takes the bytes apart and works out VCO and RX for the given ZF.
DecodeReport Decode(const std::array<std::uint8_t, 3>& bytes, double zf,
                    std::optional<std::uint8_t> address = std::nullopt);

/// Writes a report as text, CSV (in the dialect `csv`) or JSON. There is no
/// C or i2ctransfer form of a report; Format::CArray and Format::I2cTransfer
/// write nothing.
void WriteDecode(const DecodeReport& report, Format format, Sink& out,
                 const CsvDialect& csv = kPlainCsv);

}  // namespace channels
