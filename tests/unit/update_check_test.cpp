#include <gtest/gtest.h>

#include <optional>

#include "desktop/clock_check.h"
#include "desktop/update_check.h"
#include "desktop/update_config.h"
#include "platform/update_download.h"
#include "settings/clock_correction.h"
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

TEST(ClockCheck, OnlyAnImfFixdateIsRead) {
    const struct {
        const wchar_t* date;
        std::optional<std::int64_t> seconds;
    } cases[] = {
        {L"Sun, 06 Nov 1994 08:49:37 GMT", 784111777},
        {L"Thu, 01 Jan 1970 00:00:00 GMT", 0},
        {L"Tue, 29 Feb 2028 12:00:00 GMT", 1835438400},   // a leap day
        {L"Sat, 01 Jan 2000 00:00:00 GMT", 946684800},    // a century that is a leap year
        {L"Fri, 31 Dec 2021 23:59:60 GMT", 1640995200},   // a leap second counts as the next one
        {L"Wed, 18 May 2033 03:33:20 GMT", 2000000000},
        {L"Mon, 06 Nov 1994 08:49:37 GMT", std::nullopt},  // not a Monday
        {L"Sun, 29 Feb 2027 12:00:00 GMT", std::nullopt},  // no such day
        {L"Thu, 01 Mar 1900 00:00:00 GMT", std::nullopt},  // before the epoch
        {L"Sun, 06 Nov 1994 24:00:00 GMT", std::nullopt},
        {L"Sun, 06 Nov 1994 08:60:37 GMT", std::nullopt},
        {L"Sun, 06 Nov 1994 08:49:37 UTC", std::nullopt},
        {L"Sun, 06 nov 1994 08:49:37 GMT", std::nullopt},
        {L"Sun, 6 Nov 1994 08:49:37 GMT", std::nullopt},
        {L"Sun, 06 Nov 1994 08:49:37 GMT ", std::nullopt},
        {L"Sunday, 06-Nov-94 08:49:37 GMT", std::nullopt},  // the obsolete forms
        {L"Sun Nov  6 08:49:37 1994", std::nullopt},
        {L"Sun, 06 Nov +994 08:49:37 GMT", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseHttpDate(c.date), c.seconds) << c.date;
    }
}

