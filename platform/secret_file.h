#pragma once
// Reading files that can hold a secret (backups, key and passphrase files):
// the bytes go straight into the caller's buffer, with no stream buffer in
// between and no grown-out copy left in freed memory.
#include <cstddef>
#include <filesystem>
#include <limits>
#include <string>

namespace orvika2 {

enum class SecretFileRead { Read, Missing, TooLarge, Failed };

// The whole file in `out` (wiped first). TooLarge, with `out` empty, when
// it holds more than `maxBytes`.
SecretFileRead ReadSecretFile(const std::filesystem::path& path, std::string& out,
                              std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// Appends to a string that holds a secret: when it must grow, the old buffer
// is wiped before it is freed.
void AppendWiping(std::string& text, std::string_view more);

}  // namespace orvika2
