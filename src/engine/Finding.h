#pragma once
// One row of the results list and the tag that tells the fix procedure, the
// ignore filter and the registry-editor jump what the row's location names.
#include <string>

namespace lindqua {

namespace FixTag {
inline constexpr int Key = 0;             // location is root\key: delete the key
inline constexpr int ValueInLocation = 1; // location is root\key\value name
inline constexpr int NamedValue = 2;      // the value named by the shown text in root\key
inline constexpr int SubKey = 3;          // the subkey named by the shown text in root\parent
inline constexpr int File = 4;            // location is a file path
inline constexpr int DefaultValue = 5;    // the unnamed value of root\key
inline constexpr int Rot13Value = 6;      // the value whose stored name is ROT13 of the shown text
}  // namespace FixTag

struct Finding {
  std::string caption;    // issue caption of the section
  std::string shownText;  // sub-item 0
  std::string location;   // sub-item 1
  int tag = 0;
  int section = 0;        // the section that added the row
  bool checked = false;   // set by the window, never by the engine
  // Why the row was added: what was tested and what was found, in words a
  // user can check by hand. Shown beside the row, never written to reports.
  std::string reason;
};

}  // namespace lindqua
