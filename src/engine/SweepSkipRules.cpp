#include "engine/SweepSkipRules.h"

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

// Where a fragment must start to be new in a path whose first `tested`
// characters the rules already let through: an earlier occurrence would have
// kept the sweep out of that ancestor.
std::string_view Untested(std::string_view text, std::size_t tested, std::size_t fragmentSize) {
  const std::size_t from = tested + 1 > fragmentSize ? tested + 1 - fragmentSize : 0;
  return from < text.size() ? text.substr(from) : std::string_view();
}

bool ContainsAny(std::string_view text, std::size_t tested, std::initializer_list<std::string_view> needles) {
  for (std::string_view needle : needles)
    if (Untested(text, tested, needle.size()).find(needle) != std::string_view::npos) return true;
  return false;
}

// The same without regard to case, for lower-case needles: asked for every
// key a machine sweep enters, so no lower-cased copy of the path is made.
bool ContainsAnyText(std::string_view text, std::size_t tested, std::initializer_list<std::string_view> lowerNeedles) {
  for (std::string_view needle : lowerNeedles)
    if (ContainsText(Untested(text, tested, needle.size()), needle)) return true;
  return false;
}

bool MachineSkips(const ScanContext& scan, std::string_view keyPath, std::string_view issueText, std::size_t tested) {
  if (MatchesEntry(MachineSkipKeys, keyPath)) return true;
  const bool hiveSweep = SameText(issueText, IssueMissingFileOrFolder);
  if (scan.IsNT6 && hiveSweep &&
      ContainsAnyText(keyPath, tested,
                      {"}\\localserver32", "}\\inprocserver32", "software\\classes\\windows.dvd.maker"}))
    return true;
  // These three are tested with their exact case.
  if (scan.IsNT6 && ContainsAny(keyPath, tested,
                                {"Software\\Microsoft\\PowerShell\\3", "Software\\Microsoft\\Speech\\Voices\\Tokens",
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\ShellCompatibility\\InboxApp"}))
    return true;
  return hiveSweep && ContainsAnyText(keyPath, tested,
                                      {"software\\microsoft", "}\\localserver32", "}\\inprocserver32",
                                       "software\\classes\\extensions\\contractid\\windows.",
                                       "software\\classes\\typelib\\"});
}

}  // namespace

bool SweepSkipsKey(const ScanContext& scan, std::string_view keyPath, std::string_view issueText, std::size_t tested) {
  const std::string& status = scan.StatusText();
  if (status == StatusScanningLocalMachine) return MachineSkips(scan, keyPath, issueText, tested);
  if (status == StatusScanningCurrentUser) return MatchesEntry(UserSkipKeys, keyPath);
  return false;
}

}  // namespace lindqua
