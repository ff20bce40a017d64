# The editor benchmark's registry as a .reg file (native):
#   ./bench/editor_bench_registry big.reg 1000 10000
velkor_executable(editor_bench_registry SOURCES EditorBenchRegistry.cpp EditorBenchData.h EditorBenchData.cpp
  LIBS velkor_rulestore velkor_registry)