TEST(ClockCheck, TheOffsetIsTakenAtTheMiddleOfTheRoundTrip) {
    constexpr const wchar_t* kDate = L"Wed, 18 May 2033 03:33:20 GMT";  // 2'000'000'000
    constexpr std::int64_t kAt = 2'000'000'000'000;
    const struct {
        const wchar_t* date;
        std::int64_t sent, answered;
        std::optional<std::int64_t> offsetMs;
    } cases[] = {
        {kDate, kAt, kAt, 500},                           // the date is the second, cut down
        {kDate, kAt - 90'600, kAt - 89'400, 90'500},       // 90 s behind, a 1.2 s round trip
        {kDate, kAt + 44'000, kAt + 46'000, -44'500},      // 45 s ahead
        {kDate, kAt + 1000, kAt, std::nullopt},            // the clock was set back meanwhile
        {L"18 May 2033 03:33:20", kAt, kAt, std::nullopt},  // no date: no offset
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClockOffsetMs({c.date, c.sent, c.answered}), c.offsetMs) << c.sent << ".." << c.answered;
    }
}

TEST(ClockCheck, AnOffsetIsOfferedClearedOrLeft) {
    using enum ClockVerdict;
    const struct {
        std::optional<std::int64_t> offsetMs;
        std::int64_t correction;
        ClockVerdict verdict;
        std::int64_t seconds;
    } cases[] = {
        {std::nullopt, 90, Failed, 0},
        {0, 0, Right, 0},
        {5000, 0, Right, 5},
        {-14'999, 0, Right, -15},       // short of the threshold, however it rounds
        {15'000, 0, Offer, 15},
        {-15'000, 0, Offer, -15},
        {90'400, 0, Offer, 90},
        {-3'600'500, 0, Offer, -3601},  // halves round away from zero
        {4'999, 90, Cleared, 5},        // the clock was put right
        {-5'000, -45, Cleared, -5},
        {12'000, 90, Cleared, 12},      // close without it, far off with it
        {88'000, 90, Holds, 88},
        {95'000, 90, Holds, 95},
        {95'001, 90, Offer, 95},        // a later large offset replaces it
        {-90'000, 90, Offer, -90},
        {-2'147'483'647'000, 0, Offer, -2'147'483'647},
        {3'000'000'000'000, 0, Failed, 0},  // past any correction the file keeps
    };
    for (const auto& c : cases) {
        const ClockCheckOutcome outcome = JudgeClockOffset(c.offsetMs, c.correction);
        EXPECT_EQ(outcome.verdict, c.verdict) << c.offsetMs.value_or(-1) << " with " << c.correction;
        EXPECT_EQ(outcome.offsetSeconds, c.seconds) << c.offsetMs.value_or(-1) << " with " << c.correction;
    }
}

TEST(ClockCheck, OnlyTheConfiguredHttpsServerIsAskedAndAFailureChangesNothing) {
    constexpr const wchar_t* kFile = L"C:\\Users\\u\\AppData\\Roaming\\Orvika2\\Orvika2Config.ini";
    const auto answerAt = [](std::int64_t offsetSeconds) {
        const std::int64_t at = 2'000'000'000'500 - offsetSeconds * 1000;
        return ServerTimeAnswer{L"Wed, 18 May 2033 03:33:20 GMT", at, at};
    };
    const struct {
        const wchar_t* server;
        std::optional<ServerTimeAnswer> answer;
        const wchar_t* stored;  // before
        bool failWrites;
        ClockVerdict verdict;
        const wchar_t* after;
    } cases[] = {
        {L"https://127.0.0.1:8443", answerAt(90), L"", false, ClockVerdict::Offer, L""},
        {L"https://127.0.0.1:8443", answerAt(2), L"90", false, ClockVerdict::Cleared, L""},
        {L"https://127.0.0.1:8443", answerAt(2), L"90", true, ClockVerdict::Failed, L"90"},
        {L"https://127.0.0.1:8443", answerAt(-40), L"-40", false, ClockVerdict::Holds, L"-40"},
        {L"https://127.0.0.1:8443", std::nullopt, L"90", false, ClockVerdict::Failed, L"90"},
        {L"https://127.0.0.1:8443", ServerTimeAnswer{L"", 0, 0}, L"90", false, ClockVerdict::Failed, L"90"},
        {L"http://127.0.0.1:8000", answerAt(2), L"90", false, ClockVerdict::Failed, L"90"},
        {L"file:///C:/Users/Public", answerAt(2), L"90", false, ClockVerdict::Failed, L"90"},
    };
    for (const auto& c : cases) {
        MemoryProfileStore store;
        if (*c.stored) store.Put(kFile, kClockSection, kClockCorrectionKey, c.stored);
        store.failWrites = c.failWrites;
        std::wstring asked;
        const ClockCheckOutcome outcome = CheckClock({
            .ask = [&](const std::wstring& url) { asked = url; return c.answer; },
            .store = store,
            .configFile = kFile,
            .url = UpdateAddressesOn(c.server).descriptionUrl,
        });
        EXPECT_EQ(outcome.verdict, c.verdict) << c.server << " " << c.stored;
        EXPECT_EQ(store.Get(kFile, kClockSection, kClockCorrectionKey), c.after) << c.server << " " << c.stored;
        EXPECT_EQ(asked.empty(), !std::wstring_view(c.server).starts_with(L"https:")) << c.server << " asked";
        // Yes to the offer stores it; a refused write is said, not hidden.
        store.failWrites = false;
        EXPECT_EQ(AcceptClockOffer(store, kFile, outcome), c.verdict == ClockVerdict::Offer) << c.server;
        if (c.verdict == ClockVerdict::Offer) {
            EXPECT_EQ(store.Get(kFile, kClockSection, kClockCorrectionKey), L"90");
            store.failWrites = true;
            EXPECT_FALSE(AcceptClockOffer(store, kFile, outcome));
        }
    }
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
