#include "desktop/skin_button_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include <vector>

#include "ui/dialog_base_win32.h"
#include "desktop/skin_region.h"

namespace orvika2 {
namespace {

constexpr UINT_PTR kSubclassId = 0x5842;  // 'XB'

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

UniqueBitmap LoadSkinBitmap(HINSTANCE module, UINT id) {
    return UniqueBitmap(static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

MaskPixels ReadMaskPixels(HBITMAP mask) {
    MaskPixels pixels;
    const SIZE size = BitmapSize(mask);
    if (size.cx <= 0 || size.cy <= 0) return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> data(static_cast<std::size_t>(size.cx) * size.cy);
    WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), mask, 0, size.cy, data.data(), &info, DIB_RGB_COLORS) != size.cy) return pixels;
    for (auto& pixel : data) pixel &= 0x00FFFFFF;
    pixels.width = size.cx;
    pixels.height = size.cy;
    pixels.pixels = std::move(data);
    return pixels;
}

UniqueRegion RegionFromRects(const std::vector<RegionRect>& rects) {
    if (rects.empty()) return {};
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    auto* out = reinterpret_cast<RECT*>(data->Buffer);
    for (const auto& r : rects) {
        *out++ = {r.left, r.top, r.right, r.bottom};
        bounds = {std::min(bounds.left, static_cast<LONG>(r.left)), std::min(bounds.top, static_cast<LONG>(r.top)),
                  std::max(bounds.right, static_cast<LONG>(r.right)),
                  std::max(bounds.bottom, static_cast<LONG>(r.bottom))};
    }
    data->rdh.rcBound = bounds;
    return UniqueRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}

}  // namespace

CxSkinButton::CxSkinButton() = default;

CxSkinButton::~CxSkinButton() {
    if (window_) RemoveWindowSubclass(window_, &SubclassProc, kSubclassId);
}

void CxSkinButton::Attach(HWND button) {
    window_ = button;
    const auto style = static_cast<std::uint32_t>(GetWindowLongW(button, GWL_STYLE));
    kind_ = SkinButtonKindFromStyle(style);
    SetWindowSubclass(button, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    SetWindowLongW(button, GWL_STYLE, static_cast<LONG>((style & ~BS_TYPEMASK) | BS_OWNERDRAW));
}

void CxSkinButton::SetSkin(HINSTANCE module, UINT normal, UINT down, UINT over, UINT disabled, UINT mask) {
    normal_ = LoadSkinBitmap(module, normal);
    down_ = LoadSkinBitmap(module, down);
    over_ = LoadSkinBitmap(module, over);
    disabled_ = LoadSkinBitmap(module, disabled);
    mask_ = LoadSkinBitmap(module, mask);
    LoadRegion();
    const SIZE size = BitmapSize(mask_.get());
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

void CxSkinButton::LoadRegion() {
    region_ = RegionFromRects(RegionRectsFromMask(ReadMaskPixels(mask_.get())));
    if (!region_) return;
    // The window takes ownership of the region it is given: hand it a copy
    // and keep ours for clipping.
    HRGN windowRegion = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(windowRegion, region_.get(), nullptr, RGN_COPY);
    if (!SetWindowRgn(window_, windowRegion, TRUE)) DeleteObject(windowRegion);
    WindowDc dc(window_);
    SelectClipRgn(dc.get(), region_.get());
}

void CxSkinButton::SetHighContrast(bool on, const std::wstring& plainLabel) {
    highContrast_ = on;
    plainLabel_ = plainLabel;
    InvalidateRect(window_, nullptr, FALSE);
}

void CxSkinButton::SetToolTipText(const std::wstring& text) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    if (!tooltip_) {
        tooltip_.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
        if (!tooltip_) return;
        SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip_.get(), TTM_ACTIVATE, TRUE, 0);
        return;
    }
    SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CALLBACK CxSkinButton::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &SubclassProc, kSubclassId);
        reinterpret_cast<CxSkinButton*>(self)->window_ = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return reinterpret_cast<CxSkinButton*>(self)->OnMessage(message, wParam, lParam);
}

bool CxSkinButton::CursorOverButton() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    return WindowFromPoint(cursor) == window_;
}

