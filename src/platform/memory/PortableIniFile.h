#pragma once
// INI files read and written through a FileSystem, with the answers of the
// system's profile functions: every read parses the file afresh and every
// change rewrites the whole file. Used where Windows is not present, and over
// any FileSystem (the in-memory one natively, the Win32 one under Wine).
#include <string>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"

namespace lindqua {

class PortableIniFile : public IniFile {
 public:
  // The file system must outlive this object.
  PortableIniFile(FileSystem& files, std::string path);

  const std::string& FileName() const override { return path_; }
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) override;
  [[nodiscard]] bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  FileSystem& files_;
  std::string path_;
};

class PortableIniFiles : public IniFiles {
 public:
  explicit PortableIniFiles(FileSystem& files) : files_(files) {}
  std::unique_ptr<IniFile> Open(std::string_view path) override;

 private:
  FileSystem& files_;
};

}  // namespace lindqua
