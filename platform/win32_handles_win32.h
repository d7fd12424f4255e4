#pragma once
// Owning wrappers for Win32 handles.
#include <windows.h>
#include <setupapi.h>

#include <memory>

namespace orvika2 {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not as null.
inline UniqueHandle AdoptFileHandle(HANDLE handle) {
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

struct DeviceInfoListDestroyer {
    void operator()(HDEVINFO list) const { SetupDiDestroyDeviceInfoList(list); }
};
using UniqueDeviceInfoList = std::unique_ptr<void, DeviceInfoListDestroyer>;

inline UniqueDeviceInfoList AdoptDeviceInfoList(HDEVINFO list) {
    return UniqueDeviceInfoList(list == INVALID_HANDLE_VALUE ? nullptr : list);
}

}  // namespace orvika2
