# tests: model
# The store suite runs natively on the memory registry and, in the Windows
# build, on the real registry under Wine.
if(NOT WIN32)
  velkor_test(rulestore_test
    SOURCES RuleTestSupport.h RuleModelTest.cpp RuleStoreSuite.cpp RuleStoreMemoryTest.cpp RuleStoreTest.cpp
            IdentitiesTest.cpp BlockedSendersTest.cpp SafeSaveTest.cpp RuleBackupTest.cpp RestoreTest.cpp
    LIBS velkor_rulestore)
  target_compile_definitions(rulestore_test PRIVATE VELKOR_DEMO_REG="${PROJECT_SOURCE_DIR}/data/demo/demo.reg")
endif()
# velkor-rules on the demo data: it checks clean, and a rule made invalid is found.
if(NOT WIN32)
  add_test(NAME velkor_rules_check_demo
           COMMAND velkor-rules check ${VELKOR_ROOT}/data/demo/demo.reg)
  add_test(NAME velkor_rules_check_invalid
           COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:velkor-rules>
                   -DFILE=${CMAKE_CURRENT_SOURCE_DIR}/data/invalid-rule.reg -DRULE=005
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/check-invalid.cmake)
  add_test(NAME velkor_rules_restore
           COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:velkor-rules> -DREG=${VELKOR_ROOT}/data/demo/demo.reg
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/restore-tool -P ${CMAKE_CURRENT_SOURCE_DIR}/restore-tool.cmake)
  set_tests_properties(velkor_rules_check_demo velkor_rules_check_invalid velkor_rules_restore PROPERTIES LABELS native)
endif()
if(WIN32)
  velkor_test(rulestore_win32_test
    SOURCES RuleTestSupport.h RuleStoreSuite.cpp RuleStoreWin32Test.cpp
    LIBS velkor_rulestore velkor_registry_win32)
endif()
# The save killed at random moments (scripts/kill-save.sh): a probe that runs
# the editor's save with every registry write journalled as it happens.
if(WIN32)
  velkor_executable(savekill-probe SOURCES savekill/SaveKillProbe.cpp LIBS velkor_rulestore velkor_registry_win32)
else()
  velkor_executable(savekill-probe SOURCES savekill/SaveKillProbe.cpp LIBS velkor_rulestore)
endif()
