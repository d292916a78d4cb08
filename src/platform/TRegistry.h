#pragma once
// The accessor the engine, the fix procedure and the settings code use to
// reach the registry: one current key under one root, paths relative to the
// current key or (with a leading "\") to the root, and failures reported as
// false, or as RegistryError where a read of the wrong type is a program error.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryBackend.h"

namespace lindqua {

class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TRegDataType { rdUnknown = 0, rdString = 1, rdExpandString = 2, rdInteger = 3, rdBinary = 4 };

TRegDataType RegDataTypeOf(std::uint32_t registryType) noexcept;

struct TRegDataInfo {
  TRegDataType RegData = TRegDataType::rdUnknown;
  std::uint32_t Type = RegType::None;
  std::uint32_t DataSize = 0;
};

class TRegistry {
 public:
  explicit TRegistry(RegistryBackend& backend) noexcept;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  RootKey GetRootKey() const noexcept { return rootKey_; }
  // Selecting a root closes the current key.
  void SetRootKey(RootKey root);
  // Selects a root by name after upper-casing; false (nothing changed) for any other name.
  [[nodiscard]] bool SetRootKeyByName(std::string_view name);

  std::uint32_t Access = RegAccess::AllAccess;

  // Opens (or, with canCreate, creates) a key and makes it current. On
  // failure the current key is left as it was.
  [[nodiscard]] bool OpenKey(std::string_view path, bool canCreate);
  void CloseKey() noexcept;
  bool HasCurrentKey() const noexcept { return current_ != nullptr; }
  const std::string& CurrentPath() const noexcept { return currentPath_; }

  std::vector<std::string> GetKeyNames();
  std::vector<std::string> GetValueNames();
  bool GetKeyInfo(RegKeyInfo& info);
  bool GetDataInfo(std::string_view name, TRegDataInfo& info);
  TRegDataType GetDataType(std::string_view name);
  // Size of the data in bytes, -1 when the value does not exist.
  int GetDataSize(std::string_view name);
  bool ValueExists(std::string_view name);
  bool KeyExists(std::string_view path);

  // Text of a string or expandable-string value up to its first NUL, not
  // expanded; "" for a missing value; RegistryError for any other type.
  std::string ReadString(std::string_view name);
  // A REG_DWORD value; RegistryError when missing or of another type.
  std::int32_t ReadInteger(std::string_view name);
  // Raw data of a binary or unknown-type value; RegistryError for the named
  // types or data larger than maxSize; empty when the value does not exist.
  Bytes ReadBinaryData(std::string_view name, std::size_t maxSize = SIZE_MAX);
  // Type and bytes exactly as stored; false when the value cannot be read.
  bool ReadRaw(std::string_view name, RegValue& value);

  void WriteString(std::string_view name, std::string_view value);
  void WriteInteger(std::string_view name, std::int32_t value);
  void WriteRaw(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data);
  // Deletes a key with everything under it.
  [[nodiscard]] bool DeleteKey(std::string_view path);
  [[nodiscard]] bool DeleteValue(std::string_view name);

  // What the registry answered to the last OpenKey, DeleteKey or DeleteValue,
  // so that a caller can tell a refusal for want of rights from other failures.
  RegStatus LastStatus() const noexcept { return lastStatus_; }

  // The open key for code that needs the backend directly (the sweep, the writer).
  RegistryKey* CurrentKey() noexcept { return current_.get(); }

 private:
  RegStatus OpenFromBase(std::string_view path, bool relative, std::uint32_t access, bool create,
                         std::unique_ptr<RegistryKey>& out);

  RegistryBackend& backend_;
  RootKey rootKey_ = RootKey::CurrentUser;
  std::unique_ptr<RegistryKey> current_;
  std::string currentPath_;
  RegStatus lastStatus_ = RegStatus::Ok;
};

}  // namespace lindqua
