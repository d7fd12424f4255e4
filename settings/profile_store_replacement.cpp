#include "settings/profile_store_replacement.h"

#include <utility>

namespace orvika2 {

FileReplacement::FileReplacement(std::filesystem::path target, std::filesystem::path temporary, int descriptor)
    : target_(std::move(target)), temporary_(std::move(temporary)), descriptor_(descriptor) {}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)),
      descriptor_(std::exchange(other.descriptor_, -1)),
      pending_(std::exchange(other.pending_, false)) {}

bool ReplaceFileContent(const std::filesystem::path& target, std::string_view bytes) {
    auto replacement = FileReplacement::Begin(target);
    return replacement && replacement->Write(bytes) && replacement->Commit();
}

}  // namespace orvika2
