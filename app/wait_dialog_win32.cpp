#include "app/wait_dialog_win32.h"

#include "resources/resource.h"
#include "ui/ui_language_win32.h"

namespace orvika2 {
namespace {

constexpr UINT_PTR kCountdownTimer = 0;
constexpr int kCountdownPoints = 16;

}  // namespace

Wait15SecDialog::Wait15SecDialog(int profile, int digits, TokenPorts token, HWND focusTarget, TypingMethod method)
    : DialogBase(IDD_WAIT_FOR_TOUCH),
      profile_(profile),
      digits_(digits),
      token_(token),
      focusTarget_(focusTarget),
      typing_([method] { return method; }) {}

Wait15SecDialog::~Wait15SecDialog() {
    cancelled_ = true;
    WaitForWorker();
}

std::optional<TypingAttempt> Wait15SecDialog::Run() {
    DoModal();
    WaitForWorker();
    return attempt_;
}

BOOL Wait15SecDialog::OnInitDialog() {
    SetWindowTextW(hwnd(), LoadUiString(IDS_WAIT_DIALOG_TITLE).c_str());
    SetDlgItemTextW(hwnd(), IDC_TOUCH_PROMPT, LoadUiString(IDS_WAIT_DIALOG_PROMPT).c_str());
    countdown_ = Countdown{};
    SetDlgItemTextW(hwnd(), IDC_COUNTDOWN, countdown_.Text().c_str());
    spokenCount_.emplace(Item(IDC_COUNTDOWN));
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(kCountdownPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font_.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    SendMessageW(Item(IDC_COUNTDOWN), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    keyFilter_.reset(SetWindowsHookExW(WH_MSGFILTER, &FilterKeys, nullptr, GetCurrentThreadId()));
    SetTimer(hwnd(), kCountdownTimer, kCountdownTickMs, &SendTick);
    worker_ = std::jthread([this] {
        SetThreadUILanguage(UiLanguageId());
        attempt_ = WaitForTouchWorker(token_, cancelled_, *this, reinterpret_cast<WindowId>(focusTarget_), digits_);
        workerDone_ = true;
    });
    return TRUE;
}

void CALLBACK Wait15SecDialog::SendTick(HWND window, UINT, UINT_PTR, DWORD) {
    SendMessageW(window, WM_COUNTDOWN_TICK, 0, 0);
}

// The modal loop offers every message here before the dialog's own key
// handling sees it.
LRESULT CALLBACK Wait15SecDialog::FilterKeys(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message && FilteredKeyDown(message->message, message->wParam)) return TRUE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool Wait15SecDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_COUNTDOWN_TICK:
        countdown_.Tick();
        SetDlgItemTextW(hwnd(), IDC_COUNTDOWN, countdown_.Text().c_str());
        if (countdown_.Announced() && spokenCount_) spokenCount_->Announce();
        return true;
    case WM_STEP_ASIDE:
        OnStepAside(wParam != 0);
        return true;
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_COMMAND:
        // The template has no buttons: these come from the keyboard only.
        return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
    default:
        return false;
    }
}

void Wait15SecDialog::OnClose() {
    cancelled_ = true;
    KillTimer(hwnd(), kCountdownTimer);
    keyFilter_.reset();
    EndTouchWait(token_);
    EndDialog(IDCANCEL);
}

// The worker may be inside a SendMessage to the dialog: keep answering sent
// messages until it has ended.
void Wait15SecDialog::WaitForWorker() {
    if (!worker_.joinable()) return;
    while (!workerDone_) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_SENDMESSAGE);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    worker_.join();
}

// Minimising an active dialog activates another of our windows; the target
// is made foreground afterwards, from the thread that owned the activation.
void Wait15SecDialog::OnStepAside(bool handFocusBack) {
    ShowWindow(hwnd(), SW_MINIMIZE);
    if (handFocusBack && focusTarget_ && IsWindow(focusTarget_)) SetForegroundWindow(focusTarget_);
}

void Wait15SecDialog::StepAside(bool handFocusBack) {
    SendMessageW(hwnd(), WM_STEP_ASIDE, handFocusBack ? 1 : 0, 0);
}

void Wait15SecDialog::CloseDialog() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

}  // namespace orvika2
