#include "platform/key_output.h"

namespace orvika2 {

// Typing into the focused window is a Windows feature.
std::unique_ptr<KeyOutput> MakePlatformKeyOutput() { return nullptr; }

}  // namespace orvika2
