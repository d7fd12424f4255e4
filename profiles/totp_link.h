#pragma once
// otpauth://totp/ links, the text behind a service's QR code and what
// password managers export: the secret, the account name and the shape of
// the codes, or the reason the token cannot make codes for the link.
#include <string>
#include <string_view>

#include "platform/secure_memory.h"
#include "token/verification_code.h"

namespace orvika2 {

// A Base32 key never holds a colon, so text that does is taken for a link
// and is either read as one or refused as one.
bool LooksLikeLink(std::wstring_view text);

struct TotpLink {
    // 0 when the link can be used; otherwise the message that refuses it.
    int refusalId = 0;
    // The key as the secret key field takes it: Base32 without its padding.
    SecretWString key;
    // The "issuer" parameter, else the label's issuer part, else the label;
    // blanks and controls left out and cut to the account-name dialog's 20
    // characters. Empty when the link names nothing.
    std::wstring account;
    CodeShape shape;
};

// Percent-decoded as UTF-8; parameters matched without regard to case,
// the first of a repeated one taken, unknown ones ignored. Refused: a
// scheme other than otpauth, counter-based (hotp) and other types, an
// algorithm other than SHA1, a missing or non-Base32 secret, a key of more
// than 20 bytes, digits other than 6 to 8, a period outside 10 to 120 s,
// and a broken percent escape.
TotpLink ParseTotpLink(std::wstring_view text);

}  // namespace orvika2
