#include "cli/arguments.h"

#include <charconv>

namespace orvika2 {

std::optional<Arguments> Arguments::Parse(const std::vector<std::string>& args, const std::set<std::string>& valued,
                                          const std::set<std::string>& flags) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            parsed.positional_.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        if (parsed.Has(name)) return std::nullopt;
        if (flags.count(name)) {
            parsed.flags_.insert(name);
        } else if (valued.count(name) && i + 1 < args.size()) {
            parsed.values_[name] = args[++i];
        } else {
            return std::nullopt;
        }
    }
    return parsed;
}

std::optional<std::string> Arguments::Value(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::optional<long long> ParseInteger(const std::string& text, long long min, long long max) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < min || value > max) return std::nullopt;
    return value;
}

}  // namespace orvika2
