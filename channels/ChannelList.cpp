#include "channels/ChannelList.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <charconv>
#include <memory>

#include "channels/Csv.h"
#include "channels/Decimal.h"
#include "channels/Encoding.h"
#include "channels/Escape.h"
#include "channels/NumberInput.h"

namespace channels {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

constexpr std::string_view kUtf8Advice =
    "Bitte die Liste als UTF-8 speichern: in Excel als \u201ECSV UTF-8\u201C, in LibreOffice "
    "mit dem Zeichensatz \u201EUnicode (UTF-8)\u201C.";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Spreadsheets write headers in any case: "location", "LOCATION".
bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

ChannelList Failed(ListError error, std::size_t line, std::string_view column = {},
                   std::string_view text = {}) {
  ChannelList list;
  list.error = error;
  list.line = line;
  list.column = column;
  // A cell is kept no longer than a message shows it.
  list.text = text.substr(0, 200);
  return list;
}

// TX of a repeater, RX ± offset, worked out exactly on the digits of the
// cells and then read as if typed: 145.6125 − 0.6 is 145.0125, where binary
// arithmetic gives 145.01250000000002 and a different channel.
double ShiftedMHz(std::string_view rxText, double rx, std::string_view offsetText, double offset,
                  bool down) {
  std::optional<Decimal> a = ParseDecimal(rxText);
  std::optional<Decimal> b = ParseDecimal(offsetText);
  if (a && b) {
    if (down) b->negative = !b->negative;
    const tuning::NumberResult<double> sum = ReadNumber(DecimalText(Add(*a, *b)));
    if (sum) return sum.value;
  }
  return down ? rx - offset : rx + offset;
}

// The columns of one form of list, by their place in the header row.
struct Columns {
  bool chirp = false;
  std::size_t location = 0, name = 0, frequency = 0, duplex = 0, offset = 0;
  std::optional<std::size_t> tx;  // plain list: tx_mhz, if there is one
};

// Why the header row does not do: the first column it lacks, or the first
// one it names twice, at which places (from 1).
struct HeaderProblem {
  ListError error = ListError::None;
  std::string_view column;
  std::size_t firstPlace = 0, place = 0;
};

// Finds the columns by name; fills `problem` with the first one not there or
// there twice, in the order the form lists them.
std::optional<Columns> FindColumns(const std::vector<std::string>& header, HeaderProblem& problem) {
  const auto find = [&header](std::string_view name,
                              std::size_t from = 0) -> std::optional<std::size_t> {
    for (std::size_t i = from; i < header.size(); ++i) {
      if (SameName(Trimmed(header[i]), name)) return i;
    }
    return std::nullopt;
  };
  const auto once = [&](std::string_view name, std::optional<std::size_t>& place) {
    place = find(name);
    if (!place || problem.error != ListError::None) return;
    if (const std::optional<std::size_t> again = find(name, *place + 1)) {
      problem = {ListError::DuplicateColumn, name, *place + 1, *again + 1};
    }
  };
  Columns columns;
  const auto need = [&](std::string_view name, std::size_t& place) {
    std::optional<std::size_t> found;
    once(name, found);
    if (found) place = *found;
    if (!found && problem.error == ListError::None) problem = {ListError::MissingColumn, name};
  };
  if (find("rx_mhz")) {
    need("name", columns.name);
    need("rx_mhz", columns.frequency);
    once("tx_mhz", columns.tx);
  } else {
    columns.chirp = true;
    for (const auto& [name, place] : std::array<std::pair<std::string_view, std::size_t*>, 5>{
             {{"Location", &columns.location},
              {"Name", &columns.name},
              {"Frequency", &columns.frequency},
              {"Duplex", &columns.duplex},
              {"Offset", &columns.offset}}}) {
      need(name, *place);
    }
  }
  if (problem.error != ListError::None) return std::nullopt;
  return columns;
}

// The number of cells up to the last that holds more than blanks.
std::size_t FilledCells(const std::vector<std::string>& fields) {
  std::size_t count = fields.size();
  while (count > 0 && Trimmed(fields[count - 1]).empty()) --count;
  return count;
}

ChannelList ReadUtf8(std::string_view text) {
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
  if (const std::size_t bad = FirstNonUtf8(text); bad != std::string_view::npos) {
    return Failed(ListError::NotUtf8, LineAt(text, bad));
  }

  const char separator = DetectSeparator(text);
  CsvReader reader(text, separator);
  std::vector<std::string> fields;
  const auto readError = [&reader]() {
    return Failed(reader.Error() == CsvError::None ? ListError::None : ListError::BadQuote,
                  reader.Line());
  };
  if (!reader.Next(fields)) {
    ChannelList failed = readError();
    if (failed.error == ListError::None) failed.error = ListError::Empty;
    return failed;
  }
  HeaderProblem problem;
  const std::optional<Columns> columns = FindColumns(fields, problem);
  if (problem.error == ListError::DuplicateColumn) {
    ChannelList twice = Failed(ListError::DuplicateColumn, reader.Line(), problem.column);
    twice.firstPlace = problem.firstPlace;
    twice.place = problem.place;
    return twice;
  }
  if (!columns) {
    // A tab would show as "?" in the message; the header is shown with blanks.
    const char shownSeparator = separator == '\t' ? ' ' : separator;
    std::string header;
    for (const std::string& field : fields) {
      if (!header.empty()) header += shownSeparator;
      header += field;
      if (header.size() > 200) break;
    }
    return Failed(ListError::MissingColumn, reader.Line(), problem.column, header);
  }
  const std::size_t headerCells = FilledCells(fields);

  ChannelList list;
  // Grows with the channels found: blank lines cost nothing.
  // Checked access: a table too small would throw, not write past its end.
  const auto taken = std::make_unique<std::bitset<kMaxChannelNumber + 1>>();
  while (reader.Next(fields)) {
    const std::size_t line = reader.Line();
    const auto cell = [&fields](std::size_t column) {
      return column < fields.size() ? std::string_view(fields[column]) : std::string_view();
    };
    // Past the header's last column a cell belongs to no column: a decimal
    // comma in a list separated by commas, or a separator in an unquoted name.
    if (const std::size_t cells = FilledCells(fields); cells > headerCells) {
      ChannelList wide = Failed(ListError::TooManyCells, line);
      wide.cells = cells;
      wide.headerCells = headerCells;
      wide.separator = separator;  // the advice depends on it
      return wide;
    }
    ChannelList failure;
    // Reads the number in `column`; false, with `failure` said, if it is none.
    const auto number = [&](std::size_t column, std::string_view name, double& value) {
      const tuning::NumberResult<double> read = ReadNumber(cell(column));
      value = read.value;
      if (!read) {
        failure = Failed(ListError::NotANumber, line, name, cell(column));
        failure.numberError = read.error;
      }
      return static_cast<bool>(read);
    };

    Channel channel;
    channel.line = line;
    channel.name = cell(columns->name);
    if (columns->chirp) {
      const std::string_view location = Trimmed(cell(columns->location));
      const auto [end, ec] =
          std::from_chars(location.data(), location.data() + location.size(), channel.number);
      if (location.empty() || ec != std::errc() || end != location.data() + location.size() ||
          channel.number < 0 || channel.number > kMaxChannelNumber) {
        ChannelList bad = Failed(ListError::BadNumber, line, "Location", cell(columns->location));
        if (location.empty()) bad.numberError = tuning::NumberError::Empty;
        return bad;
      }
    } else {
      channel.number = static_cast<std::int64_t>(list.channels.size());
      if (channel.number > kMaxChannelNumber) return Failed(ListError::TooManyChannels, line);
    }
    if (!number(columns->frequency, columns->chirp ? "Frequency" : "rx_mhz", channel.rxMHz)) {
      return failure;
    }

    if (columns->chirp) {
      const std::string_view duplex = Trimmed(cell(columns->duplex));
      const bool shift = duplex == "+" || duplex == "-";
      const bool split = SameName(duplex, "split");
      double offset = 0.0;
      if (shift || split) {
        if (!number(columns->offset, "Offset", offset)) return failure;
      }
      // The sign is Duplex's: "-" with -0.6 would otherwise shift up.
      if (shift && offset < 0) {
        return Failed(ListError::NegativeOffset, line, "Offset", cell(columns->offset));
      }
      if (duplex.empty()) {
        channel.txMHz = channel.rxMHz;
      } else if (shift) {
        channel.txMHz = ShiftedMHz(cell(columns->frequency), channel.rxMHz, cell(columns->offset),
                                   offset, duplex == "-");
      } else if (split) {
        channel.txMHz = offset;
      } else if (!SameName(duplex, "off")) {
        return Failed(ListError::UnknownDuplex, line, "Duplex", cell(columns->duplex));
      }
    } else if (columns->tx && !Trimmed(cell(*columns->tx)).empty()) {
      double tx = 0.0;
      if (!number(*columns->tx, "tx_mhz", tx)) return failure;
      channel.txMHz = tx;
    }

    if (taken->test(static_cast<std::size_t>(channel.number))) {
      ChannelList failed =
          Failed(ListError::DuplicateNumber, line, "Location", std::to_string(channel.number));
      failed.firstLine =
          std::find_if(list.channels.begin(), list.channels.end(), [&channel](const Channel& c) {
            return c.number == channel.number;
          })->line;
      return failed;
    }
    taken->set(static_cast<std::size_t>(channel.number));
    list.channels.push_back(std::move(channel));
  }
  if (reader.Error() != CsvError::None) return readError();
  if (list.channels.empty()) return Failed(ListError::NoChannels, reader.Line());
  list.separator = separator;
  return list;
}

}  // namespace

