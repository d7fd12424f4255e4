#pragma once
// Wait15SecDialog: the countdown shown while the token waits for its button,
// with the worker thread that collects the answer and types the code.
#include <windows.h>

#include <atomic>
#include <optional>
#include <thread>

#include "app/typing_win32.h"
#include "app/wait_dialog.h"
#include "platform/win32_handles_win32.h"
#include "ui/dialog_base_win32.h"
#include "ui/live_region_win32.h"

namespace orvika2 {

class Wait15SecDialog final : public DialogBase, private TouchWaitPort {
public:
    // `focusTarget` had the keyboard focus when the code was asked for; it
    // gets it back when the dialog steps aside to let the code be typed.
    Wait15SecDialog(int profile, int digits, TokenPorts token, HWND focusTarget, TypingMethod method);
    ~Wait15SecDialog() override;

    // Modal; the worker has ended when it returns.
    std::optional<TypingAttempt> Run();
    int profile() const { return profile_; }

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnClose();
    void OnStepAside(bool handFocusBack);
    void WaitForWorker();
    static void CALLBACK SendTick(HWND window, UINT, UINT_PTR, DWORD);
    static LRESULT CALLBACK FilterKeys(int code, WPARAM wParam, LPARAM lParam);

    // TouchWaitPort, called on the worker thread.
    void StepAside(bool handFocusBack) override;
    TypingPort& Typing() override { return typing_; }
    void CloseDialog() override;

    int profile_;
    int digits_;
    TokenPorts token_;
    HWND focusTarget_;
    Countdown countdown_;
    std::optional<LiveRegion> spokenCount_;
    UniqueHandle<HFONT, GdiObjectTraits> font_;
    UniqueHook keyFilter_;
    Win32Typing typing_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> workerDone_{false};
    std::optional<TypingAttempt> attempt_;
    std::jthread worker_;
};

}  // namespace orvika2
