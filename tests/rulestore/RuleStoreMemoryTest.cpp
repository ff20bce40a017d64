#include <gtest/gtest.h>

#include "RuleTestSupport.h"
#include "registry/MemoryRegistry.h"

namespace velkor::test {

INSTANTIATE_TEST_SUITE_P(Memory, StoreSuite,
                         ::testing::Values(StoreBackend{"Memory", [] {
                                                          return std::unique_ptr<RegistryAccess>(
                                                              new MemoryRegistry());
                                                        }}),
                         [](const auto& info) { return info.param.label; });

}  // namespace velkor::test
