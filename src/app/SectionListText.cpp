#include "app/SectionListText.h"

#include <algorithm>
#include <charconv>

#include "engine/ScanSection.h"

namespace lindqua {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Plain decimal digits only: no sign, no blanks inside, no hex.
bool ReadNumber(std::string_view text, int& value) {
  text = TrimBlanks(text);
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  return failure == std::errc() && end == text.data() + text.size();
}

bool IsSection(int value) { return value >= FirstScanSection && value <= LastScanSection; }

}  // namespace

bool ParseSectionList(std::string_view text, std::vector<int>& sections, std::string& error) {
  sections.clear();
  const std::string range = " (sections are 3 to 25)";
  std::vector<int> parsed;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string_view item = TrimBlanks(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
    if (item.empty()) {
      error = "empty item in section list \"" + std::string(text) + "\"";
      return false;
    }
    int first = 0;
    int last = 0;
    // A "-" after the first character separates a range; a leading one would be a sign.
    const std::size_t dash = item.find('-', 1);
    const bool ok = dash == std::string_view::npos
                        ? ReadNumber(item, first) && (last = first, true)
                        : ReadNumber(item.substr(0, dash), first) && ReadNumber(item.substr(dash + 1), last);
    if (!ok) {
      error = "\"" + std::string(item) + "\" is not a section number or range" + range;
      return false;
    }
    if (!IsSection(first) || !IsSection(last)) {
      error = "section out of range in \"" + std::string(item) + "\"" + range;
      return false;
    }
    if (first > last) {
      error = "reversed range \"" + std::string(item) + "\"";
      return false;
    }
    for (int section = first; section <= last; ++section)
      if (std::find(parsed.begin(), parsed.end(), section) == parsed.end()) parsed.push_back(section);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  sections = std::move(parsed);
  return true;
}

}  // namespace lindqua
