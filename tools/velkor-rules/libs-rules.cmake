list(APPEND VELKOR_RULES_LIBS velkor_rulestore)
if(WIN32)
  list(APPEND VELKOR_RULES_LIBS velkor_registry_win32)
endif()
