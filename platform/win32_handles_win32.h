#pragma once
// Owning wrappers for Win32 handles: one type per release function, all
// move-only.
#include <windows.h>
#include <dbt.h>
#include <setupapi.h>

#include <utility>

namespace orvika2 {

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_{};
};

struct GdiObjectTraits {
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct MenuTraits {
    static void Close(HMENU h) { DestroyMenu(h); }
};
struct HookTraits {
    static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};
struct DeviceNotifyTraits {
    static void Close(HDEVNOTIFY h) { UnregisterDeviceNotification(h); }
};
struct RegistryKeyTraits {
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct MemoryDcTraits {
    static void Close(HDC h) { DeleteDC(h); }
};
struct WindowTraits {
    static void Close(HWND h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};
struct ModuleTraits {
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct KernelHandleTraits {
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct IconTraits {
    static void Close(HICON h) { DestroyIcon(h); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueHook = UniqueHandle<HHOOK, HookTraits>;
using UniqueDeviceNotification = UniqueHandle<HDEVNOTIFY, DeviceNotifyTraits>;
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
// Holds only valid handles: CreateFileW's INVALID_HANDLE_VALUE is not kept.
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

struct DeviceInfoListTraits {
    static void Close(HDEVINFO h) { SetupDiDestroyDeviceInfoList(h); }
};
using UniqueDeviceInfoList = UniqueHandle<HDEVINFO, DeviceInfoListTraits>;

// CreateFileW and SetupDiGetClassDevsW report failure as
// INVALID_HANDLE_VALUE, not as null.
inline UniqueKernelHandle AdoptFileHandle(HANDLE handle) {
    return UniqueKernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}
inline UniqueDeviceInfoList AdoptDeviceInfoList(HDEVINFO list) {
    return UniqueDeviceInfoList(list == INVALID_HANDLE_VALUE ? nullptr : list);
}

// A window's device context from GetDC, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace orvika2
