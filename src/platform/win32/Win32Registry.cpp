#include "platform/win32/Win32Registry.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WinText.h"

namespace lindqua {

RegStatus RegStatusFromWin32(long error) noexcept {
  switch (error) {
    case ERROR_SUCCESS: return RegStatus::Ok;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return RegStatus::NotFound;
    case ERROR_ACCESS_DENIED: return RegStatus::AccessDenied;
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return RegStatus::InvalidArgument;
    default: return RegStatus::Failed;
  }
}

namespace {

HKEY PredefinedKey(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RootKey::Users: return HKEY_USERS;
    case RootKey::CurrentConfig: return HKEY_CURRENT_CONFIG;
  }
  return nullptr;
}

bool IsPredefined(HKEY key) {
  return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE || key == HKEY_USERS ||
         key == HKEY_CURRENT_CONFIG;
}

std::unique_ptr<RegistryKey> MakeKey(UniqueHKey key);

class Win32Key : public RegistryKey {
 public:
  // Predefined keys are borrowed, never closed.
  explicit Win32Key(HKEY predefined) : key_(predefined) {}
  explicit Win32Key(UniqueHKey owned) : key_(owned.get()), owned_(std::move(owned)) {}

  RegStatus OpenSubKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override {
    const std::wstring wide = Wide(path);
    // Owned from the moment it exists, so that a failed allocation below cannot leak it.
    UniqueHKey result;
    LONG error = ::RegOpenKeyExW(key_, wide.c_str(), 0, access, result.put());
    if (error != ERROR_SUCCESS) return RegStatusFromWin32(error);
    out = MakeKey(std::move(result));
    return RegStatus::Ok;
  }

  RegStatus CreateSubKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override {
    const std::wstring wide = Wide(path);
    UniqueHKey result;
    LONG error = ::RegCreateKeyExW(key_, wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                   result.put(), nullptr);
    if (error != ERROR_SUCCESS) return RegStatusFromWin32(error);
    out = MakeKey(std::move(result));
    return RegStatus::Ok;
  }

