#include <windows.h>
#include <wincrypt.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "desktop/clock_check.h"
#include "desktop/update_check.h"
#include "desktop/update_config.h"
#include "platform/text.h"
#include "platform/update_download.h"
#include "platform/update_download_win32.h"
#include "settings/profile_store.h"
#include "tests/support/temp_dir.h"

namespace orvika2 {
namespace {

// Set by tests/e2e/win_update_download.sh, which serves the files below
// from a local python3 http.server, and runs the hostile servers: one that
// accepts and never answers, one that sends its body a byte at a time, and
// an https one with a certificate nobody vouches for.
constexpr char kServerVariable[] = "ORVIKA2_TEST_HTTP_URL";
constexpr char kSilentVariable[] = "ORVIKA2_TEST_SILENT_URL";
constexpr char kTrickleVariable[] = "ORVIKA2_TEST_TRICKLE_URL";
constexpr char kUntrustedVariable[] = "ORVIKA2_TEST_UNTRUSTED_URL";
// An https server whose certificate a test authority signed, the
// authority's certificate (DER, a Windows path) and the plain http server its
// /to-http redirects to.
constexpr char kTrustedVariable[] = "ORVIKA2_TEST_TRUSTED_URL";
constexpr char kAuthorityVariable[] = "ORVIKA2_TEST_AUTHORITY_CER";

std::wstring FromEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    return value ? WidenUtf8(value) : std::wstring();
}

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The test authority among the machine's trusted roots while it lives, as an
// administrator's deployment would put it.
class TrustedAuthority {
public:
    explicit TrustedAuthority(const std::string& der) {
        store_ = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"ROOT");
        if (!store_) return;
        CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                         static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, &added_);
    }
    ~TrustedAuthority() {
        if (added_) CertDeleteCertificateFromStore(added_);  // frees the context too
        if (store_) CertCloseStore(store_, 0);
    }
    TrustedAuthority(const TrustedAuthority&) = delete;
    TrustedAuthority& operator=(const TrustedAuthority&) = delete;
    explicit operator bool() const { return added_ != nullptr; }

private:
    HCERTSTORE store_ = nullptr;
    PCCERT_CONTEXT added_ = nullptr;
};

class UpdateDownload : public ::testing::Test {
protected:
    std::wstring Local(const std::string& name) const { return WideFromPath(dir_ / name); }
    static std::wstring Server() { return FromEnvironment(kServerVariable); }
    UpdateOutcome CheckOn(const std::wstring& server) {
        const auto store = MakePlatformProfileStore();
        return DecideUpdate({
            .download = &DownloadToFile,
            .store = *store,
            .addresses = UpdateAddressesOn(server),
            .tempFolder = WideFromPath(dir_.path()) + L"\\",
            .ownVersion = L"1.0.14.821",
            .language = kLangEnglish,
        });
    }

    testing::TempDir dir_;
};

TEST_F(UpdateDownload, NoServerAndNoUrlGiveFalseAndNoFile) {
    // Nothing listens on port 1 of the loopback address.
    for (const wchar_t* url : {L"http://127.0.0.1:1/checkVersion.ini", L"not a url", L"file:///C:/windows/win.ini",
                               L"ftp://127.0.0.1:1/checkVersion.ini"}) {
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

TEST_F(UpdateDownload, ABodyPast64KiBIsRefusedWithTheFailureMessage) {
    if (Server().empty()) GTEST_SKIP() << kServerVariable << " names no server";
    ASSERT_TRUE(DownloadToFile(Server() + L"/limit.bin", Local("limit.bin")));
    EXPECT_EQ(std::filesystem::file_size(dir_ / "limit.bin"), kMaxDownloadBytes);
    EXPECT_FALSE(DownloadToFile(Server() + L"/over.bin", Local("over.bin")));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "over.bin"));
    // A description file padded past the limit, as the check meets it.
    EXPECT_EQ(CheckOn(Server() + L"/oversized").messageId, IDS_UPDATE_CHECK_FAILED);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "checkVersion.ini"));
}

TEST_F(UpdateDownload, AServerThatStallsIsLeftWithinTheDeadline) {
    for (const char* variable : {kSilentVariable, kTrickleVariable}) {
        const std::wstring server = FromEnvironment(variable);
        if (server.empty()) GTEST_SKIP() << variable << " names no server";
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(DownloadToFile(server + L"/checkVersion.ini", Local("stalled.ini"))) << variable;
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, std::chrono::milliseconds(kDownloadDeadlineMs + 2000)) << variable;
        EXPECT_FALSE(std::filesystem::exists(dir_ / "stalled.ini")) << variable;
    }
}

// The error WinINet left: the product only needs the refusal, the test
// tells which check refused.
DWORD DownloadError(const std::wstring& url, const std::wstring& localPath) {
    SetLastError(0);
    return DownloadToFile(url, localPath) ? 0 : GetLastError();
}

