#pragma once
// Writes synthetic data through the platform interfaces: keys and values into
// the registry backend, folders through the file system, and files and
// shortcuts the way the caller's platform makes them.
#include <functional>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/RegistryBackend.h"
#include "sweep/SyntheticData.h"

namespace lindqua::bench {

class Seeder {
 public:
  using MakeFile = std::function<void(const std::string& path)>;
  using MakeShortcut = std::function<void(const std::string& path, const std::string& target)>;

  Seeder(RegistryBackend& registry, FileSystem& files, MakeFile makeFile, MakeShortcut makeShortcut = nullptr)
      : registry_(registry), files_(files), makeFile_(std::move(makeFile)), makeShortcut_(std::move(makeShortcut)) {}

  // A sink that writes into this seeder's platform; valid while it lives.
  SyntheticSink Sink();

 private:
  RegistryBackend& registry_;
  FileSystem& files_;
  MakeFile makeFile_;
  MakeShortcut makeShortcut_;
  std::unique_ptr<RegistryKey> current_;  // the key the next values go to
};

}  // namespace lindqua::bench
