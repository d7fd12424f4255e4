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
    // With a high-contrast theme the skin gives way to the system's colours
    // and `plainLabel` on the button's shape. The window text is the
    // button's accessible name and is never drawn.
    void SetHighContrast(bool on, const std::wstring& plainLabel);

    HWND hwnd() const { return window_; }
    bool checked() const { return checked_; }
    SkinButtonKind kind() const { return kind_; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void DrawImage(HDC dc, HBITMAP image, const RECT& area) const;
    void DrawSkin(HDC dc, const DRAWITEMSTRUCT& item, SkinImage image) const;
    void DrawPlain(HDC dc, const DRAWITEMSTRUCT& item, SkinImage image) const;
    void DrawFocusMark(HDC dc, const DRAWITEMSTRUCT& item) const;
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
    UniqueBitmap normal_, down_, disabled_, mask_, over_;
    UniqueRegion region_;
    bool highContrast_ = false;
    std::wstring plainLabel_;
    HWND window_ = nullptr;
};

}  // namespace orvika2
