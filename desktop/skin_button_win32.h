#pragma once
// A button drawn from bitmaps, cut to the shape of its mask.
#include <windows.h>

#include <string>

#include "desktop/skin_button.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {

class CxSkinButton {
public:
    // Posted to the other buttons of a radio group when one is checked.
    static constexpr UINT kUncheckMessage = WM_USER + 256;

    CxSkinButton();
    ~CxSkinButton();
    CxSkinButton(const CxSkinButton&) = delete;
    CxSkinButton& operator=(const CxSkinButton&) = delete;

    // Takes over an existing button window of a dialog.
    void Attach(HWND button);
    void SetSkin(HINSTANCE module, UINT normal, UINT down, UINT over, UINT disabled, UINT mask);
    void SetToolTipText(const std::wstring& text);

    HWND hwnd() const { return window_; }
    bool checked() const { return checked_; }
    SkinButtonKind kind() const { return kind_; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void DrawImage(HDC dc, HBITMAP image, const RECT& area) const;
    void DrawLabel(HDC dc, RECT area, COLORREF colour) const;
    bool CursorOverButton() const;
    bool PointOverButton(LPARAM clientPoint) const;
    void RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);
    void SetCheck(bool checked);
    void Release(bool overButton);
    void LoadRegion();

    // Members in the order the control's state is described.
    bool checked_ = false;
    SkinButtonKind kind_ = SkinButtonKind::PushButton;
    bool hover_ = false;
    bool pressed_ = false;
    UniqueWindow tooltip_;
    UniqueBitmap normal_, down_, disabled_, mask_, over_, focus_;
    short focusMargin_ = 0;
    COLORREF textColour_;
    UniqueRegion region_;
    bool border_ = false;
    short drawMode_ = 0;
    HWND window_ = nullptr;
};

}  // namespace orvika2
