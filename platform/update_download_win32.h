#pragma once
#include <string>

namespace orvika2 {

// GET `url` over WinINet, never from or into the cache, and write the body
// to `localPath`, replacing it. True only for status 200 with the body
// written; any other status creates no file.
bool DownloadToFile(const std::wstring& url, const std::wstring& localPath);

// The temporary folder with its trailing separator; empty when unknown or
// longer than 260 characters.
std::wstring TemporaryFolder();

}  // namespace orvika2
