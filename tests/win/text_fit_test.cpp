// Every text of every dialog fits its control, in both languages, at the
// display scale of the run: tests/e2e/win_text_fit.sh runs this again at
// 150 % and without the Chinese font link.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/win32_handles_win32.h"
#include "tests/win/every_dialog.h"
#include "tests/win/window_display.h"

namespace orvika2 {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

RECT ScreenClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Where a control draws its text and how, as the platform's button and
// static controls do; nothing for controls without a label.
struct TextRoom {
    RECT room;
    UINT format;
};

std::optional<TextRoom> RoomOf(HWND control, HDC dc) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT room{};
    GetClientRect(control, &room);
    const std::wstring kind = ClassOf(control);
    if (_wcsicmp(kind.c_str(), WC_STATICW) == 0) {
        UINT format = DT_EXPANDTABS | DT_WORDBREAK;
        switch (style & SS_TYPEMASK) {
            case SS_LEFT:
            case SS_CENTER:
            case SS_RIGHT: break;
            case SS_SIMPLE: format = DT_SINGLELINE; break;
            case SS_LEFTNOWORDWRAP: format = DT_EXPANDTABS; break;
            default: return std::nullopt;
        }
        if (style & SS_CENTERIMAGE) format = DT_SINGLELINE;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        return TextRoom{room, format};
    }
    if (_wcsicmp(kind.c_str(), WC_BUTTONW) != 0) return std::nullopt;
    const UINT lines = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            // The raised frame and the focus rectangle.
            InflateRect(&room, -3, -1);
            return TextRoom{room, lines};
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE: {
            // The glyph scales with the display; the gap is half a digit.
            INT digit = 0;
            GetCharWidth32W(dc, L'0', L'0', &digit);
            room.left += MulDiv(12, GetDeviceCaps(dc, LOGPIXELSX), 96) + 1 + digit / 2;
            return TextRoom{room, lines};
        }
        case BS_GROUPBOX:
            // The caption sits in the frame's top edge, inset from its corners.
            InflateRect(&room, -7, 0);
            return TextRoom{room, DT_SINGLELINE};
        default: return std::nullopt;
    }
}

// Measures the labels of one dialog and its pages, each with its own font.
class TextFitWalk {
public:
    explicit TextFitWalk(std::string where) : where_(std::move(where)) {}

