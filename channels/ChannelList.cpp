#include "channels/ChannelList.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "channels/Csv.h"
#include "channels/Escape.h"
#include "channels/NumberInput.h"

namespace channels {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

ChannelList Failed(ListError error, std::size_t line, std::string_view column = {},
                   std::string_view text = {}) {
  ChannelList list;
  list.error = error;
  list.line = line;
  list.column = column;
  list.text = text;
  return list;
}

// The columns of one form of list, by their place in the header row.
struct Columns {
  bool chirp = false;
  std::size_t location = 0, name = 0, frequency = 0, duplex = 0, offset = 0;
  std::optional<std::size_t> tx;  // plain list: tx_mhz, if there is one
};

// Finds the columns by name; fills `missing` with the first one not there.
std::optional<Columns> FindColumns(const std::vector<std::string>& header, std::string& missing) {
  const auto find = [&header](std::string_view name) -> std::optional<std::size_t> {
    for (std::size_t i = 0; i < header.size(); ++i) {
      if (Trimmed(header[i]) == name) return i;
    }
    return std::nullopt;
  };
  Columns columns;
  const auto need = [&](std::string_view name, std::size_t& place) {
    const std::optional<std::size_t> found = find(name);
    if (found) place = *found;
    if (!found && missing.empty()) missing = name;
  };
  if (find("rx_mhz")) {
    need("name", columns.name);
    need("rx_mhz", columns.frequency);
    columns.tx = find("tx_mhz");
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
  if (!missing.empty()) return std::nullopt;
  return columns;
}

}  // namespace

ChannelList ReadChannelList(std::string_view text) {
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
  if (const std::size_t bad = FirstNonUtf8(text); bad != std::string_view::npos) {
    const auto breaks =
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(bad), '\n');
    return Failed(ListError::NotUtf8, static_cast<std::size_t>(breaks) + 1);
  }

  CsvReader reader(text);
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
  std::string missing;
  const std::optional<Columns> columns = FindColumns(fields, missing);
  if (!columns) return Failed(ListError::MissingColumn, reader.Line(), missing);

  ChannelList list;
  // At most one channel a line: no vector growth past the list's size.
  list.channels.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  std::vector<bool> taken(kMaxChannelNumber + 1);
  while (reader.Next(fields)) {
    const std::size_t line = reader.Line();
    const auto cell = [&fields](std::size_t column) {
      return column < fields.size() ? std::string_view(fields[column]) : std::string_view();
    };
    ChannelList failure;
    // Reads the number in `column`; false, with `failure` said, if it is none.
    const auto number = [&](std::size_t column, std::string_view name, double& value) {
      const tuning::NumberResult<double> read = ReadNumber(cell(column));
      value = read.value;
      if (!read) failure = Failed(ListError::NotANumber, line, name, cell(column));
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
        return Failed(ListError::BadNumber, line, "Location", cell(columns->location));
      }
    } else {
      channel.number = static_cast<std::int64_t>(list.channels.size());
      if (channel.number > kMaxChannelNumber) {
        return Failed(ListError::BadNumber, line, "name", std::to_string(channel.number));
      }
    }
    if (!number(columns->frequency, columns->chirp ? "Frequency" : "rx_mhz", channel.rxMHz)) {
      return failure;
    }

    if (columns->chirp) {
      const std::string_view duplex = Trimmed(cell(columns->duplex));
      double offset = 0.0;
      if (duplex == "+" || duplex == "-" || duplex == "split") {
        if (!number(columns->offset, "Offset", offset)) return failure;
      }
      if (duplex.empty()) {
        channel.txMHz = channel.rxMHz;
      } else if (duplex == "+") {
        channel.txMHz = channel.rxMHz + offset;
      } else if (duplex == "-") {
        channel.txMHz = channel.rxMHz - offset;
      } else if (duplex == "split") {
        channel.txMHz = offset;
      } else if (duplex != "off") {
        return Failed(ListError::UnknownDuplex, line, "Duplex", cell(columns->duplex));
      }
    } else if (columns->tx && !Trimmed(cell(*columns->tx)).empty()) {
      double tx = 0.0;
      if (!number(*columns->tx, "tx_mhz", tx)) return failure;
      channel.txMHz = tx;
    }

    if (taken[static_cast<std::size_t>(channel.number)]) {
      ChannelList failed =
          Failed(ListError::DuplicateNumber, line, "Location", std::to_string(channel.number));
      failed.firstLine =
          std::find_if(list.channels.begin(), list.channels.end(), [&channel](const Channel& c) {
            return c.number == channel.number;
          })->line;
      return failed;
    }
    taken[static_cast<std::size_t>(channel.number)] = true;
    list.channels.push_back(std::move(channel));
  }
  if (reader.Error() != CsvError::None) return readError();
  if (list.channels.empty()) return Failed(ListError::NoChannels, reader.Line());
  return list;
}

std::string ListMessage(const ChannelList& list) {
  const std::string line = "Zeile " + std::to_string(list.line);
  switch (list.error) {
    case ListError::None:
      return {};
    case ListError::Empty:
      return "Die Kanalliste ist leer.";
    case ListError::NoChannels:
      return "Die Kanalliste hat eine Kopfzeile, aber keinen Kanal.";
    case ListError::NotUtf8:
      return line + ": der Text ist kein UTF-8. Bitte die Datei als UTF-8 speichern.";
    case ListError::BadQuote:
      return line + ": ein Feld in Anführungszeichen ist nicht richtig abgeschlossen.";
    case ListError::MissingColumn:
      return "Es fehlt die Spalte " + Quoted(list.column) +
             ". Eine CHIRP-Liste braucht Location, Name, Frequency, Duplex und Offset; eine "
             "eigene Liste die Kopfzeile name,rx_mhz,tx_mhz.";
    case ListError::NotANumber:
      return line + ", Spalte " + list.column + ": " + Quoted(list.text) + " ist keine Zahl.";
    case ListError::BadNumber:
      return line + ", Spalte " + list.column + ": " + Quoted(list.text) +
             " ist keine Kanalnummer (0 bis " + std::to_string(kMaxChannelNumber) + ").";
    case ListError::UnknownDuplex:
      return line + ", Spalte Duplex: " + Quoted(list.text) +
             " gibt es nicht: leer, +, -, split oder off.";
    case ListError::DuplicateNumber:
      return line + ": Kanal " + list.text + " steht schon in Zeile " +
             std::to_string(list.firstLine) + ".";
  }
  return {};
}

}  // namespace channels
