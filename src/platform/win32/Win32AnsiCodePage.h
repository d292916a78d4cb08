#pragma once
// The system's ANSI code page (CP_ACP) through the Windows conversion functions.
#include "platform/AnsiCodePage.h"

namespace lindqua {

class Win32AnsiCodePage : public AnsiCodePage {
 public:
  unsigned CodePage() const override;
  std::optional<std::string> FromUtf8(std::string_view utf8) const override;
  std::optional<std::string> ToUtf8(std::string_view ansi) const override;
};

}  // namespace lindqua
