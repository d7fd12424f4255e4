#include "platform/key_output.h"

#include <windows.h>

#include <vector>

namespace orvika2 {
namespace {

class SendInputKeyOutput final : public KeyOutput {
public:
    bool Send(std::span<const KeyEvent> events) override {
        std::vector<INPUT> inputs(events.size());
        for (std::size_t i = 0; i < events.size(); ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wVk = events[i].virtualKey;
            inputs[i].ki.wScan = 0;
            inputs[i].ki.dwFlags = events[i].keyUp ? KEYEVENTF_KEYUP : 0;
            inputs[i].ki.time = 0;
            inputs[i].ki.dwExtraInfo = 0;
        }
        const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        return sent == inputs.size();
    }
};

}  // namespace

std::unique_ptr<KeyOutput> MakePlatformKeyOutput() { return std::make_unique<SendInputKeyOutput>(); }

}  // namespace orvika2
