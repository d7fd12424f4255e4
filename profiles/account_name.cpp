#include "profiles/account_name.h"

namespace orvika2 {

int CheckAccountName(std::wstring_view name) {
    // A line break is refused with the spaces: in the configuration file it
    // would end the entry and start new sections and keys.
    if (name.find_first_of(L" \r\n") != std::wstring_view::npos) return kBalloonNameHasSpace;
    if (name.empty()) return kBalloonNameEmpty;
    if (name.size() > kAccountNameMax) return kBalloonNameTooLong;
    return 0;
}

}  // namespace orvika2
