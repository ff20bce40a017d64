# Word lists: pasting lines into a list of as many rows.
#   ./bench/wordlist_bench
velkor_executable(wordlist_bench SOURCES WordListBench.cpp
  LIBS velkor_editor benchmark::benchmark)
