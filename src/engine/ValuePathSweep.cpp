#include "engine/ValuePathSweep.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "engine/Finding.h"
#include "engine/FileReferenceCheck.h"
#include "engine/ScanCaches.h"
#include "engine/ScanSection.h"
#include "engine/SweepSkipRules.h"
#include "engine/SweepWalk.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr std::string_view NestedWow64View = "Software\\Wow6432Node\\Wow6432Node";
constexpr std::string_view MachineClasses = "Software\\Classes";

// Names, types and data in one call where the backend can; otherwise name by
// name, so that one value too large to fetch with the others costs no more
// than itself. `hasValues` is set when the key's values could be listed.
// `entries` is the sweep's one list, so that its memory serves every key.
void ReadValues(RegistryKey& key, std::optional<bool>& hasValues, std::vector<RegValueEntry>& entries) {
  if (key.EnumValueEntries(entries) == RegStatus::Ok) {
    hasValues = !entries.empty();
    return;
  }
  entries.clear();
  std::vector<std::string> names;
  if (key.EnumValues(names) != RegStatus::Ok) return;
  hasValues = !names.empty();
  for (auto& name : names) {
    RegValueEntry entry;
    if (key.QueryValue(name, entry.value) != RegStatus::Ok) continue;
    entry.name = std::move(name);
    entries.push_back(std::move(entry));
  }
}

void ReportValue(Sweep& sweep, const std::string& keyPath, const RegValueEntry& entry) {
  if (entry.value.type != RegType::String && entry.value.type != RegType::ExpandString) return;
  std::string& text = sweep.text;
  Utf16LeBytesToUtf8(entry.value.data.data(), entry.value.data.size(), text);
  if (!IsMissingFile(sweep.scan, text, sweep.cutAt, true, sweep.driveLetters)) return;
  // Asked of the few missing texts rather than of every string.
  if (ContainsText(text, "system32\\ime\\")) return;
  const std::string reason = MissingFileReason(sweep.scan, text, sweep.cutAt, true, sweep.driveLetters);
  if (sweep.record) sweep.record->AddValue(keyPath, entry.name, text, reason);
  AddValueRow(sweep, keyPath, entry.name, text, reason);
}

// A child of the top, while the top's children are being marked for a
// later sweep that may take one child's rows from here.
void SweepMarkedChild(Sweep& sweep, RegistryKey& childKey, std::string_view name, const std::string& child) {
  RegKeyInfo facts;
  const bool marked = childKey.QueryInfo(facts) == RegStatus::Ok;
  if (marked) sweep.record->BeginSubtree(name, facts);
  SweepOpenKey(sweep, childKey, child);
  if (marked) sweep.record->EndSubtree();
}

// Holds the sweep one level deeper while a key's children are swept.
class Deeper {
 public:
  explicit Deeper(Sweep& sweep) : sweep_(sweep) { ++sweep_.depth; }
  ~Deeper() { --sweep_.depth; }
  Deeper(const Deeper&) = delete;
  Deeper& operator=(const Deeper&) = delete;

 private:
  Sweep& sweep_;
};

// The path of a child of a key at `depth`, in that depth's buffer.
const std::string& ChildPath(Sweep& sweep, std::size_t depth, const std::string& keyPath, std::string_view name) {
  while (sweep.childPaths.size() <= depth) sweep.childPaths.emplace_back();
  std::string& child = sweep.childPaths[depth];
  if (keyPath.empty()) {
    child.assign(name);
  } else {
    child.assign(keyPath).append("\\").append(name);
  }
  return child;
}

}  // namespace

bool MayEnter(const Sweep& sweep, std::string_view keyPath, std::size_t tested) {
  if (SweepSkipsKey(sweep.scan, keyPath, sweep.issueText, tested)) return false;
  if (sweep.scan.Terminated()) return false;
  return !(sweep.root == RootKey::LocalMachine && StartsWithText(keyPath, NestedWow64View));
}

void AddValueRow(Sweep& sweep, std::string_view keyPath, std::string_view name, std::string_view text,
                 std::string_view reason) {
  std::string& keyLocation = sweep.location;
  keyLocation.assign(sweep.rootName).append("\\").append(keyPath);
  if (name.find('\\') == std::string_view::npos) {
    sweep.scan.AddFinding(sweep.issueText, text, keyLocation.append("\\").append(name), FixTag::ValueInLocation,
                          reason);
  } else {
    sweep.scan.AddFinding(sweep.issueText, name, keyLocation, FixTag::NamedValue, reason);
  }
}

