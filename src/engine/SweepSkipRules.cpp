#include "engine/SweepSkipRules.h"

#include <span>

#include "engine/FragmentSet.h"
#include "engine/ScanSection.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

template <std::size_t N>
bool MatchesEntry(const std::array<std::string_view, N>& list, std::string_view keyPath) {
  for (std::string_view entry : list)
    if (SameText(entry, keyPath)) return true;
  return false;
}

// Looked for below the part of a path the rules already let through.
const FragmentSet& Nt6ExactWords() {
  static const FragmentSet words{{"Software\\Microsoft\\PowerShell\\3", false},
                                 {"Software\\Microsoft\\Speech\\Voices\\Tokens", false},
                                 {"Software\\Microsoft\\Windows\\CurrentVersion\\ShellCompatibility\\InboxApp", false}};
  return words;
}

// Only for the hive sweep; the last only from NT6 on.
constexpr Fragment HiveSweepFragments[] = {
    {"software\\microsoft", true},
    {"}\\localserver32", true},
    {"}\\inprocserver32", true},
    {"software\\classes\\extensions\\contractid\\windows.", true},
    {"software\\classes\\typelib\\", true},
    {"software\\classes\\windows.dvd.maker", true},
};

const FragmentSet& HiveSweepWords(bool nt6) {
  static const FragmentSet before{std::span(HiveSweepFragments).first(5)};
  static const FragmentSet since{std::span(HiveSweepFragments)};
  return nt6 ? since : before;
}

bool MachineSkips(const ScanContext& scan, std::string_view keyPath, std::string_view issueText, std::size_t tested) {
  if (MatchesEntry(MachineSkipKeys, keyPath)) return true;
  if (scan.IsNT6 && Nt6ExactWords().FoundIn(keyPath, tested)) return true;
  return SameText(issueText, IssueMissingFileOrFolder) && HiveSweepWords(scan.IsNT6).FoundIn(keyPath, tested);
}

}  // namespace

bool SweepSkipsKey(const ScanContext& scan, std::string_view keyPath, std::string_view issueText, std::size_t tested) {
  const std::string& status = scan.StatusText();
  if (status == StatusScanningLocalMachine) return MachineSkips(scan, keyPath, issueText, tested);
  if (status == StatusScanningCurrentUser) return MatchesEntry(UserSkipKeys, keyPath);
  return false;
}

}  // namespace lindqua
