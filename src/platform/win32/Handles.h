#pragma once
// One move-only owner per Windows handle kind, so that every exit path closes
// what it opened.
#include <windows.h>

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

using UniqueHKey = UniqueHandle<KeyTraits>;
using UniqueFindHandle = UniqueHandle<FindTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFileHandle = UniqueHandle<FileTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;

// Releases a COM interface pointer.
template <typename I>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    reset();
    p_ = std::exchange(other.p_, nullptr);
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
  void reset() noexcept {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  I* p_ = nullptr;
};

}  // namespace lindqua
