#pragma once
// The check of a customized account name, the same for the account-name
// dialog and the command-line tool.
#include <cstddef>
#include <string_view>

#include "resources/string_ids.h"

namespace orvika2 {

inline constexpr std::size_t kAccountNameMax = 20;

// 0 when the name may be used; otherwise the id of the text that refuses it.
// A space or a line break anywhere is refused before the length counts.
int CheckAccountName(std::wstring_view name);

}  // namespace orvika2
