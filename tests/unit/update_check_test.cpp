#include <gtest/gtest.h>

#include <optional>

#include "desktop/update_check.h"
#include "desktop/update_config.h"
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
                        std::wstring tempFolder = L"C:\\Temp\\") {
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
            .addresses = UpdateAddressesOn(L"http://127.0.0.1:8000"),
            .tempFolder = std::move(tempFolder),
            .ownVersion = own,
            .language = language,
        };
        return DecideUpdate(inputs);
    }

    MemoryProfileStore store;
    std::wstring requestedUrl, localPath;
};

TEST_F(UpdateCheck, TheDescriptionFileComesFromTheServerIntoTheTemporaryFolder) {
    Check(L"1.0.14.821", L"1.0.14.821", kLangEnglish);
    EXPECT_EQ(requestedUrl, L"http://127.0.0.1:8000/html/Trial/Orvika2/checkVersion.ini");
    EXPECT_EQ(localPath, L"C:\\Temp\\checkVersion.ini");
    Check(L"1.0.14.821", L"1.0.14.821", kLangEnglish, L"");
    EXPECT_EQ(localPath, L"checkVersion.ini");
}

TEST_F(UpdateCheck, OutcomeFollowsTheDownloadAndTheVersions) {
    const struct {
        std::optional<std::wstring> served;
        const wchar_t* own;
        int message;
    } cases[] = {
        {std::nullopt, L"1.0.14.821", kMsgUpdateCheckFailed},
        {L"1.0.14.821", L"1.0.14.821", kMsgNewestVersionQuestion},
        {L"1.0.14.822", L"1.0.14.821", kMsgNewVersionQuestion},
        {L"1.0.14.1002", L"1.0.14.821", kMsgNewVersionQuestion},
        {L"", L"1.0.14.821", kMsgNewestVersionQuestion},  // no Version key
        {L"1.0.14.821", L"", kMsgNewVersionQuestion},     // no version resource
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
}

}  // namespace
}  // namespace orvika2
