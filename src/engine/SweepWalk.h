#pragma once
// The depth-first walk behind the value-path sweep, shared by the sweep and
// by the replays that give a tree's rows from what an earlier sweep of the
// same tree kept. Engine-internal.
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/KeyShapeRecord.h"
#include "engine/ScanContext.h"
#include "engine/SweptTreeRecord.h"

namespace lindqua {

// The machine sweep's view of what the classes root sweep kept.
struct ClassesReplay {
  const SweptTreeRecord* record = nullptr;
  // Upper-cased names of the user's own classes: where the user has a key,
  // the classes root shows the user's and the machine's merged, so what was
  // kept there is not the machine's alone.
  std::unordered_set<std::string> userNames;
};

struct Sweep {
  Sweep(ScanContext& scan, RootKey root, std::string rootName, std::string_view issueText, std::string_view cutAt,
        std::string_view driveLetters)
      : scan(scan), root(root), rootName(std::move(rootName)), issueText(issueText), cutAt(cutAt),
        driveLetters(driveLetters) {}

  ScanContext& scan;
  RootKey root;
  std::string rootName;  // upper case, heads every location
  std::string_view issueText;
  std::string_view cutAt;
  std::string_view driveLetters;
  SweptTreeRecord* record = nullptr;    // what this sweep keeps for a later one
  bool indexSubtrees = false;           // ... with the top's children marked
  std::optional<std::string> replayKey;  // the current user's key, while sweeping all users
  const ClassesReplay* classes = nullptr;  // while sweeping the machine's software
  // Where the key about to be swept is recorded for the empty-key walk.
  KeyShapeRecord* shapes = nullptr;
  KeyShapeRecord::Slot shapeSlot;
  std::string text;  // the value being judged, decoded into one buffer for the whole sweep
  std::string location;  // a row's location, built in one buffer for the whole sweep
  std::vector<RegValueEntry> values;  // the values of the key being judged
  // The paths of the children of the key being swept at each depth, one
  // buffer per depth: a sweep builds one for every key it enters.
  std::deque<std::string> childPaths;
  std::size_t depth = 0;
};

// Nothing is entered that the running section leaves to another, nor the
// nested WOW64 view, which only mirrors the tree it sits in. `tested`: the
// length of an entered ancestor's path, 0 when none was.
bool MayEnter(const Sweep& sweep, std::string_view keyPath, std::size_t tested = 0);
// The row of a value judged missing.
void AddValueRow(Sweep& sweep, std::string_view keyPath, std::string_view name, std::string_view text,
                 std::string_view reason);
// Sweeps an open key and everything under it.
void SweepOpenKey(Sweep& sweep, RegistryKey& key, const std::string& keyPath);

// The walk of all users reaching the current user's key: true when the key's
// rows came from the current user's own sweep.
bool ReplayedAsCurrentUser(Sweep& sweep, RegistryKey& key, const std::string& keyPath);
// What the machine sweep needs to take rows from the classes root sweep;
// nullopt when that kept nothing usable or the user's classes cannot be read.
std::optional<ClassesReplay> ClassesReplayFor(ScanContext& scan);
// The machine sweep reaching a child of its Software\Classes: true when the
// child's rows came from the classes root sweep.
bool ReplayedFromClassesRoot(Sweep& sweep, RegistryKey& childKey, std::string_view name, const std::string& childPath);

}  // namespace lindqua
