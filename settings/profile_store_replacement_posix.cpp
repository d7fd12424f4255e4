#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "settings/profile_store_replacement.h"

namespace orvika2 {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // A failing close can be the first report of a failed write.
    bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

FileReplacement::~FileReplacement() {
    if (pending_) ::unlink(temporary_.c_str());
}

std::optional<FileReplacement> FileReplacement::Begin(const std::filesystem::path& target) {
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // Renaming over a file would get past its own write protection.
    if (exists && ::access(target.c_str(), W_OK) != 0) return std::nullopt;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const std::string stem = target.filename().string() + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path temporary = folder / (stem + std::to_string(attempt) + ".tmp");
        FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.get() < 0) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        FileReplacement replacement(target, std::move(temporary));
        if (exists && ::fchmod(fd.get(), existing.st_mode & 07777) != 0) return std::nullopt;
        if (!fd.Close()) return std::nullopt;
        return replacement;
    }
    return std::nullopt;
}

bool FileReplacement::Write(std::string_view bytes) {
    FileDescriptor fd(::open(temporary_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    return fd.get() >= 0 && WriteAll(fd.get(), bytes) && fd.Close();
}

bool FileReplacement::Commit() {
    FileDescriptor fd(::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0 || ::fsync(fd.get()) != 0 || !fd.Close()) return false;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    pending_ = false;
    // The rename itself reaches the disk with the folder.
    const std::filesystem::path folder = target_.has_parent_path() ? target_.parent_path() : ".";
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) ::fsync(directory.get());
    return true;
}

}  // namespace orvika2
