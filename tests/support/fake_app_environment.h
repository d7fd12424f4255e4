#pragma once
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "settings/app_environment.h"

namespace orvika2::testing {

// Folders and files as sets of names, with every copy recorded.
class FakeEnvironment final : public AppEnvironment {
public:
    std::optional<std::wstring> AutostartValue() override { return autostart; }
    std::wstring WorkingDirectory() override { return cwd; }
    bool SetWorkingDirectory(const std::wstring& directory) override {
        cwd = directory;
        return true;
    }
    std::wstring AppDataFolder() override { return L"C:\\Users\\u\\AppData\\Roaming"; }
    bool IsDirectory(const std::wstring& path) override { return directories.count(path) > 0; }
    bool CreateFolder(const std::wstring& path) override {
        directories.insert(path);
        return true;
    }
    bool FileExists(const std::wstring& path) override { return files.count(path) > 0; }
    bool CopyFileOver(const std::wstring& from, const std::wstring& to) override {
        copies.emplace_back(from, to);
        if (failCopy) return false;
        files.insert(to);
        return true;
    }
    wchar_t PathSeparator() const override { return L'\\'; }

    std::optional<std::wstring> autostart;
    std::wstring cwd = L"C:\\Program Files\\Orvika2";
    std::set<std::wstring> directories, files;
    std::vector<std::pair<std::wstring, std::wstring>> copies;
    bool failCopy = false;
};

}  // namespace orvika2::testing
