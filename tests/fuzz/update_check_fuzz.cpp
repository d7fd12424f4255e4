// The update check over an arbitrary downloaded description and own
// version: the question asked follows the version compare, and the compare
// is a consistent order that ignores trailing zero parts.
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "desktop/update_check.h"
#include "settings/profile_store.h"
#include "settings/windows1252.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/scratch_file.h"

using orvika2::CompareVersions;
using orvika2::fuzzing::Require;

namespace {

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

    const auto store = orvika2::MakePortableProfileStore();
    const std::wstring tempFolder = folder.Path().substr(0, folder.Path().size() - orvika2::kUpdateFileName.size());
    const orvika2::UpdateCheckInputs inputs{
        .download =
            [&](const std::wstring&, const std::wstring& localPath) {
                Require(localPath == folder.Path(), "the description goes to the temporary folder");
                folder.Write(description);
                return true;
            },
        .store = *store,
        .addresses = orvika2::UpdateAddressesOn(L"http://localhost:8080"),
        .tempFolder = tempFolder,
        .ownVersion = orvika2::DecodeWindows1252(own),
    };
    const orvika2::UpdateOutcome outcome = orvika2::DecideUpdate(inputs);
    const std::wstring remote = store->Get(folder.Path(), orvika2::kUpdateSection, orvika2::kUpdateVersionKey);
    const bool newer = CompareVersions(remote, inputs.ownVersion) > 0;
    Require(outcome.messageId == (newer ? orvika2::kMsgNewVersionQuestion : orvika2::kMsgNewestVersionQuestion),
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
