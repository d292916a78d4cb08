#pragma once
// A synthetic registry shaped like a real Windows 10/11 install, and the tree
// of files and shortcuts its values name.
//
// The install holds applications (about one per 400 keys). Each has program
// files, COM classes with their ProgIDs, interfaces and a type library, a file
// type with its open command, an uninstall entry, an App Paths entry, shared
// DLL counts, and a tree of plain settings under the machine's and the user's
// software keys that takes up most of the keys and values. Some have a
// service, a Run entry or a start menu shortcut. Besides them: fonts, sound
// events, usage records (UserAssist), open/save and Run history lists.
//
// Missing paths come as they do on a real machine: an application in ten was
// removed without its registry (every file it names is missing), and three
// file paths in a hundred elsewhere are stale. Everything on disk lies below
// `root` (not in a "Program Files" folder, whose paths a 32-bit scan on a
// 64-bit system leaves alone); the fonts, start menu and desktop folders are
// the platform's own.
// The same shape and seed give the same keys, values and files.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sweep/SyntheticData.h"

namespace lindqua::bench {

struct InstallShape {
  std::size_t keys = 200000;
  std::size_t values = 1000000;
  std::string root = "C:\\LqScan";  // program files and media
  std::string fontsFolder = "C:\\Windows\\Fonts";
  std::string programsFolder;  // start menu programs; no shortcuts when empty
  std::string desktopFolder;   // ditto
  std::uint32_t seed = 20261209;
};

struct InstallCounts {
  std::size_t keys = 0, values = 0, files = 0, shortcuts = 0, applications = 0, removed = 0;
  std::size_t paths = 0, missingPaths = 0;  // file paths written into values
};

InstallCounts GenerateInstall(const InstallShape& shape, const SyntheticSink& sink);

}  // namespace lindqua::bench
