// A plain top-level window, titled "Key recorder", that appends every
// character it receives to the file named by its first argument, for the
// end-to-end scripts that check what was typed into the focused window. An
// optional second argument places it lower, so that two can be clicked. An
// optional third one titles it so and makes it a window of the dialog class:
// another program's window that carries the title of one of ours. An
// optional fourth, "MODIFIERS,KEY" in RegisterHotKey's numbers, holds that
// hotkey for as long as the window lives.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

struct Recorder {
    UniqueFile file;
    std::wstring shown;
    WNDPROC base = &DefWindowProcW;
};

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* recorder = reinterpret_cast<Recorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CHAR:
        if (recorder) {
            // Anything below a blank is written as \xNN, so a stray control
            // character shows in the file.
            if (wParam < 0x20) {
                std::fprintf(recorder->file.get(), "\\x%02X", static_cast<unsigned>(wParam));
            } else {
                std::fputc(static_cast<int>(wParam < 0x80 ? wParam : '?'), recorder->file.get());
            }
            std::fflush(recorder->file.get());
            recorder->shown.push_back(static_cast<wchar_t>(wParam));
            InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (recorder) TextOutW(dc, 10, 10, recorder->shown.c_str(), static_cast<int>(recorder->shown.size()));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return recorder ? CallWindowProcW(recorder->base, window, message, wParam, lParam)
                        : DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    Recorder recorder{UniqueFile(_wfopen(argv[1], L"ab")), {}};
    if (!recorder.file) return 3;
    const int top = argc > 2 ? _wtoi(argv[2]) : 100;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &RecorderProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"Orvika2KeyRecorder";
    RegisterClassW(&windowClass);
    const bool decoy = argc > 3;
    HWND window = CreateWindowExW(0, decoy ? L"#32770" : windowClass.lpszClassName, decoy ? argv[3] : L"Key recorder",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, top, 420, 160, nullptr, nullptr, instance,
                                  nullptr);
    if (!window) return 4;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&recorder));
    if (decoy) {
        recorder.base = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecorderProc)));
    }
    unsigned modifiers = 0, key = 0;
    if (argc > 4 && (swscanf(argv[4], L"%u,%u", &modifiers, &key) != 2 || !RegisterHotKey(window, 1, modifiers, key))) {
        return 5;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
