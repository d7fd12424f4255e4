#include "platform/key_output.h"
#include "platform/key_sequence.h"

namespace orvika2 {

// Typing into the focused window is a Windows feature.
std::unique_ptr<KeyOutput> MakePlatformKeyOutput() { return nullptr; }

std::unique_ptr<KeyboardLayout> MakeForegroundKeyboardLayout() { return nullptr; }

}  // namespace orvika2
