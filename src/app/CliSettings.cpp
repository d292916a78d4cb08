#include "app/CliSettings.h"

namespace lindqua {

namespace {

bool IsAbsolute(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || path.starts_with("\\") || path.starts_with("/");
}

}  // namespace

std::string CheckSettingsFile(const CliRequest& request, CliHost& host) {
  const std::string& path = request.settingsPath;
  if (path.empty()) return {};
  FileSystem& files = host.platform.files;
  if (files.DirectoryExists(path)) return "settings file \"" + path + "\" is a folder";
  std::string bytes;
  if (!files.FileExists(path)) return "settings file \"" + path + "\" does not exist";
  if (!files.ReadWholeFile(path, bytes)) return "settings file \"" + path + "\" cannot be read";
  return {};
}

TOptionsSetting LoadCliSettings(const CliRequest& request, CliHost& host) {
  return host.loadSettings ? host.loadSettings(request.settingsPath) : TOptionsSetting{};
}

std::string BackupFolderFor(const TOptionsSetting& settings, const CliHost& host) {
  const std::string& folder = settings.BackupFolder;
  if (folder.empty() || IsAbsolute(folder) || host.programFolder.empty()) return folder;
  std::string base = host.programFolder;
  if (base.back() != '\\') base.push_back('\\');
  return base + (folder.starts_with(".\\") ? folder.substr(2) : folder);
}

}  // namespace lindqua
