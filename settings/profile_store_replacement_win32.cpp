#include <windows.h>

#include <algorithm>
#include <array>

#include "platform/win32_handles_win32.h"
#include "settings/profile_store_replacement.h"

namespace orvika2 {

FileReplacement::~FileReplacement() {
    if (!pending_) return;
    // A copy of a read-only file is read-only, and DeleteFileW refuses those.
    SetFileAttributesW(temporary_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(temporary_.c_str());
}

std::optional<FileReplacement> FileReplacement::Begin(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : L".";
    std::array<wchar_t, MAX_PATH> temporary{};
    // Creates the file under a name no other file in the folder has.
    if (GetTempFileNameW(folder.c_str(), L"ini", 0, temporary.data()) == 0) return std::nullopt;
    return FileReplacement(target, temporary.data());
}

bool FileReplacement::Write(std::string_view bytes) {
    const auto file = AdoptFileHandle(
        CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool FileReplacement::Commit() {
    {
        const auto file = AdoptFileHandle(CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !FlushFileBuffers(file.get())) return false;
    }
    if (!MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return false;
    }
    pending_ = false;
    return true;
}

}  // namespace orvika2
