#include <gtest/gtest.h>

#include <optional>

#include "desktop/update_check.h"
#include "desktop/update_config.h"
#include "platform/update_download.h"
#include "tests/support/fake_clock.h"
#include "tests/support/memory_profile_store.h"

namespace orvika2 {
namespace {

using testing::MemoryProfileStore;

TEST(UpdateVersions, NumbersCompareOneByOneFromTheFirst) {
    const struct {
        const wchar_t* remote;
        const wchar_t* own;
        std::strong_ordering order;
    } cases[] = {
        {L"1.0.14.821", L"1.0.14.821", std::strong_ordering::equal},
        {L"1.0.14.822", L"1.0.14.821", std::strong_ordering::greater},
        {L"1.0.15.101", L"1.0.14.821", std::strong_ordering::greater},
        {L"1.0.14.1002", L"1.0.14.821", std::strong_ordering::greater},  // read whole, 14.1002 was below 14.821
        {L"2.0.14.821", L"1.0.14.821", std::strong_ordering::greater},   // the major part counts
        {L"1.0.14.820", L"1.0.14.821", std::strong_ordering::less},
        {L"0.9.99.999", L"1.0.0.0", std::strong_ordering::less},
        {L"1.0", L"1.0.0.0", std::strong_ordering::equal},  // missing parts are 0
        {L"1.0.14.821.1", L"1.0.14.821", std::strong_ordering::greater},
        {L"1.0.14.821", L"", std::strong_ordering::greater},  // own version unknown
        {L"", L"1.0.14.821", std::strong_ordering::less},
        {L"", L"", std::strong_ordering::equal},
        {L"beta", L"0.0.0.0", std::strong_ordering::equal},
        {L" 1.2", L"1.2", std::strong_ordering::equal},
        {L"1.0.14.821b", L"1.0.14.821", std::strong_ordering::equal},
        {L"99999999999.0", L"4294967295.1", std::strong_ordering::less},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareVersions(c.remote, c.own), c.order) << c.remote << " vs " << c.own;
    }
}

class UpdateCheck : public ::testing::Test {
protected:
    // Serves the description file with this version, or fails without one.
    UpdateOutcome Check(std::optional<std::wstring> served, const std::wstring& own, LanguageId language,
                        std::wstring tempFolder = L"C:\\Temp\\", std::wstring server = L"http://127.0.0.1:8000") {
        const UpdateCheckInputs inputs{
            .download =
                [&](const std::wstring& url, const std::wstring& path) {
                    requestedUrl = url;
                    localPath = path;
                    if (!served) return false;
                    if (!served->empty()) store.Put(path, L"Orvika2", L"Version", *served);
                    return true;
                },
            .store = store,
            .addresses = UpdateAddressesOn(server),
            .tempFolder = std::move(tempFolder),
            .fallbackFolder = L"C:\\Users\\u\\AppData\\Roaming\\Orvika2\\",
            .ownVersion = own,
            .language = language,
        };
        return DecideUpdate(inputs);
    }

