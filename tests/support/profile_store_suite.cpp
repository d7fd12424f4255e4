#include "tests/support/profile_store_suite.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace orvika2::testing {

std::string ProfileStoreName(const ::testing::TestParamInfo<ProfileStoreImplementation>& info) {
    return info.param.name;
}

void ProfileStoreSuite::WriteBytes(const std::wstring& name, std::string_view bytes) const {
    std::ofstream out(FileOf(name), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ProfileStoreSuite::ReadBytes(const std::wstring& name) const {
    std::ifstream in(FileOf(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Utf16LeFile(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

#ifndef _WIN32
std::optional<bool> RunWithFileSizeLimit(std::uintmax_t bytes, const std::function<bool()>& action) {
    const pid_t child = fork();
    if (child == 0) {
        // A write beyond the limit then fails with EFBIG instead of killing the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
        _exit(action() ? 1 : 0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        return std::nullopt;
    }
    return WEXITSTATUS(status) == 1;
}
#endif

namespace {

constexpr std::string_view kConfigExample =
    "[HotKey_OTP]\r\nVirtualKeyCode=81\r\nfsModifiers=2\r\n"
    "[HotKey_Switch]\r\nVirtualKeyCode=83\r\nfsModifiers=1\r\n"
    "[Language]\r\nID=en\r\n"
    "[000a1bff]\r\nConfig1=Google\r\nConfig2=StaticPassword\r\n";

TEST_P(ProfileStoreSuite, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(store().Get(PathOf(L"absent.ini"), L"A", L"k"), L"");
    EXPECT_FALSE(std::filesystem::exists(FileOf(L"absent.ini")));

    WriteBytes(L"t.ini", "[A]\r\nk=v\r\nflag\r\n[Empty]\r\n");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"k"), L"v");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"B", L"k"), L"");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"missing"), L"");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"flag"), L"");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"Empty", L"k"), L"");
}

TEST_P(ProfileStoreSuite, FirstWriteCreatesAnAnsiFileWithCrlf) {
    const std::wstring name = L"pr\u00fcfung.ini";
    ASSERT_TRUE(store().Put(PathOf(name), L"Sec", L"Key", L"Caf\u00e9"));
    EXPECT_EQ(ReadBytes(name), "[Sec]\r\nKey=Caf\xE9\r\n");
    EXPECT_EQ(store().Get(PathOf(name), L"Sec", L"Key"), L"Caf\u00e9");
}

TEST_P(ProfileStoreSuite, WriteIntoAMissingFolderFails) {
    EXPECT_FALSE(store().Put(PathOf(L"no-such-folder/t.ini"), L"A", L"k", L"v"));
    EXPECT_FALSE(std::filesystem::exists(FileOf(L"no-such-folder")));
}

TEST_P(ProfileStoreSuite, NamesMatchWithoutRegardToCaseOrBlanks) {
    WriteBytes(L"t.ini", "[HotKey_OTP]\r\nVirtualKeyCode=81\r\n[\xDC" "ber]\r\n\xC4nderung=1\r\n");
    const struct {
        std::wstring_view section, key, expected;
    } cases[] = {
        {L"hotkey_otp", L"virtualkeycode", L"81"},
        {L"HOTKEY_OTP", L"VIRTUALKEYCODE", L"81"},
        {L"  HotKey_OTP\t", L" VirtualKeyCode ", L"81"},
        {L"HotKey_OTP", L"VirtualKeyCod", L""},
        {L"\u00dc" L"BER", L"\u00c4nderung", L"1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store().Get(PathOf(L"t.ini"), c.section, c.key), c.expected) << std::string(c.key.begin(), c.key.end());
    }

    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"hotkey_otp", L"VIRTUALKEYCODE", L"82"));
    EXPECT_EQ(ReadBytes(L"t.ini"), "[HotKey_OTP]\r\nVirtualKeyCode=82\r\n[\xDC" "ber]\r\n\xC4nderung=1\r\n");
}