ChannelList ReadChannelList(std::string_view text) {
  switch (DetectEncoding(text)) {
    case TextEncoding::Utf16:
      return Failed(ListError::Utf16, 1);
    case TextEncoding::Windows1252: {
      ChannelList list = ReadUtf8(Windows1252ToUtf8(text));
      list.windows1252 = true;
      return list;
    }
    case TextEncoding::Utf8:
      break;
  }
  return ReadUtf8(text);
}

std::string ListMessage(const ChannelList& list) {
  const std::string line = "Zeile " + std::to_string(list.line);
  const std::string empty = list.column + " ist leer.";
  switch (list.error) {
    case ListError::None:
      return {};
    case ListError::Empty:
      return "Die Kanalliste ist leer.";
    case ListError::NoChannels:
      return "Die Kanalliste hat eine Kopfzeile, aber keinen Kanal.";
    case ListError::NotUtf8:
      return line + ": der Text ist kein UTF-8. " + std::string(kUtf8Advice);
    case ListError::Utf16:
      return "Die Kanalliste ist UTF-16 (so speichert Excel \u201EUnicode-Text\u201C), kein "
             "UTF-8. " +
             std::string(kUtf8Advice);
    case ListError::BadQuote:
      return line + ": ein Feld in Anführungszeichen ist nicht richtig abgeschlossen.";
    case ListError::MissingColumn:
      return "Es fehlt die Spalte " + Quoted(list.column) + " in der Kopfzeile (" + line +
             "): " + QuotedClipped(list.text) +
             ". Eine CHIRP-Liste braucht Location, Name, Frequency, Duplex und Offset; eine "
             "eigene Liste die Kopfzeile name,rx_mhz,tx_mhz.";
    case ListError::NotANumber:
      if (list.numberError == tuning::NumberError::Empty) return line + ": " + empty;
      return line + ", Spalte " + list.column + ": " + QuotedClipped(list.text) + " " +
             std::string(Complaint(list.numberError)) + ".";
    case ListError::BadNumber:
      if (list.numberError == tuning::NumberError::Empty) return line + ": " + empty;
      return line + ", Spalte " + list.column + ": " + QuotedClipped(list.text) +
             " ist keine Kanalnummer (0 bis " + std::to_string(kMaxChannelNumber) + ").";
    case ListError::UnknownDuplex:
      return line + ", Spalte Duplex: " + QuotedClipped(list.text) +
             " gibt es nicht: leer, +, -, split oder off.";
    case ListError::DuplicateNumber:
      return line + ": Kanal " + list.text + " steht schon in Zeile " +
             std::to_string(list.firstLine) + ".";
    case ListError::DuplicateColumn:
      return "Die Spalte " + Quoted(list.column) + " steht zweimal in der Kopfzeile (" + line +
             "): als Spalte " + std::to_string(list.firstPlace) + " und als Spalte " +
             std::to_string(list.place) + ".";
    case ListError::NegativeOffset:
      return line + ", Spalte Offset: " + QuotedClipped(list.text) +
             " ist negativ. Bei Duplex + und - gibt Duplex die Richtung an und Offset den "
             "Abstand, ohne Vorzeichen.";
    case ListError::TooManyChannels:
      return line + ": die Kanalliste hat mehr als " + std::to_string(kMaxChannelNumber + 1) +
             " Kanäle; eine eigene Liste zählt sie ab 0, höchstens bis " +
             std::to_string(kMaxChannelNumber) + ".";
    case ListError::TooManyCells: {
      const std::string counts = line + ": " + std::to_string(list.cells) +
                                 " Felder, die Kopfzeile hat nur " +
                                 std::to_string(list.headerCells) + ". ";
      if (list.separator == ',') {
        return counts +
               "Steht ein Dezimalkomma oder ein Komma im Namen ohne Anführungszeichen darin? "
               "Dann das Feld in Anführungszeichen setzen (\"145,6\") oder die Liste mit "
               "\u201E;\u201C als Trennzeichen speichern.";
      }
      return counts + "Ein Feld, das " +
             (list.separator == '\t' ? std::string("einen Tabulator")
                                     : "\u201E" + std::string(1, list.separator) + "\u201C") +
             " enthält, gehört in Anführungszeichen.";
    }
  }
  return {};
}

std::string ListNotice(const ChannelList& list) {
  if (!list.windows1252) return {};
  return "Die Kanalliste ist nicht UTF-8; gelesen als Windows-1252 (Excel: \u201ECSV "
         "(Trennzeichen-getrennt)\u201C).";
}

}  // namespace channels
