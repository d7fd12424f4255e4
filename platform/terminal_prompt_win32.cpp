#include "platform/secret_file.h"
#include "platform/terminal_prompt.h"
#include "platform/text.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {
namespace {

// Echo off on the console's input for as long as it lives.
class EchoOff {
public:
    explicit EchoOff(HANDLE input) : input_(input) {
        if (!GetConsoleMode(input_, &saved_)) return;
        const DWORD quiet = (saved_ | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) & ~ENABLE_ECHO_INPUT;
        active_ = SetConsoleMode(input_, quiet) != FALSE;
    }
    ~EchoOff() {
        if (active_) SetConsoleMode(input_, saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool active() const { return active_; }

private:
    HANDLE input_;
    DWORD saved_ = 0;
    bool active_ = false;
};

class ConsolePrompt final : public HiddenPrompt {
public:
    ConsolePrompt(UniqueKernelHandle input, UniqueKernelHandle output)
        : input_(std::move(input)), output_(std::move(output)) {}

    std::optional<SecretString> Ask(std::string_view prompt) override {
        const EchoOff quiet(input_.get());
        if (!quiet.active()) return std::nullopt;
        const std::wstring text = WidenUtf8(prompt);
        DWORD written = 0;
        if (!WriteConsoleW(output_.get(), text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr)) {
            return std::nullopt;
        }
        SecretWString line(std::wstring(1024, L'\0'));
        DWORD read = 0;
        const BOOL ok = ReadConsoleW(input_.get(), line->data(), static_cast<DWORD>(line->size()), &read, nullptr);
        // The line break that echo would have shown.
        WriteConsoleW(output_.get(), L"\r\n", 2, &written, nullptr);
        if (!ok || read == 0) return std::nullopt;
        std::wstring_view typed(line->data(), read);
        while (!typed.empty() && (typed.back() == L'\n' || typed.back() == L'\r')) typed.remove_suffix(1);
        return SecretString(NarrowUtf8(typed));
    }

private:
    UniqueKernelHandle input_;
    UniqueKernelHandle output_;
};

}  // namespace

std::unique_ptr<HiddenPrompt> OpenTerminalPrompt() {
    auto input = AdoptFileHandle(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
    auto output = AdoptFileHandle(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD mode = 0;
    if (!input || !output || !GetConsoleMode(input.get(), &mode)) return nullptr;
    return std::make_unique<ConsolePrompt>(std::move(input), std::move(output));
}

}  // namespace orvika2
