#pragma once
// Windows-1252 as the portable stand-in for the ANSI code page, so that the
// backup writer can be tested natively with the code page of a western
// system. The five bytes 1252 leaves undefined map to the C1 controls of the
// same number, as the Windows table does.
#include "platform/AnsiCodePage.h"

namespace lindqua {

class Windows1252CodePage : public AnsiCodePage {
 public:
  unsigned CodePage() const override { return 1252; }
  std::optional<std::string> FromUtf8(std::string_view utf8) const override;
  std::optional<std::string> ToUtf8(std::string_view ansi) const override;
};

}  // namespace lindqua
