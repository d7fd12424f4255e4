#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>
#include <iterator>

#include "settings/profile_file_engine.h"
#include "settings/profile_file_text.h"
#include "settings/profile_store_replacement.h"
#include "settings/windows1252.h"
#include "tests/support/profile_store_suite.h"
#include "tests/support/temp_dir.h"

namespace orvika2 {
namespace {

using testing::ProfileStoreImplementation;
using testing::ProfileStoreSuite;

INSTANTIATE_TEST_SUITE_P(Engine, ProfileStoreSuite,
                         ::testing::Values(ProfileStoreImplementation{"Portable", &MakePortableProfileStore}),
                         testing::ProfileStoreName);

// Where the Win32 functions rewrite the whole file (under Wine), the engine
// changes one line and leaves the others as they were.
TEST(ProfileFileText, LeavesUntouchedLinesAsTheyWere) {
    const std::wstring text = L"[A]\na = 1\n\n[B]\r  b=2\r\n\r\n";
    EXPECT_EQ(WriteProfileValue(text, L"A", L"a", L"9"), L"[A]\na=9\n\n[B]\r  b=2\r\n\r\n");
    EXPECT_EQ(WriteProfileValue(text, L"A", L"new", L"3"), L"[A]\na = 1\nnew=3\r\n\n[B]\r  b=2\r\n\r\n");
    EXPECT_EQ(WriteProfileValue(text, L"B", L"new", L"3"), L"[A]\na = 1\n\n[B]\r  b=2\r\nnew=3\r\n\r\n");
    EXPECT_EQ(WriteProfileValue(text, L"A", L"a", L"1"), text);
}

TEST(ProfileFileText, NamesAndValuesLoseLeadingBlanksWhenWritten) {
    EXPECT_EQ(WriteProfileValue(L"", L" S ", L"\tK ", L"  v "), L"[S ]\r\nK =v \r\n");
    EXPECT_EQ(WriteProfileValue(L"[A]\r\n", L"", L"k", L"v"), L"k=v\r\n[A]\r\n");
}

TEST(ProfileFileText, SectionLinesAndBlanks) {
    const std::wstring text =
        L"[ Spaced ]\r\nk=1\r\n[Tail] comment\r\nk=2\r\n[Open\r\nk=3\r\n[Z]\r\nnbsp=\u00a0x\u00a0\r\nctrlz=\x1ax\x1a\r\n";
    EXPECT_EQ(ReadProfileValue(text, L"spaced", L"k"), L"1");
    EXPECT_EQ(ReadProfileValue(text, L"Tail", L"k"), L"2");
    EXPECT_EQ(ReadProfileValue(text, L"Open", L"k"), L"");  // "[Open" is a key of [Tail]
    EXPECT_EQ(ReadProfileValue(text, L"z", L"nbsp"), L"\u00a0x\u00a0");
    EXPECT_EQ(ReadProfileValue(text, L"z", L"ctrlz"), L"x");
}

#ifndef _WIN32
// A write that does not fit (a quota, a full disk) must leave every other
// token's section as it was and say that it failed.
TEST(ProfileFileQuota, AFailedWriteLeavesTheFileAsItWas) {
    const testing::TempDir dir;
    const auto file = dir.path() / "Orvika2Config.ini";
    const std::string before =
        "[HotKey_OTP]\r\nVirtualKeyCode=81\r\nfsModifiers=2\r\n[000a1bff]\r\nConfig1=Google\r\n"
        "[00c0ffee]\r\nConfig1=GitHub\r\nConfig2=StaticPassword\r\n";
    std::ofstream(file, std::ios::binary) << before;
    const auto store = MakePortableProfileStore();
    const std::wstring path = WideFromPath(file);

    const auto longName = [&] { return store->Put(path, L"000a1bff", L"Config1", std::wstring(200, L'n')); };
    EXPECT_EQ(testing::RunWithFileSizeLimit(before.size() + 16, longName), std::optional<bool>(false));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file stayed";

    EXPECT_EQ(testing::RunWithFileSizeLimit(before.size() + 300, longName), std::optional<bool>(true));
    EXPECT_EQ(store->Get(path, L"000a1bff", L"Config1"), std::wstring(200, L'n'));
    EXPECT_EQ(store->Get(path, L"00c0ffee", L"Config2"), L"StaticPassword");
}

// Files that can hold a secret are owner-only from their creation, whatever
// the umask, and a symbolic link is never written through.
TEST(ProfileFileModes, NewFilesAndTheirTemporaryFilesAreOwnerOnly) {
    const testing::TempDir dir;
    const mode_t umaskBefore = ::umask(022);
    const auto modeOf = [](const std::filesystem::path& path) {
        struct stat status {};
        return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 07777;
    };
    const auto store = MakePortableProfileStore();
    const auto backup = dir.path() / "p1.bcp";
    {
        auto replacement = FileReplacement::Begin(backup);
        ASSERT_TRUE(replacement);
        EXPECT_EQ(modeOf(replacement->temporary()), 0600u) << "a temporary file left by a crash";
    }
    ASSERT_TRUE(store->Put(WideFromPath(backup), L"Orvika2_BACKUP", L"Key", L"SECRET"));
    EXPECT_EQ(modeOf(backup), 0600u);
    const struct {
        mode_t before, after;
    } modes[] = {{0644, 0600}, {0640, 0600}, {0400, 0400}, {0600, 0600}};
    for (const auto& m : modes) {
        ASSERT_EQ(::chmod(backup.c_str(), m.before), 0);
        ASSERT_TRUE(store->Put(WideFromPath(backup), L"Orvika2_BACKUP", L"Key", L"S" + std::to_wstring(m.before)));
        EXPECT_EQ(modeOf(backup), m.after) << std::oct << m.before;
    }
    ::umask(umaskBefore);

    const auto elsewhere = dir.path() / "elsewhere.ini";
    std::ofstream(elsewhere, std::ios::binary) << "[A]\r\nk=1\r\n";
    const auto link = dir.path() / "link.bcp";
    std::filesystem::create_symlink(elsewhere, link);
    EXPECT_FALSE(store->Put(WideFromPath(link), L"A", L"k", L"2"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(store->Get(WideFromPath(elsewhere), L"A", L"k"), L"1");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3) << "a temporary file stayed";
}
#endif

// Windows reads a UTF-8 byte-order mark as three 8-bit characters; Wine
// would take the file for UTF-8.
TEST(ProfileFileEncoding, Utf8MarkIsPlain8BitText) {
    const std::string bytes = "\xEF\xBB\xBFk=1\r\n[A]\r\nk=\xC3\xA9\r\n";
    const ProfileFileText file = DecodeProfileFile(bytes);
    EXPECT_EQ(file.encoding, ProfileFileEncoding::Ansi);
    EXPECT_EQ(ReadProfileValue(file.text, L"", L"k"), L"");
    EXPECT_EQ(ReadProfileValue(file.text, L"A", L"k"), L"\u00c3\u00a9");
    EXPECT_EQ(EncodeProfileFile(file), bytes);
}

}  // namespace
}  // namespace orvika2
