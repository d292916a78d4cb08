#include "platform/memory/MemoryFileSystem.h"

#include <atomic>
#include <set>

#include "platform/StemName.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

struct Entry {
  std::string path;  // full path with stored case, no trailing "\" (roots are "C:")
  bool isDirectory = false;
  std::uint64_t size = 0;
  std::optional<std::string> shortcutTarget;
  std::string content;
};

struct Drive {
  DriveType type = DriveType::Fixed;
  bool ready = true;
};

bool InvalidNameChar(char c) {
  return static_cast<unsigned char>(c) < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

struct ParsedPath {
  std::vector<std::string> parts;  // parts[0] is "X:"
  bool trailingSeparator = false;
};

}  // namespace

struct MemoryFileSystem::State {
  std::mutex mutex;
  std::map<std::string, Entry> entries;  // key: upper-cased normalised path
  std::map<std::string, std::vector<std::string>> children;  // folder key -> child keys in insertion order
  std::map<char, Drive> drives;  // upper-case letter
  std::map<std::string, std::pair<std::string, std::string>> environment;  // upper name -> (name, value)
  std::map<int, std::string> specialFolders;
  std::string currentFolder = "C:\\";
  std::string failingWrites;  // upper-cased normalised path prefix
  std::set<char> drivesWithoutBin;  // upper-case letters
  std::vector<std::string> recycled;
  std::atomic<std::uint64_t> queries{0};

