#pragma once
// Replacing a file whole: the new content goes to a temporary file in the
// same folder, is flushed to the disk and only then takes the old file's
// place. A full disk, a quota or a crash leaves the old file or the new
// one, never a part of either. Such files can hold a secret (backups), so
// on Linux the temporary file is owner-only from its creation and written
// through the descriptor that created it, and the new file stays
// owner-only unless the old one was already.
#include <filesystem>
#include <optional>
#include <string_view>

namespace orvika2 {

class FileReplacement {
public:
    // A new, empty temporary file beside the target; none when the folder is
    // missing or not writable, the target exists but may not be written, or
    // the target is a symbolic link (never followed, never replaced).
    static std::optional<FileReplacement> Begin(const std::filesystem::path& target);

    FileReplacement(FileReplacement&& other) noexcept;
    FileReplacement& operator=(FileReplacement&&) = delete;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    // Removes the temporary file unless it took the target's place.
    ~FileReplacement();

    const std::filesystem::path& temporary() const { return temporary_; }
    // The whole new content.
    bool Write(std::string_view bytes);
    // Flushes the temporary file and puts it in the target's place; false
    // too when the folder's record of the rename could not be flushed.
    bool Commit();

private:
    FileReplacement(std::filesystem::path target, std::filesystem::path temporary, int descriptor = -1);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    // The temporary file's descriptor, where the platform keeps one open.
    int descriptor_ = -1;
    bool pending_ = true;
};

// The file's content replaced by the bytes, or, on failure, left as it was.
bool ReplaceFileContent(const std::filesystem::path& target, std::string_view bytes);

}  // namespace orvika2
