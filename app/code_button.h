#pragma once
// The code button handler: which profile the menu marks active, the
// generator's outcome, and what the user then sees or gets typed.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/floating_window.h"
#include "app/typing.h"
#include "token/code_generator.h"

namespace orvika2 {

class CodeButtonPort {
public:
    virtual ~CodeButtonPort() = default;
    virtual unsigned MenuItemState(int command) = 0;
    // One of our own top-level windows is titled "OTP".
    virtual bool OtpWindowExists() = 0;
    // A touch wait owns the token while it runs: a second request would
    // reset the answer it is collecting. Brings its countdown forward and
    // says whether there was one.
    virtual bool BringTouchWaitForward() = 0;
    // The top-level window in front when the code was asked for, or 0 when
    // that was one of ours (a click on the code button).
    virtual WindowId RequestingWindow() = 0;
    virtual void HideWindow() = 0;
    virtual void ShowWindowNormally() = 0;
    virtual void ShowWindowWithoutActivation() = 0;
    // No owner, empty caption, in the interface language.
    virtual void ShowMessageBox(const std::wstring& text, unsigned flags) = 0;
    // Same conventions, Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const std::wstring& text, unsigned flags) = 0;
    // Puts the code's digits on the clipboard for kClipboardHoldMs; false
    // when the clipboard could not be had.
    virtual bool CopyCodeToClipboard(const VerificationCode& code) = 0;
    // Wait15SecDialog for this profile, modally; the worker's attempt to
    // type the touched code of `digits` digits into `target`, nullopt when
    // no code came.
    virtual std::optional<TypingAttempt> RunTouchWait(int profile, int digits, WindowId target) = 0;
    virtual TypingPort& Typing() = 0;
};

inline constexpr unsigned kCodeMessageFlags = 0x40030;    // OK, exclamation, top-most
inline constexpr unsigned kClipboardOfferFlags = 0x40004;  // Yes/No, top-most
// The main window's one-shot timer that takes a copied code off the
// clipboard; above the 16-bit event codes that name the device timers.
inline constexpr std::uintptr_t kClipboardClearTimer = 0x10000;

// The active profile by the menu's whole state values: 1, 2, or 0 for none.
int ActiveProfile(CodeButtonPort& port);

// Tells the user what became of an attempt to type, and puts the code on
// the clipboard when typing could not reach its target and the user agrees.
void ReportTyping(CodeButtonPort& port, const StringSource& strings, const TypingAttempt& attempt);

// The shape of a profile's codes, as the configuration file records it.
using CodeShapeSource = std::function<CodeShape(int profile)>;

void RunCodeButton(CodeButtonPort& port, TokenPorts token, const StringSource& strings, const CodeShapeSource& shapes);

}  // namespace orvika2
