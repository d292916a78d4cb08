#include "support/ClassFixture.h"

#include <sstream>
#include <stdexcept>

#include "platform/Text.h"
#include "support/SweepFixture.h"

namespace lindqua::test {

namespace {

FixtureKey ParseKey(const std::string& text) {
  const std::size_t slash = text.find('\\');
  const auto root = RootKeyFromName(text.substr(0, slash));
  if (!root || slash == std::string::npos) throw std::runtime_error("not a key: " + text);
  return {*root, text.substr(slash + 1)};
}

bool FromFixture(const Finding& row) {
  for (const std::string* text : {&row.location, &row.shownText})
    if (ContainsText(*text, ClassFixtureMarker) || ContainsText(*text, ClassFixtureIdPrefix)) return true;
  return false;
}

}  // namespace

// The sweep fixture's folder has this one beside it.
std::string ClassFixturePath(const std::string& name) { return SweepFixturePath("../classes/" + name); }

std::string ReadClassFixture(const std::string& name) { return ReadFixtureFile("../classes/" + name); }

std::vector<std::string> ClassFixtureLines(const std::string& name) {
  std::istringstream in(ReadClassFixture(name));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() != '#') lines.push_back(line);
  }
  return lines;
}

std::vector<FixtureKey> ClassFixtureLockedKeys() {
  std::vector<FixtureKey> keys;
  for (const std::string& line : ClassFixtureLines("locked.txt")) keys.push_back(ParseKey(line));
  return keys;
}

std::vector<FixtureKey> ClassFixtureTrees() {
  std::vector<FixtureKey> keys;
  for (const std::string& line : ClassFixtureLines("cleanup.reg"))
    if (line.starts_with("[-") && line.ends_with("]")) keys.push_back(ParseKey(line.substr(2, line.size() - 3)));
  return keys;
}

std::vector<std::string> ClassFixtureRowTexts(const std::vector<Finding>& rows) {
  std::vector<std::string> out;
  for (const Finding& row : rows)
    if (FromFixture(row)) out.push_back(RowText(row) + "|" + row.reason);
  return out;
}

std::vector<std::string> ExpectedClassRows(const std::string& run, FixtureView view) {
  std::vector<std::string> rows;
  for (const std::string& line : ClassFixtureLines("expected-rows.txt")) {
    // "run|when|row"
    const std::size_t first = line.find('|'), second = line.find('|', first + 1);
    const std::string when = line.substr(first + 1, second - first - 1);
    if (line.substr(0, first) == run && RowIsFor(when, view))
      rows.push_back(line.substr(second + 1));
  }
  return rows;
}

}  // namespace lindqua::test
