#pragma once
// The token types through a US keyboard layout: a key code is a HID usage id
// of keyboard page 0x07, plus 0x80 when Shift is held.
#include <cstdint>

namespace orvika2 {

// 0 for a character the token cannot type.
std::uint8_t SimKeyCodeOf(char character);
// The character a key code types ("\n" for Enter); 0 for a code of no
// printable character.
char SimCharacterOf(std::uint8_t keyCode);

}  // namespace orvika2
