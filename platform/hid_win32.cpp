#include "platform/hid_win32.h"

#include <windows.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}

#include <string>
#include <vector>

#include "platform/failure_note.h"
#include "platform/interface_walk.h"
#include "platform/usb_hid_bus.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {
namespace {

// The keyboard device interface class: the token presents itself as a keyboard.
constexpr GUID kKeyboardInterfaceClass = {0x884B96C3, 0x56EF, 0x11D1, {0xBC, 0x8C, 0x00, 0xA0, 0xC9, 0x14, 0x05, 0xDD}};
constexpr DWORD kMaxInterfaces = 1000;

void RecordFailure(FailureNote& note, const char* api, DWORD error) {
    note.Record(std::string(api) + " failed with error " + std::to_string(error));
}

UniqueKernelHandle OpenForWriting(const std::wstring& path, FailureNote& note) {
    UniqueKernelHandle device = AdoptFileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                      nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device) RecordFailure(note, "CreateFileW", GetLastError());
    return device;
}

class Win32HidDevice final : public HidDevice {
public:
    Win32HidDevice(UniqueKernelHandle handle, std::shared_ptr<FailureNote> note)
        : handle_(std::move(handle)), note_(std::move(note)) {}

    bool SendFeature(const FeatureReport& report) override {
        FeatureReport buffer = report;
        if (HidD_SetFeature(handle_.get(), buffer.data(), static_cast<ULONG>(buffer.size()))) return true;
        RecordFailure(*note_, "HidD_SetFeature", GetLastError());
        return false;
    }

    bool GetFeature(FeatureReport& report) override {
        report[0] = 0;  // the report id
        if (HidD_GetFeature(handle_.get(), report.data(), static_cast<ULONG>(report.size()))) return true;
        RecordFailure(*note_, "HidD_GetFeature", GetLastError());
        return false;
    }

private:
    UniqueKernelHandle handle_;
    std::shared_ptr<FailureNote> note_;
};

class SetupApiHidBus final : public Win32HidBus {
public:
    std::optional<std::vector<std::wstring>> ListInterfaces() override {
        const UniqueDeviceInfoList list = AdoptDeviceInfoList(
            SetupDiGetClassDevsW(&kKeyboardInterfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
        if (!list) {
            RecordFailure(*note_, "SetupDiGetClassDevsW", GetLastError());
            return std::nullopt;
        }
        return CollectInterfacePaths(kMaxInterfaces, [&](std::uint32_t index) { return EntryAt(list.get(), index); });
    }

    std::optional<HidIdentity> ReadIdentity(const std::wstring& path) override {
        const UniqueKernelHandle device = OpenForWriting(path, *note_);
        if (!device) return std::nullopt;
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof(attributes);
        if (!HidD_GetAttributes(device.get(), &attributes)) {
            RecordFailure(*note_, "HidD_GetAttributes", GetLastError());
            return std::nullopt;
        }
        return HidIdentity{attributes.VendorID, attributes.ProductID};
    }

    std::unique_ptr<HidDevice> Open(const std::wstring& path) override {
        UniqueKernelHandle device = OpenForWriting(path, *note_);
        if (!device) return nullptr;
        return std::make_unique<Win32HidDevice>(std::move(device), note_);
    }

    std::string LastError() const override { return note_->Text(); }

private:
    // The device path of the index-th interface. A failed enumeration ends
    // the walk; a detail that cannot be read skips that one interface.
    InterfaceEntry EntryAt(HDEVINFO list, DWORD index) {
        using Kind = InterfaceEntry::Kind;
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof(interfaceData);
        if (!SetupDiEnumDeviceInterfaces(list, nullptr, &kKeyboardInterfaceClass, index, &interfaceData)) {
            if (const DWORD error = GetLastError(); error != ERROR_NO_MORE_ITEMS) {
                RecordFailure(*note_, "SetupDiEnumDeviceInterfaces", error);
            }
            return {Kind::End, {}};
        }
        // Asked without a buffer, the call must fail and tell the size.
        DWORD size = 0;
        const BOOL sized = SetupDiGetDeviceInterfaceDetailW(list, &interfaceData, nullptr, 0, &size, nullptr);
        if (const DWORD error = sized ? ERROR_SUCCESS : GetLastError(); error != ERROR_INSUFFICIENT_BUFFER) {
            RecordFailure(*note_, "SetupDiGetDeviceInterfaceDetailW", error);
            return {Kind::Unreadable, {}};
        }
        // DWORD elements keep the detail structure aligned.
        std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(list, &interfaceData, detail, size, nullptr, nullptr)) {
            RecordFailure(*note_, "SetupDiGetDeviceInterfaceDetailW", GetLastError());
            return {Kind::Unreadable, {}};
        }
        return {Kind::Found, std::wstring(detail->DevicePath)};
    }

    std::shared_ptr<FailureNote> note_ = std::make_shared<FailureNote>();
};

}  // namespace

std::unique_ptr<Win32HidBus> MakeWin32HidBus() { return std::make_unique<SetupApiHidBus>(); }

std::unique_ptr<HidBus> MakeUsbHidBus() { return MakeWin32HidBus(); }

}  // namespace orvika2
