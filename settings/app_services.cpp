#include "settings/app_services.h"

#include <utility>

#include "platform/token_bus_select.h"

namespace orvika2 {
namespace {

class NoTokenBus final : public HidBus {
public:
    std::optional<std::vector<std::wstring>> ListInterfaces() override { return std::vector<std::wstring>{}; }
    std::optional<HidIdentity> ReadIdentity(const std::wstring&) override { return std::nullopt; }
    std::unique_ptr<HidDevice> Open(const std::wstring&) override { return nullptr; }
};

std::unique_ptr<HidBus> SelectedBus(const char* tokenSetting, bool& valid) {
    SelectedTokenBus selected = SelectTokenBus(tokenSetting);
    valid = selected.bus != nullptr;
    if (!valid) return std::make_unique<NoTokenBus>();
    return std::move(selected.bus);
}

}  // namespace

void PlaceConfiguration(AppServices& services) {
    services.config = PlaceConfigurationFile(services.environment, services.store);
}

PlatformServices::PlatformServices(const char* tokenSetting, std::function<std::wstring(int id)> strings)
    : environment_(MakePlatformAppEnvironment()),
      store_(MakePlatformProfileStore()),
      tokenBus_(SelectedBus(tokenSetting, tokenSettingValid_)),
      clock_(SystemClock(), [this] { return ReadClockCorrection(*store_, services_.config.file); }),
      services_{*environment_, *store_, LocateConfigurationFile(*environment_), *tokenBus_, clock_,
                std::move(strings)} {
    if (tokenSettingValid_) services_.simulatedTokenFile = SimulatedTokenFile(tokenSetting);
}

}  // namespace orvika2