  std::optional<ParsedPath> Parse(std::string_view raw) const {
    std::string path(raw);
    for (char& c : path)
      if (c == '/') c = '\\';
    if (path.empty()) return std::nullopt;
    if (!(path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')) {
      if (path[0] == '\\') return std::nullopt;  // network and device paths are never in memory
      path = currentFolder + "\\" + path;
    } else if (path.size() > 2 && path[2] != '\\') {
      return std::nullopt;  // drive-relative paths ("C:foo") are not modelled
    }
    ParsedPath parsed;
    parsed.trailingSeparator = path.size() > 3 && path.back() == '\\';
    parsed.parts.push_back(std::string(1, AsciiUpper(path[0])) + ":");
    std::size_t start = 3;
    while (start < path.size()) {
      std::size_t end = path.find('\\', start);
      if (end == std::string::npos) end = path.size();
      std::string part = path.substr(start, end - start);
      start = end + 1;
      if (part.empty() || part == ".") continue;
      if (part == "..") {
        if (parsed.parts.size() > 1) parsed.parts.pop_back();
        continue;
      }
      for (char c : part)
        if (InvalidNameChar(c) || c == ':') return std::nullopt;
      parsed.parts.push_back(std::move(part));
    }
    // Windows drops trailing dots and blanks from the last name.
    auto& last = parsed.parts.back();
    if (parsed.parts.size() > 1) {
      while (!last.empty() && (last.back() == '.' || last.back() == ' ')) last.pop_back();
      if (last.empty()) parsed.parts.pop_back();
    }
    return parsed;
  }

  static std::string Join(const std::vector<std::string>& parts, std::size_t count) {
    std::string out = parts[0];
    for (std::size_t i = 1; i < count; ++i) out += "\\" + parts[i];
    return out;
  }

  // A question the system cannot answer, as Windows cannot: a path on a
  // share (no network is modelled, so every server is away) or on a drive
  // that is there but not ready. Such a path is neither there nor absent.
  bool Unanswered(std::string_view raw) const {
    if (raw.size() > 2 && (raw[0] == '\\' || raw[0] == '/') && (raw[1] == '\\' || raw[1] == '/'))
      return raw[2] != '?' && raw[2] != '.';
    if (raw.size() < 2 || raw[1] != ':' || !std::isalpha(static_cast<unsigned char>(raw[0]))) return false;
    const auto drive = drives.find(AsciiUpper(raw[0]));
    return drive != drives.end() && !drive->second.ready;
  }

  const Entry* Find(const ParsedPath& p) const {
    auto it = entries.find(UpperCase(Join(p.parts, p.parts.size())));
    if (it == entries.end()) return nullptr;
    auto drive = drives.find(p.parts[0][0]);
    if (drive == drives.end() || !drive->second.ready) return nullptr;
    return &it->second;
  }

  Entry* Add(const ParsedPath& p, bool isDirectory) {
    for (std::size_t n = 1; n <= p.parts.size(); ++n) {
      const std::string full = Join(p.parts, n);
      const std::string key = UpperCase(full);
      auto it = entries.find(key);
      const bool last = n == p.parts.size();
      if (it != entries.end()) {
        if (!it->second.isDirectory && !last) return nullptr;  // a file stands where a folder must
        if (last) {
          if (it->second.isDirectory != isDirectory) return nullptr;
          return &it->second;
        }
        continue;
      }
      Entry e{full, last ? isDirectory : true, 0, std::nullopt, {}};
      entries.emplace(key, e);
      if (n > 1) children[UpperCase(Join(p.parts, n - 1))].push_back(key);
      if (last) return &entries[key];
    }
    return nullptr;
  }

  // Calls `visit` with each entry of an existing folder, in insertion order;
  // false when the folder does not exist.
  template <typename Visit>
  bool ForEachChild(std::string_view folder, Visit visit) const {
    auto p = Parse(folder);
    if (!p) return false;
    const Entry* dir = Find(*p);
    if (!dir || !dir->isDirectory) return false;
    if (auto kids = children.find(UpperCase(dir->path)); kids != children.end())
      for (const auto& key : kids->second) visit(entries.at(key));
    return true;
  }

  void Remove(const std::string& key) {
    if (auto kids = children.find(key); kids != children.end()) {
      auto list = kids->second;
      for (auto& k : list) Remove(k);
      children.erase(key);
    }
    auto it = entries.find(key);
    if (it == entries.end()) return;
    const std::string path = it->second.path;
    entries.erase(it);
    const auto slash = path.rfind('\\');
    if (slash != std::string::npos) {
      auto& siblings = children[UpperCase(path.substr(0, slash))];
      std::erase(siblings, key);
    }
  }
};

MemoryFileSystem::MemoryFileSystem() : state_(std::make_unique<State>()) { SetDrive('C', DriveType::Fixed, true); }

MemoryFileSystem::~MemoryFileSystem() = default;

bool MemoryFileSystem::AddFile(std::string_view path, std::uint64_t size) {
  std::lock_guard lock(state_->mutex);
  auto p = state_->Parse(path);
  if (!p || p->parts.size() < 2) return false;
  Entry* e = state_->Add(*p, false);
  if (e) e->size = size;
  return e != nullptr;
}

bool MemoryFileSystem::AddFolder(std::string_view path) {
  std::lock_guard lock(state_->mutex);
  auto p = state_->Parse(path);
  return p && state_->Add(*p, true) != nullptr;
}

bool MemoryFileSystem::AddShortcut(std::string_view path, std::string_view target) {
  std::lock_guard lock(state_->mutex);
  auto p = state_->Parse(path);
  if (!p || p->parts.size() < 2) return false;
  Entry* e = state_->Add(*p, false);
  if (e) e->shortcutTarget = std::string(target);
  return e != nullptr;
}

void MemoryFileSystem::SetDrive(char letter, DriveType type, bool ready) {
  std::lock_guard lock(state_->mutex);
  const char upper = AsciiUpper(letter);
  state_->drives[upper] = Drive{type, ready};
  const std::string root = std::string(1, upper) + ":";
  state_->entries.emplace(root, Entry{root, true, 0, std::nullopt, {}});
}

void MemoryFileSystem::SetEnvironment(std::string_view name, std::string_view value) {
  std::lock_guard lock(state_->mutex);
  state_->environment[UpperCase(name)] = {std::string(name), std::string(value)};
}

void MemoryFileSystem::SetSpecialFolder(int csidl, std::string_view path) {
  std::lock_guard lock(state_->mutex);
  state_->specialFolders[csidl] = std::string(path);
}

void MemoryFileSystem::SetCurrentFolder(std::string_view path) {
  std::lock_guard lock(state_->mutex);
  state_->currentFolder = std::string(path);
}

std::uint64_t MemoryFileSystem::QueryCount() const { return state_->queries.load(); }

bool MemoryFileSystem::FileExists(std::string_view path) {
  ++state_->queries;
  std::lock_guard lock(state_->mutex);
  if (state_->Unanswered(path)) return true;
  auto p = state_->Parse(path);
  if (!p || p->trailingSeparator) return false;
  const Entry* e = state_->Find(*p);
  return e && !e->isDirectory;
}

bool MemoryFileSystem::DirectoryExists(std::string_view path) {
  ++state_->queries;
  std::lock_guard lock(state_->mutex);
  if (state_->Unanswered(path)) return true;
  auto p = state_->Parse(path);
  if (!p) return false;
  const Entry* e = state_->Find(*p);
  return e && e->isDirectory;
}

std::optional<std::uint64_t> MemoryFileSystem::FileSize(std::string_view path) {
  std::lock_guard lock(state_->mutex);
  auto p = state_->Parse(path);
  if (!p || p->trailingSeparator) return std::nullopt;
  const Entry* e = state_->Find(*p);
  if (!e || e->isDirectory) return std::nullopt;
  return e->size;
}

std::vector<FolderEntry> MemoryFileSystem::ListFolder(std::string_view folder) {
  std::lock_guard lock(state_->mutex);
  std::vector<FolderEntry> out;
  (void)state_->ForEachChild(folder, [&](const Entry& e) {
    out.push_back(FolderEntry{e.path.substr(e.path.rfind('\\') + 1), e.isDirectory, e.size, 0});
  });
  return out;
}

FileSystem::PathKind MemoryFileSystem::KindOf(std::string_view path) {
  ++state_->queries;
  std::lock_guard lock(state_->mutex);
  if (state_->Unanswered(path)) return PathKind::Unsure;
  auto p = state_->Parse(path);
  if (!p) return PathKind::None;
  const Entry* e = state_->Find(*p);
  if (!e) return PathKind::None;
  if (e->isDirectory) return PathKind::Folder;
  return p->trailingSeparator ? PathKind::None : PathKind::File;
}

bool MemoryFileSystem::ListNamesComplete(std::string_view folder, std::vector<ListedName>& names) {
  names.clear();
  std::lock_guard lock(state_->mutex);
  return state_->ForEachChild(folder, [&](const Entry& e) {
    names.push_back({e.path.substr(e.path.rfind('\\') + 1), e.isDirectory, false});
  });
}

bool MemoryFileSystem::StemFileExists(std::string_view folder, std::string_view stem) {
  ++state_->queries;
  if (!IsPlainStem(stem)) return false;
  std::lock_guard lock(state_->mutex);
  bool found = false;
  (void)state_->ForEachChild(folder, [&](const Entry& e) {
    found = found || (!e.isDirectory && NameExtendsStem(std::string_view(e.path).substr(e.path.rfind('\\') + 1), stem));
  });
  return found;
}

DriveType MemoryFileSystem::DriveTypeOf(char letter) {
  std::lock_guard lock(state_->mutex);
  auto it = state_->drives.find(AsciiUpper(letter));
  return it == state_->drives.end() ? DriveType::NoRootDir : it->second.type;
}

bool MemoryFileSystem::VolumeReady(char letter) {
  std::lock_guard lock(state_->mutex);
  auto it = state_->drives.find(AsciiUpper(letter));
  return it != state_->drives.end() && it->second.ready;
}

std::string MemoryFileSystem::ExpandEnvironment(std::string_view text) {
  std::lock_guard lock(state_->mutex);
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      std::size_t next = text.find('%', i);
      if (next == std::string_view::npos) next = text.size();
      out.append(text.substr(i, next - i));
      i = next;
      continue;
    }
    const std::size_t close = text.find('%', i + 1);
    if (close == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    auto it = state_->environment.find(UpperCase(text.substr(i + 1, close - i - 1)));
    if (close > i + 1 && it != state_->environment.end()) {
      out += it->second.second;
    } else {
      out.append(text.substr(i, close - i + 1));  // unknown names stay as written
    }
    i = close + 1;
  }
  return out;
}

