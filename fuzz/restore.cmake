# Restore of a backup into a .reg file and into a registry, on any pair of files.
velkor_fuzzer(restore_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/RestoreFuzz.cpp LIBS velkor_rulestore)
