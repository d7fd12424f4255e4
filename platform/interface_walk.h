#pragma once
// The walk over a platform's list of device interfaces: an interface whose
// details cannot be read is passed over, so a token listed after it is
// still found.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvika2 {

struct InterfaceEntry {
    enum class Kind { End, Unreadable, Found };
    Kind kind = Kind::End;
    std::wstring path;  // for Found
};

// Entries 0, 1, ... up to `limit`, until the first End.
std::vector<std::wstring> CollectInterfacePaths(std::uint32_t limit,
                                                const std::function<InterfaceEntry(std::uint32_t index)>& entryAt);

}  // namespace orvika2
