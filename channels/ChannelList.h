// A radio's channel list, read from CSV: a CHIRP export, or a plain list with
// the header name,rx_mhz,tx_mhz.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tuning/NumberText.h"

namespace channels {

/// The largest list read: 64 MiB, far beyond any radio's.
inline constexpr std::size_t kMaxListBytes = std::size_t{64} * 1024 * 1024;

/// The highest channel number a list may hold.
inline constexpr std::int64_t kMaxChannelNumber = 65535;

/// One channel as the list gives it.
struct Channel {
  std::int64_t number = 0;      // CHIRP's Location, or the place in a plain list from 0
  std::string name;             // UTF-8, anything the file holds
  double rxMHz = 0.0;           // receive frequency
  std::optional<double> txMHz;  // transmit frequency; none: the channel does not transmit
  std::size_t line = 0;         // the line of the file the channel starts on
};

/// Why a list could not be read.
enum class ListError {
  None,
  Empty,          // no text, or nothing but blank lines
  NoChannels,     // a header row and no channel
  NotUtf8,        // `line` holds bytes that are not UTF-8
  BadQuote,       // on `line` a quoted field is not closed, or text follows its closing quote
  MissingColumn,  // the header row `text` on `line` lacks the column `column`
  NotANumber,     // on `line`, the cell of `column` holds `text`, which is no number (numberError)
  BadNumber,      // on `line`, `text` in `column` is no channel number from 0 to kMaxChannelNumber
  UnknownDuplex,  // on `line`, the Duplex cell holds `text`
  DuplicateNumber,  // on `line`, channel `text` again, first seen on `firstLine`
  Utf16,            // the text is UTF-16 (`line` 1)
  DuplicateColumn,  // the header row on `line` names `column` twice: at `firstPlace` and `place`
  NegativeOffset,   // on `line`, Duplex + or - with the negative Offset `text`
  TooManyChannels,  // on `line`, a plain list's channel 65536, one past the highest number
  TooManyCells,     // on `line`, `cells` cells up to the last filled one; the header `headerCells`
};

/// The channels in file order, or the first error.
struct ChannelList {
  std::vector<Channel> channels;
  ListError error = ListError::None;
  std::size_t line = 0;
  std::size_t firstLine = 0;
  std::string column;
  std::string text;  // cut after 200 bytes
  // NotANumber: why; Empty also for a BadNumber whose cell is empty.
  tuning::NumberError numberError = tuning::NumberError::None;
  std::size_t place = 0, firstPlace = 0;   // DuplicateColumn: the two columns, from 1
  std::size_t cells = 0, headerCells = 0;  // TooManyCells
  char separator = ',';                    // a list read, and TooManyCells: its separator
  // The text was not UTF-8 and was read as Windows-1252 (German Excel's plain
  // "CSV"), converted to UTF-8 first; set whether the list was read or not.
  bool windows1252 = false;

  explicit operator bool() const { return error == ListError::None; }
};

/// Reads a channel list. UTF-16 is refused, a UTF-8 byte-order mark is
/// skipped, and a text that is Windows-1252 rather than UTF-8 (see
/// DetectEncoding) is converted and read, with `windows1252` set. The
/// separator is ",", ";" or tab, whichever the header row holds most of
/// outside quotes. The form is told by the header row: one with a column
/// rx_mhz is a plain list (columns name and rx_mhz required, tx_mhz optional;
/// channels numbered from 0 in file order, at most kMaxChannelNumber + 1);
/// any other must be a CHIRP export with the columns Location, Name,
/// Frequency, Duplex and Offset, found by name in any case, others ignored.
/// A column the list uses may stand only once. Duplex, in any case, decides
/// TX: empty TX = RX, "+" RX + Offset, "-" RX − Offset (both exact in
/// decimal; the Offset not negative), "split" Offset is TX, "off" no TX.
/// Numbers take "." or ",", as on the command line, so a list saved with ";"
/// or tab may use a decimal comma. A row may hold more cells than the header
/// row as long as those past the header's last one are empty (a trailing
/// separator); one that holds something there is refused.
ChannelList ReadChannelList(std::string_view text);

/// The German message for a list that could not be read.
std::string ListMessage(const ChannelList& list);

/// The German line, without its line end, that says how a list was read
/// where that is not as the user may think (Windows-1252 rather than UTF-8);
/// empty where there is nothing to say.
std::string ListNotice(const ChannelList& list);

}  // namespace channels
