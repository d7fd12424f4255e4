#include "profiles/account_name.h"

namespace orvika2 {

int CheckAccountName(std::wstring_view name) {
    // A line break is refused with the spaces: in the configuration file it
    // would end the entry and start new sections and keys.
    if (name.find_first_of(L" \r\n") != std::wstring_view::npos) return IDS_NO_SPACES;
    if (name.empty()) return IDS_ENTER_ACCOUNT_NAME;
    if (name.size() > kAccountNameMax) return IDS_ACCOUNT_NAME_TOO_LONG;
    return 0;
}

}  // namespace orvika2
