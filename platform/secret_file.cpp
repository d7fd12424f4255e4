#include "platform/secret_file.h"

#include <cstdio>
#include <memory>
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

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// C stdio rather than a stream: the streams' locale machinery would double
// the size of a static Windows executable.
UniqueFile OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
    UniqueFile file(_wfopen(path.c_str(), L"rb"));
#else
    UniqueFile file(std::fopen(path.c_str(), "rb"));
#endif
    // Unbuffered: the library keeps no copy of what passes through it.
    if (file) std::setvbuf(file.get(), nullptr, _IONBF, 0);
    return file;
}

}  // namespace

SecretFileRead ReadSecretFile(const std::filesystem::path& path, std::string& out, std::size_t maxBytes) {
    SecureWipe(out);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return SecretFileRead::Missing;
    const UniqueFile in = OpenForReading(path);
    if (!in) return SecretFileRead::Failed;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) return SecretFileRead::TooLarge;
    if (!ec) out.reserve(static_cast<std::size_t>(size) + 1);
    char chunk[512];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, in.get());
        if (out.size() + got > maxBytes) {
            SecureWipe(chunk, sizeof chunk);
            SecureWipe(out);
            return SecretFileRead::TooLarge;
        }
        AppendWiping(out, std::string_view(chunk, got));
        if (got < sizeof chunk) break;
    }
    SecureWipe(chunk, sizeof chunk);
    if (std::ferror(in.get())) {
        SecureWipe(out);
        return SecretFileRead::Failed;
    }
    return SecretFileRead::Read;
}

}  // namespace orvika2
