#pragma once
// One suite of cases for every ProfileStore: the Windows profile-file
// semantics that the portable engine must share with the Win32 functions.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/text.h"
#include "settings/profile_store.h"
#include "tests/support/temp_dir.h"

namespace orvika2::testing {

struct ProfileStoreImplementation {
    std::string name;
    std::unique_ptr<ProfileStore> (*make)();
};

// How ctest lists the parameter.
inline void PrintTo(const ProfileStoreImplementation& implementation, std::ostream* out) { *out << implementation.name; }

// The test name suffix: the implementation's name.
std::string ProfileStoreName(const ::testing::TestParamInfo<ProfileStoreImplementation>& info);

class ProfileStoreSuite : public ::testing::TestWithParam<ProfileStoreImplementation> {
protected:
    ProfileStoreSuite() : store_(GetParam().make()) {}

    // Files of the test's own folder, by name.
    std::filesystem::path FileOf(const std::wstring& name) const { return dir_.path() / PathFromWide(name); }
    std::wstring PathOf(const std::wstring& name) const { return WideFromPath(FileOf(name)); }
    void WriteBytes(const std::wstring& name, std::string_view bytes) const;
    std::string ReadBytes(const std::wstring& name) const;

    ProfileStore& store() { return *store_; }

private:
    TempDir dir_;
    std::unique_ptr<ProfileStore> store_;
};

// The UTF-16LE bytes of a text, with the byte-order mark.
std::string Utf16LeFile(std::u16string_view text);

#ifndef _WIN32
// Runs the action in a child process that may write no file beyond the
// given size, as under a quota or on a full disk; the action's result, or
// nullopt when the child did not end normally.
std::optional<bool> RunWithFileSizeLimit(std::uintmax_t bytes, const std::function<bool()>& action);
#endif

}  // namespace orvika2::testing
