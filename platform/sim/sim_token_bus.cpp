#include "platform/sim/sim_token_bus.h"

#include <functional>

#include "platform/sim/sim_token.h"
#include "platform/sim/sim_token_file.h"

namespace orvika2 {
namespace {

// Where the token's state is kept between reports.
class SimStateAccess {
public:
    virtual ~SimStateAccess() = default;
    // False when the state cannot be reached.
    virtual bool With(const std::function<void(SimTokenState&)>& use) = 0;
};

class MemoryAccess final : public SimStateAccess {
public:
    explicit MemoryAccess(SimTokenState& state) : state_(state) {}
    bool With(const std::function<void(SimTokenState&)>& use) override {
        use(state_);
        return true;
    }

private:
    SimTokenState& state_;
};

class FileAccess final : public SimStateAccess {
public:
    explicit FileAccess(SimTokenFile file) : file_(std::move(file)) {}
    bool With(const std::function<void(SimTokenState&)>& use) override { return file_.Update(use).empty(); }

private:
    SimTokenFile file_;
};

class SimDevice final : public HidDevice {
public:
    SimDevice(std::shared_ptr<SimStateAccess> access, SimServices services)
        : access_(std::move(access)), services_(std::move(services)) {}

    bool SendFeature(const FeatureReport& report) override {
        bool sent = false;
        const bool reached =
            access_->With([&](SimTokenState& state) { sent = SimSendReport(state, report, services_); });
        return reached && sent;
    }

    bool GetFeature(FeatureReport& report) override {
        bool got = false;
        const bool reached = access_->With([&](SimTokenState& state) { got = SimGetReport(state, report, services_); });
        return reached && got;
    }

private:
    std::shared_ptr<SimStateAccess> access_;
    SimServices services_;
};

class SimBus final : public HidBus {
public:
    SimBus(std::wstring interfacePath, std::shared_ptr<SimStateAccess> access, SimServices services)
        : interfacePath_(std::move(interfacePath)), access_(std::move(access)), services_(std::move(services)) {}

    std::optional<std::vector<std::wstring>> ListInterfaces() override {
        if (!Present()) return std::vector<std::wstring>{};
        return std::vector<std::wstring>{interfacePath_};
    }

    std::optional<HidIdentity> ReadIdentity(const std::wstring& path) override {
        if (path != interfacePath_ || !Present()) return std::nullopt;
        return HidIdentity{kSimVendorId, kSimProductId};
    }

    std::unique_ptr<HidDevice> Open(const std::wstring& path) override {
        if (path != interfacePath_ || !Present()) return nullptr;
        return std::make_unique<SimDevice>(access_, services_);
    }

private:
    bool Present() {
        bool vanished = true;
        return access_->With([&](SimTokenState& state) { vanished = SimIsVanished(state); }) && !vanished;
    }

    std::wstring interfacePath_;
    std::shared_ptr<SimStateAccess> access_;
    SimServices services_;
};

}  // namespace

std::unique_ptr<HidBus> MakeInMemorySimBus(SimTokenState& state, SimServices services) {
    return std::make_unique<SimBus>(L"sim:memory", std::make_shared<MemoryAccess>(state), std::move(services));
}

SimTokenBus MakeSimTokenBus(const std::filesystem::path& path, SimServices services) {
    SimTokenFile file(path, services);
    SimTokenState state;
    std::string error = file.Read(state);
    auto access = std::make_shared<FileAccess>(std::move(file));
    return {std::make_unique<SimBus>(L"sim:" + path.wstring(), std::move(access), std::move(services)),
            std::move(error)};
}

}  // namespace orvika2
