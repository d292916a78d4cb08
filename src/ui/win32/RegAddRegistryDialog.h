#pragma once
// TfrmRegAddRegistry: enters or edits one key of the ignore list. The text
// is taken as typed, neither trimmed nor checked.
#include <windows.h>

#include <optional>
#include <string>

namespace lindqua {

// The dialog with `text` in its field; the field's text after OK, nullopt
// after Cancel or closing.
std::optional<std::string> RunRegAddRegistryDialog(HWND owner, const std::string& text);

}  // namespace lindqua
