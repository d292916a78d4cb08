#pragma once
// Where an error meant for the user goes. The GUI shows a message box; the
// console program prints; tests record.
#include <string_view>

namespace lindqua {

class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  virtual void ShowError(std::string_view message) = 0;
};

}  // namespace lindqua
