#pragma once
// Wine's Recycle Bin is the freedesktop trash of the Linux user, in
// $XDG_DATA_HOME/Trash (else ~/.local/share/Trash). The test runner points
// XDG_DATA_HOME into the prefix; tests that recycle refuse to run without it.
#include <string>

namespace lindqua::test {

// The trash folder as a Windows path; empty when XDG_DATA_HOME is not set to
// an absolute path, so that recycling would reach the user's home folder.
std::string WineTrashFolder();
// A trash entry records that the file at this Windows path was recycled, and
// the file itself is in the trash. The file's folder must still exist: Wine
// maps only paths whose folder it can find.
bool InWineTrash(const std::string& windowsPath);

}  // namespace lindqua::test
