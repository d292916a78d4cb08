#include "platform/TRegistry.h"

#include <cstring>

namespace lindqua {

TRegDataType RegDataTypeOf(std::uint32_t registryType) noexcept {
  switch (registryType) {
    case RegType::String: return TRegDataType::rdString;
    case RegType::ExpandString: return TRegDataType::rdExpandString;
    case RegType::Dword: return TRegDataType::rdInteger;
    case RegType::Binary: return TRegDataType::rdBinary;
    default: return TRegDataType::rdUnknown;
  }
}

TRegistry::TRegistry(RegistryBackend& backend) noexcept : backend_(backend) {}

void TRegistry::SetRootKey(RootKey root) {
  rootKey_ = root;
  CloseKey();
}

bool TRegistry::SetRootKeyByName(std::string_view name) {
  auto root = RootKeyFromName(name);
  if (!root) return false;
  SetRootKey(*root);
  return true;
}

RegStatus TRegistry::OpenFromBase(std::string_view path, bool relative, std::uint32_t access, bool create,
                                  std::unique_ptr<RegistryKey>& out) {
  if (current_ && relative) {
    return create ? current_->CreateSubKey(path, access, out) : current_->OpenSubKey(path, access, out);
  }
  std::unique_ptr<RegistryKey> root;
  // The root is opened with the caller's access: a key below it needs no
  // more than that, and asking for more would fail where only reading is allowed.
  if (RegStatus s = backend_.OpenRoot(rootKey_, access, root); s != RegStatus::Ok) return s;
  return create ? root->CreateSubKey(path, access, out) : root->OpenSubKey(path, access, out);
}

bool TRegistry::OpenKey(std::string_view path, bool canCreate) {
  const bool relative = path.empty() || path.front() != '\\';
  std::string_view rest = relative ? path : path.substr(1);
  std::unique_ptr<RegistryKey> key;
  const bool create = canCreate && !rest.empty();
  lastStatus_ = OpenFromBase(rest, relative, Access, create, key);
  if (lastStatus_ != RegStatus::Ok || !key) return false;
  std::string newPath = (current_ && relative) ? currentPath_ + "\\" + std::string(rest) : std::string(rest);
  current_ = std::move(key);
  currentPath_ = std::move(newPath);
  return true;
}

void TRegistry::CloseKey() noexcept {
  current_.reset();
  currentPath_.clear();
}

std::vector<std::string> TRegistry::GetKeyNames() {
  std::vector<std::string> names;
  if (current_ && current_->EnumSubKeys(names) != RegStatus::Ok) names.clear();
  return names;
}

std::vector<std::string> TRegistry::GetValueNames() {
  std::vector<std::string> names;
  if (current_ && current_->EnumValues(names) != RegStatus::Ok) names.clear();
  return names;
}

bool TRegistry::GetKeyInfo(RegKeyInfo& info) {
  info = RegKeyInfo{};
  return current_ && current_->QueryInfo(info) == RegStatus::Ok;
}

bool TRegistry::ReadRaw(std::string_view name, RegValue& value) {
  return current_ && current_->QueryValue(name, value) == RegStatus::Ok;
}

bool TRegistry::GetDataInfo(std::string_view name, TRegDataInfo& info) {
  info = TRegDataInfo{};
  RegValue value;
  if (!ReadRaw(name, value)) return false;
  info.Type = value.type;
  info.RegData = RegDataTypeOf(value.type);
  info.DataSize = static_cast<std::uint32_t>(value.data.size());
  return true;
}

TRegDataType TRegistry::GetDataType(std::string_view name) {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.RegData : TRegDataType::rdUnknown;
}

int TRegistry::GetDataSize(std::string_view name) {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? static_cast<int>(info.DataSize) : -1;
}

bool TRegistry::ValueExists(std::string_view name) {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

bool TRegistry::KeyExists(std::string_view path) {
  const bool relative = path.empty() || path.front() != '\\';
  std::unique_ptr<RegistryKey> key;
  return OpenFromBase(relative ? path : path.substr(1), relative, RegAccess::Read, false, key) == RegStatus::Ok;
}

std::string TRegistry::ReadString(std::string_view name) {
  RegValue value;
  if (!ReadRaw(name, value)) return {};
  if (value.type != RegType::String && value.type != RegType::ExpandString)
    throw RegistryError("Invalid data type for '" + std::string(name) + "'");
  return Utf16LeBytesToUtf8(value.data.data(), value.data.size());
}

std::int32_t TRegistry::ReadInteger(std::string_view name) {
  RegValue value;
  if (!ReadRaw(name, value)) throw RegistryError("Failed to get data for '" + std::string(name) + "'");
  if (value.type != RegType::Dword || value.data.size() > 4)
    throw RegistryError("Invalid data type for '" + std::string(name) + "'");
  std::uint32_t result = 0;
  for (std::size_t i = 0; i < value.data.size(); ++i) result |= static_cast<std::uint32_t>(value.data[i]) << (8 * i);
  return static_cast<std::int32_t>(result);
}

Bytes TRegistry::ReadBinaryData(std::string_view name, std::size_t maxSize) {
  RegValue value;
  if (!ReadRaw(name, value)) return {};
  const TRegDataType kind = RegDataTypeOf(value.type);
  if ((kind != TRegDataType::rdBinary && kind != TRegDataType::rdUnknown) || value.data.size() > maxSize)
    throw RegistryError("Invalid data type for '" + std::string(name) + "'");
  return std::move(value.data);
}

void TRegistry::WriteRaw(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data) {
  if (!current_ || current_->SetValue(name, type, data) != RegStatus::Ok)
    throw RegistryError("Failed to set data for '" + std::string(name) + "'");
}

void TRegistry::WriteString(std::string_view name, std::string_view value) {
  const Bytes bytes = Utf8ToUtf16LeBytes(value);
  WriteRaw(name, RegType::String, bytes);
}

void TRegistry::WriteInteger(std::string_view name, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                 static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
  WriteRaw(name, RegType::Dword, bytes);
}

bool TRegistry::DeleteKey(std::string_view path) {
  const bool relative = path.empty() || path.front() != '\\';
  std::string_view rest = relative ? path : path.substr(1);
  lastStatus_ = RegStatus::InvalidArgument;
  if (rest.empty()) return false;  // never the root or the current key itself
  const auto slash = rest.rfind('\\');
  std::unique_ptr<RegistryKey> parent;
  lastStatus_ = OpenFromBase(slash == std::string_view::npos ? std::string_view{} : rest.substr(0, slash), relative,
                             Access, false, parent);
  if (lastStatus_ != RegStatus::Ok) return false;
  lastStatus_ = parent->DeleteSubKeyTree(slash == std::string_view::npos ? rest : rest.substr(slash + 1));
  return lastStatus_ == RegStatus::Ok;
}

bool TRegistry::DeleteValue(std::string_view name) {
  lastStatus_ = current_ ? current_->DeleteValue(name) : RegStatus::InvalidArgument;
  return lastStatus_ == RegStatus::Ok;
}

}  // namespace lindqua
