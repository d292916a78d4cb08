#pragma once
// Ctrl+C, Ctrl+Break and a closed console window, turned into a stop request
// while the console program is deleting, so that the current row is finished
// and what was done is printed.
#include <windows.h>

#include "app/CliProgram.h"
#include "platform/win32/Handles.h"

namespace lindqua {

class Win32Interrupt : public CliInterrupt {
 public:
  Win32Interrupt();
  ~Win32Interrupt() override;
  Win32Interrupt(const Win32Interrupt&) = delete;
  Win32Interrupt& operator=(const Win32Interrupt&) = delete;

  std::stop_token Catch() override;
  void Release() override;

 private:
  static BOOL WINAPI OnControl(DWORD event);
  std::stop_source stop_;
  UniqueKernelHandle released_;  // set when the caller has finished its row
  bool catching_ = false;
};

}  // namespace lindqua
