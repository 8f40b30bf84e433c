// Feeds arbitrary bytes to the channel-list reader, and writes the bytes as
// one CSV record (split at NUL bytes into fields) to read them back.
//   build/fuzz/fuzz/channel_list_fuzz -max_total_time=60
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "channels/ChannelList.h"
#include "channels/Csv.h"
#include "channels/Escape.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view data(reinterpret_cast<const char*>(bytes), size);

  // A list read is either an error with a message fit for a terminal, or
  // channels with numbers in range, each once, UTF-8 names, in file order.
  const channels::ChannelList list = channels::ReadChannelList(data);
  if (!list) {
    const std::string message = channels::ListMessage(list);
    if (message.empty()) std::abort();
    // No control a terminal obeys, C1 and bidi controls included.
    if (channels::TerminalText(message) != message) std::abort();
  } else {
    std::set<std::int64_t> numbers;
    std::size_t line = 0;
    if (list.channels.empty()) std::abort();
    for (const channels::Channel& channel : list.channels) {
      if (channel.number < 0 || channel.number > channels::kMaxChannelNumber) std::abort();
      if (!numbers.insert(channel.number).second || channel.line <= line) std::abort();
      if (channels::FirstNonUtf8(channel.name) != std::string_view::npos) std::abort();
      line = channel.line;
    }
  }

  // Any fields written as CSV read back as they were.
  std::vector<std::string> fields(1);
  for (char c : data) {
    if (c == '\0') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  channels::StringSink record;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) record.Put(',');
    channels::PutCsvField(record, fields[i]);
  }
  record.Put("\r\n");
  channels::CsvReader reader(record.Text(), ',');
  std::vector<std::string> back;
  bool blank = true;
  for (const std::string& field : fields) blank = blank && field.empty();
  if (reader.Next(back) == blank || (!blank && back != fields) || reader.Next(back)) std::abort();
  return 0;
}
