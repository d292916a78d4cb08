#include "engine/ClassServerWalk.h"

#include <memory>
#include <string>
#include <vector>

#include "engine/ClassKeyReads.h"
#include "engine/FileReferenceCheck.h"
#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

struct ClassWalk {
  ScanContext& scan;
  std::string rootName;  // upper case, heads every location
  std::string_view caption;
};

// path is the key's path below the root; each subkey is opened below its
// parent, which stays open until the subkey's tree is done.
void WalkClassKey(ClassWalk& walk, RegistryKey& key, const std::string& path, bool reportable) {
  ScanContext& scan = walk.scan;
  scan.ShowDetail(path);
  if (reportable) {
    const auto text = ReadTextValue(key, "");
    if (text && IsMissingFile(scan, *text, "", false, scan.DriveLetters))
      scan.AddFinding(walk.caption, *text, walk.rootName + "\\" + path, FixTag::Key,
                      MissingFileReason(scan, *text, "", false, scan.DriveLetters));
  }
  std::vector<std::string> names;
  if (key.EnumSubKeys(names) != RegStatus::Ok) return;
  for (const std::string& name : names) {
    if (scan.Terminated()) return;
    std::unique_ptr<RegistryKey> child;
    if (key.OpenSubKey(name, RegAccess::AllAccess, child) != RegStatus::Ok || !child) continue;
    WalkClassKey(walk, *child, path + "\\" + name, true);
  }
}

}  // namespace

void ScanClsidKey(ScanContext& scan, std::string_view rootName, std::string_view parentPath, std::string_view name) {
  const auto root = RootKeyFromName(rootName);
  if (!root || scan.Terminated()) return;
  const std::string path = std::string(parentPath) + std::string(name);
  std::unique_ptr<RegistryKey> key;
  if (OpenFromRoot(scan, *root, path, key) != RegStatus::Ok) return;
  ClassWalk walk{scan, UpperCase(rootName), FindScanSection(SectionId::CustomControls)->issueCaption};
  WalkClassKey(walk, *key, path, !name.empty());
}

}  // namespace lindqua
