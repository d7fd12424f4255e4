#include <atomic>
#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_context.h"
#include "platform/key_output.h"
#include "platform/key_sequence.h"
#include "settings/config_file.h"
#include "settings/clock_correction.h"
#include "token/code_generator.h"
#include "token/token_lib.h"
#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

// The system clock with the wall time pinned, for --at.
class PinnedTimeClock final : public Clock {
public:
    PinnedTimeClock(Clock& base, std::int64_t unixSeconds) : base_(base), unixSeconds_(unixSeconds) {}
    std::uint32_t TickMs() override { return base_.TickMs(); }
    void SleepMs(std::uint32_t milliseconds) override { base_.SleepMs(milliseconds); }
    std::int64_t UnixSeconds() override { return unixSeconds_; }

private:
    Clock& base_;
    std::int64_t unixSeconds_;
};

const char* KindName(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::TwoStep: return "2-Step Verification";
        case ProfileKind::StaticPassword: return "static password";
        case ProfileKind::NotConfigured: break;
    }
    return "not configured";
}

// The shape the configuration file records for the token's profile.
CodeShape ShapeOf(AppServices& services, TokenPorts ports, int profile) {
    const std::wstring section = ReadSerialString(ports);
    if (section.empty()) return {};
    return ReadCodeShape(services.store, services.config.file, section, profile);
}

std::string ShapeSuffix(CodeShape shape) {
    if (shape.IsDefault()) return {};
    return ", " + std::to_string(shape.digits) + " digits, " + std::to_string(shape.periodSeconds) + " s";
}

int Status(AppServices& services, TokenPorts ports, CliIo io) {
    CTokenLib token(ports);
    if (const auto opened = token.Open(); opened != TokenResult::Success) {
        // Open fails this way only for the one token found.
        io.out << (opened == TokenResult::OperationFailed ? "Token: present, cannot be opened\n" : "Token: not present\n");
        return ReportBusFailure(io, ports.bus, TokenResultMessageId(opened));
    }
    TokenStatus status;
    if (const auto read = WaitForIdleToken(token, status); read != TokenResult::Success) {
        io.out << "Token: present, status unreadable\n";
        return ReportBusFailure(io, ports.bus, TokenResultMessageId(read));
    }
    io.out << "Token: present\n";
    io.out << "Firmware: " << int(status.firmwareMajor) << '.' << int(status.firmwareMinor) << '.'
           << int(status.firmwareBuild) << "\n";
    const std::wstring serial = ReadSerialString(ports);
    io.out << "Serial: " << (serial.empty() ? std::string("(unreadable)") : Utf8(serial)) << "\n";
    io.out << "Configuration sequence: " << int(status.configSequence) << "\n";
    io.out << "Profile flags: 0x" << std::hex << status.profileFlags << std::dec << "\n";
    for (int profile = 1; profile <= 2; ++profile) {
        const ProbeResult probe = ProbeProfileKind(token, status, profile);
        // A touch-required profile answers the probe with a wait for its
        // button; cancel it so the token does not keep waiting.
        if (probe.kind == ProfileKind::TwoStep) token.CancelPending();
        const std::string shape = probe.kind == ProfileKind::TwoStep && !serial.empty()
                                      ? ShapeSuffix(ReadCodeShape(services.store, services.config.file, serial, profile))
                                      : std::string();
        io.out << "Profile " << profile << ": " << KindName(probe.kind) << shape
               << (probe.definite ? "" : " (no definite answer)") << "\n";
    }
    return kExitOk;
}

// Typing, when asked for, in this method.
using TypingChoice = std::optional<TypingMethod>;

int TypeOrPrint(const VerificationCode& code, TypingChoice type, CliIo io) {
    io.out << code.Text() << "\n";
    if (!type) return kExitOk;
    const auto keys = MakePlatformKeyOutput();
    const auto layout = MakeForegroundKeyboardLayout();
    if (!keys || !layout) {
        io.err << "Typing is not supported on this platform; the code is printed instead.\n";
        return kExitOk;
    }
    const auto events = KeysForDigits(code.Text(), *type, *layout);
    if (!keys->Send(events)) {
        io.err << "The code could not be typed.\n";
        return kExitFailure;
    }
    return kExitOk;
}

int Code(AppServices& services, TokenPorts ports, int profile, TypingChoice type, CliIo io) {
    const CodeOutcome outcome = GenerateVerificationCode(ports, profile, ShapeOf(services, ports, profile));
    switch (outcome.action) {
        case CodeAction::TypeCode: return TypeOrPrint(outcome.code, type, io);
        case CodeAction::ShowMessage: return ReportBusFailure(io, ports.bus, outcome.messageId);
        case CodeAction::Nothing: return ReportBusFailure(io, ports.bus, IDS_CODE_FAILED);
        case CodeAction::AwaitTouch: break;
    }
    io.err << "Touch the button of the token to get the code (waiting up to 15 seconds)...\n";
    const std::atomic<bool> cancelled{false};
    const auto touched = WaitForTouchedCode(ports, cancelled, 16'000, outcome.shape.digits);
    if (touched) return TypeOrPrint(*touched, type, io);
    // As the wait dialog does when it closes: end the token's wait for its button.
    CTokenLib token(ports);
    token.Open();
    token.CancelPending();
    return ReportBusFailure(io, ports.bus, IDS_CODE_FAILED);
}

}  // namespace

int RunTokenCommand(const std::string& command, const std::vector<std::string>& args, CliIo io,
                    AppServices& services) {
    const auto parsed = command == "code" ? Arguments::Parse(args, {"profile", "at", "method"}, {"type"})
                                          : Arguments::Parse(args, {}, {});
    if (!parsed || !parsed->Positional().empty()) return ReportUsage(io);

    int profile = 1;
    if (const auto text = parsed->Value("profile")) {
        const auto value = ParseInteger(*text, 1, 2);
        if (!value) return ReportUsage(io);
        profile = static_cast<int>(*value);
    }
    std::optional<std::int64_t> at;
    if (const auto text = parsed->Value("at")) {
        at = ParseInteger(*text, 0, 253402300799);  // up to the year 9999
        if (!at) return ReportUsage(io);
    }

    TypingChoice type;
    if (const auto name = parsed->Value("method")) {
        type = ParseTypingMethod(*name);
        if (!type || !parsed->Has("type")) return ReportUsage(io);
    } else if (parsed->Has("type")) {
        type = ReadTypingMethod(services.store, services.config.file);
    }

    PinnedTimeClock pinned(services.clock, at.value_or(0));
    Clock& clock = at ? static_cast<Clock&>(pinned) : services.clock;
    const TokenPorts ports{services.tokenBus, clock};
    if (command != "status") return Code(services, ports, profile, type, io);
    const int result = Status(services, ports, io);
    io.out << "Clock correction: " << ClockCorrectionText(ReadClockCorrection(services.store, services.config.file))
           << "\n";
    return result;
}

}  // namespace orvika2
