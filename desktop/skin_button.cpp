#include "desktop/skin_button.h"

namespace orvika2 {

SkinButtonKind SkinButtonKindFromStyle(std::uint32_t style) {
    if ((style & kCheckBoxStyle) == kCheckBoxStyle) return SkinButtonKind::CheckBox;
    if ((style & kRadioButtonStyle) == kRadioButtonStyle) return SkinButtonKind::RadioButton;
    return SkinButtonKind::PushButton;
}

SkinImage SkinImageFor(const SkinPaintState& state) {
    if (state.disabled) return SkinImage::Disabled;
    if (state.selected || state.checked) return SkinImage::Down;
    if (state.hover && state.hasOverImage) return SkinImage::Over;
    return SkinImage::Normal;
}

PushedChange PushedChangeWhileHeld(bool cursorOverButton, bool pushed) {
    if (cursorOverButton && !pushed) return PushedChange::Push;
    if (!cursorOverButton && pushed) return PushedChange::Release;
    return PushedChange::None;
}

bool CheckedAfterSetCheck(SkinButtonKind kind, bool requested) {
    return kind != SkinButtonKind::PushButton && requested;
}

CheckRequest CheckRequestOnRelease(SkinButtonKind kind, bool checked) {
    switch (kind) {
        case SkinButtonKind::CheckBox: return {true, !checked};
        case SkinButtonKind::RadioButton: return {true, true};
        case SkinButtonKind::PushButton: break;
    }
    return {};
}

}  // namespace orvika2
