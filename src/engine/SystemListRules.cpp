#include "engine/SystemListRules.h"

#include "engine/FileReferenceCheck.h"
#include "engine/Finding.h"
#include "platform/Text.h"

namespace lindqua {

bool FloppyRuleFires(const ScanContext& scan, std::string_view text) noexcept {
  if (scan.IgnoreRemovableDrive) return false;
  return (StartsWithText(text, "A:\\") && !scan.DriveAReady) || (StartsWithText(text, "B:\\") && !scan.DriveBReady);
}

std::string PathReason(ScanContext& scan, std::string_view text, bool acceptFolder) {
  if (FloppyRuleFires(scan, text)) return "Drive not ready: " + std::string(text);
  return MissingFileReason(scan, text, "", acceptFolder, scan.DriveLetters);
}

bool IsMissingPath(ScanContext& scan, std::string_view text) {
  return FloppyRuleFires(scan, text) || IsMissingFile(scan, text, "", false, scan.DriveLetters);
}

void AddValueFinding(ScanContext& scan, std::string_view caption, std::string_view rootName, std::string_view keyPath,
                     std::string_view valueName, std::string_view data, std::string_view reason) {
  std::string location = UpperCase(rootName) + "\\" + std::string(keyPath);
  if (valueName.find('\\') == std::string_view::npos) {
    location += "\\" + std::string(valueName);
    scan.AddFinding(caption, data, location, FixTag::ValueInLocation, reason);
  } else {
    scan.AddFinding(caption, valueName, location, FixTag::NamedValue, reason);
  }
}

std::optional<std::string> ReadTextValue(TRegistry& reg, std::string_view name) {
  RegValue value;
  if (!reg.ReadRaw(name, value)) return std::nullopt;
  if (value.type != RegType::String && value.type != RegType::ExpandString) return std::nullopt;
  return Utf16LeBytesToUtf8(value.data.data(), value.data.size());
}

bool OpenForScan(TRegistry& reg, std::string_view rootName, std::string_view keyPath) {
  reg.Access = RegAccess::Read;
  if (!reg.SetRootKeyByName(rootName)) return false;
  return reg.OpenKey(keyPath, false);
}

}  // namespace lindqua
