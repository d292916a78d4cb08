#pragma once
// The class registration fixture: registry text, files, keys to lock and the
// rows they must give, read from tests/fixtures/classes. The same data runs
// over the memory platform natively and over the Win32 platform under Wine.
#include <string>
#include <utility>
#include <vector>

#include "engine/Finding.h"
#include "engine/ScanContext.h"
#include "support/FixtureData.h"

namespace lindqua::test {

// Every fixture key, value or path holds the marker or the id prefix.
inline constexpr const char* ClassFixtureMarker = "LindquaCr";
inline constexpr const char* ClassFixtureIdPrefix = "4C696E64-7175-6143";
inline constexpr const char* ClassFixtureFolder = "C:\\LindquaCr";
inline constexpr const char* ClassFixtureVariable = "LINDQUACR";

// The two scans the fixture is run through: the four class sections, and the
// machine's software sweep chosen together with sections 16 and 20.
inline const std::vector<std::string> ClassSectionsRun = {"11", "16", "20", "22"};
inline const std::vector<std::string> WithSoftwareSweepRun = {"5", "16", "20"};

std::string ClassFixturePath(const std::string& name);
std::string ReadClassFixture(const std::string& name);
// The lines of a data file without blank and "#" lines.
std::vector<std::string> ClassFixtureLines(const std::string& name);

using FixtureKey = std::pair<RootKey, std::string>;
// locked.txt: the keys the test makes unreadable after the import.
std::vector<FixtureKey> ClassFixtureLockedKeys();
// The top keys cleanup.reg deletes: everything the fixture added lies below them.
std::vector<FixtureKey> ClassFixtureTrees();

// "section|tag|location|shown text|caption|reason" of the fixture's rows, in order.
std::vector<std::string> ClassFixtureRowTexts(const std::vector<Finding>& rows);
// expected-rows.txt for one run ("A" the class sections, "B" with the
// software sweep), the rows marked for another program's view left out.
std::vector<std::string> ExpectedClassRows(const std::string& run, FixtureView view);

}  // namespace lindqua::test
