// The sweeps that give a tree's rows from what an earlier sweep of the same
// tree in the same scan kept, instead of reading and checking it again.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/SweepWalk.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

// Whether the sweep's own rules let it enter every key of a path below its
// first `base` characters (a key it has entered), down to the path itself.
// Kept paths come in the sweep's depth-first order, so each is asked only
// about the levels it does not share with the path asked before it.
class EntryGate {
 public:
  EntryGate(const Sweep& sweep, std::size_t base) : sweep_(sweep), base_(base), passed_(base) {}

  bool EntersAll(std::string_view keyPath) {
    std::size_t tested = SharedEnteredKey(keyPath);
    bool entered = true;
    while (tested < keyPath.size()) {
      std::size_t next = keyPath.find('\\', tested + 1);
      if (next == std::string_view::npos) next = keyPath.size();
      if (!MayEnter(sweep_, keyPath.substr(0, next), tested)) {
        entered = false;
        break;
      }
      tested = next;
    }
    last_.assign(keyPath);
    passed_ = tested;
    return entered;
  }

 private:
  // The longest key that heads both keyPath and the entered part of the
  // path asked before; at least the base.
  std::size_t SharedEnteredKey(std::string_view keyPath) const {
    const std::string_view entered = std::string_view(last_).substr(0, passed_);
    std::size_t same = SharedPrefixLength(entered, keyPath);
    const auto endsKey = [](std::string_view path, std::size_t at) { return at == path.size() || path[at] == '\\'; };
    if (!(endsKey(keyPath, same) && endsKey(entered, same))) {
      const std::size_t slash = keyPath.substr(0, same).rfind('\\');
      same = slash == std::string_view::npos ? 0 : slash;
    }
    return std::max(same, base_);
  }

  const Sweep& sweep_;
  std::size_t base_;
  std::string last_;
  std::size_t passed_;  // the first passed_ characters of last_ name a key the rules let in
};

// Gives the rows kept in entries [begin, end) for the tree of baseKey, which
// this sweep has entered at basePath. An entry's path, less its first `skip`
// characters, is relative to the base. Rows come in the order they were
// kept, which is this sweep's own order over the same tree; a key gives its
// rows only where this sweep's rules would have let it in, and a key the
// recording sweep passed over is read here.
void ReplayEntries(Sweep& sweep, RegistryKey& baseKey, const std::string& basePath, const SweptTreeRecord& record,
                   std::size_t begin, std::size_t end, std::size_t skip) {
  sweep.scan.ShowDetail(basePath);
  std::string keyPath;
  const std::string* lastKey = nullptr;
  bool entered = false;
  EntryGate gate(sweep, basePath.size());
  for (std::size_t i = begin; i < end; ++i) {
    if (sweep.scan.Terminated()) return;
    const SweptTreeRecord::Entry& entry = record.Entries()[i];
    const std::string_view below =
        entry.keyPath.size() > skip ? std::string_view(entry.keyPath).substr(skip) : std::string_view();
    keyPath.assign(basePath);
    if (!below.empty()) keyPath.append("\\").append(below);
    if (entry.passedOver) {
      lastKey = nullptr;
      std::unique_ptr<RegistryKey> key;
      if (!gate.EntersAll(keyPath)) continue;
      if (baseKey.OpenSubKey(below, RegAccess::Read, key) != RegStatus::Ok || !key) continue;
      SweepOpenKey(sweep, *key, keyPath);
      continue;
    }
    if (!lastKey || *lastKey != entry.keyPath) {
      lastKey = &entry.keyPath;
      entered = gate.EntersAll(keyPath);
      if (entered) sweep.scan.ShowDetail(keyPath);
    }
    if (entered) AddValueRow(sweep, keyPath, entry.name, entry.text, entry.reason);
  }
}

}  // namespace

bool ReplayedAsCurrentUser(Sweep& sweep, RegistryKey& key, const std::string& keyPath) {
  if (!sweep.replayKey || !SameText(keyPath, *sweep.replayKey)) return false;
  SweptTreeRecord& record = sweep.scan.CurrentUserSweep;
  RegKeyInfo now;
  if (key.QueryInfo(now) != RegStatus::Ok || !record.Matches(now)) return false;
  ReplayEntries(sweep, key, keyPath, record, 0, record.Entries().size(), 0);
  record.Clear();
  return true;
}

std::optional<ClassesReplay> ClassesReplayFor(ScanContext& scan) {
  if (!scan.ClassesRootSweep.Complete()) return std::nullopt;
  ClassesReplay replay;
  replay.record = &scan.ClassesRootSweep;
  std::unique_ptr<RegistryKey> user, classes;
  if (scan.Registry().OpenRoot(RootKey::CurrentUser, RegAccess::Read, user) != RegStatus::Ok || !user)
    return std::nullopt;
  const RegStatus opened = user->OpenSubKey("Software\\Classes", RegAccess::Read, classes);
  if (opened == RegStatus::NotFound) return replay;  // the user has no classes of its own
  if (opened != RegStatus::Ok || !classes) return std::nullopt;
  std::vector<std::string> names;
  if (classes->EnumSubKeys(names) != RegStatus::Ok) return std::nullopt;
  for (const std::string& name : names) replay.userNames.insert(UpperCase(name));
  return replay;
}

bool ReplayedFromClassesRoot(Sweep& sweep, RegistryKey& childKey, std::string_view name, const std::string& childPath) {
  const ClassesReplay& classes = *sweep.classes;
  const SweptTreeRecord::Subtree* subtree = classes.record->FindSubtree(name);
  if (!subtree || classes.userNames.contains(UpperCase(name))) return false;
  RegKeyInfo now;
  if (childKey.QueryInfo(now) != RegStatus::Ok || !(now == subtree->facts)) return false;
  ReplayEntries(sweep, childKey, childPath, *classes.record, subtree->begin, subtree->end, name.size() + 1);
  return true;
}

}  // namespace lindqua
