#pragma once
// The skinned button's decisions: its kind from the window style, the image
// a paint request draws, and the check state that a click or a message sets.
#include <cstdint>

namespace orvika2 {

enum class SkinButtonKind : std::int32_t { PushButton = 0, CheckBox = 2, RadioButton = 4 };

inline constexpr std::uint32_t kCheckBoxStyle = 0x3;     // BS_AUTOCHECKBOX
inline constexpr std::uint32_t kRadioButtonStyle = 0x9;  // BS_AUTORADIOBUTTON

// The low bits of a button style: 0x3 (auto check box) or 0x9 (auto radio
// button) and their supersets.
SkinButtonKind SkinButtonKindFromStyle(std::uint32_t style);

enum class SkinImage { Normal, Down, Over, Disabled };

struct SkinPaintState {
    bool disabled = false;
    bool selected = false;  // pushed
    bool checked = false;
    bool hover = false;
    bool hasOverImage = true;
};
SkinImage SkinImageFor(const SkinPaintState& state);

// While the left button is held on the button: the pushed state the button
// should have, or none when it already has it.
enum class PushedChange { None, Push, Release };
PushedChange PushedChangeWhileHeld(bool cursorOverButton, bool pushed);

// The check state after BM_SETCHECK: push buttons are never checked.
bool CheckedAfterSetCheck(SkinButtonKind kind, bool requested);

// The check request of a release (mouse up over the button, or the space
// bar) on a check box or radio button; none for a push button.
struct CheckRequest {
    bool send = false;
    bool checked = false;
};
CheckRequest CheckRequestOnRelease(SkinButtonKind kind, bool checked);

}  // namespace orvika2
