#pragma once
// What every scanner works with: the platform, the drive facts measured when
// the scan was created, the sink for rows and texts, and the stop flag.
#include <string>
#include <string_view>
#include <vector>

#include "engine/ResultsModel.h"
#include "engine/KeyShapeRecord.h"
#include "engine/SweptTreeRecord.h"
#include "engine/Wow64Places.h"
#include "platform/FileSystem.h"
#include "platform/RegistryBackend.h"
#include "platform/SystemFacts.h"

namespace lindqua {

struct ScanPlatform {
  RegistryBackend& registry;
  FileSystem& files;
  SystemFacts& facts;
};

class ScanContext {
 public:
  ScanContext(ScanPlatform platform, ScanSink sink) : platform_(platform), sink_(std::move(sink)) {}

  RegistryBackend& Registry() noexcept { return platform_.registry; }
  FileSystem& Files() noexcept { return platform_.files; }
  SystemFacts& Facts() noexcept { return platform_.facts; }

  // The stop flag: tested before each section, key and value.
  bool Terminated() const noexcept { return sink_.Stopped(); }

  // The running section's status text; the hive sweeps read it back to pick
  // their skip rules, so it is kept here as well as shown.
  void SetStatusText(std::string_view text);
  const std::string& StatusText() const noexcept { return statusText_; }
  void SetStatusVisible(bool visible);
  // Shows where the scan is: the key path about to be examined.
  void ShowDetail(std::string_view text);
  void SetDetailVisible(bool visible);
  // The only way a scanner adds a row; rows carry the running section and
  // the reason the scanner found, built only once the row is certain.
  void AddFinding(std::string_view caption, std::string_view shownText, std::string_view location, int tag,
                  std::string_view reason);

  ScanSink& Sink() noexcept { return sink_; }

  // Asked after UnderWow64 is known: only then are the folders needed.
  void SetCheck64BitPaths(bool on) {
    Check64BitPaths = on;
    Wow64 = on && UnderWow64 ? MeasureWow64Folders(Files()) : Wow64Folders{};
  }

  int currentSection = 0;
  std::string DriveLetters;
  bool DriveAReady = false;
  bool DriveBReady = false;
  bool UnderWow64 = false;
  bool IsNT6 = false;
  // A copy taken when the scan was created: the settings record has no lock.
  bool IgnoreRemovableDrive = false;
  // Under WOW64, judge paths into redirected folders in every view the
  // system could mean instead of passing over them; the folders are
  // measured when it is switched on (SetCheck64BitPaths).
  bool Check64BitPaths = false;
  Wow64Folders Wow64;
  // Every section chosen for this scan, as numbers in the chosen order (text
  // that is not a number counts as 0): a section can leave to another chosen
  // one what both would examine.
  std::vector<int> ChosenSections;
  // The current user's tree as its own section swept it, for the sweep of
  // HKEY_USERS; emptied when that is done and when the scan starts or ends.
  SweptTreeRecord CurrentUserSweep;
  // The classes root as its section swept it, for the machine sweep.
  SweptTreeRecord ClassesRootSweep;
  // What the sweeps of the users' keys read of each key, for the empty-key
  // walk of HKEY_USERS; emptied when that is done and when the scan starts or ends.
  KeyShapeRecord UsersKeyShapes;

 private:
  ScanPlatform platform_;
  ScanSink sink_;
  std::string statusText_;
  bool statusVisible_ = false;
  std::string detailText_;
  bool detailVisible_ = false;
};

}  // namespace lindqua
