#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_context.h"
#include "cli/secret_input.h"
#include "platform/text.h"
#include "platform/secure_memory.h"
#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_state_text.h"
#include "platform/sim/sim_token_file.h"
#include "token/profile_config.h"

namespace orvika2 {
namespace {

// The secret as the page takes it.
std::optional<SimProfileRecord> TwoStepFromBase32(const std::string& text, bool requireTouch) {
    const auto secret = DecodeTwoStepSecret(text);
    if (!secret) return std::nullopt;
    return FactoryTwoStepRecord(secret->get(), requireTouch);
}

int Fail(CliIo io, const std::string& problem) {
    io.err << problem << "\n";
    return kExitFailure;
}

// A profile's secret when `--NAME`, `--NAME -` or `--NAME-file` is given:
// nullopt without either; a refusal's status, its message printed.
std::optional<SecretString> SecretOf(const Arguments& args, const std::string& name, const StartDirectory& start,
                                     CliIo io, int& refusedStatus) {
    refusedStatus = 0;
    if (!args.Value(name) && !args.Value(name + "-file")) return std::nullopt;
    SecretRefusal refusal{};
    const auto secret = ReadSecretOption(args, name, "", start, io, refusal);
    if (!secret) {
        refusedStatus = refusal.exitStatus;
        return std::nullopt;
    }
    return SecretString(NarrowUtf8(secret->get()));
}

int Create(const std::filesystem::path& path, const Arguments& args, const StartDirectory& start, CliIo io) {
    SimTokenState state;
    state.serial = {0x00, 0xa1, 0xb2, 0xc3};
    if (const auto text = args.Value("serial")) {
        const auto serial = ParseSimSerial(*text);
        if (!serial) return ReportUsage(io);
        state.serial = *serial;
    }
    if (const auto text = args.Value("firmware")) {
        const auto firmware = ParseSimFirmware(*text);
        if (!firmware) return ReportUsage(io);
        state.firmware = *firmware;
    }
    for (int profile = 1; profile <= 2; ++profile) {
        const std::string n = std::to_string(profile);
        int refused = 0;
        const auto totp = SecretOf(args, "totp" + n, start, io, refused);
        if (refused) return refused;
        const auto text = SecretOf(args, "static" + n, start, io, refused);
        if (refused) return refused;
        if (totp && text) return ReportUsage(io);
        if (args.Has("touch" + n) && !totp) return ReportUsage(io);
        if (totp) {
            const SecretString& secret = *totp;
            const auto record = TwoStepFromBase32(secret.get(), args.Has("touch" + n));
            if (!record) return Fail(io, "--totp" + n + ": not a usable Base32 secret");
            FactoryInstall(state, profile, *record);
        } else if (text) {
            const auto record = FactoryStaticRecord(text->get());
            if (!record) return Fail(io, "--static" + n + ": 1 to 38 characters the token can type");
            FactoryInstall(state, profile, *record);
        }
    }
    const std::string problem = SimTokenFile(path, NativeSimServices()).Create(state);
    if (!problem.empty()) return Fail(io, problem);
    io.out << "Simulated token created in " << path.string() << "\n";
    return kExitOk;
}

int Set(const SimTokenFile& file, const Arguments& args, CliIo io) {
    std::string problem;
    if (const auto text = args.Value("auto-touch")) {
        const auto ms = *text == "off" ? std::optional<long long>(-1) : ParseInteger(*text, 0, 600'000);
        if (!ms) return ReportUsage(io);
        problem = file.SetAutoTouch(*ms < 0 ? std::nullopt : std::optional<std::uint32_t>(*ms));
        if (!problem.empty()) return Fail(io, problem);
    }
    if (const auto text = args.Value("busy-gets")) {
        const auto gets = ParseInteger(*text, 0, 1000);
        if (!gets) return ReportUsage(io);
        problem = file.SetBusyGets(static_cast<std::uint32_t>(*gets));
        if (!problem.empty()) return Fail(io, problem);
    }
    SimFaults faults;
    bool armFaults = args.Has("clear-faults");
    for (const auto& [name, slot] : {std::pair{"fail-send", &faults.failSendAtReport},
                                     std::pair{"fail-get", &faults.failGetAtReport},
                                     std::pair{"vanish-after", &faults.vanishAfterReports}}) {
        if (const auto text = args.Value(name)) {
            const auto report = ParseInteger(*text, 0, 1'000'000);
            if (!report) return ReportUsage(io);
            *slot = static_cast<std::uint32_t>(*report);
            armFaults = true;
        }
    }
    faults.stuckBusy = args.Has("stuck-busy");
    faults.badAnswerChecksum = args.Has("bad-checksum");
    if (armFaults || faults.stuckBusy || faults.badAnswerChecksum) {
        problem = file.ArmFaults(faults);
        if (!problem.empty()) return Fail(io, problem);
    }
    return kExitOk;
}

}  // namespace

int RunSimCommand(const std::vector<std::string>& args, CliIo io, const StartDirectory& start) {
    if (args.size() < 2) return ReportUsage(io);
    const std::string& verb = args[0];
    const std::filesystem::path path = args[1];
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    const SimTokenFile file(path, NativeSimServices());

    if (verb == "create") {
        const auto parsed = Arguments::Parse(rest,
                                             {"serial", "firmware", "totp1", "totp2", "static1", "static2",
                                              "totp1-file", "totp2-file", "static1-file", "static2-file"},
                                             {"touch1", "touch2"});
        if (!parsed || !parsed->Positional().empty()) return ReportUsage(io);
        return Create(path, *parsed, start, io);
    }
    if (verb == "set") {
        const auto parsed = Arguments::Parse(rest, {"auto-touch", "busy-gets", "fail-send", "fail-get", "vanish-after"},
                                             {"stuck-busy", "bad-checksum", "clear-faults"});
        if (!parsed || !parsed->Positional().empty()) return ReportUsage(io);
        return Set(file, *parsed, io);
    }
    if (verb == "touch" && rest.empty()) {
        bool released = false;
        if (const auto problem = file.Touch(released); !problem.empty()) return Fail(io, problem);
        io.out << (released ? "Touched: the waiting challenge is answered\n" : "Touched: no challenge was waiting\n");
        return kExitOk;
    }
    if (verb == "press") {
        const auto parsed = Arguments::Parse(rest, {"profile"}, {});
        const auto profile = parsed && parsed->Positional().empty() && parsed->Value("profile")
                                 ? ParseInteger(*parsed->Value("profile"), 1, 2)
                                 : std::nullopt;
        if (!profile) return ReportUsage(io);
        std::optional<std::string> typed;
        if (const auto problem = file.Press(static_cast<int>(*profile), typed); !problem.empty()) {
            return Fail(io, problem);
        }
        if (!typed) return Fail(io, "Profile " + std::to_string(*profile) + " types nothing");
        io.out << *typed << "\n";
        return kExitOk;
    }
    if (verb == "show" && rest.empty()) {
        std::string summary;
        if (const auto problem = file.Show(summary); !problem.empty()) return Fail(io, problem);
        io.out << summary;
        return kExitOk;
    }
    return ReportUsage(io);
}

}  // namespace orvika2