TEST_P(ProfileStoreSuite, ValuesComeBackWithoutSurroundingBlanksOrEnclosingQuotes) {
    WriteBytes(L"t.ini",
               "[A]\r\n"
               "spaces=  x  \r\ntabs=\tx\t\r\naround = x\r\ninner=x  y\r\nempty=\r\nblank=   \r\n"
               "double=\"x\"\r\nsingle='x'\r\nloneDouble=\"\r\nloneSingle='\r\nmixed=\"x'\r\nopenOnly=\"x\r\n"
               "quotesOnly=\"\"\r\npadded=  \"x\"  \r\nquotedBlanks=\" x \"\r\ninnerQuote=\"a\" b\"\r\n");
    const struct {
        std::wstring_view key, expected;
    } cases[] = {
        {L"spaces", L"x"},       {L"tabs", L"x"},          {L"around", L"x"},          {L"inner", L"x  y"},
        {L"empty", L""},         {L"blank", L""},          {L"double", L"x"},          {L"single", L"x"},
        {L"loneDouble", L"\""},  {L"loneSingle", L"'"},    {L"mixed", L"\"x'"},        {L"openOnly", L"\"x"},
        {L"quotesOnly", L""},    {L"padded", L"x"},        {L"quotedBlanks", L" x "},  {L"innerQuote", L"a\" b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", c.key), c.expected) << std::string(c.key.begin(), c.key.end());
    }

    // What the store writes itself comes back as it was.
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"A", L"written", L"'secret'"));
    EXPECT_NE(ReadBytes(L"t.ini").find("written=\"'secret'\"\r\n"), std::string::npos);
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"written"), L"'secret'");
}

TEST_P(ProfileStoreSuite, WrittenValuesReadBackExactly) {
    std::vector<std::wstring> values = {
        L"\"abcd\"", L"'pass1'", L"\"", L"'", L"\"\"", L"''", L"\"'", L" lead", L"trail ", L"\tx\t", L" ",
        L"\" x \"", L"a\"", L"\"a", L"\"\"x\"\"", L"x\x1a", L"\x0bx\x0c", L"a = b", L";x", L"[x]", L"#x#",
        L"\u00a0x\u00a0",
    };
    // Every printable character alone, around a letter and beside one.
    for (wchar_t c = L' '; c <= L'~'; ++c) {
        for (const std::wstring shape : {L"c", L"cxc", L"cx", L"xc"}) {
            std::wstring value = shape;
            std::replace(value.begin(), value.end(), L'c', c);
            values.push_back(value);
        }
    }
    WriteBytes(L"t.ini", "[Other]\r\nk=  kept  \r\n");
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"A", L"k" + std::to_wstring(i), values[i]));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"k" + std::to_wstring(i)), values[i]) << "value " << i;
    }
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"Other", L"k"), L"kept");
}

TEST_P(ProfileStoreSuite, RefusesEntriesThatWouldChangeOtherLines) {
    const std::string before = "[A]\r\nk=1\r\n[B]\r\nk=2\r\n";
    WriteBytes(L"t.ini", before);
    const struct {
        std::wstring_view section, key, value;
    } refused[] = {
        {L"A", L"k", L"x\r\n[B]\r\nk=injected"},
        {L"A", L"k", L"x\ny"},
        {L"A", L"k", L"x\ry"},
        {L"A", L"k", std::wstring_view(L"x\0y", 3)},
        {L"A", L"k\r\n[B]\r\nk", L"v"},
        {L"A\n[B]", L"k", L"v"},
        {std::wstring_view(L"A\0B", 3), L"k", L"v"},
        {L"A", L"k=x", L"v"},
        {L"A", L"[B]", L"v"},
        {L"A", L" [B", L"v"},
        {L"", L"\u00ff\u00fek", L"v"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(store().Put(PathOf(L"t.ini"), r.section, r.key, r.value)) << std::string(r.key.begin(), r.key.end());
        EXPECT_FALSE(store().Put(PathOf(L"new.ini"), r.section, r.key, r.value));
    }
    EXPECT_EQ(ReadBytes(L"t.ini"), before);
    EXPECT_FALSE(std::filesystem::exists(FileOf(L"new.ini")));

    // Brackets elsewhere in a name are no line of their own.
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"x]y", L"k]", L"v"));
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"x]y", L"k]"), L"v");
}

