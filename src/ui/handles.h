// Move-only owners for GDI objects, device contexts, modules, kernel objects and COM interfaces; a select guard.
#pragma once
#include <utility>
#include <windows.h>
#include <unknwn.h>

namespace lumivex::ui {

template <typename H, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, H{}));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }
  H release() { return std::exchange(h_, H{}); }
  void reset(H h = H{}) {
    if (h_ != H{}) Traits::close(h_);
    h_ = h;
  }

 private:
  H h_{};
};

struct GdiObjectTraits { static void close(HGDIOBJ h) { DeleteObject(h); } };
struct ModuleTraits { static void close(HMODULE h) { FreeLibrary(h); } };
struct MemoryDcTraits { static void close(HDC h) { DeleteDC(h); } };
struct IconTraits { static void close(HICON h) { DestroyIcon(h); } };
struct EnhMetaFileTraits { static void close(HENHMETAFILE h) { DeleteEnhMetaFile(h); } };
struct KernelObjectTraits { static void close(HANDLE h) { CloseHandle(h); } };

using FontHandle = UniqueHandle<HFONT, GdiObjectTraits>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectTraits>;
using BrushHandle = UniqueHandle<HBRUSH, GdiObjectTraits>;
using PenHandle = UniqueHandle<HPEN, GdiObjectTraits>;
using ModuleHandle = UniqueHandle<HMODULE, ModuleTraits>;
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
using IconHandle = UniqueHandle<HICON, IconTraits>;
using EnhMetaFileHandle = UniqueHandle<HENHMETAFILE, EnhMetaFileTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelObjectTraits>;  // tokens, mutexes: never INVALID_HANDLE_VALUE

// A window's device context from GetDC, released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back on scope exit.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectGuard() { SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Holds one reference to a COM interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ~ComPtr() { reset(); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() { reset(); return &p_; }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  void reset() { if (p_) std::exchange(p_, nullptr)->Release(); }

 private:
  T* p_ = nullptr;
};

}  // namespace lumivex::ui
