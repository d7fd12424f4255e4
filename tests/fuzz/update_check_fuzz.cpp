// The update check over an arbitrary downloaded description and own
// version: the question asked follows the version compare, and the compare
// is a consistent order that ignores trailing zero parts.
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "desktop/update_check.h"
#include "settings/profile_store.h"
#include "settings/windows1252.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/scratch_file.h"

using orvika2::CompareVersions;
using orvika2::fuzzing::Require;

namespace {

// The check only downloads into an absolute Windows folder; this store reads
// that folder's file from the scratch file on this machine.
class WindowsFolderStore final : public orvika2::ProfileStore {
public:
    WindowsFolderStore(orvika2::ProfileStore& inner, std::wstring windowsPath, std::wstring localPath)
        : inner_(inner), windowsPath_(std::move(windowsPath)), localPath_(std::move(localPath)) {}
    std::wstring Get(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                     std::size_t maxLength) override {
        return inner_.Get(Local(path), section, key, maxLength);
    }
    bool Put(const std::wstring& path, std::wstring_view section, std::wstring_view key,
             std::wstring_view value) override {
        return inner_.Put(Local(path), section, key, value);
    }
    bool Remove(const std::wstring& path, std::wstring_view section, std::wstring_view key) override {
        return inner_.Remove(Local(path), section, key);
    }
    std::vector<std::wstring> SectionNames(const std::wstring& path) override {
        return inner_.SectionNames(Local(path));
    }

private:
    std::wstring Local(const std::wstring& path) const { return path == windowsPath_ ? localPath_ : path; }
    orvika2::ProfileStore& inner_;
    std::wstring windowsPath_;
    std::wstring localPath_;
};

constexpr wchar_t kWindowsTempFolder[] = L"C:\\Temp\\";

std::strong_ordering Reversed(std::strong_ordering order) { return 0 <=> order; }

void CheckOrder(const std::wstring& a, const std::wstring& b, const std::wstring& c) {
    const auto ab = CompareVersions(a, b);
    const auto bc = CompareVersions(b, c);
    const auto ac = CompareVersions(a, c);
    Require(CompareVersions(b, a) == Reversed(ab), "antisymmetric");
    Require(CompareVersions(a, a) == std::strong_ordering::equal, "reflexive");
    if (ab <= 0 && bc <= 0) Require(ac <= 0, "transitive");
    if (ab >= 0 && bc >= 0) Require(ac >= 0, "transitive");
    if (ab == 0) Require(ac == bc, "equal versions compare alike");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const orvika2::fuzzing::ScratchFile folder("checkVersion.ini");
    if (size == 0) return 0;
    // The first byte gives the length of the own version; the rest is the file.
    const std::size_t ownLength = std::min<std::size_t>(data[0] % 32, size - 1);
    const std::string_view own(reinterpret_cast<const char*>(data + 1), ownLength);
    const std::string_view description(reinterpret_cast<const char*>(data + 1 + ownLength), size - 1 - ownLength);

    const auto engine = orvika2::MakePortableProfileStore();
    const std::wstring windowsPath = kWindowsTempFolder + std::wstring(orvika2::kUpdateFileName);
    WindowsFolderStore store(*engine, windowsPath, folder.Path());
    const orvika2::UpdateCheckInputs inputs{
        .download =
            [&](const std::wstring&, const std::wstring& localPath) {
                Require(localPath == windowsPath, "the description goes to the temporary folder");
                folder.Write(description);
                return true;
            },
        .store = store,
        .addresses = orvika2::UpdateAddressesOn(L"http://localhost:8080"),
        .tempFolder = kWindowsTempFolder,
        .ownVersion = orvika2::DecodeWindows1252(own),
    };
    const orvika2::UpdateOutcome outcome = orvika2::DecideUpdate(inputs);
    const std::wstring remote = engine->Get(folder.Path(), orvika2::kUpdateSection, orvika2::kUpdateVersionKey);
    const bool newer = CompareVersions(remote, inputs.ownVersion) > 0;
    Require(outcome.messageId == (newer ? orvika2::IDS_NEW_VERSION_QUESTION : orvika2::IDS_NEWEST_VERSION_QUESTION),
            "the question follows the compare");
    Require(outcome.downloadPage == inputs.addresses.englishPage, "the English page for English");

    const std::array<std::wstring, 3> versions = {remote, inputs.ownVersion, L"1.0.14.821"};
    for (const auto& a : versions) {
        for (const auto& b : versions) {
            for (const auto& c : versions) CheckOrder(a, b, c);
        }
        Require(CompareVersions(a + L".0", a) == 0, "a trailing zero part changes nothing");
        Require(CompareVersions(a + L".1", a) > 0, "a further part counts");
    }
    return 0;
}
