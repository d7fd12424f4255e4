#include "platform/process_integrity_win32.h"

#include <vector>

#include "platform/win32_handles_win32.h"

namespace orvika2 {
namespace {

std::optional<std::uint32_t> LabelLevel(HANDLE token) {
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
    // 64-bit elements keep the label's pointer aligned.
    std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) return std::nullopt;
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    if (!sid || !IsValidSid(sid)) return std::nullopt;
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    if (count == 0) return std::nullopt;
    return static_cast<std::uint32_t>(*GetSidSubAuthority(sid, count - 1));
}

}  // namespace

std::optional<std::uint32_t> ProcessIntegrityLevel(DWORD processId) {
    const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return std::nullopt;
    HANDLE token = nullptr;
    if (!OpenProcessToken(process.get(), TOKEN_QUERY, &token)) return std::nullopt;
    const UniqueKernelHandle ownedToken(token);
    return LabelLevel(ownedToken.get());
}

}  // namespace orvika2
