// A check of a script of i2ctransfer commands against the syntax in
// i2ctransfer(8): "i2ctransfer -y I2CBUS wLENGTH@ADDRESS" followed by exactly
// LENGTH data bytes, the address a 7-bit one the command does not block
// (0x08 to 0x77). Every other line must be a comment or "set -e".
#pragma once

#include <cstddef>
#include <regex>
#include <sstream>
#include <string>

namespace testing_support {

struct ScriptCheck {
  std::string badLine;  // the first line that breaks the rules, if any
  std::size_t writes = 0;
  std::string lastWrite;
};

inline ScriptCheck CheckI2cScript(const std::string& script) {
  static const std::regex command(
      "i2ctransfer -y (0|[1-9][0-9]*) w([1-9][0-9]*)@0x([0-7][0-9a-f])((?: 0x[0-9a-f]{2})*)");
  ScriptCheck check;
  std::istringstream lines(script);
  std::string line;
  for (std::size_t number = 0; std::getline(lines, line); ++number) {
    std::smatch m;
    if (number == 0 ? line == "#!/bin/sh" : line.starts_with("#") || line == "set -e") continue;
    const bool matches = std::regex_match(line, m, command);
    const unsigned long address = matches ? std::stoul(m[3].str(), nullptr, 16) : 0;
    if (!matches || address < 0x08 || address > 0x77 ||
        std::stoul(m[2].str()) != m[4].str().size() / 5) {
      check.badLine = line.empty() ? "(leer)" : line;
      return check;
    }
    ++check.writes;
    check.lastWrite = line;
  }
  return check;
}

}  // namespace testing_support
