#include "engine/Wow64Places.h"

#include "engine/FileReferenceCheck.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr std::string_view View64 = "64-bit view";
constexpr std::string_view View32 = "32-bit view";

enum class Redirection {
  Exempt,      // the native folder, as written
  ToSysWow64,  // the 32-bit folder as written, the native one through "Sysnative"
  NoAlias,     // the 32-bit one as written; no path reaches the native one
};

struct WindowsFolderRule {
  std::string_view below;  // the path below the Windows folder
  bool isFile;             // a file's name may be followed by arguments
  Redirection redirection;
};

// The redirector's table for a 32-bit x86 program; the first entry that
// matches wins, so the exempt subfolders stand before their parent.
// "System32\driverstore" is exempt only from Windows 7 on; left to the
// System32 entry, both views are asked on every version.
constexpr WindowsFolderRule WindowsFolderRules[] = {
    {"System32\\catroot", false, Redirection::Exempt},
    {"System32\\catroot2", false, Redirection::Exempt},
    {"System32\\drivers\\etc", false, Redirection::Exempt},
    {"System32\\logfiles", false, Redirection::Exempt},
    {"System32\\spool", false, Redirection::Exempt},
    {"System32", false, Redirection::ToSysWow64},
    {"lastgood\\System32", false, Redirection::NoAlias},
    {"regedit.exe", true, Redirection::NoAlias},
    {"regedit", true, Redirection::NoAlias},
};
constexpr std::string_view NativeAlias = "Sysnative";

struct ProgramFilesRule {
  std::string_view variable;
  std::string Wow64Folders::*folder64;
  std::string Wow64Folders::*folder32;
};

// References a 32-bit and a 64-bit program may expand to different folders:
// the registry of either may hold them.
constexpr ProgramFilesRule ProgramFilesRules[] = {
    {"ProgramFiles", &Wow64Folders::programFiles64, &Wow64Folders::programFiles32},
    {"ProgramW6432", &Wow64Folders::programFiles64, &Wow64Folders::programFiles32},
    {"CommonProgramFiles", &Wow64Folders::commonFiles64, &Wow64Folders::commonFiles32},
    {"CommonProgramW6432", &Wow64Folders::commonFiles64, &Wow64Folders::commonFiles32},
};

// `text` starts with `prefix` and the next character ends a name in it.
bool StartsWithName(std::string_view text, std::string_view prefix, bool isFile) {
  if (prefix.empty() || !StartsWithText(text, prefix)) return false;
  if (text.size() == prefix.size()) return true;
  const char next = text[prefix.size()];
  return isFile ? PathStopChars.find(next) != std::string_view::npos : next == '\\';
}

std::string VariableFolder(FileSystem& files, std::string_view variable) {
  std::string value = files.ExpandEnvironment("%" + std::string(variable) + "%");
  if (value.empty() || value.front() == '%') return {};
  while (value.size() > 3 && value.back() == '\\') value.pop_back();
  return value;
}

Wow64Places BothFolders(const std::string& folder64, const std::string& folder32, std::string_view rest) {
  Wow64Places result;
  if (folder64.empty() || folder32.empty()) {
    result.judged = false;
    return result;
  }
  result.places.push_back({folder64 + std::string(rest), View64});
  result.places.push_back({folder32 + std::string(rest), View32});
  return result;
}

Wow64Places InWindowsFolder(const Wow64Folders& folders, std::string_view name) {
  Wow64Places result;
  if (folders.windows.empty()) {
    // Without the folder no rule can be placed; guess the way the plain check does.
    result.judged = !ContainsText(name, "system32") && !ContainsText(name, "regedit");
    return result;
  }
  if (!StartsWithName(name, folders.windows, false) || name.size() == folders.windows.size()) return result;
  const std::string_view below = name.substr(folders.windows.size() + 1);
  for (const WindowsFolderRule& rule : WindowsFolderRules) {
    if (!StartsWithName(below, rule.below, rule.isFile)) continue;
    switch (rule.redirection) {
      case Redirection::Exempt:
        break;
      case Redirection::NoAlias:
        result.judged = false;
        break;
      case Redirection::ToSysWow64: {
        std::string native = folders.windows;
        native.append("\\").append(NativeAlias).append(below.substr(rule.below.size()));
        result.places.push_back({std::string(name), View32});
        result.places.push_back({std::move(native), View64});
        break;
      }
    }
    return result;
  }
  return result;
}

}  // namespace

Wow64Folders MeasureWow64Folders(FileSystem& files) {
  Wow64Folders folders;
  folders.windows = files.GetSpecialFolder(SpecialFolder::Windows);
  while (folders.windows.size() > 3 && folders.windows.back() == '\\') folders.windows.pop_back();
  folders.programFiles64 = VariableFolder(files, "ProgramW6432");
  folders.programFiles32 = VariableFolder(files, "ProgramFiles(x86)");
  folders.commonFiles64 = VariableFolder(files, "CommonProgramW6432");
  folders.commonFiles32 = VariableFolder(files, "CommonProgramFiles(x86)");
  return folders;
}

Wow64Places PlacesUnderWow64(const Wow64Folders& folders, std::string_view name, std::string_view reference,
                             std::string_view afterReference, PathOrigin origin) {
  for (const ProgramFilesRule& rule : ProgramFilesRules)
    if (!reference.empty() && SameText(reference, rule.variable))
      return BothFolders(folders.*rule.folder64, folders.*rule.folder32, afterReference);
  if (origin == PathOrigin::ShellLink && reference.empty()) {
    // The folder named may be the shell's expansion of "%ProgramFiles%".
    for (const std::string* folder : {&folders.programFiles32, &folders.programFiles64})
      if (StartsWithName(name, *folder, false))
        return BothFolders(folders.programFiles64, folders.programFiles32, name.substr(folder->size()));
  }
  return InWindowsFolder(folders, name);
}

}  // namespace lindqua
