# The rule tester: 6,000 mails against 100 and 1,000 rules and 10,000 blocked senders.
#   ./bench/ruletest_bench
velkor_executable(ruletest_bench SOURCES RuleTestBench.cpp RuleTestBenchData.h RuleTestBenchData.cpp LIBS velkor_ruletest benchmark::benchmark)
