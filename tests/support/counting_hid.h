#pragma once
#include <cstdint>
#include <memory>

#include "platform/hid.h"

namespace orvika2::testing {

// Passes everything to another bus and counts the feature reports that the
// devices it opened sent and got.
class CountingHidBus final : public HidBus {
public:
    explicit CountingHidBus(std::unique_ptr<HidBus> inner) : inner_(std::move(inner)) {}

    std::optional<std::vector<std::wstring>> ListInterfaces() override { return inner_->ListInterfaces(); }
    std::optional<HidIdentity> ReadIdentity(const std::wstring& path) override { return inner_->ReadIdentity(path); }
    std::unique_ptr<HidDevice> Open(const std::wstring& path) override {
        auto device = inner_->Open(path);
        if (!device) return nullptr;
        return std::make_unique<Device>(std::move(device), *this);
    }

    std::uint64_t sends() const { return sends_; }
    std::uint64_t gets() const { return gets_; }

private:
    class Device final : public HidDevice {
    public:
        Device(std::unique_ptr<HidDevice> inner, CountingHidBus& bus) : inner_(std::move(inner)), bus_(bus) {}
        bool SendFeature(const FeatureReport& report) override {
            ++bus_.sends_;
            return inner_->SendFeature(report);
        }
        bool GetFeature(FeatureReport& report) override {
            ++bus_.gets_;
            return inner_->GetFeature(report);
        }

    private:
        std::unique_ptr<HidDevice> inner_;
        CountingHidBus& bus_;
    };

    std::unique_ptr<HidBus> inner_;
    std::uint64_t sends_ = 0;
    std::uint64_t gets_ = 0;
};

}  // namespace orvika2::testing
