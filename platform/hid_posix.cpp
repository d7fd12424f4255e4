#include "platform/hid_posix.h"

#include "platform/hidraw_sysfs_posix.h"
#include "platform/text.h"
#include "platform/usb_hid_bus.h"

namespace orvika2 {
namespace {

class HidrawBus final : public HidBus {
public:
    HidrawBus(std::filesystem::path root, std::shared_ptr<HidrawCalls> calls)
        : root_(std::move(root)), calls_(std::move(calls)) {}

    std::optional<std::vector<std::wstring>> ListInterfaces() override {
        const auto nodes = ListKeyboardHidrawNodes(root_);
        if (!nodes) return std::nullopt;
        std::vector<std::wstring> paths;
        for (const auto& node : *nodes) paths.push_back(WideFromPath(root_ / "dev" / node));
        return paths;
    }

    // Sysfs tells the ids without opening the node, so a token the user may
    // not open is still found, and Open can say why it failed.
    std::optional<HidIdentity> ReadIdentity(const std::wstring& path) override {
        return ReadHidrawIdentity(root_, PathFromWide(path).filename().string());
    }

    std::unique_ptr<HidDevice> Open(const std::wstring& path) override {
        return OpenHidrawDevice(PathFromWide(path).string(), calls_, note_);
    }

    std::string FailureAdvice() const override { return note_->Text(); }

private:
    std::filesystem::path root_;
    std::shared_ptr<HidrawCalls> calls_;
    std::shared_ptr<FailureNote> note_ = std::make_shared<FailureNote>();
};

}  // namespace

std::unique_ptr<HidBus> MakeHidrawBus(std::filesystem::path root, std::shared_ptr<HidrawCalls> calls) {
    return std::make_unique<HidrawBus>(std::move(root), std::move(calls));
}

std::unique_ptr<HidBus> MakeUsbHidBus() { return MakeHidrawBus("/", MakeKernelHidrawCalls()); }

}  // namespace orvika2
