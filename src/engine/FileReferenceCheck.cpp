#include "engine/FileReferenceCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/StemName.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

// ExpandEnvironmentStrings was given a buffer of this many characters, the
// terminating NUL included.
constexpr std::size_t ExpandBufferChars = 1024;

// No path of more UTF-16 units than this names anything on Windows, so none
// is asked about: a value of a few hundred kilobytes with a stop character
// every other byte would otherwise cost a question about each of its
// prefixes, each as long as the value.
constexpr std::size_t MaxPathUnits = 32767;
constexpr std::size_t ProgramExtensionUnits = 4;  // ".exe", ".com", ".bat"

// The longest prefixes of a path that questions may be about, with and without
// a program extension added.
struct Askable {
  explicit Askable(std::string_view name)
      : plain(Utf8BytesWithinUnits(name, MaxPathUnits)),
        withExtension(Utf8BytesWithinUnits(name, MaxPathUnits - ProgramExtensionUnits)) {}
  std::size_t plain;
  std::size_t withExtension;
};

// A table, not a search of PathStopChars: every character of every path is asked.
constexpr auto StopCharTable = [] {
  std::array<bool, 256> table{};
  for (char c : PathStopChars) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

bool IsStopChar(char c) noexcept { return StopCharTable[static_cast<unsigned char>(c)]; }

bool IsBlankOrControl(char c) noexcept { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view text) noexcept {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

// ":\" stands right after the first character.
bool StartsLikeDrivePath(std::string_view name) noexcept {
  return name.size() >= 3 && name[1] == ':' && name[2] == '\\';
}

// The first character names a tested drive and ":\" first occurs right after it.
bool PassesDriveTest(std::string_view name, std::string_view driveLetters) noexcept {
  // The first ":\" is at 1 exactly when it stands there: at 0 it would need
  // a "\" where this needs the ":".
  if (!StartsLikeDrivePath(name)) return false;
  const char drive = AsciiUpper(name.front());
  for (char letter : driveLetters)
    if (AsciiUpper(letter) == drive) return true;
  return false;
}

// A floppy path whose drive held no volume when the scan started is missing:
// asking the drive would make Windows prompt for a disk.
bool FloppyNotReady(const ScanContext& scan, std::string_view name) noexcept {
  if (scan.IgnoreRemovableDrive) return false;
  return (StartsWithText(name, "A:\\") && !scan.DriveAReady) || (StartsWithText(name, "B:\\") && !scan.DriveBReady);
}

// What the check tried, kept only when a finding is being explained. Every
// name it tries is a prefix of the path looked for plus a suffix, so one is
// kept as two numbers and only the few shown are ever spelt out. While
// explaining, the check asks the file system only what decides which names
// it tries (does the folder exist): every other answer was the "no" that made
// the text missing, so the scan pays for a reason with a few lookups and no
// string per name tried.
enum class Suffix : std::uint8_t { None, Exe, Com, Bat, AnyExtension };
constexpr std::string_view SuffixText[] = {"", ".exe", ".com", ".bat", ".*"};

struct Candidate {
  std::size_t length;  // of the prefix of the path looked for
  Suffix suffix;
  bool operator==(const Candidate&) const = default;
  std::size_t TextSize() const { return length + SuffixText[static_cast<int>(suffix)].size(); }
};

struct Tried {
  std::string name;  // the path looked for
  std::vector<Candidate> candidates;
  std::string noFolder;  // its folder part, when that was found missing
  std::string_view view;  // which view of the file system, when there were several
};

void Record(Tried* tried, std::size_t length, Suffix suffix = Suffix::None) {
  if (tried) tried->candidates.push_back({length, suffix});
}

// Every name tried is a prefix of the path looked for, perhaps with a
// program extension: the prefixes are asked as they stand in the path, and
// only a name with an extension is spelt out, in one buffer per path.
class Prober {
 public:
  // Every candidate is a prefix of the path `askable` was worked out for.
  Prober(FileSystem& files, bool acceptFolder, Tried* tried, Askable askable)
      : files_(files), acceptFolder_(acceptFolder), tried_(tried), askable_(askable) {}

  // The candidate, or it with a program extension, exists.
  bool Probe(std::string_view candidate) {
    if (candidate.size() > askable_.plain) return false;
    if (tried_) {
      Explain(candidate, Suffix::None);
      return ProgramExists(candidate);
    }
    if (files_.FileExists(candidate)) return true;
    if (acceptFolder_ && files_.DirectoryExists(candidate)) return true;
    return ProgramExists(candidate);
  }

  bool ProgramExists(std::string_view candidate) {
    if (candidate.size() > askable_.withExtension) return false;
    if (tried_) {
      for (Suffix suffix : {Suffix::Exe, Suffix::Com, Suffix::Bat}) Explain(candidate, suffix);
      return false;
    }
    withExtension_.assign(candidate);
    for (const char* extension : {".exe", ".com", ".bat"}) {
      withExtension_.resize(candidate.size());
      withExtension_ += extension;
      if (files_.FileExists(withExtension_)) return true;
    }
    return false;
  }

  // A file in the candidate's folder is named after its last name plus an
  // extension: the candidate is a stem its owner completes.
  bool StemExists(std::string_view candidate) {
    const std::size_t slash = candidate.rfind('\\');
    const std::string_view stem = candidate.substr(slash + 1);
    if (!IsPlainStem(stem) || candidate.size() > askable_.plain) return false;
    if (tried_) return Explain(candidate, Suffix::AnyExtension);
    return files_.StemFileExists(candidate.substr(0, slash + 1), stem);
  }

 private:
  // Records a name the check tries; the finding being explained says it was not found.
  bool Explain(std::string_view candidate, Suffix suffix) {
    Record(tried_, candidate.size(), suffix);
    return false;
  }

  FileSystem& files_;
  bool acceptFolder_;
  Tried* tried_;
  Askable askable_;
  std::string withExtension_;
};

// The folder part exists: a prefix of the file part that ends before a stop
// character, or the whole of it less trailing ";", must name something.
bool MissingInExistingFolder(Prober& prober, std::string_view name, std::size_t lastSlash, Askable askable) {
  const std::size_t ends = std::min(name.size(), askable.plain + 1);  // no longer prefix is asked about
  for (std::size_t end = lastSlash + 1; end < ends; ++end)
    if (IsStopChar(name[end]) && prober.Probe(name.substr(0, end))) return false;
  std::string_view candidate = name;
  for (;;) {
    if (prober.Probe(candidate)) return false;
    if (candidate.back() != ';') break;  // never empty: it starts with "X:\"
    candidate.remove_suffix(1);
  }
  // Only here, at the verdict on the whole name, may a stem save it: the
  // question is asked only of what is already judged missing, so it never
  // turns a found file into a finding, and only where the folder exists (a
  // stem is completed inside its own folder). Shorter prefixes are left out:
  // "C:\App\run -x" is no stem of "run.txt".
  return !prober.StemExists(candidate);
}

// The folder part does not exist: any prefix that names a file, or a program
// when it ends before a stop character, makes the text present.
bool MissingWithoutFolder(FileSystem& files, Prober& prober, std::string_view name, Tried* tried, Askable askable) {
  const std::size_t ends = std::min(name.size(), askable.withExtension + 1);
  for (std::size_t end = 0; end < ends; ++end)
    if (IsStopChar(name[end]) && prober.ProgramExists(name.substr(0, end))) return false;
  // Every prefix is asked about, in one question; only the whole path is
  // worth showing.
  if (tried) {
    Record(tried, name.size());
    return true;
  }
  return files.FirstFilePrefix(name.substr(0, askable.plain), 1) == 0;
}

// Steps after unquoting and expansion, for one place the path may name.
bool CheckPath(ScanContext& scan, std::string_view name, std::string_view cutAt, bool acceptFolder,
               std::string_view driveLetters, Tried* tried) {
  FileSystem& files = scan.Files();
  if (tried) tried->candidates.reserve(32);
  if (!cutAt.empty()) {
    const std::size_t at = FindText(name, cutAt);
    if (at == std::string::npos) return false;
    const std::string cut = std::string(name.substr(0, at)).append(cutAt);
    if (!PassesDriveTest(cut, driveLetters)) return false;
    if (tried) tried->name = cut;
    if (FloppyNotReady(scan, cut)) return true;
    return tried || !files.FileExists(cut);
  }

  if (name.empty()) return false;
  if (!PassesDriveTest(name, driveLetters)) return false;
  if (tried) tried->name = name;
  if (FloppyNotReady(scan, name)) return true;
  if (name.find(":\\", 3) != std::string::npos) return false;  // a second drive is not judged

  const std::size_t lastSlash = name.rfind('\\');
  const std::string_view folderPart = name.substr(0, lastSlash + 1);
  if (folderPart.size() == name.size() && files.DirectoryExists(name)) return false;
  const Askable askable(name);
  Prober prober(files, acceptFolder, tried, askable);
  if (files.DirectoryExists(folderPart)) return MissingInExistingFolder(prober, name, lastSlash, askable);
  if (tried) tried->noFolder = folderPart;
  return MissingWithoutFolder(files, prober, name, tried, askable);
}

// The text holds "\hp" or "print" (without regard to case), the words that
// clear any text: one pass for the "p" both hold, as every value is asked.
bool HoldsClearingWord(std::string_view text) noexcept {
  for (std::size_t p = FindLetter(text, 'p'); p != std::string_view::npos; p = FindLetter(text, 'p', p + 1)) {
    if (p >= 2 && text[p - 2] == '\\' && AsciiUpper(text[p - 1]) == 'H') return true;
    if (StartsWithText(text.substr(p), "print")) return true;
  }
  return false;
}

bool ExactUnderWow64(const ScanContext& scan) noexcept { return scan.UnderWow64 && scan.Check64BitPaths; }

bool Check(ScanContext& scan, std::string_view text, std::string_view cutAt, bool acceptFolder,
           std::string_view driveLetters, std::vector<Tried>* explained, PathOrigin origin) {
  if (text.empty()) return false;
  const bool exact = ExactUnderWow64(scan);
  std::string_view name = text;
  if (text.front() == '"') {
    std::string_view unquoted = text.substr(1);
    if (unquoted.empty()) return false;
    name = unquoted.substr(0, unquoted.find('"'));
  }
  // Most strings name no drive path and hold no reference, which their first
  // characters show at less cost than the word rules below, that would clear
  // them too. Only a cut or other views could make a path of them.
  const bool mayBePath = !name.empty() && (name.front() == '%' || StartsLikeDrivePath(name));
  if (!mayBePath && !exact && cutAt.empty()) return false;
  // An explained text already passed the word rules: they only ever clear one.
  if (!explained) {
    if (HoldsClearingWord(text)) return false;
    if (scan.UnderWow64 && !exact &&
        (ContainsText(text, "system32") || ContainsText(text, "ProgramFiles") ||
         ContainsText(text, "Program Files")))
      return false;
  }

  std::string expanded;   // the name with a leading reference expanded
  std::string variable;   // of that reference
  std::size_t after = 0;  // where the text after that reference starts in the expanded name
  if (!name.empty() && name.front() == '%') {
    const std::string_view rest = name.substr(1);
    if (rest.empty()) return false;
    const std::size_t close = rest.find('%');  // index in rest of the closing "%"
    const std::string reference =
        close != std::string_view::npos ? "%" + std::string(rest.substr(0, close + 1)) : std::string(rest);
    const std::string folder = ExpandIfFolder(scan, reference);
    if (!folder.empty() && folder.front() == '%') return false;
    if (close != std::string_view::npos) variable = rest.substr(0, close);
    const std::size_t tail = close != std::string_view::npos ? close + 2 : 1;  // index in name
    expanded = folder;
    if (tail < name.size()) expanded.append(name.substr(tail));
    name = expanded;
    after = folder.size();
  }

  if (!exact) {
    if (scan.UnderWow64 && (ContainsText(name, "system32") || ContainsText(name, "Program Files"))) return false;
    return CheckPath(scan, name, cutAt, acceptFolder, driveLetters, explained ? &explained->emplace_back() : nullptr);
  }

  Wow64Places where = PlacesUnderWow64(scan.Wow64, name, variable, name.substr(after), origin);
  if (!where.judged) return false;
  if (where.places.empty()) where.places.push_back({std::string(name), {}});
  // Missing only when missing in every place the system could mean.
  for (const Wow64Place& place : where.places) {
    Tried* tried = nullptr;
    if (explained) {
      tried = &explained->emplace_back();
      tried->view = place.view;
    }
    if (!CheckPath(scan, place.path, cutAt, acceptFolder, driveLetters, tried)) return false;
  }
  return true;
}

// One line a user can read: the path that was looked for, then the other
// names that were tried, longest first, cut short when there are many.
std::string DescribeTried(const Tried& tried) {
  constexpr std::size_t MaxShown = 4;
  constexpr std::size_t MaxChars = 400;
  const Candidate main{tried.name.size(), Suffix::None};
  // Longest first, each name once, in the order first tried among names of one
  // length. Sorted with its place as the tie-break, not searched for repeats:
  // a long text with many stop characters tries a great many names.
  struct Placed {
    Candidate candidate;
    std::size_t place;
  };
  std::vector<Placed> sorted;
  sorted.reserve(tried.candidates.size());
  for (std::size_t place = 0; place < tried.candidates.size(); ++place) {
    const Candidate& candidate = tried.candidates[place];
    // Prefixes cut before the drive's "\" ("C.exe") were asked about too,
    // but name nothing a user could look for.
    if (candidate != main && candidate.length >= 3) sorted.push_back({candidate, place});
  }
  std::sort(sorted.begin(), sorted.end(), [](const Placed& a, const Placed& b) {
    const std::size_t aSize = a.candidate.TextSize(), bSize = b.candidate.TextSize();
    return aSize != bSize ? aSize > bSize : a.place < b.place;
  });
  std::vector<Candidate> others;
  others.reserve(sorted.size());
  std::size_t sameSizeFrom = 0;  // where the names as long as the last one kept start
  for (const Placed& placed : sorted) {
    const Candidate& candidate = placed.candidate;
    if (!others.empty() && others.back().TextSize() != candidate.TextSize()) sameSizeFrom = others.size();
    // Names of one length differ in their suffix, of which there are few.
    if (std::find(others.begin() + static_cast<std::ptrdiff_t>(sameSizeFrom), others.end(), candidate) == others.end())
      others.push_back(candidate);
  }
  // One buffer for the whole line: a scan with many findings builds one per finding.
  std::string text;
  text.reserve(64 + tried.name.size() + tried.noFolder.size() + MaxChars);
  text.append("Not found: ").append(tried.name);
  if (!tried.noFolder.empty()) text.append(" (no folder ").append(tried.noFolder).append(")");
  if (others.empty()) return text;
  text.append("; also tried ");
  std::size_t shown = 0, alsoChars = 0;
  for (const Candidate& candidate : others) {
    const std::size_t added = (shown ? 2 : 0) + candidate.TextSize();
    if (shown == MaxShown || alsoChars + added - (shown ? 2 : 0) > MaxChars) break;
    if (shown) text.append(", ");
    text.append(tried.name, 0, candidate.length).append(SuffixText[static_cast<int>(candidate.suffix)]);
    alsoChars += added;
    ++shown;
  }
  if (others.size() > shown) text.append(" and ").append(std::to_string(others.size() - shown)).append(" more");
  return text;
}

}  // namespace

std::string ExpandIfFolder(ScanContext& scan, std::string_view reference) {
  const std::string expanded = scan.Files().ExpandEnvironment(reference);
  if (Utf16Length(expanded) >= ExpandBufferChars) return std::string(reference);
  const std::string_view trimmed = Trim(expanded);
  if (!scan.Files().DirectoryExists(trimmed)) return std::string(reference);
  return std::string(trimmed);
}

bool IsMissingFile(ScanContext& scan, std::string_view text, std::string_view cutAt, bool acceptFolder,
                   std::string_view driveLetters, PathOrigin origin) noexcept {
  try {
    return Check(scan, text, cutAt, acceptFolder, driveLetters, nullptr, origin);
  } catch (...) {
    return false;
  }
}

std::string MissingFileReason(ScanContext& scan, std::string_view text, std::string_view cutAt, bool acceptFolder,
                              std::string_view driveLetters, PathOrigin origin) {
  std::vector<Tried> places;
  try {
    if (!Check(scan, text, cutAt, acceptFolder, driveLetters, &places, origin))
      return "Found on a second look: " + std::string(text);
  } catch (...) {
    return "Not found: " + std::string(text);
  }
  if (places.empty() || places.front().name.empty()) return "Not found: " + std::string(text);
  if (places.size() == 1) {
    const Tried& tried = places.front();
    if (FloppyNotReady(scan, tried.name)) return "Drive not ready: " + tried.name;
    return DescribeTried(tried);
  }
  std::string line;
  for (const Tried& tried : places) {
    if (!line.empty()) line.append(" | ");
    line.append(tried.view).append(": ").append(DescribeTried(tried));
  }
  return line;
}

bool FolderExistsInAnyView(ScanContext& scan, std::string_view path, PathOrigin origin) {
  FileSystem& files = scan.Files();
  if (!ExactUnderWow64(scan)) return files.DirectoryExists(path);
  const Wow64Places where = PlacesUnderWow64(scan.Wow64, path, {}, {}, origin);
  if (!where.judged) return true;
  if (where.places.empty()) return files.DirectoryExists(path);
  for (const Wow64Place& place : where.places)
    if (files.DirectoryExists(place.path)) return true;
  return false;
}

}  // namespace lindqua