    void Measure(HWND dialog) {
        dialog_ = dialog;
        EnumChildWindows(
            dialog,
            [](HWND control, LPARAM self) {
                reinterpret_cast<TextFitWalk*>(self)->MeasureControl(control);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
    }
    int labels() const { return labels_; }
    const std::vector<std::string>& clipped() const { return clipped_; }

private:
    void MeasureControl(HWND control) {
        if (_wcsicmp(ClassOf(control).c_str(), WC_TABCONTROLW) == 0) MeasureTabItems(control);
        wchar_t buffer[512] = {};
        GetWindowTextW(control, buffer, 512);
        const std::wstring text = buffer;
        if (text.empty()) return;
        const WindowDc dc(control);
        const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
        const HGDIOBJ old = SelectObject(dc.get(), font ? font : GetStockObject(SYSTEM_FONT));
        const std::optional<TextRoom> room = RoomOf(control, dc.get());
        if (room) {
            ++labels_;
            const LONG width = room->room.right - room->room.left;
            const LONG height = room->room.bottom - room->room.top;
            RECT needed{0, 0, width, 0};
            DrawTextW(dc.get(), text.c_str(), -1, &needed, room->format | DT_CALCRECT);
            if (needed.right > width || needed.bottom > height) {
                Note(control, text, "needs " + Size(needed.right, needed.bottom) + " px, has " + Size(width, height));
            }
            CheckShownWhole(control, text);
            CheckUncovered(control, text);
        }
        SelectObject(dc.get(), old);
    }

    // Every window between the label and the dialog shows the label whole.
    void CheckShownWhole(HWND control, const std::wstring& text) {
        RECT box{};
        GetWindowRect(control, &box);
        for (HWND parent = GetParent(control); parent; parent = GetParent(parent)) {
            if (!Inside(box, ScreenClient(parent))) {
                Note(control, text, "reaches out of its window (control " + std::to_string(GetDlgCtrlID(parent)) + ")");
                return;
            }
            if (!(GetWindowLongW(parent, GWL_STYLE) & WS_CHILD)) return;
        }
    }

    // No other control but a frame lies over the label.
    void CheckUncovered(HWND control, const std::wstring& text) {
        RECT box{};
        GetWindowRect(control, &box);
        for (HWND other = GetWindow(GetParent(control), GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
            RECT otherBox{}, common{};
            GetWindowRect(other, &otherBox);
            if (other == control || IsGroupBox(other) || IsGroupBox(control)) continue;
            if (IntersectRect(&common, &box, &otherBox)) {
                Note(control, text, "lies under control " + std::to_string(GetDlgCtrlID(other)));
            }
        }
    }
    static bool IsGroupBox(HWND window) {
        return _wcsicmp(ClassOf(window).c_str(), WC_BUTTONW) == 0 &&
               (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    }

    void MeasureTabItems(HWND tab) {
        RECT client{};
        GetClientRect(tab, &client);
        const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
        for (int item = 0; item < count; ++item) {
            RECT box{};
            SendMessageW(tab, TCM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&box));
            ++labels_;
            if (box.right > client.right) Note(tab, L"tab " + std::to_wstring(item), "runs past the tab control");
            // The pages stand below the tabs, or they would cover their labels.
            for (HWND page = GetWindow(tab, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT)) {
                RECT pageBox{};
                GetWindowRect(page, &pageBox);
                MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&pageBox), 2);
                if (pageBox.top < box.bottom) {
                    Note(tab, L"tab " + std::to_wstring(item), "reaches down to " + std::to_string(box.bottom) + " px, the page starts at " +
                                                                     std::to_string(pageBox.top));
                    break;
                }
            }
        }
    }

    static std::string Size(LONG width, LONG height) { return std::to_string(width) + "x" + std::to_string(height); }
    void Note(HWND control, const std::wstring& text, const std::string& how) {
        clipped_.push_back(where_ + PageOf(control) + " control " + std::to_string(GetDlgCtrlID(control)) + " \"" +
                           NarrowUtf8(text) + "\" " + how);
    }
    // The tab pages carry the same control ids: name them by their order.
    std::string PageOf(HWND control) {
        HWND parent = GetParent(control);
        if (parent == dialog_ || !(GetWindowLongW(parent, GWL_STYLE) & WS_CHILD)) return "";
        const auto known = std::find(pages_.begin(), pages_.end(), parent);
        const auto index = known - pages_.begin();
        if (known == pages_.end()) pages_.push_back(parent);
        return " page " + std::to_string(index + 1);
    }

    std::string where_;
    HWND dialog_ = nullptr;
    std::vector<HWND> pages_;
    int labels_ = 0;
    std::vector<std::string> clipped_;
};

TEST(TextFit, EveryLabelOfEveryDialogFitsInBothLanguages) {
    const UniqueWindow probe = ProbeWindowForDialogs();
    ORVIKA2_REQUIRE_WINDOW(probe);
    std::vector<std::string> clipped;
    int labels = 0;
    VisitEveryDialog([&](HWND dialog, const std::string& where) {
        TextFitWalk walk(where);
        walk.Measure(dialog);
        labels += walk.labels();
        clipped.insert(clipped.end(), walk.clipped().begin(), walk.clipped().end());
    });
    EXPECT_GT(labels, 60) << "the walk found too few labels";
    std::ostringstream list;
    for (const std::string& line : clipped) list << "\n  " << line;
    EXPECT_TRUE(clipped.empty()) << clipped.size() << " clipped texts:" << list.str();
}

}  // namespace
}  // namespace orvika2
