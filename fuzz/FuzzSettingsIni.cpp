// Any bytes as "Settings.ini": the INI reader and the settings load over it
// never crash, and saving what was read and loading it again gives the same
// settings.
#include <cstdint>

#include "FuzzInput.h"
#include "app/LoadSaveSettings.h"
#include "platform/memory/IniDocument.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/PortableIniFile.h"

using namespace lindqua;

namespace {

// The program saves into the file it loaded, which keeps its encoding.
constexpr const char* SettingsPath = "C:\\Settings.ini";

// The window's placement taken from the settings record itself, so that a
// round trip has nothing to add of its own.
WindowPlacement PlacementOf(const TOptionsSetting& o) {
  return WindowPlacement{true, o.WindowState == 2 ? 3 : 1, o.Left, o.Top, o.Width, o.Height};
}

std::string Describe(const TOptionsSetting& o) {
  std::string out = "BackupFolder=[" + o.BackupFolder + "] Count=" + std::to_string(o.IgnoreKeyCount) +
                    " State=" + std::to_string(o.WindowState) + " LastFix=[" + o.LastFix + "] Keys:";
  for (const auto& key : o.IgnoreKeys) out += " [" + key + "]";
  return out;
}

bool Same(const TOptionsSetting& a, const TOptionsSetting& b) {
  const bool placement =
      a.WindowState == 2 || (a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height);
  return a.BackupFolder == b.BackupFolder && a.IgnoreRemovableDrive == b.IgnoreRemovableDrive &&
         a.NodeSelected == b.NodeSelected && a.IgnoreKeyCount == b.IgnoreKeyCount && a.IgnoreKeys == b.IgnoreKeys &&
         a.WindowState == b.WindowState && placement && a.CreateRestore == b.CreateRestore && a.LastFix == b.LastFix;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)SerializeIniDocument(ParseIniDocument(bytes));

  MemoryFileSystem files;
  if (!files.WriteWholeFile(SettingsPath, bytes)) fuzz::Fail("cannot seed the file");
  PortableIniFiles ini(files);
  const SettingsDefaults defaults{"C:\\Program\\", MainWindowDesignSize, {1024, 768}};

  TOptionsSetting first;
  ReadSettings(*ini.Open(SettingsPath), defaults, first);
  if (!WriteSettings(*ini.Open(SettingsPath), first, PlacementOf(first))) fuzz::Fail("save refused");
  TOptionsSetting second;
  ReadSettings(*ini.Open(SettingsPath), defaults, second);
  if (!Same(first, second)) fuzz::Fail("read " + Describe(first) + " but saved and read " + Describe(second));
  return 0;
}
