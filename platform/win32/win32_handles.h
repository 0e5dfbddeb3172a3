// The owners of the Win32 backend's handles: each gives its handle back to the system the
// one way the system wants, when the owner goes. For the .cpp files of this folder only:
// unlike the other headers here, it includes <windows.h>.
#pragma once

#include <windows.h>

#include <utility>

namespace vantary::platform::win32 {

// An owned handle of type H. `Release` says when a value is a handle at all (Valid) and
// how it goes back to the system (Close). An owner never holds two handles and never
// closes one twice; release() hands the handle on to a new owner (often the system).
template <typename H, typename Release>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(Owned&& o) noexcept : h_(o.release()) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = o.release();
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  H get() const { return h_; }
  explicit operator bool() const { return Release::Valid(h_); }
  H release() { return std::exchange(h_, H{}); }
  // Closes the handle now. False when the system says the close failed, which for a file
  // means its last write may not have reached the disk.
  bool reset() {
    const H h = std::exchange(h_, H{});
    return !Release::Valid(h) || Release::Close(h);
  }

 private:
  H h_{};
};

// Kernel objects: files, processes, access tokens. CreateFile fails with
// INVALID_HANDLE_VALUE, the others with null; neither is a handle.
struct CloseKernelHandle {
  static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE h) { return CloseHandle(h) != 0; }
};
using KernelHandle = Owned<HANDLE, CloseKernelHandle>;

// GDI objects: brushes, fonts, bitmaps, regions. One must not be selected into a device
// context when it goes (SelectedObject puts the old one back first).
template <typename H>
struct DeleteGdiObject {
  static bool Valid(H h) { return h != nullptr; }
  static bool Close(H h) { return DeleteObject(h) != 0; }
};
template <typename H>
using GdiObject = Owned<H, DeleteGdiObject<H>>;

// A memory device context from CreateCompatibleDC.
struct DeleteMemoryDc {
  static bool Valid(HDC dc) { return dc != nullptr; }
  static bool Close(HDC dc) { return DeleteDC(dc) != 0; }
};
using MemoryDc = Owned<HDC, DeleteMemoryDc>;

// Address space from VirtualAlloc, reserved and committed in one call.
struct FreeVirtualMemory {
  static bool Valid(void* p) { return p != nullptr; }
  static bool Close(void* p) { return VirtualFree(p, 0, MEM_RELEASE) != 0; }
};
using VirtualMemory = Owned<void*, FreeVirtualMemory>;

// A window of the backend's own that nobody else destroys (the event loop's message
// window). Windows made for the program are destroyed through the window system.
struct DestroyOwnWindow {
  static bool Valid(HWND h) { return h != nullptr; }
  static bool Close(HWND h) { return DestroyWindow(h) != 0; }
};
using OwnWindow = Owned<HWND, DestroyOwnWindow>;

// A window class registered in this module. Unregistering fails while windows of the
// class stand, so its owner goes after them.
struct UnregisterOwnClass {
  static bool Valid(ATOM atom) { return atom != 0; }
  static bool Close(ATOM atom) { return UnregisterClassA(MAKEINTATOM(atom), GetModuleHandleA(nullptr)) != 0; }
};
using RegisteredClass = Owned<ATOM, UnregisterOwnClass>;

// A window's device context from GetDC (the whole screen's for no window), released to
// the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for as long as the owner lives; the object it
// replaced is selected back when it goes, so the context never keeps ours.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace vantary::platform::win32
