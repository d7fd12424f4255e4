#pragma once
// The code button handler: which profile the menu marks active, the
// generator's outcome, and what the user then sees or gets typed.
#include <string>

#include "app/floating_window.h"
#include "app/typing.h"
#include "token/code_generator.h"

namespace orvika2 {

class CodeButtonPort {
public:
    virtual ~CodeButtonPort() = default;
    virtual unsigned MenuItemState(int command) = 0;
    // A top-level window titled "OTP" exists.
    virtual bool OtpWindowExists() = 0;
    virtual void HideWindow() = 0;
    virtual void ShowWindowNormally() = 0;
    virtual void ShowWindowWithoutActivation() = 0;
    // No owner, empty caption, in the interface language.
    virtual void ShowMessageBox(const std::wstring& text, unsigned flags) = 0;
    // Wait15SecDialog for this profile, modally.
    virtual void RunTouchWait(int profile) = 0;
    virtual TypingPort& Typing() = 0;
};

inline constexpr unsigned kCodeMessageFlags = 0x40030;  // OK, exclamation, top-most

// The active profile by the menu's whole state values: 1, 2, or 0 for none.
int ActiveProfile(CodeButtonPort& port);

// The string a typing result is reported with, 0 for none.
int TypingMessageId(TypingResult result);

void RunCodeButton(CodeButtonPort& port, TokenPorts token, const StringSource& strings);

}  // namespace orvika2
