#pragma once
// One move-only owner per Windows handle kind, so that every exit path closes
// what it opened.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace lindqua {

// Traits give the invalid value and the close function of one handle kind.
template <typename Traits>
class UniqueHandle {
 public:
  using T = typename Traits::Type;
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(T value) noexcept : value_(value) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  T get() const noexcept { return value_; }
  T* put() noexcept {
    reset();
    return &value_;
  }
  T release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void reset(T value = Traits::Invalid()) noexcept {
    if (value_ != Traits::Invalid()) Traits::Close(value_);
    value_ = value;
  }
  explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

 private:
  T value_ = Traits::Invalid();
};

struct KeyTraits {
  using Type = HKEY;
  static HKEY Invalid() noexcept { return nullptr; }
  static void Close(HKEY key) noexcept { ::RegCloseKey(key); }
};
struct FindTraits {
  using Type = HANDLE;
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
struct KernelTraits {
  using Type = HANDLE;
  static HANDLE Invalid() noexcept { return nullptr; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileTraits {
  using Type = HANDLE;
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct ModuleTraits {
  using Type = HMODULE;
  static HMODULE Invalid() noexcept { return nullptr; }
  static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};

// Memory the shell and COM hand out (item id lists, strings).
template <typename T>
struct CoTaskMemTraits {
  using Type = T*;
  static T* Invalid() noexcept { return nullptr; }
  static void Close(T* p) noexcept { ::CoTaskMemFree(p); }
};
// Memory of the local heap that system calls return (CommandLineToArgvW).
template <typename T>
struct LocalMemTraits {
  using Type = T*;
  static T* Invalid() noexcept { return nullptr; }
  static void Close(T* p) noexcept { ::LocalFree(p); }
};
// COM initialised on this thread; "valid" only when the call succeeded, since
// only a successful CoInitializeEx is balanced by CoUninitialize.
struct ComInitTraits {
  using Type = bool;
  static bool Invalid() noexcept { return false; }
  static void Close(bool) noexcept { ::CoUninitialize(); }
};
// The process's error mode as it was; closing puts it back. No valid mode
// has every bit set, so that value stands for "nothing to restore".
struct ErrorModeTraits {
  using Type = UINT;
  static UINT Invalid() noexcept { return ~0u; }
  static void Close(UINT previous) noexcept { ::SetErrorMode(previous); }
};

using UniqueHKey = UniqueHandle<KeyTraits>;
using UniqueFindHandle = UniqueHandle<FindTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFileHandle = UniqueHandle<FileTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
template <typename T>
using UniqueCoTaskMem = UniqueHandle<CoTaskMemTraits<T>>;
template <typename T>
using UniqueLocalMem = UniqueHandle<LocalMemTraits<T>>;
using UniqueComInit = UniqueHandle<ComInitTraits>;
using UniqueErrorMode = UniqueHandle<ErrorModeTraits>;

// COM in a single-threaded apartment for as long as the result lives.
inline UniqueComInit InitializeCom() noexcept {
  return UniqueComInit(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
}

// No "insert a disk" box from an empty floppy or card reader while it lives.
inline UniqueErrorMode SuppressCriticalErrors() noexcept {
  return UniqueErrorMode(::SetErrorMode(SEM_FAILCRITICALERRORS));
}

// No "insert a disk" or "drive not ready" box from a question this thread
// asks about a path while it lives, and the thread's own mode back at once
// after it. Per thread, so that the scan's questions never change the mode of
// the window's thread, and an unattended run can never wait for a box.
class QuietCriticalErrors {
 public:
  QuietCriticalErrors() noexcept { set_ = ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_) != FALSE; }
  ~QuietCriticalErrors() {
    // The question's own error code is what its caller reads next.
    const DWORD error = ::GetLastError();
    if (set_) ::SetThreadErrorMode(previous_, nullptr);
    ::SetLastError(error);
  }
  QuietCriticalErrors(const QuietCriticalErrors&) = delete;
  QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

 private:
  DWORD previous_ = 0;
  bool set_ = false;
};

// Releases a COM interface pointer.
template <typename I>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  explicit ComPtr(I* p) noexcept : p_(p) {}
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& other) noexcept : p_(other.release()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  I* operator->() const noexcept { return p_; }
  I* get() const noexcept { return p_; }
  I** put() noexcept {
    reset();
    return &p_;
  }
  I* release() noexcept { return std::exchange(p_, nullptr); }
  void reset(I* p = nullptr) noexcept {
    if (p_) p_->Release();
    p_ = p;
  }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  I* p_ = nullptr;
};

}  // namespace lindqua
