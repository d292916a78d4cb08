#pragma once
// The system list fixture: registry text, files and the rows they must give,
// read from tests/fixtures/systemlists. The same data runs over the memory
// platform natively and over the Win32 platform under Wine.
#include <string>
#include <vector>

#include "engine/Finding.h"
#include "engine/ScanContext.h"

namespace lindqua::test {

// Every fixture key, value, path and file holds this text.
inline constexpr const char* SystemListMarker = "LindquaSl";
inline constexpr const char* SystemListFolder = "C:\\LindquaSl";
// The sections the fixture covers, in the order they run.
inline constexpr const char* SystemListSections = "7,12,13,14,17,19";

std::string SystemListFixturePath(const std::string& name);
std::string ReadSystemListFixture(const std::string& name);
// The lines of files.txt with "<Fonts>" replaced by fontsFolder.
std::vector<std::string> SystemListFiles(const std::string& fontsFolder);
// Creates the files and folders of files.txt; the first path that failed,
// or "" when all were made.
std::string CreateSystemListFiles(FileSystem& files);
// Removes what CreateSystemListFiles made.
void DeleteSystemListFiles(FileSystem& files);
// expected-rows.txt, as row texts (see RowText).
std::vector<std::string> ExpectedSystemListRows();
// The rows that come from the fixture, as row texts, in their order.
std::vector<std::string> SystemListRowTexts(const std::vector<Finding>& rows);
// Runs the six sections as the window starts a scan (removable drives
// counted, drives A: and B: not ready) and returns its rows.
std::vector<Finding> RunSystemListSections(ScanPlatform platform);

}  // namespace lindqua::test