  RegStatus EnumSubKeys(std::vector<std::string>& names) override {
    names.clear();
    std::wstring buffer(256, L'\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(buffer.size());
      LONG error = ::RegEnumKeyExW(key_, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (error == ERROR_NO_MORE_ITEMS) return RegStatus::Ok;
      if (error == ERROR_MORE_DATA) {
        buffer.resize(buffer.size() * 2);
        --index;
        continue;
      }
      if (error != ERROR_SUCCESS) return RegStatusFromWin32(error);
      names.push_back(Narrow(std::wstring_view(buffer.data(), length)));
    }
  }

  RegStatus EnumValues(std::vector<std::string>& names) override {
    names.clear();
    std::wstring buffer(256, L'\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(buffer.size());
      LONG error = ::RegEnumValueW(key_, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (error == ERROR_NO_MORE_ITEMS) return RegStatus::Ok;
      if (error == ERROR_MORE_DATA) {
        if (buffer.size() > 65536) return RegStatus::Failed;
        buffer.resize(buffer.size() * 4);
        --index;
        continue;
      }
      if (error != ERROR_SUCCESS) return RegStatusFromWin32(error);
      names.push_back(Narrow(std::wstring_view(buffer.data(), length)));
    }
  }

  RegStatus EnumValueEntries(std::vector<RegValueEntry>& entries) override {
    entries.clear();
    std::wstring name(256, L'\0');
    Bytes data(4096);
    for (DWORD index = 0;; ++index) {
      DWORD nameLength = static_cast<DWORD>(name.size());
      DWORD dataSize = static_cast<DWORD>(data.size());
      DWORD type = 0;
      LONG error = ::RegEnumValueW(key_, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
      if (error == ERROR_NO_MORE_ITEMS) return RegStatus::Ok;
      if (error == ERROR_MORE_DATA) {
        // Either buffer may be short; grow both within the registry's limits.
        if (name.size() <= 16384) name.resize(32768);
        if (dataSize > data.size()) data.resize(dataSize);
        else if (data.size() < (64u << 20)) data.resize(data.size() * 2);
        else return RegStatus::Failed;
        --index;
        continue;
      }
      if (error != ERROR_SUCCESS) return RegStatusFromWin32(error);
      entries.push_back(RegValueEntry{Narrow(std::wstring_view(name.data(), nameLength)),
                                      RegValue{type, Bytes(data.begin(), data.begin() + dataSize)}});
    }
  }

  RegStatus QueryValue(std::string_view name, RegValue& out) override {
    const std::wstring wide = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG error = ::RegQueryValueExW(key_, wide.c_str(), nullptr, &type, nullptr, &size);
    for (int attempt = 0; attempt < 8 && (error == ERROR_SUCCESS || error == ERROR_MORE_DATA); ++attempt) {
      out.data.resize(size);
      DWORD got = size;
      error = ::RegQueryValueExW(key_, wide.c_str(), nullptr, &type, out.data.empty() ? nullptr : out.data.data(),
                                 &got);
      if (error == ERROR_SUCCESS) {
        out.type = type;
        out.data.resize(got);
        return RegStatus::Ok;
      }
      size = got;  // the value grew meanwhile: try again with the new size
    }
    return RegStatusFromWin32(error);
  }

  RegStatus QueryInfo(RegKeyInfo& out) override {
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxData = 0;
    FILETIME written{};
    LONG error = ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values,
                                    &maxValueName, &maxData, nullptr, &written);
    if (error != ERROR_SUCCESS) return RegStatusFromWin32(error);
    out.subKeyCount = subKeys;
    out.maxSubKeyLength = maxSubKey;
    out.valueCount = values;
    out.maxValueNameLength = maxValueName;
    out.maxDataLength = maxData;
    out.lastWriteTime = (static_cast<std::int64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return RegStatus::Ok;
  }

  RegStatus SetValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override {
    const std::wstring wide = Wide(name);
    return RegStatusFromWin32(::RegSetValueExW(key_, wide.c_str(), 0, type, data.data(),
                                               static_cast<DWORD>(data.size())));
  }

  RegStatus DeleteValue(std::string_view name) override {
    const std::wstring wide = Wide(name);
    return RegStatusFromWin32(::RegDeleteValueW(key_, wide.c_str()));
  }

  RegStatus DeleteSubKeyTree(std::string_view path) override {
    if (path.empty()) return RegStatus::InvalidArgument;
    const std::wstring wide = Wide(path);
    return RegStatusFromWin32(::RegDeleteTreeW(key_, wide.c_str()));
  }

 private:
  HKEY key_;
  UniqueHKey owned_;
};

std::unique_ptr<RegistryKey> MakeKey(UniqueHKey key) {
  // Opening "" below a predefined key can hand back the predefined key itself.
  if (IsPredefined(key.get())) return std::make_unique<Win32Key>(key.release());
  return std::make_unique<Win32Key>(std::move(key));
}

}  // namespace

RegStatus Win32Registry::OpenRoot(RootKey root, std::uint32_t access, std::unique_ptr<RegistryKey>& out) {
  (void)access;  // a predefined key is checked when a key below it is opened
  HKEY key = PredefinedKey(root);
  if (!key) return RegStatus::InvalidArgument;
  out = std::make_unique<Win32Key>(key);
  return RegStatus::Ok;
}

std::optional<std::string> Win32Registry::CurrentUserKeyName() {
  UniqueHandle<KernelTraits> token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return std::nullopt;
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> buffer(size);
  if (!::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return std::nullopt;
  const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
  UniqueHandle<LocalMemTraits<wchar_t>> text;
  if (!::ConvertSidToStringSidW(user->User.Sid, text.put())) return std::nullopt;
  return Narrow(text.get());
}

}  // namespace lindqua