    MemoryProfileStore store;
    std::wstring requestedUrl, localPath;
};

TEST_F(UpdateCheck, TheDescriptionFileComesFromTheServerIntoAnAbsoluteFolder) {
    Check(L"1.0.14.821", L"1.0.14.821", kLangEnglish);
    EXPECT_EQ(requestedUrl, L"http://127.0.0.1:8000/html/Trial/Orvika2/checkVersion.ini");
    const struct {
        const wchar_t* temp;
        const wchar_t* fallback;
        std::optional<std::wstring> local;
    } cases[] = {
        {L"C:\\Temp\\", L"D:\\Data\\", L"C:\\Temp\\checkVersion.ini"},
        {L"\\\\server\\tmp", L"D:\\Data\\", L"\\\\server\\tmp\\checkVersion.ini"},
        {L"", L"D:\\Data\\", L"D:\\Data\\checkVersion.ini"},  // no temporary folder: never the current one
        {L"Temp\\", L"D:\\Data", L"D:\\Data\\checkVersion.ini"},
        {L"C:Temp\\", L"d:/Data/", L"d:/Data/checkVersion.ini"},
        {L"", L"", std::nullopt},
        {L"\\Temp\\", L"\\\\", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpdateLocalPath(c.temp, c.fallback), c.local) << c.temp << " / " << c.fallback;
    }
    localPath.clear();
    EXPECT_EQ(Check(L"1.0.14.821", L"1.0.14.821", kLangEnglish, L"").messageId, IDS_NEWEST_VERSION_QUESTION);
    EXPECT_EQ(localPath, L"C:\\Users\\u\\AppData\\Roaming\\Orvika2\\checkVersion.ini");
}

TEST_F(UpdateCheck, OnlyWebAddressesAreFetchedOrOffered) {
    for (const wchar_t* server : {L"file:///C:/Users/Public", L"javascript:alert(1)//", L"pages", L"\\\\host\\share",
                                  L"ftp://127.0.0.1", L"https://", L"http:// 127.0.0.1", L""}) {
        requestedUrl.clear();
        const UpdateOutcome outcome = Check(L"9.0", L"1.0.14.821", kLangEnglish, L"C:\\Temp\\", server);
        EXPECT_EQ(outcome.messageId, IDS_UPDATE_CHECK_FAILED) << server;
        EXPECT_TRUE(outcome.downloadPage.empty()) << server;
        EXPECT_TRUE(requestedUrl.empty()) << server << " was fetched";
    }
    EXPECT_EQ(Check(L"9.0", L"1.0.14.821", kLangEnglish, L"C:\\Temp\\", L"HTTPS://updates.example:8443").messageId,
              IDS_NEW_VERSION_QUESTION);
}

TEST_F(UpdateCheck, OutcomeFollowsTheDownloadAndTheVersions) {
    const struct {
        std::optional<std::wstring> served;
        const wchar_t* own;
        int message;
    } cases[] = {
        {std::nullopt, L"1.0.14.821", IDS_UPDATE_CHECK_FAILED},
        {L"1.0.14.821", L"1.0.14.821", IDS_NEWEST_VERSION_QUESTION},
        {L"1.0.14.822", L"1.0.14.821", IDS_NEW_VERSION_QUESTION},
        {L"1.0.14.1002", L"1.0.14.821", IDS_NEW_VERSION_QUESTION},
        {L"", L"1.0.14.821", IDS_NEWEST_VERSION_QUESTION},  // no Version key
        {L"1.0.14.821", L"", IDS_NEW_VERSION_QUESTION},     // no version resource
    };
    for (const auto& c : cases) {
        MemoryProfileStore fresh;
        std::swap(store, fresh);
        EXPECT_EQ(Check(c.served, c.own, kLangEnglish).messageId, c.message)
            << (c.served ? *c.served : L"(failed)") << " vs " << c.own;
    }
}

TEST_F(UpdateCheck, BothQuestionsOpenTheSamePageInTheInterfacesLanguage) {
    const UpdateAddresses addresses = UpdateAddressesOn(L"http://127.0.0.1:8000");
    EXPECT_NE(addresses.englishPage, addresses.chinesePage);
    for (const auto* served : {L"1.0.14.821", L"9.0"}) {
        EXPECT_EQ(Check(served, L"1.0.14.821", kLangEnglish).downloadPage, addresses.englishPage);
        EXPECT_EQ(Check(served, L"1.0.14.821", kLangTraditionalChinese).downloadPage, addresses.chinesePage);
        EXPECT_EQ(Check(served, L"1.0.14.821", kLangSimplifiedChinese).downloadPage, addresses.chinesePage);
    }
    EXPECT_TRUE(Check(std::nullopt, L"1.0.14.821", kLangEnglish).downloadPage.empty());
}

TEST(UpdateAddresses, AllPagesLiveOnTheConfiguredServer) {
    const UpdateAddresses local = UpdateAddressesOn(L"http://127.0.0.1:8000/");
    EXPECT_EQ(local.descriptionUrl, L"http://127.0.0.1:8000/html/Trial/Orvika2/checkVersion.ini");
    for (const auto& page : {local.chinesePage, local.englishPage}) {
        EXPECT_TRUE(page.starts_with(L"http://127.0.0.1:8000/")) << page;
    }
    const UpdateAddresses built = UpdateAddressesOn(kUpdateServer);
    EXPECT_TRUE(built.descriptionUrl.starts_with(kUpdateServer));
    EXPECT_EQ(WebAddressScheme(built.descriptionUrl), WebScheme::Https) << "the build's server is reached over TLS";
}

TEST(UpdateDownloadRules, OnlyAbsoluteHttpAndHttpsAddressesCount) {
    const struct {
        const wchar_t* address;
        WebScheme scheme;
    } cases[] = {
        {L"https://updates.example/html/a.html", WebScheme::Https},
        {L"http://127.0.0.1:8000/x?y#z", WebScheme::Http},
        {L"http://user@host/", WebScheme::Http},
        {L"file:///C:/Windows/System32/calc.exe", WebScheme::None},
        {L"javascript:alert(1)", WebScheme::None},
        {L"download_en.html", WebScheme::None},
        {L"C:\\Windows\\System32\\calc.exe", WebScheme::None},
        {L"https:calc.exe", WebScheme::None},
        {L"http:///C:/x", WebScheme::None},
        {L"http://:80/", WebScheme::None},
        {L"http://host/a b", WebScheme::None},
        {L"http://host/\ncalc", WebScheme::None},
        {L" http://host/", WebScheme::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WebAddressScheme(c.address), c.scheme) << c.address;
        EXPECT_EQ(IsWebAddress(c.address), c.scheme != WebScheme::None) << c.address;
    }
}

TEST(UpdateDownloadRules, AnHttpsDownloadIsNotHandedToPlainHttp) {
    const struct {
        const wchar_t* requested;
        const wchar_t* answeredBy;
        bool kept;
    } cases[] = {
        {L"https://a.example/v.ini", L"https://a.example/v.ini", true},
        {L"https://a.example/v.ini", L"https://mirror.example/v.ini", true},
        {L"https://a.example/v.ini", L"http://a.example/v.ini", false},
        {L"https://a.example/v.ini", L"", false},
        {L"http://a.example/v.ini", L"http://b.example/v.ini", true},
        {L"http://a.example/v.ini", L"ftp://a.example/v.ini", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeepsItsSecurity(c.requested, c.answeredBy), c.kept) << c.requested << " -> " << c.answeredBy;
    }
}

TEST(UpdateDownloadRules, TheBodyIsCappedAt64KiB) {
    const std::string piece(10240, 'x');
    DownloadBody body;
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(body.Append(piece.data(), piece.size()));
    ASSERT_TRUE(body.Append(piece.data(), kMaxDownloadBytes - body.bytes().size()));
    EXPECT_EQ(body.bytes().size(), 65536u);
    EXPECT_TRUE(body.Append(piece.data(), 0));
    EXPECT_FALSE(body.Append(piece.data(), 1)) << "one byte past the limit";
    EXPECT_EQ(body.bytes().size(), 65536u);
}

TEST(UpdateDownloadRules, EveryStepWaitsOnlyWhatIsLeftOfTheDeadline) {
    testing::FakeClock clock;
    clock.Advance(0xFFFFFFFFu - 3000);  // the tick wraps during the download
    const DownloadDeadline deadline(clock, kDownloadDeadlineMs);
    const struct {
        std::uint32_t advanceMs;
        std::uint32_t step;
        std::uint32_t timeout;
    } steps[] = {
        {0, kConnectTimeoutMs, 2000}, {0, kDownloadDeadlineMs, 10000}, {8500, kConnectTimeoutMs, 1500},
        {1499, 5000, 1},              {1, 5000, 0},                     {60000, 5000, 0},
    };
    for (const auto& s : steps) {
        clock.Advance(s.advanceMs);
        EXPECT_EQ(deadline.TimeoutFor(s.step), s.timeout) << "after " << s.advanceMs;
    }
}

}  // namespace
}  // namespace orvika2
