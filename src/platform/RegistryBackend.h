#pragma once
// The registry as the operating system offers it: open keys by path with an
// access mask, enumerate, query, write and delete. Every method reports its
// outcome as a RegStatus and never throws; the portable accessor TRegistry
// turns these into the semantics the engine relies on.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace lindqua {

enum class RootKey : int { ClassesRoot = 0, CurrentUser, LocalMachine, Users, CurrentConfig };
inline constexpr int RootKeyCount = 5;

// Recognises a root by its full name after ASCII upper-casing; nullopt otherwise.
std::optional<RootKey> RootKeyFromName(std::string_view name);
// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", ... in capitals.
const char* RootKeyName(RootKey root);

namespace RegType {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t String = 1;
inline constexpr std::uint32_t ExpandString = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
inline constexpr std::uint32_t DwordBigEndian = 5;
inline constexpr std::uint32_t Link = 6;
inline constexpr std::uint32_t MultiString = 7;
inline constexpr std::uint32_t Qword = 11;
}  // namespace RegType

namespace RegAccess {
inline constexpr std::uint32_t QueryValue = 0x0001;
inline constexpr std::uint32_t SetValue = 0x0002;
inline constexpr std::uint32_t CreateSubKey = 0x0004;
inline constexpr std::uint32_t EnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t Read = 0x20019;
inline constexpr std::uint32_t Write = 0x20006;
inline constexpr std::uint32_t AllAccess = 0xF003F;
}  // namespace RegAccess

enum class RegStatus { Ok, NotFound, AccessDenied, InvalidArgument, Failed };

struct RegValue {
  std::uint32_t type = RegType::None;
  Bytes data;
};

struct RegValueEntry {
  std::string name;
  RegValue value;
};

struct RegKeyInfo {
  std::uint32_t subKeyCount = 0;
  std::uint32_t maxSubKeyLength = 0;  // characters
  std::uint32_t valueCount = 0;
  std::uint32_t maxValueNameLength = 0;  // characters
  std::uint32_t maxDataLength = 0;       // bytes
  std::int64_t lastWriteTime = 0;        // FILETIME ticks
  bool operator==(const RegKeyInfo&) const = default;
};

// An open key. Destroying it closes it. Names are UTF-8; paths use "\".
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // Opens an existing key below this one ("" reopens this key itself).
  [[nodiscard]] virtual RegStatus OpenSubKey(std::string_view path, std::uint32_t access,
                                             std::unique_ptr<RegistryKey>& out) = 0;
  // Opens or creates a key below this one, creating every missing level.
  [[nodiscard]] virtual RegStatus CreateSubKey(std::string_view path, std::uint32_t access,
                                               std::unique_ptr<RegistryKey>& out) = 0;
  // Names in the backend's enumeration order, with their stored case.
  [[nodiscard]] virtual RegStatus EnumSubKeys(std::vector<std::string>& names) = 0;
  // Value names in enumeration order; the default value appears as "".
  [[nodiscard]] virtual RegStatus EnumValues(std::vector<std::string>& names) = 0;
  // Names, types and data in one pass; the sweep relies on it to halve calls.
  [[nodiscard]] virtual RegStatus EnumValueEntries(std::vector<RegValueEntry>& entries);
  [[nodiscard]] virtual RegStatus QueryValue(std::string_view name, RegValue& out) = 0;
  [[nodiscard]] virtual RegStatus QueryInfo(RegKeyInfo& out) = 0;
  [[nodiscard]] virtual RegStatus SetValue(std::string_view name, std::uint32_t type,
                                           std::span<const std::uint8_t> data) = 0;
  [[nodiscard]] virtual RegStatus DeleteValue(std::string_view name) = 0;
  // Deletes the named subkey with everything under it.
  [[nodiscard]] virtual RegStatus DeleteSubKeyTree(std::string_view path) = 0;
};

class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;
  // The predefined key itself, opened with the given access.
  [[nodiscard]] virtual RegStatus OpenRoot(RootKey root, std::uint32_t access,
                                           std::unique_ptr<RegistryKey>& out) = 0;
  // The name of the key under HKEY_USERS that HKEY_CURRENT_USER shows (the
  // user's security id); nullopt when the backend cannot tell.
  virtual std::optional<std::string> CurrentUserKeyName() { return std::nullopt; }
};

}  // namespace lindqua
