# Library of the test command.
list(APPEND VELKOR_RULES_LIBS velkor_ruletest)
