#pragma once
// The system's ANSI code page, in which the backup files are written and in
// which regedit reads them back. Text that has no exact ANSI form must be
// recognised as such: a best-fit or "?" substitute would restore something
// else than what was deleted.
#include <optional>
#include <string>
#include <string_view>

namespace lindqua {

class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  // The code page number (1252, 932 ...).
  virtual unsigned CodePage() const = 0;
  // The ANSI bytes of a UTF-8 text (NULs included); nullopt when any character
  // has no exact form in the code page, or when the text is not valid UTF-16
  // material (a lone surrogate).
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) const = 0;
  // UTF-8 text of ANSI bytes; nullopt when the bytes are not valid in the code page.
  virtual std::optional<std::string> ToUtf8(std::string_view ansi) const = 0;
};

}  // namespace lindqua
