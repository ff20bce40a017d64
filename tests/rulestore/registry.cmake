# tests: registry
# One contract suite for every backend: natively on the memory registry, and in
# the Windows build also against the real registry under Wine (where the
# portable tests run again, with the Windows code-page conversion).
set(registry_test_sources RegistryContractTest.cpp RegistryMemoryTest.cpp RegistryFileTest.cpp)
if(WIN32)
  velkor_test(registry_win32_test
    SOURCES ${registry_test_sources} RegistryWin32Test.cpp
    LIBS velkor_registry_win32 LABEL wine)
else()
  velkor_test(registry_test SOURCES ${registry_test_sources} LIBS velkor_registry)
endif()
