#pragma once
// Where the update check looks: the maker's web server and the pages on it.
// The one place these addresses live; a build for another server changes
// them here, and ORVIKA2_UPDATE_URL names another server at run time (a
// test's local server, for instance).
#include <string_view>

namespace orvika2 {

inline constexpr std::wstring_view kUpdateServer = L"https://updates.orvika2.example";
inline constexpr std::wstring_view kUpdateDescriptionPath = L"/html/Trial/Orvika2/checkVersion.ini";
inline constexpr std::wstring_view kDownloadPageChinesePath = L"/html/Trial/Orvika2/download_zh-tw.html";
inline constexpr std::wstring_view kDownloadPageEnglishPath = L"/html/Trial/Orvika2/download_en.html";

// Scheme, host and optional port, such as "http://127.0.0.1:8080". Only
// http and https servers are used.
inline constexpr char kUpdateServerVariable[] = "ORVIKA2_UPDATE_URL";

}  // namespace orvika2
