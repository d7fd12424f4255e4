#include "platform/interface_walk.h"

namespace orvika2 {

std::vector<std::wstring> CollectInterfacePaths(std::uint32_t limit,
                                                const std::function<InterfaceEntry(std::uint32_t index)>& entryAt) {
    std::vector<std::wstring> paths;
    for (std::uint32_t index = 0; index < limit; ++index) {
        InterfaceEntry entry = entryAt(index);
        if (entry.kind == InterfaceEntry::Kind::End) break;
        if (entry.kind == InterfaceEntry::Kind::Found) paths.push_back(std::move(entry.path));
    }
    return paths;
}

}  // namespace orvika2
