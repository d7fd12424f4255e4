#include "desktop/update_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "desktop/update_config.h"
#include "platform/text.h"
#include "platform/update_download.h"

namespace orvika2 {
namespace {

using VersionParts = std::vector<std::uint32_t>;

// A part's leading digits after blanks; anything else reads as 0, and a
// number too large for 32 bits stays at the largest.
std::uint32_t PartValue(std::wstring_view part) {
    std::size_t i = part.find_first_not_of(L" \t");
    std::uint64_t value = 0;
    for (; i < part.size() && part[i] >= L'0' && part[i] <= L'9'; ++i) {
        value = std::min<std::uint64_t>(value * 10 + static_cast<std::uint64_t>(part[i] - L'0'),
                                        std::numeric_limits<std::uint32_t>::max());
    }
    return static_cast<std::uint32_t>(value);
}

VersionParts ParseVersion(std::wstring_view version) {
    VersionParts parts;
    while (true) {
        const std::size_t dot = version.find(L'.');
        parts.push_back(PartValue(version.substr(0, dot)));
        if (dot == std::wstring_view::npos) return parts;
        version.remove_prefix(dot + 1);
    }
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "C:\..." or a "\\server\share\..." path; "C:name" and "\\name" depend on
// the current drive or directory.
bool IsAbsoluteWindowsPath(std::wstring_view path) {
    const bool drive = path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
                       path[1] == L':' && IsSeparator(path[2]);
    const bool share = path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
    return drive || share;
}

}  // namespace

UpdateAddresses UpdateAddressesOn(std::wstring_view server) {
    while (!server.empty() && server.back() == L'/') server.remove_suffix(1);
    const std::wstring base(server);
    return {base + std::wstring(kUpdateDescriptionPath), base + std::wstring(kDownloadPageChinesePath),
            base + std::wstring(kDownloadPageEnglishPath)};
}

UpdateAddresses ConfiguredUpdateAddresses() {
    const char* server = std::getenv(kUpdateServerVariable);
    return server && *server ? UpdateAddressesOn(WidenUtf8(server)) : UpdateAddressesOn(kUpdateServer);
}

std::optional<std::wstring> UpdateLocalPath(std::wstring_view tempFolder, std::wstring_view fallbackFolder) {
    for (const std::wstring_view folder : {tempFolder, fallbackFolder}) {
        if (!IsAbsoluteWindowsPath(folder)) continue;
        std::wstring path(folder);
        if (!path.ends_with(L'\\') && !path.ends_with(L'/')) path += L'\\';
        return path + std::wstring(kUpdateFileName);
    }
    return std::nullopt;
}

std::strong_ordering CompareVersions(std::wstring_view a, std::wstring_view b) {
    const VersionParts left = ParseVersion(a);
    const VersionParts right = ParseVersion(b);
    for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        const std::uint32_t l = i < left.size() ? left[i] : 0;
        const std::uint32_t r = i < right.size() ? right[i] : 0;
        if (l != r) return l <=> r;
    }
    return std::strong_ordering::equal;
}

UpdateOutcome DecideUpdate(const UpdateCheckInputs& inputs) {
    const UpdateOutcome failed{.messageId = IDS_UPDATE_CHECK_FAILED};
    const std::wstring& page =
        inputs.language == kLangEnglish ? inputs.addresses.englishPage : inputs.addresses.chinesePage;
    const auto localPath = UpdateLocalPath(inputs.tempFolder, inputs.fallbackFolder);
    if (!IsWebAddress(inputs.addresses.descriptionUrl) || !IsWebAddress(page) || !localPath ||
        !inputs.download(inputs.addresses.descriptionUrl, *localPath)) {
        return failed;
    }
    const std::wstring remote = inputs.store.Get(*localPath, kUpdateSection, kUpdateVersionKey);
    const bool newer = CompareVersions(remote, inputs.ownVersion) > 0;
    return {.messageId = newer ? IDS_NEW_VERSION_QUESTION : IDS_NEWEST_VERSION_QUESTION, .downloadPage = page};
}

}  // namespace orvika2
