#pragma once
// A file for code that reads paths, in a folder of this process under the
// temporary folder; the folder goes when the process ends normally.
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace orvika2::fuzzing {

class ScratchFile {
public:
    explicit ScratchFile(std::string_view name)
        : folder_(std::filesystem::temp_directory_path() / ("orvika2_fuzz_" + std::to_string(getpid()))) {
        std::filesystem::create_directories(folder_);
        path_ = (folder_ / name).wstring();
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    const std::wstring& Path() const { return path_; }

    void Write(std::string_view bytes) const {
        std::ofstream out(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::filesystem::path folder_;
    std::wstring path_;
};

}  // namespace orvika2::fuzzing
