#include "platform/hidraw_sysfs_posix.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

namespace orvika2 {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxNodesExamined = 1000;
constexpr std::uint16_t kUsbBus = 0x0003;
constexpr std::string_view kNodePrefix = "hidraw";

fs::path ClassFolder(const fs::path& root) { return root / "sys/class/hidraw"; }

// The whole text as a number; nullopt for anything else.
std::optional<unsigned> ParseNumber(std::string_view text, int base) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<unsigned> NodeNumber(std::string_view name) {
    if (!name.starts_with(kNodePrefix)) return std::nullopt;
    return ParseNumber(name.substr(kNodePrefix.size()), 10);
}

std::optional<std::uint16_t> ParseId(std::string_view hex) {
    const auto value = ParseNumber(hex, 16);
    if (!value || *value > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

std::optional<std::string> ReadSmallFile(const fs::path& path) {
    std::ifstream file(path);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string_view TrimEnd(std::string_view text) {
    const auto last = text.find_last_not_of(" \t\n");
    return last == text.npos ? std::string_view{} : text.substr(0, last + 1);
}

// "HID_ID=0003:00001050:00000010": bus, vendor and product in hexadecimal.
std::optional<HidIdentity> ParseHidId(std::string_view uevent) {
    constexpr std::string_view kKey = "HID_ID=";
    while (!uevent.empty()) {
        const auto lineEnd = std::min(uevent.find('\n'), uevent.size());
        std::string_view line = uevent.substr(0, lineEnd);
        uevent.remove_prefix(std::min(lineEnd + 1, uevent.size()));
        if (!line.starts_with(kKey)) continue;
        line.remove_prefix(kKey.size());
        const auto first = line.find(':');
        const auto second = line.find(':', first == line.npos ? line.size() : first + 1);
        if (second == line.npos) return std::nullopt;
        const auto bus = ParseId(line.substr(0, first));
        const auto vendor = ParseId(line.substr(first + 1, second - first - 1));
        const auto product = ParseId(line.substr(second + 1));
        if (bus != kUsbBus || !vendor || !product) return std::nullopt;
        return HidIdentity{*vendor, *product};
    }
    return std::nullopt;
}

// The node's device link leads to the HID device, whose parent folder is
// the USB interface it belongs to.
bool IsBootKeyboardInterface(const fs::path& root, const std::string& node) {
    std::error_code error;
    const fs::path hidDevice = fs::canonical(ClassFolder(root) / node / "device", error);
    if (error) return false;
    const auto protocol = ReadSmallFile(hidDevice.parent_path() / "bInterfaceProtocol");
    return protocol && ParseNumber(TrimEnd(*protocol), 16) == 1u;
}

}  // namespace

std::optional<std::vector<std::string>> ListKeyboardHidrawNodes(const fs::path& root) {
    std::error_code error;
    fs::directory_iterator entries(ClassFolder(root), error);
    if (error == std::errc::no_such_file_or_directory) return std::vector<std::string>{};
    if (error) return std::nullopt;

    std::vector<std::pair<unsigned, std::string>> numbered;
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        if (const auto number = NodeNumber(name)) numbered.emplace_back(*number, std::move(name));
    }
    if (error) return std::nullopt;
    std::ranges::sort(numbered);
    numbered.resize(std::min(numbered.size(), kMaxNodesExamined));

    std::vector<std::string> keyboards;
    for (auto& [number, name] : numbered) {
        if (IsBootKeyboardInterface(root, name)) keyboards.push_back(std::move(name));
    }
    return keyboards;
}

std::optional<HidIdentity> ReadHidrawIdentity(const fs::path& root, const std::string& node) {
    if (!NodeNumber(node)) return std::nullopt;
    const auto uevent = ReadSmallFile(ClassFolder(root) / node / "device/uevent");
    return uevent ? ParseHidId(*uevent) : std::nullopt;
}

}  // namespace orvika2
