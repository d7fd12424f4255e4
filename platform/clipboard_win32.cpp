#include "platform/clipboard_win32.h"

#include <cstring>

#include "platform/secure_memory.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {
namespace {

constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 20;

struct GlobalMemoryTraits {
    static void Close(HGLOBAL h) { GlobalFree(h); }
};
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalMemoryTraits>;

// OpenClipboard / CloseClipboard. Another program may hold the clipboard for
// a moment, so opening is tried a few times.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) {
        for (int attempt = 0; attempt < kOpenAttempts && !open_; ++attempt) {
            if (attempt > 0) Sleep(kOpenRetryMs);
            open_ = OpenClipboard(owner) != FALSE;
        }
    }
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

// GlobalLock / GlobalUnlock.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    ~LockedGlobal() {
        if (data_) GlobalUnlock(memory_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    void* data() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

void WipeGlobal(HGLOBAL memory) {
    const LockedGlobal locked(memory);
    if (locked.data()) SecureWipe(locked.data(), GlobalSize(memory));
}

UniqueGlobal GlobalCopy(const void* data, std::size_t size) {
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return memory;
    const LockedGlobal locked(memory.get());
    if (!locked.data()) return UniqueGlobal();
    std::memcpy(locked.data(), data, size);
    return memory;
}

// The formats by which clipboard history, cloud clipboard and clipboard
// monitors leave a copied code alone; added beside the text, on the
// clipboard that is open.
void KeepOutOfHistory() {
    static constexpr DWORD kNo = 0;
    for (const wchar_t* name : {kClipboardExcludeFromMonitors, kClipboardHistoryAllowed, kClipboardCloudAllowed}) {
        const UINT format = RegisterClipboardFormatW(name);
        if (format == 0) continue;
        // The first one's presence is what counts; the others carry a DWORD 0.
        UniqueGlobal value = GlobalCopy(&kNo, sizeof kNo);
        if (value && SetClipboardData(format, value.get())) value.release();
    }
}

}  // namespace

std::optional<DWORD> PutClipboardText(HWND owner, std::wstring_view text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    if (!memory) return std::nullopt;
    {
        const LockedGlobal locked(memory.get());
        if (!locked.data()) return std::nullopt;
        std::memcpy(locked.data(), text.data(), text.size() * sizeof(wchar_t));
    }
    bool put = false;
    {
        const OpenedClipboard clipboard(owner);
        if (clipboard && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory.get())) {
            memory.release();  // the clipboard owns it now
            KeepOutOfHistory();
            put = true;
        }
    }
    // Read once closed: closing may add the formats the system derives from
    // the text, which counts as a change. A program that replaces the code
    // in between also takes the ownership, which the clearing checks.
    if (memory) WipeGlobal(memory.get());
    if (!put) return std::nullopt;
    return GetClipboardSequenceNumber();
}

bool ClearClipboardIfUnchanged(HWND owner, DWORD sequence) {
    const auto unchanged = [&] { return GetClipboardSequenceNumber() == sequence && GetClipboardOwner() == owner; };
    if (!unchanged()) return false;
    const OpenedClipboard clipboard(owner);
    if (!clipboard || !unchanged()) return false;
    WipeGlobal(GetClipboardData(CF_UNICODETEXT));
    return EmptyClipboard() != FALSE;
}

}  // namespace orvika2
