#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "desktop/product_version_win32.h"
#include "platform/win32_handles_win32.h"
#include "resources/resource.h"

namespace orvika2 {
namespace {

constexpr WORD kTraditionalChinese = 0x0404;

HMODULE Self() { return GetModuleHandleW(nullptr); }

std::vector<unsigned char> ResourceBytes(LPCWSTR type, int id, WORD language = kTraditionalChinese) {
    HRSRC found = FindResourceExW(Self(), type, MAKEINTRESOURCEW(id), language);
    if (!found) return {};
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(Self(), found)));
    return std::vector<unsigned char>(data, data + SizeofResource(Self(), found));
}

// Reads an extended dialog template.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}
    template <typename T>
    T Read() {
        T value{};
        std::memcpy(&value, bytes_.data() + at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }
    std::wstring ReadSzOrOrd() {
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) return L"#" + std::to_wstring(Read<WORD>());
        std::wstring text;
        for (WORD c = first; c != 0; c = Read<WORD>()) text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignDword() { at_ = (at_ + 3) & ~std::size_t{3}; }

private:
    const std::vector<unsigned char>& bytes_;
    std::size_t at_ = 0;
};

struct DialogItem {
    DWORD style;
    DWORD id;
    RECT box;  // x, y, cx, cy in dialog units
    std::wstring windowClass;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    SIZE size{};
    std::wstring title;
    std::vector<DialogItem> items;
};

DialogTemplate ReadDialog(int id) {
    const auto bytes = ResourceBytes(RT_DIALOG, id);
    DialogTemplate dialog;
    if (bytes.empty()) return dialog;
    TemplateReader in(bytes);
    EXPECT_EQ(in.Read<WORD>(), 1);
    EXPECT_EQ(in.Read<WORD>(), 0xFFFF);
    in.Read<DWORD>();
    dialog.exStyle = in.Read<DWORD>();
    dialog.style = in.Read<DWORD>();
    const WORD count = in.Read<WORD>();
    in.Read<short>();
    in.Read<short>();
    dialog.size.cx = in.Read<short>();
    dialog.size.cy = in.Read<short>();
    in.ReadSzOrOrd();
    in.ReadSzOrOrd();
    dialog.title = in.ReadSzOrOrd();
    if (dialog.style & DS_SETFONT) {
        in.Read<WORD>();
        in.Read<WORD>();
        in.Read<BYTE>();
        in.Read<BYTE>();
        in.ReadSzOrOrd();
    }
    for (WORD i = 0; i < count; ++i) {
        in.AlignDword();
        DialogItem item{};
        in.Read<DWORD>();
        in.Read<DWORD>();
        item.style = in.Read<DWORD>();
        item.box.left = in.Read<short>();
        item.box.top = in.Read<short>();
        item.box.right = in.Read<short>();
        item.box.bottom = in.Read<short>();
        item.id = in.Read<DWORD>();
        item.windowClass = in.ReadSzOrOrd();
        in.ReadSzOrOrd();
        const WORD extra = in.Read<WORD>();
        for (WORD b = 0; b < extra; ++b) in.Read<BYTE>();
        dialog.items.push_back(item);
    }
    return dialog;
}

const DialogItem* FindItem(const DialogTemplate& dialog, DWORD id) {
    for (const auto& item : dialog.items) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

void ExpectBox(const DialogItem* item, LONG x, LONG y, LONG cx, LONG cy) {
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->box.left, x);
    EXPECT_EQ(item->box.top, y);
    EXPECT_EQ(item->box.right, cx);
    EXPECT_EQ(item->box.bottom, cy);
}

