#include "platform/secret_file.h"

#include <fstream>
#include <system_error>

#include "platform/secure_memory.h"

namespace orvika2 {

void AppendWiping(std::string& text, std::string_view more) {
    if (text.size() + more.size() > text.capacity()) {
        std::string grown;
        grown.reserve(std::max(2 * text.capacity(), text.size() + more.size()));
        grown = text;
        SecureWipe(text);
        text.swap(grown);
    }
    text.append(more);
}

SecretFileRead ReadSecretFile(const std::filesystem::path& path, std::string& out, std::size_t maxBytes) {
    SecureWipe(out);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return SecretFileRead::Missing;
    std::ifstream in;
    // Unbuffered: the stream keeps no copy of what passes through it.
    in.rdbuf()->pubsetbuf(nullptr, 0);
    in.open(path, std::ios::binary);
    if (!in) return SecretFileRead::Failed;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) return SecretFileRead::TooLarge;
    if (!ec) out.reserve(static_cast<std::size_t>(size) + 1);
    char chunk[512];
    for (;;) {
        in.read(chunk, sizeof chunk);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (out.size() + got > maxBytes) {
            SecureWipe(chunk, sizeof chunk);
            SecureWipe(out);
            return SecretFileRead::TooLarge;
        }
        AppendWiping(out, std::string_view(chunk, got));
        if (!in) break;
    }
    SecureWipe(chunk, sizeof chunk);
    if (in.bad()) {
        SecureWipe(out);
        return SecretFileRead::Failed;
    }
    return SecretFileRead::Read;
}

}  // namespace orvika2