TEST_P(ProfileStoreSuite, PutAllWritesEveryEntryOrNone) {
    WriteBytes(L"t.bcp", "[Notes]\r\nOwner=me\r\n[Orvika2_BACKUP]\r\nMode=STATIC\r\nKey=old\r\n");
    const ProfileStore::Entry refusedLast[] = {{L"Mode", L"OTP"}, {L"Key", L"NEWKEY"}, {L"Account", L"a\r\nb"}};
    EXPECT_FALSE(store().PutAll(PathOf(L"t.bcp"), L"Orvika2_BACKUP", refusedLast));
    EXPECT_EQ(store().Get(PathOf(L"t.bcp"), L"Orvika2_BACKUP", L"Mode"), L"STATIC");

    const ProfileStore::Entry entries[] = {{L"Mode", L"OTP"}, {L"Key", L"NEWKEY"}, {L"Account", L" 'G' "}};
    ASSERT_TRUE(store().PutAll(PathOf(L"t.bcp"), L"Orvika2_BACKUP", entries));
    EXPECT_EQ(ReadBytes(L"t.bcp"),
              "[Notes]\r\nOwner=me\r\n[Orvika2_BACKUP]\r\nMode=OTP\r\nKey=NEWKEY\r\nAccount=\" 'G' \"\r\n");
    EXPECT_EQ(store().Get(PathOf(L"t.bcp"), L"Orvika2_BACKUP", L"Account"), L" 'G' ");

    // A removal in the same change; a missing key is simply not there.
    const ProfileStore::Entry sealed[] = {{L"Sealed", L"v1"}, {L"Key", std::nullopt}, {L"Gone", std::nullopt}};
    ASSERT_TRUE(store().PutAll(PathOf(L"t.bcp"), L"Orvika2_BACKUP", sealed));
    EXPECT_EQ(ReadBytes(L"t.bcp"),
              "[Notes]\r\nOwner=me\r\n[Orvika2_BACKUP]\r\nMode=OTP\r\nAccount=\" 'G' \"\r\nSealed=v1\r\n");
}

TEST_P(ProfileStoreSuite, ReadsAtMost259Characters) {
    const std::string longValue = std::string(258, 'a') + "bc" + std::string(40, 'd');
    WriteBytes(L"t.ini", "[A]\r\nlong=" + longValue + "\r\nexact=" + longValue.substr(0, 259) + "\r\n");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"long"), std::wstring(258, L'a') + L"b");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"exact"), std::wstring(258, L'a') + L"b");

    const std::wstring written(300, L'w');
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"A", L"put", written));
    EXPECT_NE(ReadBytes(L"t.ini").find("put=" + std::string(300, 'w') + "\r\n"), std::string::npos);
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"put"), written.substr(0, 259));
    // A reader that takes more says so.
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"put", 1500), written);
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"long", 299), std::wstring(258, L'a') + L"bc" + std::wstring(39, L'd'));
}

TEST_P(ProfileStoreSuite, OverwriteChangesOnlyThatLine) {
    const std::string before =
        "top=1\r\n;comment\r\n[A]\r\nfirst=1\r\nbare line\r\n; note=x\r\nsecond=2\r\n[B]\r\nsecond=3\r\n";
    WriteBytes(L"t.ini", before);
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"A", L"second", L"two"));
    EXPECT_EQ(ReadBytes(L"t.ini"),
              "top=1\r\n;comment\r\n[A]\r\nfirst=1\r\nbare line\r\n; note=x\r\nsecond=two\r\n[B]\r\nsecond=3\r\n");

    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"A", L"bare line", L"now set"));
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"bare line"), L"now set");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"B", L"second"), L"3");
}

TEST_P(ProfileStoreSuite, NewKeyGoesToTheEndOfItsSectionAndNewSectionToTheEndOfTheFile) {
    WriteBytes(L"t.ini", "[A]\r\na=1\r\n;note\r\n[B]\r\nb=1");
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"A", L"c", L"3"));
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"B", L"d", L"4"));
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"New", L"e", L"5"));
    EXPECT_EQ(ReadBytes(L"t.ini"), "[A]\r\na=1\r\n;note\r\nc=3\r\n[B]\r\nb=1\r\nd=4\r\n[New]\r\ne=5\r\n");

    WriteBytes(L"u.ini", "[A]\r\na=1");
    ASSERT_TRUE(store().Put(PathOf(L"u.ini"), L"New", L"e", L"5"));
    EXPECT_EQ(ReadBytes(L"u.ini"), "[A]\r\na=1\r\n[New]\r\ne=5\r\n");
}

TEST_P(ProfileStoreSuite, Utf16LeFileIsReadAndWrittenAsUtf16Le) {
    WriteBytes(L"t.ini", Utf16LeFile(u"[A]\r\nk=\u4e2d\u6587\r\n"));
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"k"), L"\u4e2d\u6587");

    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"A", L"j", L"\u00e9\u0101\u4e2d"));
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"\u0411", L"emoji", L"\U0001F600"));
    EXPECT_EQ(ReadBytes(L"t.ini"),
              Utf16LeFile(u"[A]\r\nk=\u4e2d\u6587\r\nj=\u00e9\u0101\u4e2d\r\n[\u0411]\r\nemoji=\U0001F600\r\n"));
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"\u0411", L"EMOJI"), L"\U0001F600");
}

