#include "token/token_result.h"

#include <iterator>

#include "resources/string_ids.h"

namespace orvika2 {
namespace {

// The message of result code 1 to 13, in code order.
constexpr int kResultMessages[] = {
    IDS_OPERATION_FAILED, IDS_DEVICE_NOT_OPEN, IDS_PARAMETER_ERROR, IDS_NOT_INSERTED, IDS_MORE_THAN_ONE_TOKEN,
    IDS_WRITE_FAILED, IDS_INVALID_RESPONSE, IDS_ACTION_NOT_COMPLETED, IDS_PROFILE_NOT_SET, IDS_NOT_READY,
    IDS_PROCESSING, IDS_WAITING, IDS_UNSUPPORTED,
};

}  // namespace

int TokenResultMessageId(TokenResult result) {
    const int code = static_cast<int>(result);
    return code >= 1 && code <= static_cast<int>(std::size(kResultMessages)) ? kResultMessages[code - 1]
                                                                             : IDS_UNKNOWN_ERROR;
}

}  // namespace orvika2