TEST_F(UpdateDownload, HttpsNeedsACertificateTheSystemTrusts) {
    const std::wstring server = FromEnvironment(kUntrustedVariable);
    if (server.empty()) GTEST_SKIP() << kUntrustedVariable << " names no server";
    EXPECT_EQ(DownloadError(server + L"/checkVersion.ini", Local("untrusted.ini")), DWORD{ERROR_INTERNET_INVALID_CA});
    EXPECT_FALSE(std::filesystem::exists(dir_ / "untrusted.ini"));
}

// A certificate for "localhost" signed by an authority the script made
// trusted before this process started (Wine reads the roots once). Its
// revocation cannot be checked, which is forgiven on a second try; the same
// certificate reached by another name is refused all the same.
TEST_F(UpdateDownload, HttpsNeedsATrustedChainForItsNameAndForgivesOnlyAnUncheckableRevocation) {
    const std::wstring server = FromEnvironment(kTrustedVariable);
    if (server.empty()) GTEST_SKIP() << kTrustedVariable << " names no server";
    const TrustedAuthority authority(Contents(PathFromWide(FromEnvironment(kAuthorityVariable))));
    ASSERT_TRUE(authority) << "the test authority could not be added to the trusted roots";
    const std::wstring description = server + L"/html/Trial/Orvika2/checkVersion.ini";
    ASSERT_EQ(DownloadError(description, Local("trusted.ini")), 0u);
    EXPECT_EQ(Contents(dir_ / "trusted.ini"), "[Orvika2]\r\nVersion=99.0.0.1\r\n");
    EXPECT_FALSE(DownloadToFile(server + L"/to-http/html/Trial/Orvika2/checkVersion.ini", Local("http.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "http.ini"));

    std::wstring wrongName = description;
    wrongName.replace(wrongName.find(L"localhost"), 9, L"127.0.0.1");
    EXPECT_EQ(DownloadError(wrongName, Local("wrong.ini")), DWORD{ERROR_INTERNET_SEC_CERT_CN_INVALID});
    EXPECT_FALSE(std::filesystem::exists(dir_ / "wrong.ini"));
    const std::wstring untrusted = FromEnvironment(kUntrustedVariable);
    if (!untrusted.empty()) {
        EXPECT_EQ(DownloadError(untrusted + L"/checkVersion.ini", Local("untrusted.ini")),
                  DWORD{ERROR_INTERNET_INVALID_CA});
    }

    // The clock check: the server's own Date, over the same checked TLS and
    // never over plain http, another name or from a server without a Date.
    const auto before = std::chrono::system_clock::now();
    const auto answer = AskServerTime(description);
    ASSERT_TRUE(answer) << "no Date from the trusted server";
    const auto offset = ClockOffsetMs(*answer);
    ASSERT_TRUE(offset) << NarrowUtf8(answer->date);
    EXPECT_LT(std::llabs(*offset), 2000) << "the loopback server shares this clock: " << NarrowUtf8(answer->date);
    EXPECT_LE(answer->sentUnixMs, answer->answeredUnixMs);
    EXPECT_LE(std::chrono::duration_cast<std::chrono::milliseconds>(before.time_since_epoch()).count(),
              answer->sentUnixMs);
    EXPECT_FALSE(AskServerTime(wrongName));
    EXPECT_FALSE(AskServerTime(Server() + L"/html/Trial/Orvika2/checkVersion.ini")) << "plain http";
    EXPECT_FALSE(AskServerTime(server + L"/no-date")) << "an answer without a Date";
    EXPECT_TRUE(AskServerTime(server + L"/to-http/x")) << "the configured server's own redirect has its Date";
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
    EXPECT_EQ(outcome.messageId, IDS_NEW_VERSION_QUESTION);
    EXPECT_EQ(outcome.downloadPage, Server() + std::wstring(kDownloadPageEnglishPath));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "checkVersion.ini"));
}

TEST_F(UpdateDownload, OnlyHttpAndHttpsPagesAreEverOffered) {
    const std::wstring served = FromEnvironment("ORVIKA2_TEST_SERVED_DIR");
    if (served.empty()) GTEST_SKIP() << "ORVIKA2_TEST_SERVED_DIR names no folder";
    // The same description file, newer version and all, reached otherwise.
    for (const std::wstring& server : {L"file:///Z:" + served, L"file://" + served, std::wstring(L"javascript:alert(1)//"),
                                       std::wstring(L"html/Trial/..")}) {
        const UpdateOutcome outcome = CheckOn(server);
        EXPECT_EQ(outcome.messageId, IDS_UPDATE_CHECK_FAILED) << NarrowUtf8(server);
        EXPECT_TRUE(outcome.downloadPage.empty()) << NarrowUtf8(server);
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "checkVersion.ini"));
}

TEST(TemporaryFolder, EndsWithItsSeparator) {
    const std::wstring folder = TemporaryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_TRUE(std::filesystem::is_directory(PathFromWide(folder)));
}

}  // namespace
}  // namespace orvika2
