#pragma once
// Shortcut files made by the system's own shell link object, as a program's
// installer makes them.
#include <string>

namespace lindqua::test {

// Writes a shortcut at path storing target (which need not exist).
bool MakeShellLink(const std::string& path, const std::string& target);

}  // namespace lindqua::test

namespace lindqua::test {

// Writes a shortcut byte by byte in the published shell link format, storing
// path exactly as given: for targets such as "C:Dir\x.exe" that the shell
// link object would turn into full paths when making the file.
bool WriteRawShellLink(const std::string& path, const std::string& storedPath);

}  // namespace lindqua::test
