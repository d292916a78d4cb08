#pragma once
// Reading the data fixtures under tests/fixtures, and running chosen sections
// the way the window starts a scan, for the fixture tests of every platform.
#include <string>
#include <vector>

#include "engine/Finding.h"
#include "engine/ScanContext.h"

namespace lindqua::test {

// tests/fixtures/<folder>/<name> in the form this platform opens.
std::string FixtureDataPath(const std::string& folder, const std::string& name);
std::string ReadFixtureData(const std::string& folder, const std::string& name);
// The file's lines without line ends, blank lines and "#" comments.
std::vector<std::string> FixtureDataLines(const std::string& folder, const std::string& name);
// Runs the sections in order (removable drives counted, drives A: and B: not
// ready) and returns the rows; throws when the scan does not finish.
std::vector<Finding> RunScanSections(ScanPlatform platform, std::vector<std::string> sections);

}  // namespace lindqua::test
