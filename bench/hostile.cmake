# Readers of outside data on hostile input: a .reg file whose Order names
# 1,000,000 items, exporting deep keys, freeing a 100,000-level key, an 8 MB
# Folders.dbx of overlapping records, a vCard value of many soft breaks.
#   ./bench/hostile_bench
velkor_executable(hostile_bench SOURCES HostileInputBench.cpp
  LIBS velkor_registry velkor_folders velkor_vcard benchmark::benchmark)