TEST_P(ProfileStoreSuite, AnsiFileKeepsItsBytesAndTakesSubstitutes) {
    std::string everyHighByte;
    for (int byte = 0x80; byte <= 0xFF; ++byte) everyHighByte.push_back(static_cast<char>(byte));
    const std::string before = "[A]\r\nk=Caf\xE9 \x80\r\nall=" + everyHighByte + "\r\n";
    WriteBytes(L"t.ini", before);
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"k"), L"Caf\u00e9 \u20ac");

    // Best-fit look-alike for a Latin letter, '?' for what has none, one per
    // UTF-16 unit.
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"A", L"j", L"Zo\u00eb \u0101\uff21\u4e2d\U0001F600"));
    EXPECT_EQ(ReadBytes(L"t.ini"), before + "j=Zo\xEB aA???\r\n");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"j"), L"Zo\u00eb aA???");
}

TEST_P(ProfileStoreSuite, FirstSectionAndKeyOfSeveralWin) {
    WriteBytes(L"t.ini", "[A]\r\nk=1\r\nk=2\r\n[B]\r\nb=1\r\n[a]\r\nk=3\r\nonlyInSecond=4\r\n");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"k"), L"1");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"onlyInSecond"), L"");
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"a", L"K", L"x"));
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"A", L"onlyInSecond", L"y"));
    EXPECT_EQ(ReadBytes(L"t.ini"), "[A]\r\nk=x\r\nk=2\r\nonlyInSecond=y\r\n[B]\r\nb=1\r\n[a]\r\nk=3\r\nonlyInSecond=4\r\n");
}

TEST_P(ProfileStoreSuite, KeysWithoutSectionRoundTrip) {
    WriteBytes(L"t.ini", "[A]\r\nk=1\r\n");
    ASSERT_TRUE(store().Put(PathOf(L"t.ini"), L"", L"Config1", L"Google"));
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"", L"Config1"), L"Google");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"Config1"), L"");
    EXPECT_EQ(store().Get(PathOf(L"t.ini"), L"A", L"k"), L"1");
}

TEST_P(ProfileStoreSuite, ListsSectionNamesInFileOrder) {
    EXPECT_TRUE(store().SectionNames(PathOf(L"absent.ini")).empty());

    WriteBytes(L"t.ini", "top=1\r\n[ A ]\r\nk=1\r\n[]\r\n[B] x\r\n[a]\r\n[C\r\n[ ]\r\n[D]\r\n");
    EXPECT_EQ(store().SectionNames(PathOf(L"t.ini")), (std::vector<std::wstring>{L"A", L"B", L"a", L"D"}));

    // More names than a first guess at the buffer holds.
    std::string many;
    std::vector<std::wstring> expected;
    for (int i = 0; i < 1500; ++i) {
        many += "[section" + std::to_string(i) + "]\r\n";
        expected.push_back(L"section" + std::to_wstring(i));
    }
    WriteBytes(L"many.ini", many);
    EXPECT_EQ(store().SectionNames(PathOf(L"many.ini")), expected);
}

TEST_P(ProfileStoreSuite, WritesTheConfigurationFileInItsDocumentedShape) {
    const struct {
        std::wstring_view section, key, value;
    } writes[] = {
        {L"HotKey_OTP", L"VirtualKeyCode", L"81"}, {L"HotKey_OTP", L"fsModifiers", L"2"},
        {L"HotKey_Switch", L"VirtualKeyCode", L"83"}, {L"HotKey_Switch", L"fsModifiers", L"1"},
        {L"Language", L"ID", L"en"}, {L"000a1bff", L"Config1", L"Google"},
        {L"000a1bff", L"Config2", L"NotConfigured"}, {L"000A1BFF", L"config2", L"StaticPassword"},
    };
    for (const auto& w : writes) ASSERT_TRUE(store().Put(PathOf(L"Orvika2Config.ini"), w.section, w.key, w.value));
    EXPECT_EQ(ReadBytes(L"Orvika2Config.ini"), kConfigExample);
    for (const auto& w : writes) {
        if (w.value == L"NotConfigured") continue;
        EXPECT_EQ(store().Get(PathOf(L"Orvika2Config.ini"), w.section, w.key), w.value);
    }
}

}  // namespace
}  // namespace orvika2::testing
