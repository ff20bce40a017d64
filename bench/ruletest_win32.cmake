# The rule tester's work on a 1 MB mail with 1,000 rules, timed under Wine (a
# measured run, not a test): scripts/winerun build/win/bin/ruletest_timing.exe
velkor_executable(ruletest_timing SOURCES win32/RuleTestTiming_win32.cpp RuleTestBenchData.h RuleTestBenchData.cpp
  LIBS velkor_ruletest velkor_message)
target_include_directories(ruletest_timing PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
set_target_properties(ruletest_timing PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
