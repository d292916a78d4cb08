#pragma once
// The sweep fixture: registry text, files and the rows they must give, read
// from tests/fixtures/sweep. The same data runs over the memory platform
// natively and over the Win32 platform under Wine.
#include <string>
#include <vector>

#include "engine/Finding.h"
#include "engine/ScanContext.h"
#include "support/FixtureData.h"

namespace lindqua::test {

// Every fixture key, value, path and file holds this text.
inline constexpr const char* SweepFixtureMarker = "LindquaFx";
inline constexpr const char* SweepFixtureFolder = "C:\\LindquaFx";
inline constexpr const char* SweepFixtureVariable = "LINDQUAFX";

std::string SweepFixturePath(const std::string& name);
std::string ReadFixtureFile(const std::string& name);
// The lines of files.txt: paths, a trailing backslash for a folder.
std::vector<std::string> SweepFixtureFiles();
// expected-rows.txt as row texts (see RowText), those marked for another
// program's view left out.
std::vector<std::string> ExpectedSweepRows(FixtureView view);

// "section|tag|location|shown text|caption", one line per row.
std::string RowText(const Finding& row);
// The rows that come from the fixture, as row texts, in their order.
std::vector<std::string> FixtureRowTexts(const std::vector<Finding>& rows);
// Runs the hive sections and the software locations as the window starts a
// scan (removable drives counted, drives A: and B: not ready) and returns its rows.
std::vector<Finding> RunSweepSections(ScanPlatform platform);

}  // namespace lindqua::test
