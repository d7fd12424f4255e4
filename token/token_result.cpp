#include "token/token_result.h"

namespace orvika2 {

int TokenResultMessageId(TokenResult result) {
    const int code = static_cast<int>(result);
    return code >= 1 && code <= 13 ? 101 + code : 115;
}

}  // namespace orvika2
