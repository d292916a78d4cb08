#include "platform/CachingFileSystem.h"

#include <algorithm>

#include "platform/PlainName.h"
#include "platform/StemName.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

enum : std::uint8_t {
  FileKnown = 1,
  IsFile = 2,
  FolderKnown = 4,
  IsFolder = 8,
  ListTried = 16,  // a folder whose listing was asked for
  Listed = 32,     // ... and came complete: its children carry InListing
  InListing = 64,  // the name appeared in its folder's listing
  StemOfFile = 128,  // ... a listed file has this name plus an extension
};
constexpr std::uint8_t Absent = FileKnown | FolderKnown;
// A folder with more entries than this is not kept as a listing.
constexpr std::size_t MaxListing = 20000;
// The paths kept may hold this many characters in all.
constexpr std::size_t MaxTextBytes = std::size_t{32} << 20;

void UpperInto(std::string& out, std::string_view text) {
  out.assign(text);
  UpperInPlace(out);
}

// Every "\"-separated name of the path from `start` on is plain.
bool PlainNamesFrom(std::string_view upperPath, std::size_t start) {
  while (start <= upperPath.size()) {
    std::size_t end = upperPath.find('\\', start);
    if (end == std::string_view::npos) end = upperPath.size();
    if (!IsPlainName(upperPath.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

// "X:\name\name..." where every name is plain: such a path lies inside the
// folder its text before the last "\" names.
bool IsPlainDrivePath(std::string_view upperPath) {
  if (upperPath.size() < 4 || upperPath[1] != ':' || upperPath[2] != '\\') return false;
  if (upperPath[0] < 'A' || upperPath[0] > 'Z') return false;
  return PlainNamesFrom(upperPath, 3);
}

// A name whose absence from a listing proves it absent: ASCII only (Windows
// folds other letters by its own table), no "~" (a volume without short
// names lists none, yet a lookup may still resolve one through a link),
// nothing a lookup rejects or treats as a pattern.
bool IsListableChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20 || byte >= 0x80) return false;
  switch (c) {
    case '~': case '*': case '?': case '"': case '<': case '>': case '|':
      return false;
    default:
      return true;
  }
}

bool IsListableName(std::string_view name) {
  for (char c : name)
    if (!IsListableChar(c)) return false;
  return true;
}

// A listed name that ASCII case folding compares as Windows does: outside
// ASCII, letters such as the dotless i fold onto an ASCII letter, so such a
// listing could hide the match of a plain question.
bool FoldsAsAscii(std::string_view name) {
  for (char c : name)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsDriveRoot(std::string_view upperPath) {
  return upperPath.size() == 3 && upperPath[0] >= 'A' && upperPath[0] <= 'Z' && upperPath.substr(1) == ":\\";
}

std::string_view ParentOf(std::string_view upperPath) {
  const std::size_t slash = upperPath.rfind('\\');
  return upperPath.substr(0, slash == 2 ? 3 : slash);
}

std::string ChildKey(std::string_view upperFolder, std::string_view name) {
  std::string key(upperFolder);
  if (key.back() != '\\') key.push_back('\\');
  for (char c : name) key.push_back(AsciiUpper(c));
  return key;
}

}  // namespace

CachingFileSystem::CachingFileSystem(FileSystem& inner, std::size_t maxEntries)
    : inner_(inner), maxEntries_(maxEntries == 0 ? 1 : maxEntries) {}

void CachingFileSystem::Clear() {
  DropEntries();
  known_.Release();  // give the memory back, not only the entries
  std::unordered_map<std::string, bool>().swap(stemAnswers_);
  key_ = UpperPathKey();  // its buffers are as long as the longest path asked
  std::string().swap(prefixPath_);
  prefixFrom_ = prefixNoFileTo_ = 0;
}

// Starts the map again. What was inferred from its entries goes with them:
// the listed folder's marks and the absent base, which may stand on a listing
// that is no longer held.
void CachingFileSystem::DropEntries() {
  known_.Clear();
  stemAnswers_.clear();
  listedBase_.clear();
  absentBase_.clear();
}

std::uint8_t& CachingFileSystem::Known(const HashedPath& upperPath) {
  if (std::uint8_t* known = Find(upperPath)) return *known;
  if (known_.Size() >= maxEntries_ || known_.TextBytes() + upperPath.text.size() > MaxTextBytes) DropEntries();
  return known_.Insert(upperPath.text, upperPath.hash);
}

// Lists a folder known to exist, once; true when its complete listing is held.
bool CachingFileSystem::EnsureListed(std::string_view upperFolder, std::uint8_t& folderBits) {
  if (folderBits & ListTried) return folderBits & Listed;
  folderBits |= ListTried;
  std::vector<ListedName> names;
  const std::string folder(upperFolder);
  if (!inner_.ListNamesComplete(folder, names) || names.size() > MaxListing) return false;
  for (const auto& entry : names)
    if (!FoldsAsAscii(entry.name)) return false;
  // "A.B.C" is "A" and "A.B" completed: both are marked, so that a stem
  // question is one lookup of the stem's own path.
  const auto forEachStem = [](const ListedName& entry, auto&& use) {
    if (entry.isDirectory || entry.isShortName) return;
    for (std::size_t dot = entry.name.find('.', 1); dot != std::string::npos && dot + 1 < entry.name.size();
         dot = entry.name.find('.', dot + 1))
      use(std::string_view(entry.name).substr(0, dot));
  };
  std::size_t entries = 1, text = folder.size();
  for (const auto& entry : names) {
    ++entries;
    text += folder.size() + 1 + entry.name.size();
    forEachStem(entry, [&](std::string_view stem) { ++entries, text += folder.size() + 1 + stem.size(); });
  }
  if (entries > maxEntries_ || text > MaxTextBytes) return false;
  if (known_.Size() + entries > maxEntries_ || known_.TextBytes() + text > MaxTextBytes) DropEntries();
  for (const auto& entry : names) {
    Listing(ChildKey(folder, entry.name)) |= InListing;
    forEachStem(entry, [&](std::string_view stem) { Listing(ChildKey(folder, stem)) |= StemOfFile; });
  }
  Listing(folder) |= FolderKnown | IsFolder | FileKnown | ListTried | Listed;
  return true;
}

// The key up to its "\" at `slash` is the absent base, or lies below it by
// plain names.
bool CachingFileSystem::AtOrBelowAbsentBase(std::size_t slash) const {
  const std::string_view key = key_.Text();
  const std::size_t base = absentBase_.size();
  return base != 0 && slash >= base && key[base] == '\\' && key.substr(0, base) == absentBase_ &&
         (slash == base || key_.PlainNamesBefore(base + 1, slash));
}

// The last name need only stay in its folder: whatever Windows makes of its
// trailing dots and blanks, it looks in a folder that is not there.
bool CachingFileSystem::BelowAbsentBase() const {
  const std::size_t slash = key_.LastSlash();
  return slash != std::string::npos && slash + 1 < key_.Text().size() && AtOrBelowAbsentBase(slash) &&
         key_.LastNameStaysInFolder();
}

// "X:\name\name..." where every name is plain, for the key.
bool CachingFileSystem::KeyIsPlainDrivePath() const { return KeyIsDrivePath() && key_.PlainNamesFrom(3); }

// "X:\" and at least one character more, for the key.
bool CachingFileSystem::KeyIsDrivePath() const {
  const std::string_view key = key_.Text();
  return key.size() >= 4 && key[1] == ':' && key[2] == '\\' && key[0] >= 'A' && key[0] <= 'Z';
}

// The key is a plain drive path but for a last name that stays in its
// folder (trailing dots or blanks), and that folder is known to be none.
// Unlike KnownAbsent, no listing is asked: it holds names as they are stored.
bool CachingFileSystem::InKnownNoFolder() {
  const std::string_view key = key_.Text();
  const std::size_t slash = key_.LastSlash();
  if (!KeyIsDrivePath() || slash + 1 >= key.size() || !key_.LastNameStaysInFolder()) return false;
  if (slash > 2 && !key_.PlainNamesBefore(3, slash)) return false;
  const std::uint8_t* folder = Find(PrefixOfKey(slash == 2 ? 3 : slash));
  return folder && (*folder & FolderKnown) && !(*folder & IsFolder);
}

// True when the key cannot exist: an ancestor is known to be no folder, or
// the nearest known folder was listed without the next name on the path.
// Every path looked up is a prefix of the key, hashed already.
bool CachingFileSystem::KnownAbsent() {
  const std::string_view key = key_.Text();
  std::string_view child = key;
  for (;;) {
    const std::string_view parentView = ParentOf(child);
    std::uint8_t* parentBits = Find(PrefixOfKey(parentView.size()));
    if (parentBits && (*parentBits & FolderKnown)) {
      if (!(*parentBits & IsFolder)) {
        if (parentView.size() > 3) absentBase_.assign(parentView);
        return true;
      }
      const std::string_view name = child.substr(child.rfind('\\') + 1);
      if (!IsListableName(name) || !EnsureListed(parentView, *parentBits)) return false;
      listedBase_.assign(parentView);
      const std::uint8_t* found = Find(PrefixOfKey(child.size()));
      if (found && (*found & InListing)) return false;
      // Remember the missing step, so that the next question below it stops here.
      if (child.size() != key.size()) Known(PrefixOfKey(child.size())) |= Absent;
      absentBase_.assign(child);
      return true;
    }
    if (parentView.size() <= 3) return false;
    child = parentView;
  }
}

bool CachingFileSystem::Answer(std::string_view path, bool folder) {
  key_.Assign(path);
  const std::string_view key = key_.Text();
  if (BelowAbsentBase()) return false;
  // The absent base is no folder: a check asks that of the name it has just
  // found to be no file.
  if (folder && key == absentBase_) return false;
  const std::uint8_t wanted = folder ? FolderKnown : FileKnown;
  const std::uint8_t* known = Find(PrefixOfKey(key.size()));
  if (known && (*known & wanted)) return *known & (folder ? IsFolder : IsFile);
  const std::size_t lastSlash = key_.LastSlash();
  if (!listedBase_.empty() && lastSlash != std::string::npos &&
      std::string_view(key).substr(0, lastSlash == 2 ? 3 : lastSlash) == listedBase_) {
    const std::string_view name = std::string_view(key).substr(lastSlash + 1);
    if (key_.LastNamePlain() && IsListableName(name) && !(known && (*known & InListing))) {
      absentBase_ = key;
      return false;
    }
  }
  // Only a plain path lies inside the folders its text names.
  const bool plain = KeyIsPlainDrivePath();
  if (plain && KnownAbsent()) return false;
  if (!plain && InKnownNoFolder()) return false;
  ++innerQueries_;
  const PathKind kind = inner_.KindOf(path);
  if (kind == PathKind::Unsure) {
    // Nothing is kept: the system would not say what lies there or below.
    unsureSeen_ = true;
    ++innerQueries_;
    return folder ? inner_.DirectoryExists(path) : inner_.FileExists(path);
  }
  std::uint8_t& bits = Known(PrefixOfKey(key.size()));
  bits = static_cast<std::uint8_t>((bits & ~(IsFile | IsFolder)) | Absent);
  if (kind == PathKind::File) bits |= IsFile;
  if (kind == PathKind::Folder) bits |= IsFolder;
  if (kind != PathKind::Folder && plain) absentBase_ = key;
  // "X\" is a folder exactly when "X" is one, for a plain X.
  if (key.size() > 4 && key.back() == '\\' && IsPlainDrivePath(std::string_view(key).substr(0, key.size() - 1))) {
    std::uint8_t& bareBits = Known(PrefixOfKey(key.size() - 1));
    bareBits |= FolderKnown;
    if (kind == PathKind::Folder) bareBits = static_cast<std::uint8_t>((bareBits | IsFolder | FileKnown) & ~IsFile);
  }
  return folder ? kind == PathKind::Folder : kind == PathKind::File;
}

bool CachingFileSystem::FileExists(std::string_view path) { return Answer(path, false); }

// Answered from the folder's listing where one is held, else asked once per
// folder and stem.
bool CachingFileSystem::StemFileExists(std::string_view folder, std::string_view stem) {
  if (!IsPlainStem(stem)) return false;
  UpperInto(stemKey_, folder);
  if (stemKey_.size() > 3 && stemKey_.back() == '\\') stemKey_.pop_back();
  if ((IsDriveRoot(stemKey_) || IsPlainDrivePath(stemKey_)) && IsListableName(stem)) {
    std::uint8_t* folderBits = Find(stemKey_);
    if (!folderBits || !(*folderBits & FolderKnown)) {
      if (!DirectoryExists(stemKey_)) return false;
      folderBits = Find(stemKey_);
    }
    if (!folderBits || !(*folderBits & IsFolder)) return false;
    if (EnsureListed(stemKey_, *folderBits)) {
      if (stemKey_.back() != '\\') stemKey_.push_back('\\');
      for (char c : stem) stemKey_.push_back(AsciiUpper(c));
      const std::uint8_t* found = Find(stemKey_);
      return found && (*found & StemOfFile);
    }
  }
  if (stemKey_.back() != '\\') stemKey_.push_back('\\');
  for (char c : stem) stemKey_.push_back(AsciiUpper(c));
  if (const auto known = stemAnswers_.find(stemKey_); known != stemAnswers_.end()) return known->second;
  ++innerQueries_;
  const bool found = inner_.StemFileExists(folder, stem);
  if (stemAnswers_.size() >= maxEntries_) stemAnswers_.clear();
  stemAnswers_.emplace(stemKey_, found);
  return found;
}

bool CachingFileSystem::DirectoryExists(std::string_view path) { return Answer(path, true); }

// The same rules as a file question, without working out the key afresh for
// each prefix: a prefix inside a plain path that is no folder, one the table
// knows, one inside a listed folder whose listing lacks its last name.
bool CachingFileSystem::PrefixKnownNoFile(std::size_t length, const PrefixFolder& folder) {
  const std::string_view key = key_.Text();
  const bool plain = folder.length != 0 && folder.NameIsPlain(key, length);
  // Before the table, as a file question tests it.
  if (plain && folder.belowAbsentBase) return true;
  const std::uint8_t* bits = Find(PrefixOfKey(length));
  if (bits && (*bits & FileKnown)) return !(*bits & IsFile);
  const bool inNoFolder = (folder.bits & FolderKnown) && !(folder.bits & IsFolder) && folder.plainDrivePath;
  // A name ending in dots or blanks is looked up in the same folder, whatever
  // Windows strips of it: where that is no folder, it names no file either.
  // Only a listing is no help: it holds the names as they are stored.
  if (!plain) return inNoFolder && folder.length != 0 && folder.NameStaysIn(key, length);
  // A listed folder is a plain path, and so is everything in it by a plain name.
  if ((folder.bits & Listed) && length <= folder.unlistableAt) return !(bits && (*bits & (InListing | IsFile)));
  return inNoFolder;
}

bool CachingFileSystem::PrefixFolder::NameIsPlain(std::string_view key, std::size_t end) const noexcept {
  if (end <= nameStart || end > oddAt || key[end - 1] == '.' || key[end - 1] == ' ') return false;
  return !IsDeviceName(key.substr(nameStart, end - nameStart));
}

bool CachingFileSystem::PrefixFolder::NameStaysIn(std::string_view key, std::size_t end) const noexcept {
  return end > nameStart && StaysInFolder(key.substr(nameStart, end - nameStart));
}

// What every prefix ending in the name after the key's "\" at `slash` shares.
CachingFileSystem::PrefixFolder CachingFileSystem::FolderAt(std::size_t slash) {
  const std::string_view key = key_.Text();
  PrefixFolder folder;
  if (slash == std::string_view::npos) return folder;
  folder.length = slash == 2 ? 3 : slash;
  folder.nameStart = slash + 1;
  const std::uint8_t* bits = Find(PrefixOfKey(folder.length));
  folder.bits = bits ? *bits : 0;
  // "X:\\" and plain names up to the slash.
  folder.plainDrivePath = slash >= 2 && key[1] == ':' && key[2] == '\\' && key[0] >= 'A' && key[0] <= 'Z' &&
                          (slash == 2 || key_.PlainNamesBefore(3, slash));
  folder.belowAbsentBase = AtOrBelowAbsentBase(slash);
  // Once a name holds one of these, so does every longer name in its place.
  folder.oddAt = folder.unlistableAt = key.size();
  for (std::size_t i = folder.nameStart; i < key.size() && key[i] != '\\'; ++i) {
    if (folder.oddAt == key.size() && (key[i] == '/' || key[i] == ':')) folder.oddAt = i;
    if (folder.unlistableAt == key.size() && !IsListableChar(key[i])) folder.unlistableAt = i;
  }
  return folder;
}

std::size_t CachingFileSystem::FirstFilePrefix(std::string_view path, std::size_t from) {
  std::size_t first = from == 0 ? 1 : from;
  if (first > path.size()) return 0;
  const std::size_t known = KnownNoFilePrefixes(path, first);
  unsureSeen_ = false;
  const std::size_t found = FirstFilePrefixFrom(path, first, known);
  // An answer the system was unsure of is not kept, nor is anything resting on it.
  if (unsureSeen_) {
    prefixPath_.clear();
    return found;
  }
  prefixPath_.assign(path);
  prefixFrom_ = first;
  prefixNoFileTo_ = found == 0 ? path.size() : found - 1;
  return found;
}

// How many characters of `path` the last prefix question showed no prefix
// of, from `first` on, to name a file: the length of the prefixes it shares
// with that question's path, if they were all asked then.
std::size_t CachingFileSystem::KnownNoFilePrefixes(std::string_view path, std::size_t first) const {
  if (prefixPath_.empty() || first < prefixFrom_) return 0;
  const std::size_t same = std::min(SharedPrefixLength(path, prefixPath_), prefixNoFileTo_);
  return same >= first ? same : 0;
}

// Asks from `first` on, skipping the prefixes up to `knownNoFile` long.
std::size_t CachingFileSystem::FirstFilePrefixFrom(std::string_view path, std::size_t first, std::size_t knownNoFile) {
  first = std::max(first, knownNoFile + 1);
  if (first > path.size()) return 0;
  key_.Assign(path);
  // The last "\" before the prefix's end, and the one `folder` was worked out for.
  std::size_t slash = key_.Text().substr(0, first - 1).rfind('\\');
  std::size_t folderSlash = std::string_view::npos;
  PrefixFolder folder;
  for (std::size_t length = first; length <= path.size(); ++length) {
    if (key_.Text()[length - 1] == '\\') slash = length - 1;
    if (slash != folderSlash) {
      folder = FolderAt(slash);
      folderSlash = slash;
    }
    if (PrefixKnownNoFile(length, folder)) continue;
    if (FileExists(path.substr(0, length))) return length;
    // That question may have learnt or dropped anything: start again from the table.
    key_.Assign(path);
    folder = PrefixFolder{};
    folderSlash = std::string_view::npos;
  }
  return 0;
}

bool CachingFileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  Clear();
  return inner_.WriteWholeFile(path, bytes);
}

FileSystem::WriteOutcome CachingFileSystem::WriteWholeFileWithReason(std::string_view path, std::string_view bytes) {
  Clear();
  return inner_.WriteWholeFileWithReason(path, bytes);
}

bool CachingFileSystem::AppendAndFlush(std::string_view path, std::string_view bytes) {
  Clear();
  return inner_.AppendAndFlush(path, bytes);
}

bool CachingFileSystem::ForceDirectories(std::string_view path) {
  Clear();
  return inner_.ForceDirectories(path);
}

bool CachingFileSystem::CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) {
  Clear();
  return inner_.CopyFileTo(from, to, failIfExists);
}

bool CachingFileSystem::DeletePath(std::string_view path) {
  Clear();
  return inner_.DeletePath(path);
}

}  // namespace lindqua
