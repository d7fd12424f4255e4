#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "platform/secret_file.h"
#include "platform/terminal_prompt.h"
#include "platform/unique_fd_posix.h"

namespace orvika2 {
namespace {

// Echo off for as long as it lives; the terminal's own settings come back
// even when the read ends early.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd) {
        if (::tcgetattr(fd_, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        active_ = ::tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_) ::tcsetattr(fd_, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool active() const { return active_; }

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

class TtyPrompt final : public HiddenPrompt {
public:
    explicit TtyPrompt(UniqueFd tty) : tty_(std::move(tty)) {}

    std::optional<SecretString> Ask(std::string_view prompt) override {
        const EchoOff quiet(tty_.get());
        // Never ask for a secret on a terminal that would show it.
        if (!quiet.active() || !WriteAll(tty_.get(), prompt)) return std::nullopt;
        SecretString line;
        line->reserve(256);
        for (;;) {
            char c = 0;
            const ssize_t got = ::read(tty_.get(), &c, 1);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return std::nullopt;
            if (c == '\n') break;
            AppendWiping(line.get(), std::string_view(&c, 1));
        }
        if (!line->empty() && line->back() == '\r') line->pop_back();
        return line;
    }

private:
    UniqueFd tty_;
};

}  // namespace

std::unique_ptr<HiddenPrompt> OpenTerminalPrompt() {
    UniqueFd tty(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (tty.get() < 0 || !::isatty(tty.get())) return nullptr;
    return std::make_unique<TtyPrompt>(std::move(tty));
}

}  // namespace orvika2
