#include "sweep/Seeder.h"

namespace lindqua::bench {

SyntheticSink Seeder::Sink() {
  SyntheticSink sink;
  sink.file = [this](const std::string& path, bool isFolder) {
    if (isFolder) {
      (void)files_.ForceDirectories(path);  // a folder that cannot be made shows as missing files
    } else {
      makeFile_(path);
    }
  };
  sink.key = [this](RootKey root, const std::string& path) {
    std::unique_ptr<RegistryKey> rootKey;
    current_.reset();
    if (registry_.OpenRoot(root, RegAccess::AllAccess, rootKey) == RegStatus::Ok)
      (void)rootKey->CreateSubKey(path, RegAccess::AllAccess, current_);
  };
  sink.value = [this](const std::string& name, const std::string& text) {
    if (!current_) return;
    const Bytes data = Utf8ToUtf16LeBytes(text);
    (void)current_->SetValue(name, RegType::String, data);
  };
  sink.number = [this](const std::string& name, std::uint32_t number) {
    if (!current_) return;
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                                   static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
    (void)current_->SetValue(name, RegType::Dword, bytes);
  };
  sink.shortcut = [this](const std::string& path, const std::string& target) {
    if (makeShortcut_) makeShortcut_(path, target);
  };
  return sink;
}

}  // namespace lindqua::bench
