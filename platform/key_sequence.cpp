#include "platform/key_sequence.h"

#include <array>
#include <utility>

namespace orvika2 {
namespace {

constexpr std::uint16_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
constexpr std::uint16_t kVkNumpad0 = 0x60, kVkNumLock = 0x90;

constexpr std::array<std::pair<TypingMethod, std::string_view>, 3> kNames{{
    {TypingMethod::Keypad, "keypad"},
    {TypingMethod::TopRow, "toprow"},
    {TypingMethod::Unicode, "unicode"},
}};

// Keys whose scan code comes with the E0 prefix, of those sent here.
bool IsExtendedKey(std::uint16_t virtualKey) { return virtualKey == kVkNumLock; }

class EventList {
public:
    explicit EventList(KeyboardLayout& layout) : layout_(layout) {}

    void Key(std::uint16_t virtualKey, bool up) {
        events_.push_back({virtualKey, up, layout_.ScanCode(virtualKey), IsExtendedKey(virtualKey), false});
    }
    void Tap(std::uint16_t virtualKey) {
        Key(virtualKey, false);
        Key(virtualKey, true);
    }
    void Character(wchar_t character) {
        events_.push_back({0, false, static_cast<std::uint16_t>(character), false, true});
        events_.push_back({0, true, static_cast<std::uint16_t>(character), false, true});
    }
    // The stroke's modifiers pressed around its key: Ctrl+Alt is AltGr.
    void Stroke(const KeyStroke& stroke) {
        std::vector<std::uint16_t> held;
        if (stroke.shiftState & kShiftStateShift) held.push_back(kVkShift);
        if (stroke.shiftState & kShiftStateControl) held.push_back(kVkControl);
        if (stroke.shiftState & kShiftStateAlt) held.push_back(kVkMenu);
        for (const std::uint16_t key : held) Key(key, false);
        Tap(stroke.virtualKey);
        for (auto key = held.rbegin(); key != held.rend(); ++key) Key(*key, true);
    }
    std::vector<KeyEvent> Take() { return std::move(events_); }

private:
    KeyboardLayout& layout_;
    std::vector<KeyEvent> events_;
};

}  // namespace

std::optional<TypingMethod> ParseTypingMethod(std::string_view name) {
    for (const auto& [method, text] : kNames) {
        if (text == name) return method;
    }
    return std::nullopt;
}

std::string_view TypingMethodName(TypingMethod method) {
    for (const auto& [known, text] : kNames) {
        if (known == method) return text;
    }
    return kNames.front().second;
}

std::vector<KeyEvent> KeysForDigits(std::string_view digits, TypingMethod method, KeyboardLayout& layout) {
    EventList events(layout);
    switch (method) {
    case TypingMethod::Keypad: {
        // With NumLock off the keypad's keys are arrows and Home/End, on the
        // remote side of a desktop client as well: on for the digits, then
        // back off.
        const bool toggle = !layout.NumLockOn();
        if (toggle) events.Tap(kVkNumLock);
        for (const char digit : digits) events.Tap(static_cast<std::uint16_t>(kVkNumpad0 + (digit - '0')));
        if (toggle) events.Tap(kVkNumLock);
        break;
    }
    case TypingMethod::TopRow:
        for (const char digit : digits) {
            if (const auto stroke = layout.KeyFor(static_cast<wchar_t>(digit))) {
                events.Stroke(*stroke);
            } else {
                events.Character(static_cast<wchar_t>(digit));
            }
        }
        break;
    case TypingMethod::Unicode:
        for (const char digit : digits) events.Character(static_cast<wchar_t>(digit));
        break;
    }
    return events.Take();
}

}  // namespace orvika2