TEST(ResourceTemplates, MainWindowIsACaptionlessPopupWithTwoButtons) {
    const DialogTemplate dialog = ReadDialog(IDD_ORVIKA2_DIALOG);
    EXPECT_EQ(dialog.size.cx, 93);
    EXPECT_EQ(dialog.size.cy, 38);
    EXPECT_TRUE(dialog.style & WS_POPUP);
    EXPECT_TRUE(dialog.style & WS_VISIBLE);
    EXPECT_TRUE(dialog.style & DS_CENTER);
    EXPECT_FALSE(dialog.style & WS_CAPTION);
    EXPECT_FALSE(dialog.style & WS_SYSMENU);
    EXPECT_TRUE(dialog.exStyle & WS_EX_APPWINDOW);
    ASSERT_EQ(dialog.items.size(), 2u);
    ExpectBox(FindItem(dialog, IDC_CODE_BUTTON), 46, 9, 16, 14);
    ExpectBox(FindItem(dialog, IDC_MENU_BUTTON), 70, 2, 8, 8);
    for (const auto& item : dialog.items) EXPECT_EQ(item.style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
}

TEST(ResourceTemplates, WaitForTouchDialogHasCaptionCloseBoxAndCentredTexts) {
    const DialogTemplate dialog = ReadDialog(IDD_WAIT_FOR_TOUCH);
    EXPECT_EQ(dialog.size.cx, 241);
    EXPECT_EQ(dialog.size.cy, 81);
    EXPECT_EQ(dialog.style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_TRUE(dialog.style & WS_SYSMENU);
    EXPECT_TRUE(dialog.style & DS_MODALFRAME);
    EXPECT_TRUE(dialog.style & DS_CENTER);
    ExpectBox(FindItem(dialog, IDC_COUNTDOWN), 109, 49, 24, 16);
    // Two lines: the English prompt ends with the instruction that matters.
    ExpectBox(FindItem(dialog, IDC_TOUCH_PROMPT), 10, 26, 220, 18);
    for (const auto& item : dialog.items) EXPECT_EQ(item.style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
}

TEST(ResourceTemplates, AboutBoxHasTheVersionLineAndOk) {
    const DialogTemplate dialog = ReadDialog(IDD_ABOUTBOX);
    EXPECT_NE(FindItem(dialog, IDC_ABOUT_VERSION), nullptr);
    EXPECT_NE(FindItem(dialog, IDOK), nullptr);
    EXPECT_EQ(dialog.title, L"\u95DC\u65BCOrvika2");
}

TEST(ResourceTemplates, PopupMenuHoldsTheCommandsInOrder) {
    UniqueMenu menu(LoadMenuW(Self(), MAKEINTRESOURCEW(IDR_POPUP_MENU)));
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.get()), 1);
    HMENU popup = GetSubMenu(menu.get(), 0);
    const int expected[] = {ID_PROFILE_1, ID_PROFILE_2,       0,        ID_SETTINGS,    -1,
                            ID_SOFTWARE_UPDATE, ID_ABOUT, 0, ID_HIDE_WINDOW, ID_CLOSE_PROGRAM};
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(std::size(expected)));
    for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) {
        EXPECT_EQ(static_cast<int>(GetMenuItemID(popup, i)), expected[i]) << i;
    }
    HMENU language = GetSubMenu(popup, 4);
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(GetMenuItemID(language, 0), static_cast<UINT>(ID_LANGUAGE_CHINESE));
    EXPECT_EQ(GetMenuItemID(language, 1), static_cast<UINT>(ID_LANGUAGE_ENGLISH));
    EXPECT_EQ(GetMenuState(popup, ID_LANGUAGE_CHINESE, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    wchar_t text[64] = {};
    GetMenuStringW(popup, ID_CLOSE_PROGRAM, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"\u95DC\u9589\u7A0B\u5F0F");
    GetMenuStringW(popup, 4, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Language");
}

struct Picture {
    int id;
    LONG width;
    LONG height;
};

TEST(ResourcePictures, BitmapsHaveTheirSizesAndAre24Bit) {
    const Picture pictures[] = {{137, 32, 32}, {138, 32, 32}, {139, 32, 32}, {140, 32, 32}, {141, 32, 32},
                                {144, 24, 24}, {145, 24, 24}, {155, 24, 24}, {153, 174, 80}, {1000, 24, 24},
                                // The main window's pictures drawn at 125, 150 and 200 %.
                                {IDB_CODE_MASK_125, 40, 40}, {IDB_MENU_DOWN_125, 30, 30},
                                {IDB_WINDOW_SKIN_125, 218, 100}, {IDB_CODE_OVER_150, 48, 48},
                                {IDB_MENU_MASK_150, 36, 36}, {IDB_WINDOW_SKIN_150, 261, 120},
                                {IDB_CODE_DISABLED_200, 64, 64}, {IDB_MENU_NORMAL_200, 48, 48},
                                {IDB_WINDOW_SKIN_200, 348, 160}};
    for (const auto& picture : pictures) {
        ASSERT_FALSE(ResourceBytes(RT_BITMAP, picture.id).empty()) << picture.id;
        UniqueBitmap bitmap(static_cast<HBITMAP>(
            LoadImageW(Self(), MAKEINTRESOURCEW(picture.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        DIBSECTION section{};
        ASSERT_EQ(GetObjectW(bitmap.get(), sizeof(section), &section), static_cast<int>(sizeof(section)));
        EXPECT_EQ(section.dsBm.bmWidth, picture.width) << picture.id;
        EXPECT_EQ(section.dsBm.bmHeight, picture.height) << picture.id;
        EXPECT_EQ(section.dsBm.bmBitsPixel, 24) << picture.id;
    }
}

COLORREF PixelOf(int id, int x, int y) {
    UniqueBitmap bitmap(
        static_cast<HBITMAP>(LoadImageW(Self(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION section{};
    GetObjectW(bitmap.get(), sizeof(section), &section);
    const auto* bits = static_cast<const unsigned char*>(section.dsBm.bmBits);
    const int row = section.dsBm.bmHeight - 1 - y;  // bottom-up
    const unsigned char* p = bits + row * section.dsBm.bmWidthBytes + x * 3;
    return RGB(p[2], p[1], p[0]);
}

TEST(ResourcePictures, MasksAreBlackShapesOnWhiteAndTheSkinIsKeyedRed) {
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF black = RGB(0, 0, 0);
    EXPECT_EQ(PixelOf(IDB_CODE_MASK, 0, 0), white);
    EXPECT_EQ(PixelOf(IDB_CODE_MASK, 31, 31), white);
    EXPECT_EQ(PixelOf(IDB_CODE_MASK, 16, 16), black);
    EXPECT_EQ(PixelOf(IDB_MENU_MASK, 0, 0), white);
    EXPECT_EQ(PixelOf(IDB_MENU_MASK, 12, 6), black);  // the body of the gear
    EXPECT_EQ(PixelOf(IDB_MENU_MASK, 12, 12), white);  // the hole of the gear
    const COLORREF key = RGB(200, 0, 0);
    EXPECT_EQ(PixelOf(IDB_WINDOW_SKIN, 0, 0), key);
    EXPECT_EQ(PixelOf(IDB_WINDOW_SKIN, 173, 79), key);
    EXPECT_NE(PixelOf(IDB_WINDOW_SKIN, 40, 35), key);
}

TEST(ResourcePictures, IconGroupCarriesSixteenTo256Pixels) {
    const auto group = ResourceBytes(RT_GROUP_ICON, IDI_ORVIKA2);
    ASSERT_GE(group.size(), 6u);
    const WORD count = static_cast<WORD>(group[4] | (group[5] << 8));
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const unsigned char width = group[6 + i * 14];
        sizes.push_back(width == 0 ? 256 : width);
    }
    for (int wanted : {16, 24, 32, 48, 256}) {
        EXPECT_NE(std::find(sizes.begin(), sizes.end(), wanted), sizes.end()) << wanted;
    }
    UniqueIcon small(static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_ORVIKA2), IMAGE_ICON, 16, 16, 0)));
    EXPECT_TRUE(small);
}

TEST(ResourceVersion, ProductVersionOfTheTraditionalChineseBlock) {
    EXPECT_EQ(GetProductVersion(), L"1.0.14.821");
}

TEST(ResourceManifest, AsksForCommonControls6AndPerMonitorDpi) {
    const auto bytes = ResourceBytes(RT_MANIFEST, 1);
    const std::string manifest(bytes.begin(), bytes.end());
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
}

}  // namespace
}  // namespace orvika2
