#include <windows.h>

#include "platform/hmac_sha1.h"
#include "platform/sim/sim_services.h"

namespace orvika2 {
namespace {

// The lock covers one byte far beyond the end of the file: Windows locks
// are mandatory, and this way they exclude other lockers without stopping
// anyone from reading the file itself.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

class LockedWinFile final : public LockedStateFile {
public:
    explicit LockedWinFile(HANDLE handle) : handle_(handle) {}
    ~LockedWinFile() override {
        if (locked_) {
            OVERLAPPED at{};
            at.OffsetHigh = kLockOffsetHigh;
            UnlockFileEx(handle_, 0, 1, 0, &at);
        }
        CloseHandle(handle_);
    }
    LockedWinFile(const LockedWinFile&) = delete;
    LockedWinFile& operator=(const LockedWinFile&) = delete;

    bool Lock() {
        OVERLAPPED at{};
        at.OffsetHigh = kLockOffsetHigh;
        locked_ = LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) != 0;
        return locked_;
    }

    bool ReadAll(std::string& content) override {
        content.clear();
        if (SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
        char buffer[4096];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(handle_, buffer, sizeof buffer, &got, nullptr)) return false;
            if (got == 0) return true;
            content.append(buffer, got);
        }
    }

    bool ReplaceAll(std::string_view content) override {
        if (SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
        std::size_t written = 0;
        while (written < content.size()) {
            DWORD put = 0;
            const auto chunk = static_cast<DWORD>(content.size() - written);
            if (!WriteFile(handle_, content.data() + written, chunk, &put, nullptr) || put == 0) return false;
            written += put;
        }
        return SetEndOfFile(handle_) != 0;
    }

private:
    HANDLE handle_;
    bool locked_ = false;
};

std::unique_ptr<LockedStateFile> OpenLockedWinFile(const std::filesystem::path& path, StateFileOpening opening) {
    const DWORD disposition = opening == StateFileOpening::CreateIfMissing ? OPEN_ALWAYS : OPEN_EXISTING;
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    auto file = std::make_unique<LockedWinFile>(handle);
    if (!file->Lock()) return nullptr;
    return file;
}

}  // namespace

SimServices NativeSimServices() { return {SystemWallClockMs, HmacSha1, OpenLockedWinFile}; }

}  // namespace orvika2
