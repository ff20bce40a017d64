velkor_fuzzer(fuzz_regfile SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RegFileFuzz.cpp LIBS velkor_registry)
