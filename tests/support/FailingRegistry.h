#pragma once
// A registry backend that passes every call to the one below and fails the
// Nth operation of one chosen kind, on whichever key it happens, as a key
// locked by another program or a hive that stops answering would.
#include <array>
#include <cstdint>
#include <memory>

#include "platform/RegistryBackend.h"

namespace lindqua::test {

enum class RegFault {
  Open,       // opening a root or a key
  Enumerate,  // listing subkeys or values
  Read,       // reading a value or a key's facts
  Write,      // creating a key or setting a value
  Delete,     // deleting a value or a key tree
};
inline constexpr int RegFaultKinds = 5;

class FailingRegistry : public RegistryBackend {
 public:
  explicit FailingRegistry(RegistryBackend& inner);

  // Fails the nth (1-based) operation of this kind from now on; 0 fails none.
  void FailAt(RegFault kind, std::uint64_t n);
  std::uint64_t Count(RegFault kind) const;
  bool Injected() const;

  RegStatus OpenRoot(RootKey root, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override;
  std::optional<std::string> CurrentUserKeyName() override { return inner_.CurrentUserKeyName(); }

  struct Plan {
    std::array<std::uint64_t, RegFaultKinds> counts{};
    RegFault failKind = RegFault::Open;
    std::uint64_t failAt = 0;
    bool injected = false;
    // Counts one operation; true when it is the one to fail.
    bool Fails(RegFault kind);
  };

 private:
  RegistryBackend& inner_;
  std::shared_ptr<Plan> plan_;
};

}  // namespace lindqua::test
