#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvika2 {

// Options of one command: "--name VALUE" for those in `valued`, "--name"
// alone for those in `flags`; everything else is positional. An unknown or
// repeated option, or a valued one without its value, makes the parse fail.
class Arguments {
public:
    static std::optional<Arguments> Parse(const std::vector<std::string>& args, const std::set<std::string>& valued,
                                          const std::set<std::string>& flags);

    bool Has(const std::string& name) const { return flags_.count(name) > 0 || values_.count(name) > 0; }
    std::optional<std::string> Value(const std::string& name) const;
    const std::vector<std::string>& Positional() const { return positional_; }

private:
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::vector<std::string> positional_;
};

// A whole decimal number within [min, max], nothing else.
std::optional<long long> ParseInteger(const std::string& text, long long min, long long max);

}  // namespace orvika2
