#pragma once
// The update check's decisions: where the description file goes, which
// version is newer, and what the user is asked. The Win32 side downloads,
// shows the wait balloon and the message, and opens the page on Yes.
#include <compare>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/profile_store.h"
#include "ui/ui_strings.h"

namespace orvika2 {

inline constexpr std::wstring_view kUpdateFileName = L"checkVersion.ini";
inline constexpr std::wstring_view kUpdateSection = L"Orvika2";
inline constexpr std::wstring_view kUpdateVersionKey = L"Version";

struct UpdateAddresses {
    std::wstring descriptionUrl;
    std::wstring chinesePage;
    std::wstring englishPage;
};
// The addresses on `server` (scheme, host and optional port).
UpdateAddresses UpdateAddressesOn(std::wstring_view server);
// The build's server, or the one ORVIKA2_UPDATE_URL names when it is set.
UpdateAddresses ConfiguredUpdateAddresses();

// The temporary folder as the system reports it, trailing separator
// included, + "checkVersion.ini"; in `fallbackFolder` when the temporary
// folder is unknown. Only absolute folders count: a bare file name would
// land in whatever directory the process was started from. nullopt when
// neither folder is absolute.
std::optional<std::wstring> UpdateLocalPath(std::wstring_view tempFolder, std::wstring_view fallbackFolder);

// Dot-separated numbers compared one by one from the first; a missing or
// non-numeric part counts as 0, so an empty or unreadable version is
// 0.0.0.0 and "1.0" equals "1.0.0.0".
std::strong_ordering CompareVersions(std::wstring_view a, std::wstring_view b);

struct UpdateOutcome {
    // 25: OK with the warning icon. 23 or 24: a Yes/No question without icon
    // whose Yes opens `downloadPage`, always an http or https address.
    int messageId = 0;
    std::wstring downloadPage;
};

struct UpdateCheckInputs {
    // True only when the server answered 200 and the body was written.
    std::function<bool(const std::wstring& url, const std::wstring& localPath)> download;
    ProfileStore& store;  // reads the downloaded copy
    UpdateAddresses addresses;
    std::wstring tempFolder;
    std::wstring fallbackFolder;  // the application's own data folder
    std::wstring ownVersion;
    LanguageId language = kLangEnglish;
};
// Addresses other than http and https are neither fetched nor offered: the
// check fails before any download.
UpdateOutcome DecideUpdate(const UpdateCheckInputs& inputs);

}  // namespace orvika2
