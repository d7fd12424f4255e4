#pragma once
#include <optional>
#include <string>

#include "platform/update_download.h"

namespace orvika2 {

// GET an http or https `url` over WinINet, never from or into the cache,
// and write the body to `localPath`, replacing it. True only for status 200
// with a body of at most 64 KiB written whole, all within the download's
// deadline; otherwise no file is created. https is checked TLS and is not
// given up for a redirect to plain http; only a revocation check that could
// not be made is waived, on a second try.
bool DownloadToFile(const std::wstring& url, const std::wstring& localPath);

// A GET of an https `url`, its certificate checked as for the download and
// no redirect followed: the answer's Date header with the wall times around
// the request. nullopt for any other address, a failed request or an answer
// without a Date.
std::optional<ServerTimeAnswer> AskServerTime(const std::wstring& url);

// The temporary folder with its trailing separator; empty when unknown or
// longer than 260 characters.
std::wstring TemporaryFolder();

}  // namespace orvika2
