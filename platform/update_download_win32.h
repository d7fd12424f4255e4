#pragma once
#include <string>

namespace orvika2 {

// GET an http or https `url` over WinINet, never from or into the cache,
// and write the body to `localPath`, replacing it. True only for status 200
// with a body of at most 64 KiB written whole, all within the download's
// deadline; otherwise no file is created. https is checked TLS and is not
// given up for a redirect to plain http.
bool DownloadToFile(const std::wstring& url, const std::wstring& localPath);

// The temporary folder with its trailing separator; empty when unknown or
// longer than 260 characters.
std::wstring TemporaryFolder();

}  // namespace orvika2
