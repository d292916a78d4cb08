#pragma once
// The program's one settings record. It is zero and empty until the settings
// file has been loaded, and reaches the file again only when the main window
// closes. The scan takes a copy of what it needs when it is created.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lindqua {

struct TOptionsSetting {
  std::string BackupFolder;
  bool IgnoreRemovableDrive = false;
  // Check state of each node of the section tree by image index 1..25; [0] is unused.
  std::array<bool, 26> NodeSelected{};
  std::int32_t IgnoreKeyCount = 0;
  std::vector<std::string> IgnoreKeys;
  std::uint8_t WindowState = 0;  // 2 = maximized
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Height = 0;
  std::int32_t Width = 0;
  bool CreateRestore = false;
  std::string LastFix;  // empty = never fixed
  // Under WOW64, look for files in redirected folders in every view instead
  // of passing over them.
  bool Check64BitPaths = false;
};

extern TOptionsSetting OptionsSetting;

}  // namespace lindqua
