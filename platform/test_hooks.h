#pragma once
// The desktop tests read what the application shows through two hooks: a
// log of its message boxes and a dump of its popup menu, each written to a
// file an environment variable names. They exist only in a build configured
// with -DORVIKA2_TEST_HOOKS=ON; a release build has neither.
#ifndef ORVIKA2_TEST_HOOKS
#define ORVIKA2_TEST_HOOKS 0
#endif

namespace orvika2 {

inline constexpr bool kTestHooks = ORVIKA2_TEST_HOOKS != 0;

}  // namespace orvika2
