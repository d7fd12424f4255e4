#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "platform/unique_fd_posix.h"
#include "settings/profile_store_replacement.h"

namespace orvika2 {
namespace {

constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;

std::filesystem::path FolderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : ".";
}

// The new file's mode: the old one's when it lets nobody else in, else
// owner-only, whatever the umask.
mode_t ModeFor(bool exists, const struct stat& existing) {
    const mode_t old = existing.st_mode & 07777;
    return exists && (old & (S_IRWXG | S_IRWXO)) == 0 ? old : kOwnerOnly;
}

}  // namespace

FileReplacement::~FileReplacement() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (pending_) ::unlink(temporary_.c_str());
}

std::optional<FileReplacement> FileReplacement::Begin(const std::filesystem::path& target) {
    struct stat existing {};
    const bool exists = ::lstat(target.c_str(), &existing) == 0;
    if (exists && S_ISLNK(existing.st_mode)) return std::nullopt;
    // Renaming over a file would get past its own write protection.
    if (exists && ::access(target.c_str(), W_OK) != 0) return std::nullopt;
    const std::string stem = target.filename().string() + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path temporary = FolderOf(target) / (stem + std::to_string(attempt) + ".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kOwnerOnly);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        FileReplacement replacement(target, std::move(temporary), fd);
        if (::fchmod(fd, ModeFor(exists, existing)) != 0) return std::nullopt;
        return replacement;
    }
    return std::nullopt;
}

bool FileReplacement::Write(std::string_view bytes) {
    return descriptor_ >= 0 && ::ftruncate(descriptor_, 0) == 0 && ::lseek(descriptor_, 0, SEEK_SET) == 0 &&
           WriteAll(descriptor_, bytes);
}

bool FileReplacement::Commit() {
    if (descriptor_ < 0 || ::fsync(descriptor_) != 0) return false;
    // A failing close can be the first report of a failed write.
    if (::close(std::exchange(descriptor_, -1)) != 0) return false;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    pending_ = false;
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return false;
    const bool flushed = ::fsync(folder) == 0;
    ::close(folder);
    return flushed;
}

}  // namespace orvika2
