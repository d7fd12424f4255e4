#pragma once
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "settings/profile_store.h"

namespace orvika2::testing {

// A profile store in memory that records every write, in order. Names are
// matched exactly; the real semantics are tested against the real stores.
class MemoryProfileStore final : public ProfileStore {
public:
    struct Write {
        std::wstring file, section, key, value;
        friend bool operator==(const Write&, const Write&) = default;
    };

    std::wstring Get(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                     std::size_t maxLength = kProfileValueMax) override {
        const auto it = values_.find({file, std::wstring(section), std::wstring(key)});
        return it == values_.end() ? std::wstring() : it->second.substr(0, maxLength);
    }
    bool Put(const std::wstring& file, std::wstring_view section, std::wstring_view key,
             std::wstring_view value) override {
        writes.push_back({file, std::wstring(section), std::wstring(key), std::wstring(value)});
        if (failWrites) return false;
        values_[{file, std::wstring(section), std::wstring(key)}] = std::wstring(value);
        return true;
    }
    bool Remove(const std::wstring& file, std::wstring_view section, std::wstring_view key) override {
        if (failWrites) return false;
        values_.erase({file, std::wstring(section), std::wstring(key)});
        return true;
    }
    std::vector<std::wstring> SectionNames(const std::wstring& file) override {
        std::vector<std::wstring> names;
        for (const auto& [k, v] : values_) {
            if (std::get<0>(k) == file && (names.empty() || names.back() != std::get<1>(k))) {
                names.push_back(std::get<1>(k));
            }
        }
        return names;
    }
    bool HasFile(const std::wstring& file) const {
        for (const auto& [k, v] : values_) {
            if (std::get<0>(k) == file) return true;
        }
        return false;
    }
    // Every value stored in any file, for checks that a secret never lands here.
    std::vector<std::wstring> AllValues() const {
        std::vector<std::wstring> all;
        for (const auto& [k, v] : values_) all.push_back(v);
        return all;
    }

    std::vector<Write> writes;
    bool failWrites = false;

private:
    std::map<std::tuple<std::wstring, std::wstring, std::wstring>, std::wstring> values_;
};

}  // namespace orvika2::testing