// One open key per level: each child is opened below its parent, which stays
// open until the child's whole tree is done.
void SweepOpenKey(Sweep& sweep, RegistryKey& key, const std::string& keyPath) {
  const KeyShapeRecord::Slot slot = std::exchange(sweep.shapeSlot, KeyShapeRecord::Slot{});
  if (ReplayedAsCurrentUser(sweep, key, keyPath)) return;
  sweep.scan.ShowDetail(keyPath);
  std::optional<bool> hasValues;
  // Every value is judged before any child is entered, so one list serves.
  ReadValues(key, hasValues, sweep.values);
  for (const RegValueEntry& entry : sweep.values) {
    if (sweep.scan.Terminated()) return;
    ReportValue(sweep, keyPath, entry);
  }
  std::vector<std::string> names;
  if (key.EnumSubKeys(names) != RegStatus::Ok) return;
  const KeyShapeRecord::Node shape =
      sweep.shapes && hasValues ? sweep.shapes->Add(slot, *hasValues, names) : KeyShapeRecord::None;
  const bool machineClasses = sweep.classes && SameText(keyPath, MachineClasses);
  const std::size_t depth = sweep.depth;
  const Deeper deeper(sweep);
  for (std::size_t index = 0; index < names.size(); ++index) {
    const std::string& name = names[index];
    if (sweep.scan.Terminated()) return;
    const std::string& child = ChildPath(sweep, depth, keyPath, name);
    if (!MayEnter(sweep, child, keyPath.size())) {
      if (sweep.record && !sweep.scan.Terminated()) sweep.record->AddPassedOver(child);
      continue;
    }
    std::unique_ptr<RegistryKey> childKey;
    if (key.OpenSubKey(name, RegAccess::Read, childKey) != RegStatus::Ok || !childKey) continue;
    if (machineClasses && ReplayedFromClassesRoot(sweep, *childKey, name, child))
      continue;
    if (sweep.shapes) sweep.shapeSlot = KeyShapeRecord::ChildSlot(shape, index);
    if (sweep.record && sweep.indexSubtrees && keyPath.empty()) {
      SweepMarkedChild(sweep, *childKey, name, child);
    } else {
      SweepOpenKey(sweep, *childKey, child);
    }
  }
}

namespace {

void Run(Sweep& sweep, std::string_view keyPath) {
  ScanContext& scan = sweep.scan;
  // Skip rules are plain text tests, so they come before anything is opened.
  if (!MayEnter(sweep, keyPath)) return;
  std::unique_ptr<RegistryKey> rootKey, key;
  if (scan.Registry().OpenRoot(sweep.root, RegAccess::Read, rootKey) != RegStatus::Ok) return;
  if (rootKey->OpenSubKey(keyPath, RegAccess::Read, key) != RegStatus::Ok || !key) return;
  rootKey.reset();
  if (sweep.record) {
    RegKeyInfo top;
    if (key->QueryInfo(top) == RegStatus::Ok) {
      sweep.record->Begin(top);
    } else {
      sweep.record = nullptr;
    }
  }
  SweepOpenKey(sweep, *key, std::string(keyPath));
  if (sweep.record && !scan.Terminated()) sweep.record->Finish();
}

// The section is chosen to run after the one running now.
bool ChosenLater(const ScanContext& scan, int section) {
  const auto& chosen = scan.ChosenSections;
  const auto now = std::find(chosen.begin(), chosen.end(), scan.currentSection);
  return now != chosen.end() && std::find(now + 1, chosen.end(), section) != chosen.end();
}

}  // namespace

void SweepKeyValues(ScanContext& scan, std::string_view rootName, std::string_view keyPath,
                    std::string_view issueText, std::string_view cutAt, std::string_view driveLetters) {
  const auto root = RootKeyFromName(rootName);
  if (!root) return;
  Sweep sweep{scan, *root, UpperCase(rootName), issueText, cutAt, driveLetters};
  Run(sweep, keyPath);
}

void SweepClassesRoot(ScanContext& scan, std::string_view issueText, std::string_view driveLetters) {
  Sweep sweep{scan, RootKey::ClassesRoot, RootKeyName(RootKey::ClassesRoot), issueText, "", driveLetters};
  scan.ClassesRootSweep.Clear();
  if (ChosenLater(scan, SectionId::LocalMachine) && ScanCachesWanted()) {
    sweep.record = &scan.ClassesRootSweep;
    sweep.indexSubtrees = true;
  }
  Run(sweep, "");
}

void SweepMachineSoftware(ScanContext& scan, std::string_view issueText, std::string_view driveLetters) {
  Sweep sweep{scan, RootKey::LocalMachine, RootKeyName(RootKey::LocalMachine), issueText, "", driveLetters};
  const std::optional<ClassesReplay> classes = ClassesReplayFor(scan);
  if (classes) sweep.classes = &*classes;
  Run(sweep, "Software");
  scan.ClassesRootSweep.Clear();
}

void SweepCurrentUser(ScanContext& scan, std::string_view issueText, std::string_view driveLetters) {
  Sweep sweep{scan, RootKey::CurrentUser, RootKeyName(RootKey::CurrentUser), issueText, "", driveLetters};
  scan.CurrentUserSweep.Clear();
  if (ChosenLater(scan, SectionId::Users) && ScanCachesWanted()) sweep.record = &scan.CurrentUserSweep;
  if (ChosenLater(scan, SectionId::EmptyKeys) && ScanCachesWanted()) {
    if (const auto own = scan.Registry().CurrentUserKeyName()) {
      sweep.shapes = &scan.UsersKeyShapes;
      sweep.shapeSlot = KeyShapeRecord::TopSlot(*own);
    }
  }
  Run(sweep, "");
}

void SweepUsers(ScanContext& scan, std::string_view issueText, std::string_view driveLetters) {
  Sweep sweep{scan, RootKey::Users, RootKeyName(RootKey::Users), issueText, "", driveLetters};
  if (scan.CurrentUserSweep.Complete()) sweep.replayKey = scan.Registry().CurrentUserKeyName();
  if (ChosenLater(scan, SectionId::EmptyKeys) && ScanCachesWanted()) {
    sweep.shapes = &scan.UsersKeyShapes;
    sweep.shapeSlot = KeyShapeRecord::TopSlot("");
  }
  Run(sweep, "");
  scan.CurrentUserSweep.Clear();
}

}  // namespace lindqua
