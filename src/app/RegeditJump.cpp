#include "app/RegeditJump.h"

#include "app/RegGlobal.h"

namespace lindqua {

std::string LastKeyFor(const Finding& row) {
  const std::string& key = row.location;
  switch (row.tag) {
    case FixTag::Key:
    case FixTag::NamedValue:
    case FixTag::DefaultValue:
    case FixTag::Rot13Value:
      return key;
    case FixTag::ValueInLocation: {
      const std::size_t slash = key.rfind('\\');
      return slash == std::string::npos ? std::string() : key.substr(0, slash);
    }
    case FixTag::SubKey:
      // A subkey directly under a root has a location ending in "\"; joining
      // without a second backslash keeps the path one the editor can open.
      return (!key.empty() && key.back() == '\\' ? key : key + "\\") + row.shownText;
    default:
      return {};
  }
}

void aOpenRegeditExecute(const Finding& row, RegistryBackend& registry, ProcessRunner& shell) {
  WriteUserRegString(registry, RegeditAppletKey, "LastKey", LastKeyFor(row));
  shell.ShellOpen("Regedit", "-m");
}

}  // namespace lindqua
