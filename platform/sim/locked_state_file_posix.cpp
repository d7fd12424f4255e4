#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/hmac_sha1.h"
#include "platform/sim/sim_services.h"

namespace orvika2 {
namespace {

// flock locks belong to the open file description, so two descriptors of
// the same process exclude each other as two processes do.
class FlockedFile final : public LockedStateFile {
public:
    explicit FlockedFile(int fd) : fd_(fd) {}
    ~FlockedFile() override { close(fd_); }
    FlockedFile(const FlockedFile&) = delete;
    FlockedFile& operator=(const FlockedFile&) = delete;

    bool ReadAll(std::string& content) override {
        content.clear();
        char buffer[4096];
        off_t offset = 0;
        for (;;) {
            const ssize_t got = pread(fd_, buffer, sizeof buffer, offset);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return false;
            if (got == 0) return true;
            content.append(buffer, static_cast<std::size_t>(got));
            offset += got;
        }
    }

    bool ReplaceAll(std::string_view content) override {
        std::size_t written = 0;
        while (written < content.size()) {
            const ssize_t put = pwrite(fd_, content.data() + written, content.size() - written,
                                       static_cast<off_t>(written));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return false;
            written += static_cast<std::size_t>(put);
        }
        return ftruncate(fd_, static_cast<off_t>(content.size())) == 0;
    }

private:
    int fd_;
};

std::unique_ptr<LockedStateFile> OpenFlockedFile(const std::filesystem::path& path, StateFileOpening opening) {
    // The state holds the profiles' secrets: owner-only, whatever the umask
    // or an older file's mode, and never through a symbolic link.
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | (opening == StateFileOpening::CreateIfMissing ? O_CREAT : 0);
    const int fd = open(path.c_str(), flags, S_IRUSR | S_IWUSR);
    if (fd < 0) return nullptr;
    auto file = std::make_unique<FlockedFile>(fd);
    struct stat status {};
    if (fstat(fd, &status) != 0) return nullptr;
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0 && fchmod(fd, S_IRUSR | S_IWUSR) != 0) return nullptr;
    int locked = 0;
    do {
        locked = flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) return nullptr;
    return file;
}

}  // namespace

SimServices NativeSimServices() { return {SystemWallClockMs, HmacSha1, OpenFlockedFile}; }

}  // namespace orvika2
