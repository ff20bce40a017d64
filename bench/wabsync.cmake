# Address-book sync: addresses into four safe-list criteria (two identities).
#   ./bench/wabsync_bench
velkor_executable(wabsync_bench SOURCES WabSyncBench.cpp
  LIBS velkor_wabsync velkor_registry benchmark::benchmark)
target_include_directories(wabsync_bench PRIVATE ${VELKOR_ROOT}/tests)