bool CxSkinButton::PointOverButton(LPARAM clientPoint) const {
    POINT point{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    ClientToScreen(window_, &point);
    return WindowFromPoint(point) == window_;
}

void CxSkinButton::RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) return;
    MSG relayed{window_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void CxSkinButton::SetCheck(bool checked) { SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

void CxSkinButton::Release(bool overButton) {
    if (!overButton) return;
    const CheckRequest request = CheckRequestOnRelease(kind_, checked_);
    if (request.send) SetCheck(request.checked);
}

LRESULT CxSkinButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_;
    switch (message) {
        case kReflectedDrawItem:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_SETTEXT: {
            // The text is the button's accessible name only: the button class
            // would clear its label area on the skin before the repaint.
            const LRESULT stored = DefWindowProcW(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, FALSE);
            return stored;
        }
        case WM_MOUSEMOVE:
            RelayToTooltip(message, wParam, lParam);
            if (pressed_ && GetCapture() == window) {
                const bool pushed = (SendMessageW(window, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
                const PushedChange change = PushedChangeWhileHeld(PointOverButton(lParam), pushed);
                if (change != PushedChange::None) {
                    SendMessageW(window, BM_SETSTATE, change == PushedChange::Push, 0);
                    InvalidateRect(window, nullptr, FALSE);
                }
            } else if (!hover_) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
                if (TrackMouseEvent(&track)) {
                    hover_ = true;
                    InvalidateRect(window, nullptr, FALSE);
                }
            }
            break;
        case WM_MOUSELEAVE:
            hover_ = false;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDBLCLK:
            return OnMessage(WM_LBUTTONDOWN, wParam, lParam);
        case WM_LBUTTONDOWN: {
            RelayToTooltip(message, wParam, lParam);
            if (hover_) {
                TRACKMOUSEEVENT cancel{sizeof(cancel), TME_CANCEL | TME_LEAVE, window, 0};
                if (TrackMouseEvent(&cancel)) hover_ = false;
            }
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            pressed_ = true;
            return result;
        }
        case WM_LBUTTONUP:
            if (kind_ != SkinButtonKind::PushButton) Release(PointOverButton(lParam));
            RelayToTooltip(message, wParam, lParam);
            pressed_ = false;
            break;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && kind_ != SkinButtonKind::PushButton) Release(true);
            break;
        case WM_KILLFOCUS:
            if (GetCapture() == window) {
                ReleaseCapture();
                pressed_ = false;
            }
            break;
        case BM_GETCHECK:
            return checked_ ? BST_CHECKED : BST_UNCHECKED;
        case BM_SETCHECK:
            checked_ = CheckedAfterSetCheck(kind_, wParam != 0);
            if (kind_ == SkinButtonKind::RadioButton && checked_) {
                HWND parent = GetParent(window);
                for (HWND other = GetNextDlgGroupItem(parent, window, FALSE); other && other != window;
                     other = GetNextDlgGroupItem(parent, other, FALSE)) {
                    PostMessageW(other, kUncheckMessage, 0, 0);
                }
            }
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case kUncheckMessage:
            if (checked_) {
                checked_ = false;
                InvalidateRect(window, nullptr, FALSE);
            }
            return 0;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void CxSkinButton::DrawItem(const DRAWITEMSTRUCT& item) {
    if (pressed_ && GetCapture() == window_) {
        const bool pushed = (SendMessageW(window_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        const PushedChange change = PushedChangeWhileHeld(CursorOverButton(), pushed);
        if (change != PushedChange::None) {
            SendMessageW(window_, BM_SETSTATE, change == PushedChange::Push, 0);
            return;
        }
    }
    SkinPaintState state;
    state.disabled = (item.itemState & ODS_DISABLED) != 0;
    state.selected = (item.itemState & ODS_SELECTED) != 0;
    state.checked = checked_;
    state.hover = hover_;
    state.hasOverImage = static_cast<bool>(over_);
    const SkinImage image = SkinImageFor(state);
    if (highContrast_) {
        DrawPlain(item.hDC, item, image);
    } else {
        DrawSkin(item.hDC, item, image);
    }
    DrawFocusMark(item.hDC, item);
}

void CxSkinButton::DrawSkin(HDC dc, const DRAWITEMSTRUCT& item, SkinImage image) const {
    const auto fill = [&] { FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE)); };
    switch (image) {
        case SkinImage::Disabled:
            if (disabled_) DrawImage(dc, disabled_.get(), item.rcItem); else fill();
            break;
        case SkinImage::Down:
            if (down_) DrawImage(dc, down_.get(), item.rcItem); else fill();
            break;
        case SkinImage::Over:
            DrawImage(dc, over_.get(), item.rcItem);
            break;
        case SkinImage::Normal:
            if (normal_) DrawImage(dc, normal_.get(), item.rcItem); else fill();
            break;
    }
}

// The button's shape in the theme's button colours, the pushed one in its
// selection colours, with a short label.
void CxSkinButton::DrawPlain(HDC dc, const DRAWITEMSTRUCT& item, SkinImage image) const {
    const bool down = image == SkinImage::Down;
    const int face = down ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    const int text = image == SkinImage::Disabled ? COLOR_GRAYTEXT : down ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
    if (region_) {
        FillRgn(dc, region_.get(), GetSysColorBrush(face));
        FrameRgn(dc, region_.get(), GetSysColorBrush(COLOR_BTNTEXT), 1, 1);
    } else {
        FillRect(dc, &item.rcItem, GetSysColorBrush(face));
        FrameRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNTEXT));
    }
    RECT area = item.rcItem;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(text));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(GetParent(window_), WM_GETFONT, 0, 0));
    SelectedObject selectedFont(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, plainLabel_.c_str(), static_cast<int>(plainLabel_.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Inside the round shape, where a rectangle still lies wholly on the button:
// a square inscribed in the circle leaves about 15 % of the size each side.
// Hidden until the keyboard is used, as the system's buttons do.
void CxSkinButton::DrawFocusMark(HDC dc, const DRAWITEMSTRUCT& item) const {
    if ((item.itemState & ODS_FOCUS) == 0 || (item.itemState & ODS_NOFOCUSRECT) != 0) return;
    RECT mark = item.rcItem;
    const int inset = std::max(2, static_cast<int>(((mark.right - mark.left) * 15 + 50) / 100));
    InflateRect(&mark, -inset, -inset);
    // Only on the shape: the skin keeps whatever lies outside its mask, so a
    // mark drawn there would outlive the focus.
    if (region_) SelectClipRgn(dc, region_.get());
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    DrawFocusRect(dc, &mark);
    SelectClipRgn(dc, nullptr);
}

void CxSkinButton::DrawImage(HDC dc, HBITMAP image, const RECT& area) const {
    const SIZE size = BitmapSize(image);
    UniqueMemoryDc imageDc(CreateCompatibleDC(dc));
    SelectedObject selectedImage(imageDc.get(), image);
    if (!mask_) {
        BitBlt(dc, area.left, area.top, size.cx, size.cy, imageDc.get(), 0, 0, SRCCOPY);
        return;
    }
    // Image XOR, mask AND, image XOR: the background stays where the mask
    // is white, the image shows where it is black.
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    UniqueMemoryDc scratchDc(CreateCompatibleDC(dc));
    UniqueBitmap scratch(CreateCompatibleBitmap(dc, width, height));
    SelectedObject selectedScratch(scratchDc.get(), scratch.get());
    BitBlt(scratchDc.get(), 0, 0, width, height, dc, area.left, area.top, SRCCOPY);
    BitBlt(scratchDc.get(), 0, 0, size.cx, size.cy, imageDc.get(), 0, 0, SRCINVERT);
    {
        UniqueMemoryDc maskDc(CreateCompatibleDC(dc));
        SelectedObject selectedMask(maskDc.get(), mask_.get());
        const SIZE maskSize = BitmapSize(mask_.get());
        BitBlt(scratchDc.get(), 0, 0, maskSize.cx, maskSize.cy, maskDc.get(), 0, 0, SRCAND);
    }
    BitBlt(scratchDc.get(), 0, 0, size.cx, size.cy, imageDc.get(), 0, 0, SRCINVERT);
    BitBlt(dc, area.left, area.top, width, height, scratchDc.get(), 0, 0, SRCCOPY);
}

}  // namespace orvika2
