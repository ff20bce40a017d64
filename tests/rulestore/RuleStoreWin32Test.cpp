// The store suite on the real registry (under Wine in the test run), in a
// scratch identity below HKEY_CURRENT_USER\Identities that each test removes.

#include <gtest/gtest.h>

#include "RuleTestSupport.h"
#include "registry/Win32Registry.h"

namespace velkor::test {

INSTANTIATE_TEST_SUITE_P(Win32, StoreSuite,
                         ::testing::Values(StoreBackend{"Win32", [] {
                                                          return std::unique_ptr<RegistryAccess>(new Win32Registry());
                                                        }}),
                         [](const auto& info) { return info.param.label; });

}  // namespace velkor::test
