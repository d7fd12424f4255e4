#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "desktop/update_check.h"
#include "desktop/update_config.h"
#include "platform/text.h"
#include "platform/update_download_win32.h"
#include "settings/profile_store.h"
#include "tests/support/temp_dir.h"

namespace orvika2 {
namespace {

// Set by tests/e2e/win_update_download.sh, which serves the files below
// from a local python3 http.server.
constexpr char kServerVariable[] = "ORVIKA2_TEST_HTTP_URL";

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class UpdateDownload : public ::testing::Test {
protected:
    std::wstring Local(const std::string& name) const { return WideFromPath(dir_ / name); }
    static std::wstring Server() {
        const char* server = std::getenv(kServerVariable);
        return server ? WidenUtf8(server) : std::wstring();
    }

    testing::TempDir dir_;
};

TEST_F(UpdateDownload, NoServerAndNoUrlGiveFalseAndNoFile) {
    // Nothing listens on port 1 of the loopback address.
    for (const wchar_t* url : {L"http://127.0.0.1:1/checkVersion.ini", L"not a url"}) {
        EXPECT_FALSE(DownloadToFile(url, Local("copy.ini"))) << NarrowUtf8(url);
        EXPECT_FALSE(std::filesystem::exists(dir_ / "copy.ini"));
    }
}

TEST_F(UpdateDownload, TheBodyOfA200IsWrittenWhole) {
    if (Server().empty()) GTEST_SKIP() << kServerVariable << " names no server";
    ASSERT_TRUE(DownloadToFile(Server() + L"/big.bin", Local("big.bin")));
    const std::string body = Contents(dir_ / "big.bin");
    ASSERT_EQ(body.size(), 50000u);  // several 10240-byte pieces and a short one
    for (std::size_t i = 0; i < body.size(); ++i) {
        ASSERT_EQ(static_cast<unsigned char>(body[i]), i % 251) << i;
    }
    // A second download replaces the file rather than appending to it.
    ASSERT_TRUE(DownloadToFile(Server() + L"/html/Trial/Orvika2/checkVersion.ini", Local("big.bin")));
    EXPECT_EQ(Contents(dir_ / "big.bin"), "[Orvika2]\r\nVersion=99.0.0.1\r\n");
}

TEST_F(UpdateDownload, A404CreatesNoFile) {
    if (Server().empty()) GTEST_SKIP() << kServerVariable << " names no server";
    EXPECT_FALSE(DownloadToFile(Server() + L"/html/Trial/Orvika2/missing.ini", Local("missing.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.ini"));
}

TEST_F(UpdateDownload, TheCheckFindsTheServersNewerVersion) {
    if (Server().empty()) GTEST_SKIP() << kServerVariable << " names no server";
    const auto store = MakePlatformProfileStore();
    const UpdateCheckInputs inputs{
        .download = &DownloadToFile,
        .store = *store,
        .addresses = ConfiguredUpdateAddresses(),
        .tempFolder = WideFromPath(dir_.path()) + L"\\",
        .ownVersion = L"1.0.14.821",
        .language = kLangEnglish,
    };
    ASSERT_EQ(inputs.addresses.descriptionUrl, Server() + std::wstring(kUpdateDescriptionPath))
        << "the script sets " << kUpdateServerVariable;
    const UpdateOutcome outcome = DecideUpdate(inputs);
    EXPECT_EQ(outcome.messageId, kMsgNewVersionQuestion);
    EXPECT_EQ(outcome.downloadPage, Server() + std::wstring(kDownloadPageEnglishPath));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "checkVersion.ini"));
}

TEST(TemporaryFolder, EndsWithItsSeparator) {
    const std::wstring folder = TemporaryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_TRUE(std::filesystem::is_directory(PathFromWide(folder)));
}

}  // namespace
}  // namespace orvika2
