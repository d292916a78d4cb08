#include "scan/Counting.h"

namespace lindqua::bench {

namespace {

class CountingKey : public RegistryKey {
 public:
  CountingKey(std::unique_ptr<RegistryKey> inner, std::uint64_t& calls) : inner_(std::move(inner)), calls_(calls) {}

  RegStatus OpenSubKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override {
    return Wrap(inner_->OpenSubKey(path, access, out), out);
  }
  RegStatus CreateSubKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override {
    return Wrap(inner_->CreateSubKey(path, access, out), out);
  }
  RegStatus EnumSubKeys(std::vector<std::string>& names) override { return ++calls_, inner_->EnumSubKeys(names); }
  RegStatus EnumValues(std::vector<std::string>& names) override { return ++calls_, inner_->EnumValues(names); }
  RegStatus EnumValueEntries(std::vector<RegValueEntry>& entries) override {
    return ++calls_, inner_->EnumValueEntries(entries);
  }
  RegStatus QueryValue(std::string_view name, RegValue& out) override { return ++calls_, inner_->QueryValue(name, out); }
  RegStatus QueryInfo(RegKeyInfo& out) override { return ++calls_, inner_->QueryInfo(out); }
  RegStatus SetValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override {
    return ++calls_, inner_->SetValue(name, type, data);
  }
  RegStatus DeleteValue(std::string_view name) override { return ++calls_, inner_->DeleteValue(name); }
  RegStatus DeleteSubKeyTree(std::string_view path) override { return ++calls_, inner_->DeleteSubKeyTree(path); }

 private:
  RegStatus Wrap(RegStatus status, std::unique_ptr<RegistryKey>& out) {
    ++calls_;
    if (out) out = std::make_unique<CountingKey>(std::move(out), calls_);
    return status;
  }

  std::unique_ptr<RegistryKey> inner_;
  std::uint64_t& calls_;
};

}  // namespace

RegStatus CountingRegistry::OpenRoot(RootKey root, std::uint32_t access, std::unique_ptr<RegistryKey>& out) {
  ++calls_;
  const RegStatus status = inner_.OpenRoot(root, access, out);
  if (out) out = std::make_unique<CountingKey>(std::move(out), calls_);
  return status;
}

}  // namespace lindqua::bench
