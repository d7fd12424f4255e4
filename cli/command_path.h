#pragma once
// File arguments are meant relative to the directory the command was started
// in; by the time a file is opened the working directory may have moved (the
// configuration file's placement follows the autostart value), and Windows'
// profile-file functions put a bare name into the Windows folder.
#include <string>
#include <string_view>

namespace orvika2 {

enum class PathStyle { Posix, Windows };

struct StartDirectory {
    std::wstring path;
    PathStyle style = PathStyle::Posix;
};

// `path` made absolute against the start directory. Windows style knows
// drive-absolute ("C:\x", "C:/x"), UNC ("\\server\share") and rooted
// ("\x": on the start directory's drive) forms; a drive-relative "D:x" on
// another drive is left as it is, since its drive's directory never moves.
std::wstring ResolveCommandPath(std::wstring_view path, const StartDirectory& start);

}  // namespace orvika2