void MemoryFileSystem::FailWritesTo(std::string_view path) {
  std::lock_guard lock(state_->mutex);
  auto p = state_->Parse(path);
  state_->failingWrites = p ? UpperCase(State::Join(p->parts, p->parts.size())) : std::string();
}

bool MemoryFileSystem::ReadWholeFile(std::string_view path, std::string& bytes) {
  std::lock_guard lock(state_->mutex);
  auto p = state_->Parse(path);
  if (!p || p->trailingSeparator) return false;
  const Entry* e = state_->Find(*p);
  if (!e || e->isDirectory) return false;
  bytes = e->content;
  return true;
}

namespace {
// A file may be written where its folder exists and no folder has its name.
Entry* WritableFile(MemoryFileSystem::State& state, std::string_view path) {
  auto p = state.Parse(path);
  if (!p || p->trailingSeparator || p->parts.size() < 2) return nullptr;
  const std::string key = UpperCase(MemoryFileSystem::State::Join(p->parts, p->parts.size()));
  if (!state.failingWrites.empty() && key.rfind(state.failingWrites, 0) == 0) return nullptr;
  ParsedPath parent = *p;
  parent.parts.pop_back();
  const Entry* folder = state.Find(parent);
  if (!folder || !folder->isDirectory) return nullptr;
  if (const Entry* existing = state.Find(*p); existing && existing->isDirectory) return nullptr;
  return state.Add(*p, false);
}
}  // namespace

