#pragma once
#include <memory>

#include "platform/key_output.h"

namespace orvika2 {

// Hands key events to SendInput, all in one call.
std::unique_ptr<KeyOutput> MakeSendInputKeyOutput();

}  // namespace orvika2
