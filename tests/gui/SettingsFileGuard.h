#pragma once
// The settings file of the prefix's user, where the program keeps it, put
// back as it was when a test that writes it ends.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WinText.h"

namespace lindqua::test {

inline std::string AppDataSettingsFile() {
  wchar_t folder[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder);
  return Narrow(folder) + "\\Vantorel\\Lindqua\\Settings.ini";
}

// Keeps the user's settings file as it was before the test.
class SettingsFileGuard {
 public:
  SettingsFileGuard() : path_(AppDataSettingsFile()), had_(files_.FileExists(path_)) {
    if (had_) files_.ReadWholeFile(path_, saved_);
  }
  ~SettingsFileGuard() {
    if (had_) files_.WriteWholeFile(path_, saved_);
    else files_.DeletePath(path_);
  }
  void Write(const std::string& text) {
    files_.ForceDirectories(path_.substr(0, path_.rfind('\\')));
    files_.WriteWholeFile(path_, text);
  }

 private:
  Win32FileSystem files_;
  std::string path_;
  bool had_;
  std::string saved_;
};

}  // namespace lindqua::test
