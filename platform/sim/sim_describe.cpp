#include "platform/sim/sim_describe.h"

#include "platform/sim/sim_profile_record.h"
#include "platform/sim/sim_state_text.h"
#include "platform/sim/sim_token.h"

namespace orvika2 {
namespace {

std::string ProfileKind(const std::optional<SimProfileRecord>& record) {
    if (!record) return "not configured";
    if (!IsTwoStepRecord(*record)) return "static password";
    return RequiresTouch(*record) ? "2-step verification, touch required" : "2-step verification, no touch";
}

std::string Activity(const SimTokenState& state) {
    const SimExchange& exchange = state.exchange;
    if (exchange.busyGetsLeft > 0 || state.faults.stuckBusy) return "busy";
    if (exchange.touchWaitSinceMs) return "waiting for touch";
    if (!exchange.answer.empty()) return exchange.answerStale ? "stale answer pending" : "answer pending";
    return "idle";
}

std::string Faults(const SimTokenState& state) {
    const SimFaults& faults = state.faults;
    std::string text;
    const auto add = [&text](const std::string& fault) { text += (text.empty() ? "" : ", ") + fault; };
    if (faults.failSendAtReport) add("send fails at report " + std::to_string(*faults.failSendAtReport));
    if (faults.failGetAtReport) add("get fails at report " + std::to_string(*faults.failGetAtReport));
    if (faults.vanishAfterReports) add("vanishes after report " + std::to_string(*faults.vanishAfterReports));
    if (faults.stuckBusy) add("stuck busy");
    if (faults.stuckBusyFromReport) add("stuck busy from report " + std::to_string(*faults.stuckBusyFromReport));
    if (faults.badAnswerChecksum) add("bad answer checksum");
    if (text.empty()) return "none";
    return text + " (" + std::to_string(state.reportsSinceArmed) + " reports so far)";
}

}  // namespace

std::string DescribeSimToken(const SimTokenState& state, std::int64_t nowMs) {
    SimTokenState now = state;
    SimSettleTouchWait(now, nowMs);
    std::string text;
    text += "serial: " + FormatSimSerial(now.serial) + "\n";
    text += "firmware: " + FormatSimFirmware(now.firmware) + "\n";
    text += "sequence: " + std::to_string(SimStatusSequence(now)) + "\n";
    text += "profile 1: " + ProfileKind(now.profiles[0]) + "\n";
    text += "profile 2: " + ProfileKind(now.profiles[1]) + "\n";
    text += "auto touch: " + (now.autoTouchMs ? "after " + std::to_string(*now.autoTouchMs) + " ms" : "off") + "\n";
    text += "busy gets per command: " + std::to_string(now.busyGets) + "\n";
    text += "state: " + Activity(now) + (SimIsVanished(now) ? ", vanished" : "") + "\n";
    text += "faults: " + Faults(now) + "\n";
    return text;
}

}  // namespace orvika2
