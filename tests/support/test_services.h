#pragma once
#include <functional>
#include <string>

#include "settings/app_services.h"
#include "tests/support/fake_app_environment.h"

namespace orvika2::testing {

// The services over a test's own store, token and configuration file, in
// English unless the test says otherwise.
struct TestServices {
    TestServices(ProfileStore& store, TokenPorts token, const std::wstring& file,
                 std::function<std::wstring(int id)> strings = {}, std::uint16_t language = 0x0409)
        : services{environment, store, {file, {}}, token.bus, token.clock, std::move(strings), language} {}
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    FakeEnvironment environment;
    AppServices services;
};

}  // namespace orvika2::testing
