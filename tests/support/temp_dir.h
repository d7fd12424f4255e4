#pragma once
#include <filesystem>
#include <string>

namespace orvika2::testing {

// A fresh directory under the system's temporary folder, removed with its
// content on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace orvika2::testing
