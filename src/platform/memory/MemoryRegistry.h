#pragma once
// A registry held in memory that behaves like the Windows one as far as the
// program can observe: case-insensitive names that keep their stored case,
// subkeys enumerated in Windows' sorted order and values in insertion order, access checks on handles, keys deleted under
// an open handle, and HKEY_CURRENT_USER and HKEY_CLASSES_ROOT as views of keys
// under HKEY_USERS and HKEY_LOCAL_MACHINE, laid out as Wine lays them out.
#include <memory>
#include <mutex>

#include "platform/RegistryBackend.h"

namespace lindqua {

class MemoryRegistry : public RegistryBackend {
 public:
  // The security id under HKEY_USERS that HKEY_CURRENT_USER shows.
  static constexpr const char* CurrentUserSid = "S-1-5-21-0-0-0-1000";

  MemoryRegistry();
  ~MemoryRegistry() override;

  RegStatus OpenRoot(RootKey root, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override;
  std::optional<std::string> CurrentUserKeyName() override { return CurrentUserSid; }

  // Makes opening root\path with any of the access bits in deniedMask fail
  // with AccessDenied, as a key with a restrictive ACL does. The key must exist.
  bool DenyAccess(RootKey root, std::string_view path, std::uint32_t deniedMask);

  struct Node;
  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace lindqua
