#include "profiles/totp_link.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/text.h"
#include "profiles/account_name.h"
#include "resources/string_ids.h"
#include "settings/config_file.h"
#include "token/profile_config.h"

namespace orvika2 {
namespace {

constexpr std::wstring_view kBlanks = L" \t\r\n";

std::wstring_view Trimmed(std::wstring_view text) {
    const auto start = text.find_first_not_of(kBlanks);
    if (start == std::wstring_view::npos) return {};
    return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 0x20) : c; }

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (LowerAscii(text[i]) != lower[i]) return false;
    }
    return true;
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view lower) {
    return text.size() >= lower.size() && EqualsIgnoringCase(text.substr(0, lower.size()), lower);
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Percent escapes as UTF-8 bytes, other characters as themselves; with
// `plusIsSpace` (query values) '+' is a blank, as form encoding writes it.
// Nothing for a broken escape.
std::optional<SecretWString> PercentDecoded(std::wstring_view text, bool plusIsSpace) {
    SecretString bytes;
    // Room for the longest UTF-8 form up front: a buffer that grew would
    // leave a copy of the secret behind.
    bytes->reserve(text.size() * 3 + 1);
    std::size_t runStart = 0;
    auto flushRun = [&](std::size_t end) {
        if (end > runStart) {
            const SecretString run(NarrowUtf8(text.substr(runStart, end - runStart)));
            bytes->append(run.get());
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%') {
            flushRun(i);
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            bytes->push_back(static_cast<char>(high * 16 + low));
            i += 2;
            runStart = i + 1;
        } else if (plusIsSpace && text[i] == L'+') {
            flushRun(i);
            bytes->push_back(' ');
            runStart = i + 1;
        }
    }
    flushRun(text.size());
    return SecretWString(WidenUtf8(bytes.get()));
}

// What the account-name dialog would take: no blanks or controls, at most
// 20 characters, a surrogate pair never cut in two.
std::wstring AccountNameOf(std::wstring_view name) {
    std::wstring kept;
    for (const wchar_t c : Trimmed(name)) {
        if (c > L' ' && c != 0x7F) kept.push_back(c);
    }
    std::size_t length = std::min(kept.size(), kAccountNameMax);
    if (length < kept.size() && length > 0 && static_cast<std::uint32_t>(kept[length - 1]) >= 0xD800 &&
        static_cast<std::uint32_t>(kept[length - 1]) <= 0xDBFF) {
        --length;
    }
    kept.resize(length);
    return CheckAccountName(kept) == 0 ? kept : std::wstring();
}

// The account from the issuer parameter, else from the label.
std::wstring AccountFromLabel(std::wstring_view issuer, std::wstring_view label) {
    if (!Trimmed(issuer).empty()) return AccountNameOf(issuer);
    const auto colon = label.find(L':');
    if (colon == std::wstring_view::npos) return AccountNameOf(label);
    if (!Trimmed(label.substr(0, colon)).empty()) return AccountNameOf(label.substr(0, colon));
    return AccountNameOf(label.substr(colon + 1));
}

// A digits or period value within its range; nothing otherwise.
std::optional<int> ShapeValue(const std::optional<SecretWString>& value, int fallback, bool (*inRange)(int)) {
    if (!value) return fallback;
    const auto number = ParseShapeNumber(Trimmed(value->get()));
    if (!number || !inRange(*number)) return std::nullopt;
    return *number;
}

TotpLink Refused(int id) {
    TotpLink link;
    link.refusalId = id;
    return link;
}

}  // namespace

bool LooksLikeLink(std::wstring_view text) { return text.find(L':') != std::wstring_view::npos; }

TotpLink ParseTotpLink(std::wstring_view text) {
    std::wstring_view rest = Trimmed(text);
    constexpr std::wstring_view kScheme = L"otpauth:";
    if (!StartsWithIgnoringCase(rest, kScheme)) return Refused(IDS_LINK_UNKNOWN);
    rest.remove_prefix(kScheme.size());
    if (!rest.starts_with(L"//")) return Refused(IDS_LINK_MALFORMED);
    rest.remove_prefix(2);
    rest = rest.substr(0, rest.find(L'#'));

    const auto typeEnd = std::min(rest.find_first_of(L"/?"), rest.size());
    const std::wstring_view type = rest.substr(0, typeEnd);
    if (EqualsIgnoringCase(type, L"hotp")) return Refused(IDS_LINK_HOTP);
    if (!EqualsIgnoringCase(type, L"totp")) return Refused(IDS_LINK_UNKNOWN);
    rest.remove_prefix(typeEnd);

    const auto queryStart = std::min(rest.find(L'?'), rest.size());
    std::wstring_view labelText = rest.substr(0, queryStart);
    if (labelText.starts_with(L'/')) labelText.remove_prefix(1);
    std::wstring_view query = rest.substr(std::min(queryStart + 1, rest.size()));

    const auto label = PercentDecoded(labelText, false);
    if (!label) return Refused(IDS_LINK_MALFORMED);
    std::optional<SecretWString> secret, issuer, algorithm, digits, period;
    while (!query.empty()) {
        const auto end = std::min(query.find(L'&'), query.size());
        const std::wstring_view parameter = query.substr(0, end);
        query.remove_prefix(std::min(end + 1, query.size()));
        const auto equals = std::min(parameter.find(L'='), parameter.size());
        const auto name = PercentDecoded(parameter.substr(0, equals), true);
        auto value = PercentDecoded(parameter.substr(std::min(equals + 1, parameter.size())), true);
        if (!name || !value) return Refused(IDS_LINK_MALFORMED);
        const std::wstring_view key = Trimmed(name->get());
        for (auto [known, slot] : {std::pair{L"secret", &secret}, std::pair{L"issuer", &issuer},
                                   std::pair{L"algorithm", &algorithm}, std::pair{L"digits", &digits},
                                   std::pair{L"period", &period}}) {
            if (EqualsIgnoringCase(key, known) && !*slot) *slot = std::move(*value);
        }
    }

    if (algorithm && !EqualsIgnoringCase(Trimmed(algorithm->get()), L"sha1")) return Refused(IDS_LINK_ALGORITHM);
    TotpLink link;
    std::wstring_view key = secret ? Trimmed(secret->get()) : std::wstring_view();
    // Links often carry Base32's fill characters, which the key field refuses.
    while (key.ends_with(L'=')) key.remove_suffix(1);
    key = Trimmed(key);
    if (key.empty()) return Refused(IDS_LINK_NO_SECRET);
    if (!IsAsciiText(key)) return Refused(IDS_LINK_BAD_SECRET);
    const SecretString narrow(NarrowUtf8(key));
    if (const int refusal = TwoStepKeyRefusal(narrow.get())) {
        return Refused(refusal == IDS_KEY_TOO_LONG ? IDS_KEY_TOO_LONG : IDS_LINK_BAD_SECRET);
    }
    const auto digitCount = ShapeValue(digits, kDefaultCodeDigits, &DigitsInRange);
    if (!digitCount) return Refused(IDS_DIGITS_RANGE);
    const auto seconds = ShapeValue(period, static_cast<int>(kTimeStepSeconds), &PeriodInRange);
    if (!seconds) return Refused(IDS_PERIOD_RANGE);

    link.key.get().assign(key);
    link.account = AccountFromLabel(issuer ? std::wstring_view(issuer->get()) : std::wstring_view(), label->get());
    link.shape = CodeShape{*digitCount, *seconds};
    return link;
}

}  // namespace orvika2
