#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/hid_win32.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {
namespace {

using ::testing::StartsWith;

constexpr std::uint16_t kTokenVendorId = 0x1050;

constexpr GUID kKeyboardInterfaceClass = {0x884B96C3, 0x56EF, 0x11D1, {0xBC, 0x8C, 0x00, 0xA0, 0xC9, 0x14, 0x05, 0xDD}};

// Wine presents its own HID keyboard on the keyboard interface class. After
// a second wineboot on a running server the keyboard stays registered but
// is no longer present; then there is nothing to test against.
bool KeyboardRegisteredButAbsent() {
    const UniqueDeviceInfoList registered = AdoptDeviceInfoList(
        SetupDiGetClassDevsW(&kKeyboardInterfaceClass, nullptr, nullptr, DIGCF_DEVICEINTERFACE));
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof(data);
    return registered && SetupDiEnumDeviceInterfaces(registered.get(), nullptr, &kKeyboardInterfaceClass, 0, &data);
}

std::vector<std::wstring> ListedKeyboards(Win32HidBus& bus) {
    const auto paths = bus.ListInterfaces();
    EXPECT_TRUE(paths.has_value()) << bus.LastError();
    return paths.value_or(std::vector<std::wstring>{});
}

TEST(Win32HidBus, ListsAndIdentifiesTheKeyboardsWithoutATokenAmongThem) {
    const auto bus = MakeWin32HidBus();
    const auto paths = ListedKeyboards(*bus);
    if (paths.empty() && KeyboardRegisteredButAbsent()) GTEST_SKIP() << "the keyboard is registered but absent";
    ASSERT_FALSE(paths.empty());
    for (const auto& path : paths) {
        const auto identity = bus->ReadIdentity(path);
        ASSERT_TRUE(identity.has_value()) << bus->LastError();
        EXPECT_NE(identity->vendorId, kTokenVendorId);
        EXPECT_NE(bus->Open(path), nullptr) << bus->LastError();
    }
    EXPECT_EQ(bus->LastError(), "");
}

TEST(Win32HidBus, NotesWhichCallFailedAndWhy) {
    const auto bus = MakeWin32HidBus();
    const std::wstring missing = L"\\\\?\\hid#vid_1050&pid_0010#0&0&0&0#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";
    EXPECT_FALSE(bus->ReadIdentity(missing).has_value());
    EXPECT_EQ(bus->LastError(), "CreateFileW failed with error 2");
    EXPECT_EQ(bus->Open(missing), nullptr);

    const auto paths = ListedKeyboards(*bus);
    if (paths.empty() && KeyboardRegisteredButAbsent()) GTEST_SKIP() << "the keyboard is registered but absent";
    ASSERT_FALSE(paths.empty());
    const auto device = bus->Open(paths.front());
    ASSERT_NE(device, nullptr) << bus->LastError();
    // The keyboard has no feature report 0, so both transfers fail, and the
    // device's failures reach the bus's note.
    FeatureReport report{};
    EXPECT_FALSE(device->SendFeature(report));
    EXPECT_THAT(bus->LastError(), StartsWith("HidD_SetFeature failed with error "));
    EXPECT_FALSE(device->GetFeature(report));
    EXPECT_THAT(bus->LastError(), StartsWith("HidD_GetFeature failed with error "));
}

}  // namespace
}  // namespace orvika2
