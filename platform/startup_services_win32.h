#pragma once
#include <memory>

#include "platform/startup_services.h"

namespace orvika2 {

// The Run key, the shell folders and shell links of the current user.
std::unique_ptr<StartupServices> MakeWin32StartupServices();

}  // namespace orvika2
