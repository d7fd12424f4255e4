#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/text.h"
#include "platform/win32_handles_win32.h"
#include "settings/windows1252.h"
#include "tests/support/profile_store_suite.h"
#include "tests/support/temp_dir.h"

namespace orvika2 {
namespace {

using testing::ProfileStoreImplementation;
using testing::ProfileStoreSuite;

INSTANTIATE_TEST_SUITE_P(Win32, ProfileStoreSuite,
                         ::testing::Values(ProfileStoreImplementation{"GetPrivateProfileStringW",
                                                                      &MakePlatformProfileStore}),
                         testing::ProfileStoreName);

// The engine against the real functions on files a hand editor may leave:
// the same reads, and the same reads again after the same writes (Wine
// rewrites the whole file, so the bytes are compared elsewhere, on tidy
// files). Two known differences are left out: Wine drops one character
// more when a quoted value fills the whole buffer, and it reads a UTF-8
// byte-order mark, which Windows does not.
TEST(ProfileStoreAgreement, EngineReadsAndWritesLikeTheWin32Functions) {
    const std::string_view files[] = {
        "[ A ]\r\nk=1\r\n[B] trailing\r\nk=2\r\n[C\r\nk=3\r\n[]\r\nk=4\r\n",
        "top=0\r\n[A]\r\nk\r\nk=late\r\n=empty name\r\n;k=comment\r\n",
        "[A]\r\nk= \" x \" \r\nj=\t'\tv'\r\nh=a\x1a\r\nn=\xA0x\xA0\r\neq=a=b\r\n",
        "[A]\nk=lf\n\n\n[b]\nk=lower\n[B]\nk=second\n[\xDC" "ber]\r\nk=exact\r\n",
        "[A]\r\nk=\"" "01234567890123456789012345678901234567890123456789012345678901234567890123456789"
        "01234567890123456789012345678901234567890123456789012345678901234567890123456789"
        "01234567890123456789012345678901234567890123456789012345678901234567890123456789"
        "0123456789012345678901234567890123456789\"\r\n",
    };
    const struct {
        std::wstring_view section, key;
    } queries[] = {
        {L"A", L"k"}, {L"a", L"j"}, {L"A", L"h"}, {L"A", L"n"}, {L"A", L"eq"}, {L"A", L""}, {L"A", L";k"},
        {L"B", L"k"}, {L"C", L"k"}, {L"", L"k"}, {L"", L"top"}, {L"", L""}, {L"[C", L"k"}, {L"B] trailing", L"k"},
        {L"\u00dc" L"BER", L"k"}, {L"\u00fc" L"ber", L"k"}, {L"New", L"k"}, {L"A", L"fresh"},
    };
    const struct {
        std::wstring_view section, key, value;
    } writes[] = {
        {L"a", L"K", L"new"}, {L"", L"top", L"t"}, {L"", L"k", L"lead"}, {L"C", L"k", L"c"},
        {L"A", L"fresh", L" 'f' "}, {L"A", L"", L"nameless"}, {L"New", L"k", L"n"},
    };
    const testing::TempDir dir;
    const std::filesystem::path engineFile = dir.path() / "engine.ini";
    const std::filesystem::path win32File = dir.path() / "win32.ini";
    const auto engine = MakePortableProfileStore();
    const auto win32 = MakePlatformProfileStore();
    const auto expectSameReads = [&](std::string_view origin) {
        for (const auto& q : queries) {
            EXPECT_EQ(engine->Get(WideFromPath(engineFile), q.section, q.key),
                      win32->Get(WideFromPath(win32File), q.section, q.key))
                << origin << "; key " << std::string(q.key.begin(), q.key.end());
        }
        EXPECT_EQ(engine->SectionNames(WideFromPath(engineFile)), win32->SectionNames(WideFromPath(win32File)))
            << origin;
    };
    for (const auto content : files) {
        for (const auto& file : {engineFile, win32File}) {
            std::ofstream(file, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
        }
        expectSameReads(content);
        for (const auto& w : writes) {
            ASSERT_TRUE(engine->Put(WideFromPath(engineFile), w.section, w.key, w.value));
            ASSERT_TRUE(win32->Put(WideFromPath(win32File), w.section, w.key, w.value));
            expectSameReads(std::string(content) + " after writing " + std::string(w.key.begin(), w.key.end()));
        }
    }
}

// A file that cannot be replaced, here because another program holds it
// open, stays as it was; the write says so and leaves no temporary file.
TEST(ProfileStoreReplacement, AFileThatCannotBeReplacedStaysAsItWas) {
    const testing::TempDir dir;
    const std::filesystem::path file = dir.path() / "t.ini";
    const std::string before = "[A]\r\nk=1\r\n[B]\r\nk=2\r\n";
    std::ofstream(file, std::ios::binary) << before;
    for (const auto make : {&MakePortableProfileStore, &MakePlatformProfileStore}) {
        const auto store = make();
        {
            const auto held = AdoptFileHandle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(held);
            const ProfileStore::Entry entries[] = {{L"k", L"new"}, {L"j", L"added"}};
            EXPECT_FALSE(store->PutAll(file.wstring(), L"A", entries));
        }
        std::ifstream in(file, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST(ProfileStoreAgreement, CodePage1252MatchesTheSystemConversion) {
    std::string everyByte;
    for (int byte = 1; byte <= 0xFF; ++byte) everyByte.push_back(static_cast<char>(byte));
    std::wstring widened(everyByte.size(), L'\0');
    MultiByteToWideChar(1252, 0, everyByte.data(), static_cast<int>(everyByte.size()), widened.data(),
                        static_cast<int>(widened.size()));
    EXPECT_EQ(DecodeWindows1252(everyByte), widened);

    std::wstring everyUnit;
    for (wchar_t unit = 1; unit != 0; ++unit) everyUnit.push_back(unit);
    std::string narrowed(everyUnit.size(), '\0');
    WideCharToMultiByte(1252, 0, everyUnit.data(), static_cast<int>(everyUnit.size()), narrowed.data(),
                        static_cast<int>(narrowed.size()), nullptr, nullptr);
    EXPECT_EQ(EncodeWindows1252(everyUnit), narrowed);
}

}  // namespace
}  // namespace orvika2
