#include "token/token_result.h"

#include "app/ui_strings.h"

namespace orvika2 {

int TokenResultMessageId(TokenResult result) {
    const int code = static_cast<int>(result);
    return code >= 1 && code <= 13 ? 101 + code : 115;
}

std::wstring TokenResultEnglishMessage(TokenResult result) { return EnglishString(TokenResultMessageId(result)); }

}  // namespace orvika2
