#pragma once
// Replacing a file whole: the new content goes to a temporary file in the
// same folder, is flushed to the disk and only then takes the old file's
// place. A full disk, a quota or a crash leaves the old file or the new
// one, never a part of either.
#include <filesystem>
#include <optional>
#include <string_view>

namespace orvika2 {

class FileReplacement {
public:
    // A new, empty temporary file beside the target; none when the folder is
    // missing or not writable, or the target exists but may not be written.
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
    // Flushes the temporary file and puts it in the target's place.
    bool Commit();

private:
    FileReplacement(std::filesystem::path target, std::filesystem::path temporary);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    bool pending_ = true;
};

// The file's content replaced by the bytes, or, on failure, left as it was.
bool ReplaceFileContent(const std::filesystem::path& target, std::string_view bytes);

}  // namespace orvika2
