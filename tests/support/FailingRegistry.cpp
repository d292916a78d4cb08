#include "support/FailingRegistry.h"

namespace lindqua::test {

namespace {

// Every key opened through the failing registry, and every key opened from
// one, shares the plan, so the count runs across the whole tree.
class FailingKey : public RegistryKey {
 public:
  FailingKey(std::unique_ptr<RegistryKey> inner, std::shared_ptr<FailingRegistry::Plan> plan)
      : inner_(std::move(inner)), plan_(std::move(plan)) {}

  RegStatus OpenSubKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override {
    if (plan_->Fails(RegFault::Open)) return RegStatus::Failed;
    return Wrap(inner_->OpenSubKey(path, access, out), out);
  }
  RegStatus CreateSubKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override {
    if (plan_->Fails(RegFault::Write)) return RegStatus::Failed;
    return Wrap(inner_->CreateSubKey(path, access, out), out);
  }
  RegStatus EnumSubKeys(std::vector<std::string>& names) override {
    return plan_->Fails(RegFault::Enumerate) ? RegStatus::Failed : inner_->EnumSubKeys(names);
  }
  RegStatus EnumValues(std::vector<std::string>& names) override {
    return plan_->Fails(RegFault::Enumerate) ? RegStatus::Failed : inner_->EnumValues(names);
  }
  RegStatus EnumValueEntries(std::vector<RegValueEntry>& entries) override {
    return plan_->Fails(RegFault::Enumerate) ? RegStatus::Failed : inner_->EnumValueEntries(entries);
  }
  RegStatus QueryValue(std::string_view name, RegValue& out) override {
    return plan_->Fails(RegFault::Read) ? RegStatus::Failed : inner_->QueryValue(name, out);
  }
  RegStatus QueryInfo(RegKeyInfo& out) override {
    return plan_->Fails(RegFault::Read) ? RegStatus::Failed : inner_->QueryInfo(out);
  }
  RegStatus SetValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override {
    return plan_->Fails(RegFault::Write) ? RegStatus::Failed : inner_->SetValue(name, type, data);
  }
  RegStatus DeleteValue(std::string_view name) override {
    return plan_->Fails(RegFault::Delete) ? RegStatus::Failed : inner_->DeleteValue(name);
  }
  RegStatus DeleteSubKeyTree(std::string_view path) override {
    return plan_->Fails(RegFault::Delete) ? RegStatus::Failed : inner_->DeleteSubKeyTree(path);
  }

 private:
  RegStatus Wrap(RegStatus status, std::unique_ptr<RegistryKey>& out) {
    if (status == RegStatus::Ok) out = std::make_unique<FailingKey>(std::move(out), plan_);
    return status;
  }

  std::unique_ptr<RegistryKey> inner_;
  std::shared_ptr<FailingRegistry::Plan> plan_;
};

}  // namespace

bool FailingRegistry::Plan::Fails(RegFault kind) {
  const std::uint64_t n = ++counts[static_cast<int>(kind)];
  const bool fails = failAt != 0 && kind == failKind && n == failAt;
  injected = injected || fails;
  return fails;
}

FailingRegistry::FailingRegistry(RegistryBackend& inner) : inner_(inner), plan_(std::make_shared<Plan>()) {}

void FailingRegistry::FailAt(RegFault kind, std::uint64_t n) {
  plan_->failKind = kind;
  plan_->failAt = n;
}

std::uint64_t FailingRegistry::Count(RegFault kind) const { return plan_->counts[static_cast<int>(kind)]; }

bool FailingRegistry::Injected() const { return plan_->injected; }

RegStatus FailingRegistry::OpenRoot(RootKey root, std::uint32_t access, std::unique_ptr<RegistryKey>& out) {
  if (plan_->Fails(RegFault::Open)) return RegStatus::Failed;
  const RegStatus status = inner_.OpenRoot(root, access, out);
  if (status == RegStatus::Ok) out = std::make_unique<FailingKey>(std::move(out), plan_);
  return status;
}

}  // namespace lindqua::test
