# velkor-rules check on a file with one invalid rule: it must end with exit
# code 1 and name that rule. A crash, an unreadable file (3) or a usage error
# (2) is a failure, not the expected "invalid" answer.
#   cmake -DTOOL=velkor-rules -DFILE=invalid-rule.reg -DRULE=005 -P check-invalid.cmake
execute_process(COMMAND ${TOOL} check ${FILE} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc STREQUAL "1")
  message(FATAL_ERROR "velkor-rules check ended with \"${rc}\", expected 1 (one invalid rule)\n${err}")
endif()
if(NOT out MATCHES "\nrule\t[^\t]+\t${RULE}\t[^\n]*\tinvalid\t" OR NOT out MATCHES "\nproblem\t${RULE}\t")
  message(FATAL_ERROR "rule ${RULE} is not reported invalid:\n${out}")
endif()
if(NOT err MATCHES "1 invalid rule")
  message(FATAL_ERROR "no count of invalid rules on stderr: ${err}")
endif()
