#pragma once

namespace orvika2 {

// Result of every token operation. The string table holds the message of
// code c at id 101 + c (115 for anything outside 1-13).
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
