#pragma once
#include <string>

namespace orvika2 {

// "ProductVersion" of block "040404b0" of the running executable's version
// resource; empty when it has none.
std::wstring GetProductVersion();

}  // namespace orvika2
