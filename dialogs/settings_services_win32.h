#pragma once
// What the settings window and its pages work with during one opening.
#include <string>

#include "platform/startup_services.h"
#include "settings/profile_store.h"
#include "token/token_lib.h"

namespace orvika2 {

struct SettingsServices {
    TokenPorts ports;
    ProfileStore& store;
    std::wstring configFile;
    StartupServices& startup;
};

}  // namespace orvika2
