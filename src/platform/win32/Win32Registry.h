#pragma once
// The registry through the wide Windows registry functions. A 32-bit process
// under WOW64 sees the 32-bit view, as the program intends.
#include "platform/RegistryBackend.h"

namespace lindqua {

class Win32Registry : public RegistryBackend {
 public:
  RegStatus OpenRoot(RootKey root, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override;
  // The security id of the process token's user.
  std::optional<std::string> CurrentUserKeyName() override;
};

// The one place where Windows error codes become the program's own.
RegStatus RegStatusFromWin32(long error) noexcept;

}  // namespace lindqua
