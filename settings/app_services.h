#pragma once
// What the parts of a program work with: the configuration file with its
// store and the environment that places it, the token bus, the clock and the
// interface strings. One is made at start-up and handed down by reference;
// no window, page or command builds its own.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/hid.h"
#include "settings/app_environment.h"
#include "settings/clock_correction.h"
#include "settings/config_file.h"
#include "settings/profile_store.h"
#include "token/token_lib.h"

namespace orvika2 {

struct AppServices {
    AppEnvironment& environment;
    ProfileStore& store;
    // Located when made; PlaceConfiguration places it.
    ConfigLocation config;
    HidBus& tokenBus;
    Clock& clock;
    std::function<std::wstring(int id)> strings;
    std::uint16_t language = 0x0409;  // the interface's LanguageId
    // The simulated token's file when ORVIKA2_TOKEN names one: what the user
    // sets goes there, so the windows say so.
    std::wstring simulatedTokenFile;

    TokenPorts Token() const { return {tokenBus, clock}; }
};

// The first-run placement: the application runs it at every start, the tool
// before its first use of the file.
void PlaceConfiguration(AppServices& services);

// The services of this process on its own platform: its environment and
// profile-file store, the token that ORVIKA2_TOKEN names and the system clock
// with the clock correction of the configuration file.
class PlatformServices {
public:
    // `tokenSetting` is the value of ORVIKA2_TOKEN.
    PlatformServices(const char* tokenSetting, std::function<std::wstring(int id)> strings);
    PlatformServices(const PlatformServices&) = delete;
    PlatformServices& operator=(const PlatformServices&) = delete;

    AppServices& services() { return services_; }
    // False when the setting names no token; the program then says so and
    // ends, and until then its token bus lists no device.
    bool TokenSettingValid() const { return tokenSettingValid_; }

private:
    bool tokenSettingValid_ = false;
    std::unique_ptr<AppEnvironment> environment_;
    std::unique_ptr<ProfileStore> store_;
    std::unique_ptr<HidBus> tokenBus_;
    CorrectedClock clock_;
    AppServices services_;
};

}  // namespace orvika2
