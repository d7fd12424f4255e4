#pragma once
// The token's configuration-file section as the settings window and the
// profile pages keep it: the serial read last time it could be read.
#include <string>

#include "resources/string_ids.h"
#include "token/token_lib.h"

namespace orvika2 {

// Reads the serial; a non-empty one becomes `section`. An unreadable serial
// leaves `section` as it was and gives message 3 to show; otherwise 0.
int UpdateSectionFromSerial(TokenPorts ports, std::wstring& section);

}  // namespace orvika2
