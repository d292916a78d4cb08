#pragma once
// Reading the data fixtures under tests/fixtures, and running chosen sections
// the way the window starts a scan, for the fixture tests of every platform.
#include <string>
#include <string_view>
#include <vector>

#include "engine/Finding.h"
#include "engine/ScanContext.h"

namespace lindqua::test {

// tests/fixtures/<folder>/<name> in the form this platform opens.
std::string FixtureDataPath(const std::string& folder, const std::string& name);
std::string ReadFixtureData(const std::string& folder, const std::string& name);
// The file's lines without line ends, blank lines and "#" comments.
std::vector<std::string> FixtureDataLines(const std::string& folder, const std::string& name);
// The program that reads a fixture, which picks the lines of its expected
// rows by their "when" column: "*" always, "wow64" the 32-bit program under
// WOW64, "plain" every program not under WOW64, and "x64" the 64-bit program
// alone, whose view shows Wow6432Node as a plain subkey (with Wine's links
// to the shared keys beneath it); a comma list names several.
enum class FixtureView { Plain, Wow64, Native64 };
bool RowIsFor(std::string_view when, FixtureView view);
// The view of the test program itself on the system it runs on.
inline FixtureView ThisProgramsView(bool underWow64) {
  if (underWow64) return FixtureView::Wow64;
  return sizeof(void*) == 8 ? FixtureView::Native64 : FixtureView::Plain;
}

// Runs the sections in order (removable drives counted, drives A: and B: not
// ready) and returns the rows; throws when the scan does not finish.
std::vector<Finding> RunScanSections(ScanPlatform platform, std::vector<std::string> sections);

}  // namespace lindqua::test
