#include "settings/profile_file_engine.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/secret_file.h"
#include "platform/secure_memory.h"
#include "platform/text.h"
#include "settings/profile_file_text.h"
#include "settings/profile_store.h"
#include "settings/profile_store_replacement.h"
#include "settings/windows1252.h"

namespace orvika2 {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

std::wstring DecodeUtf16Le(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if constexpr (sizeof(wchar_t) == 4) {
            const bool pairs = unit >= 0xDC00 && unit <= 0xDFFF && !text.empty() &&
                               static_cast<char32_t>(text.back()) >= 0xD800 && static_cast<char32_t>(text.back()) <= 0xDBFF;
            if (pairs) {
                text.back() = static_cast<wchar_t>(0x10000 + ((static_cast<char32_t>(text.back()) - 0xD800) << 10) +
                                                   (unit - 0xDC00));
                continue;
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

void AppendUtf16LeUnit(std::string& bytes, char32_t unit) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
}

std::string EncodeUtf16Le(std::wstring_view text) {
    std::string bytes(kUtf16LeMark);
    bytes.reserve(2 + text.size() * 2);
    for (const wchar_t c : text) {
        const auto character = static_cast<char32_t>(c);
        if (character > 0xFFFF) {
            AppendUtf16LeUnit(bytes, 0xD800 + ((character - 0x10000) >> 10));
            AppendUtf16LeUnit(bytes, 0xDC00 + ((character - 0x10000) & 0x3FF));
        } else {
            AppendUtf16LeUnit(bytes, character);
        }
    }
    return bytes;
}

struct FileContent {
    bool exists = false;
    SecretString bytes;
};

// nullopt when the file exists but cannot be read. A backup file holds a
// secret, so no copy of its bytes is left behind.
std::optional<FileContent> ReadWholeFile(const std::filesystem::path& path) {
    FileContent content{true, {}};
    switch (ReadSecretFile(path, content.bytes.get())) {
        case SecretFileRead::Read: return content;
        case SecretFileRead::Missing: return FileContent{};
        default: return std::nullopt;
    }
}

// nullopt when the file is missing or cannot be read.
std::optional<SecretWString> ReadFileText(const std::wstring& path) {
    const auto content = ReadWholeFile(PathFromWide(path));
    if (!content || !content->exists) return std::nullopt;
    return SecretWString(DecodeProfileFile(content->bytes.get()).text);
}

class PortableProfileStore final : public ProfileStore {
public:
    std::wstring Get(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                     std::size_t maxLength = kProfileValueMax) override {
        const auto text = ReadFileText(path);
        return text ? ReadProfileValue(text->get(), section, key, maxLength) : std::wstring();
    }

    bool Put(const std::wstring& path, std::wstring_view section, std::wstring_view key,
             std::wstring_view value) override {
        const Entry entry{key, value};
        return PutAll(path, section, {&entry, 1});
    }

    bool Remove(const std::wstring& path, std::wstring_view section, std::wstring_view key) override {
        const Entry entry{key, std::nullopt};
        return PutAll(path, section, {&entry, 1});
    }

    bool PutAll(const std::wstring& path, std::wstring_view section, std::span<const Entry> entries) override {
        for (const Entry& entry : entries) {
            if (!IsStorableProfileEntry(section, entry.key, entry.value.value_or(L""))) return false;
        }
        const std::filesystem::path file = PathFromWide(path);
        auto content = ReadWholeFile(file);
        if (!content) return false;
        // A backup file holds a secret: the copies of its text are wiped.
        const SecretString oldBytes(std::move(content->bytes.get()));
        ProfileFileText text = DecodeProfileFile(oldBytes.get());
        const SecretWString before(std::move(text.text));
        SecretWString after(before.get());
        for (const Entry& entry : entries) {
            SecretWString next;
            if (entry.value) {
                const SecretWString stored(StoredProfileValue(*entry.value));
                next.get() = WriteProfileValue(after.get(), section, entry.key, stored.get());
            } else {
                next.get() = RemoveProfileValue(after.get(), section, entry.key);
            }
            std::swap(after.get(), next.get());
        }
        if (content->exists && after.get() == before.get()) return true;
        std::swap(text.text, after.get());
        const SecretString newBytes(EncodeProfileFile(text));
        SecureWipe(text.text);
        return ReplaceFileContent(file, newBytes.get());
    }

    std::vector<std::wstring> SectionNames(const std::wstring& path) override {
        const auto text = ReadFileText(path);
        return text ? ReadProfileSectionNames(text->get()) : std::vector<std::wstring>();
    }
};

}  // namespace

ProfileFileText DecodeProfileFile(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeMark)) {
        return {ProfileFileEncoding::Utf16Le, DecodeUtf16Le(bytes.substr(kUtf16LeMark.size()))};
    }
    return {ProfileFileEncoding::Ansi, DecodeWindows1252(bytes)};
}

std::string EncodeProfileFile(const ProfileFileText& file) {
    return file.encoding == ProfileFileEncoding::Utf16Le ? EncodeUtf16Le(file.text) : EncodeWindows1252(file.text);
}

std::unique_ptr<ProfileStore> MakePortableProfileStore() { return std::make_unique<PortableProfileStore>(); }

}  // namespace orvika2
