#pragma once
// The application: start-up, language, and the main window's modal run.
#include <functional>

#include "platform/startup_services.h"
#include "settings/app_services.h"

namespace orvika2 {

// What start-up hands the main window. The restart flag is set by a
// language command and read by the close handling.
struct AppContext {
    AppServices& services;
    StartupServices& startup;
    bool restartAfterClose = false;
    // Called before the restart, so that the new instance may claim the session.
    std::function<void()> releaseInstance;
};

class COrvika2App {
public:
    // The whole life of the process; returns its exit code.
    int Run();
};

}  // namespace orvika2
