#include "channels/Csv.h"

#include <algorithm>

#include "channels/Escape.h"

namespace channels {

bool CsvReader::Next(std::vector<std::string>& fields) {
  const std::size_t size = text_.size();
  while (error_ == CsvError::None && pos_ < size) {
    recordLine_ = line_;
    std::size_t count = 0;
    bool blank = true;
    for (;;) {
      if (count == fields.size()) fields.emplace_back();
      std::string& field = fields[count++];
      field.clear();
      if (pos_ < size && text_[pos_] == '"') {
        const std::size_t opened = line_;
        ++pos_;
        for (;;) {
          if (pos_ >= size) {
            error_ = CsvError::UnclosedQuote;
            recordLine_ = opened;
            return false;
          }
          const char c = text_[pos_++];
          if (c == '"') {
            if (pos_ < size && text_[pos_] == '"') {
              field += '"';
              ++pos_;
              continue;
            }
            break;
          }
          // A CR LF inside a field is one line break, as is a CR or LF alone.
          if (c == '\n' || (c == '\r' && (pos_ >= size || text_[pos_] != '\n'))) ++line_;
          field += c;
        }
        blank = false;
        if (pos_ < size && text_[pos_] != separator_ && text_[pos_] != '\r' &&
            text_[pos_] != '\n') {
          error_ = CsvError::TextAfterQuote;
          recordLine_ = line_;
          return false;
        }
      } else {
        const char stops[] = {separator_, '\r', '\n'};
        const std::size_t end =
            std::min(text_.find_first_of(std::string_view(stops, sizeof stops), pos_), size);
        field.assign(text_.substr(pos_, end - pos_));
        pos_ = end;
        if (!field.empty()) blank = false;
      }
      if (pos_ < size && text_[pos_] == separator_) {
        ++pos_;
        continue;
      }
      if (pos_ < size && text_[pos_] == '\r') {
        ++pos_;
        if (pos_ < size && text_[pos_] == '\n') ++pos_;
      } else if (pos_ < size && text_[pos_] == '\n') {
        ++pos_;
      }
      ++line_;
      break;
    }
    if (blank) continue;
    fields.resize(count);
    return true;
  }
  return false;
}

char DetectSeparator(std::string_view text) {
  std::size_t commas = 0, semicolons = 0, tabs = 0;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\r' || c == '\n') break;
    if (c == ',') ++commas;
    if (c == ';') ++semicolons;
    if (c == '\t') ++tabs;
  }
  if (tabs > commas && tabs > semicolons) return '\t';
  return semicolons > commas ? ';' : ',';
}

std::size_t LineAt(std::string_view text, std::size_t offset) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++line;
    }
  }
  return line;
}

std::size_t FirstNonUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const Utf8Char c = NextChar(text, i);
    if (!c.valid) return i;
    i += c.length;
  }
  return std::string_view::npos;
}

}  // namespace channels
