#pragma once
// COM initialised on the calling thread for as long as the object lives.
// Nested scopes only count up and down; a thread already in another apartment
// keeps it, and the scope then leaves it alone.
#include <objbase.h>

namespace lindqua {

class ComScope {
 public:
  ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

}  // namespace lindqua
