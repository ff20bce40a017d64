# Compiles docs/help as the Windows build does and fails on any compiler error
# or on a file a page names that is not there.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${SRC} -DDST=${WORK} -DICONV=${ICONV} -P ${SJIS} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the help sources could not be converted to Shift_JIS")
endif()
execute_process(COMMAND ${CHMCMD} --verbosity 1 Velkor.hhp WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(log "${out}${err}")
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/Velkor.chm)
  message(FATAL_ERROR "chmcmd failed (${rc}):\n${log}")
endif()
if(log MATCHES "couldn't find|[Ee]rror")
  message(FATAL_ERROR "chmcmd reports missing files or errors:\n${log}")
endif()
file(SIZE ${WORK}/Velkor.chm size)
message(STATUS "Velkor.chm: ${size} bytes")
