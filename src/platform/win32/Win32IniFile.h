#pragma once
// INI files through the system's profile functions (the wide ones), which
// decide the file's encoding and layout.
#include <string>

#include "platform/IniFile.h"

namespace lindqua {

class Win32IniFile : public IniFile {
 public:
  explicit Win32IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& FileName() const override { return path_; }
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) override;
  [[nodiscard]] bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::string path_;
};

class Win32IniFiles : public IniFiles {
 public:
  std::unique_ptr<IniFile> Open(std::string_view path) override;
};

}  // namespace lindqua
