#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/com_win32.h"
#include "platform/executable_path_win32.h"
#include "platform/shortcuts_win32.h"
#include "platform/startup_services.h"
#include "platform/text.h"
#include "tests/support/temp_dir.h"

namespace orvika2 {
namespace {

struct LinkContent {
    std::wstring target;
    std::wstring icon;
    int iconIndex = -1;
};

// Loads a link through the shell, as Explorer would.
std::optional<LinkContent> ReadLink(const std::wstring& linkPath) {
    const ComInitialization com;
    const auto link = CreateComObject<IShellLinkW>(CLSID_ShellLink, IID_IShellLinkW);
    if (!link) return std::nullopt;
    const auto file = QueryComInterface<IPersistFile>(*link, IID_IPersistFile);
    if (!file || FAILED(file->Load(linkPath.c_str(), STGM_READ))) return std::nullopt;
    LinkContent content;
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH))) return std::nullopt;
    content.target = buffer;
    if (FAILED(link->GetIconLocation(buffer, MAX_PATH, &content.iconIndex))) return std::nullopt;
    content.icon = buffer;
    return content;
}

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = dir_.path() / PathFromWide(L"\u00c4rger \u8a2d\u5b9a \u03b5\u03bb");
        std::filesystem::create_directory(folder_);
        link_ = ShortcutFile(WideFromPath(folder_));
    }

    testing::TempDir dir_;
    std::filesystem::path folder_;
    std::wstring link_;
};

TEST_F(Shortcuts, TheLinkGoesUnderItsExactNameAndPointsAtTheProgram) {
    EXPECT_TRUE(link_.ends_with(L"\u03b5\u03bb\\Orvika2.lnk"));
    EXPECT_FALSE(ShortcutExists(link_));
    ASSERT_TRUE(CreateShortcut(link_));
    EXPECT_TRUE(ShortcutExists(link_));
    EXPECT_TRUE(std::filesystem::exists(folder_ / "Orvika2.lnk"));
    const auto content = ReadLink(link_);
    ASSERT_TRUE(content);
    const std::wstring program = ExecutablePath().value_or(L"");
    EXPECT_EQ(CompareStringOrdinal(content->target.c_str(), -1, program.c_str(), -1, TRUE), CSTR_EQUAL)
        << NarrowUtf8(content->target);
    EXPECT_EQ(content->icon, program);
    EXPECT_EQ(content->iconIndex, 0);
}

TEST_F(Shortcuts, AnExistingFileIsOverwritten) {
    std::ofstream(folder_ / "Orvika2.lnk", std::ios::binary) << "not a link";
    ASSERT_FALSE(ReadLink(link_));
    ASSERT_TRUE(CreateShortcut(link_));
    EXPECT_TRUE(ReadLink(link_));
    ASSERT_TRUE(CreateShortcut(link_));
    EXPECT_TRUE(ReadLink(link_));
}

TEST_F(Shortcuts, RemovingDeletesAndAMissingLinkFails) {
    ASSERT_TRUE(CreateShortcut(link_));
    EXPECT_TRUE(RemoveShortcut(link_));
    EXPECT_FALSE(ShortcutExists(link_));
    EXPECT_FALSE(RemoveShortcut(link_));
}

TEST_F(Shortcuts, ALinkThatCannotBeSavedOrHasNoTargetIsAFailure) {
    const std::wstring nowhere = ShortcutFile(WideFromPath(folder_ / "missing"));
    EXPECT_FALSE(CreateShortcut(nowhere));
    EXPECT_FALSE(ShortcutExists(nowhere));
    EXPECT_FALSE(CreateShortcut(link_, std::nullopt));
    EXPECT_FALSE(CreateShortcut(link_, L""));
    EXPECT_FALSE(ShortcutExists(link_)) << "no link without a target";
}

TEST(ShortcutFolders, TheUsersDesktopAndProgramsFoldersAreAbsolute) {
    for (const std::wstring& folder : {DesktopFolder(), StartMenuProgramsFolder()}) {
        ASSERT_GE(folder.size(), 3u);
        EXPECT_EQ(folder.substr(1, 2), L":\\") << NarrowUtf8(folder);
        EXPECT_NE(folder.back(), L'\\');
    }
    EXPECT_NE(DesktopFolder(), StartMenuProgramsFolder());
}

}  // namespace
}  // namespace orvika2
