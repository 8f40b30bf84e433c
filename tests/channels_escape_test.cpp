// The one place where text from a list or a command line is made safe: for
// a terminal, a message, C, JSON and CSV.
#include <gtest/gtest.h>

#include <string>

#include "channels/Escape.h"

namespace {

std::string Json(std::string_view text) {
  channels::StringSink out;
  channels::PutJsonString(out, text);
  return out.Text();
}

// Each control a terminal obeys, at the edges of its range, and the
// characters just outside, which stay.
TEST(Escape, TerminalShowsControlsAsQuestionMarksAndJsonEscapesThem) {
  struct Case {
    const char* name;
    std::string_view text, terminal, json;
  };
  const Case cases[] = {
      {"Esc", "\x1B[31m", "?[31m", "\"\\u001b[31m\""},
      {"Del", "a\x7F", "a?", "\"a\\u007f\""},
      {"C1 CSI",
       "\xC2\x9B"
       "2J",
       "?2J", "\"\\u009b2J\""},
      {"C1 first", "\xC2\x80", "?", "\"\\u0080\""},
      {"NBSP stays", "\xC2\xA0", "\xC2\xA0", "\"\xC2\xA0\""},
      {"LRE", "\xE2\x80\xAA", "?", "\"\\u202a\""},
      {"RLO",
       "\xE2\x80\xAE"
       "abc",
       "?abc", "\"\\u202eabc\""},
      {"after RLO", "\xE2\x80\xAF", "\xE2\x80\xAF", "\"\xE2\x80\xAF\""},
      {"LRI", "\xE2\x81\xA6", "?", "\"\\u2066\""},
      {"PDI", "\xE2\x81\xA9", "?", "\"\\u2069\""},
      {"after PDI", "\xE2\x81\xAA", "\xE2\x81\xAA", "\"\xE2\x81\xAA\""},
      {"LS", "\xE2\x80\xA8", "?", "\"\\u2028\""},
      {"PS", "\xE2\x80\xA9", "?", "\"\\u2029\""},
      {"ALM", "\xD8\x9C", "?", "\"\xD8\x9C\""},  // the bidi marks: JSON keeps them as they are
      {"before ALM", "\xD8\x9B", "\xD8\x9B", "\"\xD8\x9B\""},
      {"LRM", "\xE2\x80\x8E", "?", "\"\xE2\x80\x8E\""},
      {"RLM", "\xE2\x80\x8F", "?", "\"\xE2\x80\x8F\""},
      {"ZWJ before LRM", "\xE2\x80\x8D", "\xE2\x80\x8D", "\"\xE2\x80\x8D\""},
      {"RLE", "\xE2\x80\xAB", "?", "\"\\u202b\""},
      {"PDF", "\xE2\x80\xAC", "?", "\"\\u202c\""},
      {"LRO", "\xE2\x80\xAD", "?", "\"\\u202d\""},
      {"RLI", "\xE2\x81\xA7", "?", "\"\\u2067\""},
      {"FSI", "\xE2\x81\xA8", "?", "\"\\u2068\""},
      {"umlaut", "Relais \xC3\xBC", "Relais \xC3\xBC", "\"Relais \xC3\xBC\""},
      {"last two-byte lead", "\xDF\xBF", "\xDF\xBF", "\"\xDF\xBF\""},  // U+07FF
      {"lone byte",
       "a\xFF"
       "b",
       "a?b", "\"a\\ufffdb\""},
      {"cut character", "\xE2\x80", "??", "\"\\ufffd\\ufffd\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(channels::TerminalText(c.text), c.terminal) << c.name;
    EXPECT_EQ(Json(c.text), c.json) << c.name;
  }
}

TEST(Escape, QuotedClipsLongTextAtACharacter) {
  const std::string forty(40, 'x');
  EXPECT_EQ(channels::QuotedClipped(forty), "\u201E" + forty + "\u201C");
  EXPECT_EQ(channels::QuotedClipped(forty + "y"), "\u201E" + forty + "\u2026\u201C");
  // Two-byte characters are never cut in half.
  EXPECT_EQ(channels::QuotedClipped("\xC3\xA4\xC3\xB6\xC3\xBC", 2),
            "\u201E\xC3\xA4\xC3\xB6\u2026\u201C");
  EXPECT_EQ(channels::QuotedClipped(std::string(100000, '\x1B')).size(), 40 + 9u);
}

TEST(Escape, CStringsEscapeEverythingHostile) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"a\"b", R"("a\"b")"},
      {"C:\\x", R"("C:\\x")"},
      {"?\?=", R"("\?\?=")"},
      {"*/ /*", R"("*/ /*")"},  // no comment in a string
      {"\xC3\xA4", R"("\303\244")"},
      {std::string_view("\x01"
                        "7",
                        2),
       R"("\0017")"},
      {"\n\x7F", R"("\012\177")"},
      {std::string_view("\0", 1), R"("\000")"},
  };
  for (const auto& [name, literal] : cases) {
    channels::StringSink out;
    channels::PutCString(out, name);
    EXPECT_EQ(out.Text(), literal);
  }
}

TEST(Escape, JsonAndCsvFieldsAreEscaped) {
  channels::StringSink out;
  channels::PutJsonString(out, "a\"b\\c\n\x01ü");
  out.Put(' ');
  channels::PutCsvField(out, "x, \"y\"");
  out.Put(' ');
  channels::PutCsvField(out, "plain");
  EXPECT_EQ(out.Text(), "\"a\\\"b\\\\c\\u000a\\u0001ü\" \"x, \"\"y\"\"\" plain");
}

}  // namespace