bool MemoryFileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  return WriteWholeFileWithReason(path, bytes).ok;
}

namespace {
// The words Windows gives for the same refusals, so that messages built on
// them read alike in tests and in use.
std::string WriteRefusal(MemoryFileSystem::State& state, std::string_view path) {
  auto p = state.Parse(path);
  if (!p || p->trailingSeparator || p->parts.size() < 2)
    return "error 123: The filename, directory name, or volume label syntax is incorrect.";
  if (const Entry* existing = state.Find(*p); existing && existing->isDirectory) return "error 5: Access is denied.";
  ParsedPath parent = *p;
  parent.parts.pop_back();
  const Entry* folder = state.Find(parent);
  if (!folder || !folder->isDirectory) return "error 3: The system cannot find the path specified.";
  return "error 112: There is not enough space on the disk.";
}
}  // namespace

FileSystem::WriteOutcome MemoryFileSystem::WriteWholeFileWithReason(std::string_view path, std::string_view bytes) {
  std::lock_guard lock(state_->mutex);
  Entry* e = WritableFile(*state_, path);
  if (!e) return {false, WriteRefusal(*state_, path)};
  e->content.assign(bytes);
  e->size = e->content.size();
  return {true, {}};
}

bool MemoryFileSystem::AppendAndFlush(std::string_view path, std::string_view bytes) {
  std::lock_guard lock(state_->mutex);
  Entry* e = WritableFile(*state_, path);
  if (!e) return false;
  e->content.append(bytes);
  e->size = e->content.size();
  return true;
}

bool MemoryFileSystem::ForceDirectories(std::string_view path) {
  std::lock_guard lock(state_->mutex);
  auto p = state_->Parse(path);
  if (!p) return false;
  auto drive = state_->drives.find(p->parts[0][0]);
  if (drive == state_->drives.end() || !drive->second.ready) return false;
  return state_->Add(*p, true) != nullptr;
}

