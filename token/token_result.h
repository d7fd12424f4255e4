#pragma once

namespace orvika2 {

// Result of every token operation. Each code from 1 to 13 has its message,
// IDS_OPERATION_FAILED to IDS_UNSUPPORTED; anything else IDS_UNKNOWN_ERROR.
enum class TokenResult : int {
    Success = 0,
    OperationFailed = 1,
    DeviceNotOpen = 2,
    ParameterError = 3,
    NotInserted = 4,
    MoreThanOneToken = 5,
    WriteFailed = 6,
    InvalidResponse = 7,
    ActionNotCompleted = 8,
    ProfileNotSet = 9,
    NotReady = 10,
    Processing = 11,
    WaitingForTouch = 12,
    Unsupported = 13,
};

int TokenResultMessageId(TokenResult result);

}  // namespace orvika2