bool MemoryFileSystem::CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) {
  std::lock_guard lock(state_->mutex);
  auto src = state_->Parse(from);
  auto dst = state_->Parse(to);
  if (!src || !dst || dst->parts.size() < 2) return false;
  const Entry* s = state_->Find(*src);
  if (!s || s->isDirectory) return false;
  const Entry copy = *s;
  ParsedPath parent = *dst;
  parent.parts.pop_back();
  const Entry* folder = state_->Find(parent);
  if (!folder || !folder->isDirectory) return false;
  if (const Entry* d = state_->Find(*dst)) {
    if (failIfExists || d->isDirectory) return false;
  }
  Entry* e = state_->Add(*dst, false);
  if (!e) return false;
  e->size = copy.size;
  e->shortcutTarget = copy.shortcutTarget;
  e->content = copy.content;
  return true;
}

bool MemoryFileSystem::MoveFileReplacing(std::string_view from, std::string_view to) {
  std::lock_guard lock(state_->mutex);
  auto src = state_->Parse(from);
  if (!src || src->trailingSeparator) return false;
  const Entry* s = state_->Find(*src);
  if (!s || s->isDirectory) return false;
  const std::string sourceKey = UpperCase(s->path);
  const Entry moved = *s;
  // Memory has no cache to flush; the one step is that the target changes
  // only once the move cannot fail any more.
  Entry* target = WritableFile(*state_, to);
  if (!target) return false;
  if (UpperCase(target->path) == sourceKey) return true;
  target->size = moved.size;
  target->shortcutTarget = moved.shortcutTarget;
  target->content = moved.content;
  state_->Remove(sourceKey);
  return true;
}

bool MemoryFileSystem::DeletePath(std::string_view path) {
  std::lock_guard lock(state_->mutex);
  auto p = state_->Parse(path);
  if (!p || p->parts.size() < 2) return false;
  const Entry* e = state_->Find(*p);
  if (!e) return false;
  state_->Remove(UpperCase(e->path));
  return true;
}

std::string MemoryFileSystem::GetSpecialFolder(int csidl) {
  std::lock_guard lock(state_->mutex);
  auto it = state_->specialFolders.find(csidl);
  return it == state_->specialFolders.end() ? std::string() : it->second;
}

std::optional<std::string> MemoryFileSystem::ShortcutTarget(std::string_view shortcutPath) {
  std::lock_guard lock(state_->mutex);
  auto p = state_->Parse(shortcutPath);
  if (!p) return std::nullopt;
  const Entry* e = state_->Find(*p);
  if (!e || e->isDirectory) return std::nullopt;
  return e->shortcutTarget;
}

FileSystem::RecycleResult MemoryFileSystem::RecycleFile(std::string_view path) {
  std::lock_guard lock(state_->mutex);
  if (path.find_first_of("*?") != std::string_view::npos) return RecycleResult::NotAFile;
  if (path.starts_with("\\\\")) return RecycleResult::NoRecycleBin;  // shares keep no bin
  if (path.size() < 4 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return RecycleResult::NotAFile;
  auto p = state_->Parse(path);
  if (!p || p->parts.size() < 2) return RecycleResult::NotAFile;
  const Entry* e = state_->Find(*p);
  if (!e) return RecycleResult::NotThere;
  if (e->isDirectory || p->trailingSeparator) return RecycleResult::NotAFile;
  const char drive = p->parts[0][0];
  if (state_->drives.at(drive).type != DriveType::Fixed || state_->drivesWithoutBin.contains(drive))
    return RecycleResult::NoRecycleBin;
  const std::string key = UpperCase(e->path);
  if (!state_->failingWrites.empty() && key.rfind(state_->failingWrites, 0) == 0) return RecycleResult::Refused;
  state_->recycled.push_back(e->path);
  state_->Remove(key);
  return RecycleResult::Recycled;
}

void MemoryFileSystem::SetRecycleBin(char letter, bool present) {
  std::lock_guard lock(state_->mutex);
  if (present)
    state_->drivesWithoutBin.erase(AsciiUpper(letter));
  else
    state_->drivesWithoutBin.insert(AsciiUpper(letter));
}

std::vector<std::string> MemoryFileSystem::RecycledFiles() const {
  std::lock_guard lock(state_->mutex);
  return state_->recycled;
}

}  // namespace lindqua
