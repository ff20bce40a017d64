# Velkor.chm from docs/help. The pages are kept in UTF-8 and turned into
# Shift_JIS (as the Japanese help viewer reads them) before compiling with
# Free Pascal's chmcmd. Without chmcmd or iconv the help file is skipped:
# the program runs without it.
find_program(VELKOR_CHMCMD chmcmd)
find_program(VELKOR_ICONV iconv)
if(VELKOR_CHMCMD AND VELKOR_ICONV)
  set(help_src ${VELKOR_ROOT}/docs/help)
  set(help_work ${CMAKE_CURRENT_BINARY_DIR}/help)
  file(GLOB help_inputs CONFIGURE_DEPENDS ${help_src}/*.html ${help_src}/*.css ${help_src}/*.hhc ${help_src}/*.hhk
     ${help_src}/*.hhp ${help_src}/images/*.png)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/bin/Velkor.chm
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${help_work}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${help_work}
    COMMAND ${CMAKE_COMMAND} -DSRC=${help_src} -DDST=${help_work} -DICONV=${VELKOR_ICONV}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/help-sjis.cmake
    COMMAND ${CMAKE_COMMAND} -E chdir ${help_work} ${VELKOR_CHMCMD} --verbosity 1 Velkor.hhp
    COMMAND ${CMAKE_COMMAND} -E copy ${help_work}/Velkor.chm ${CMAKE_BINARY_DIR}/bin/Velkor.chm
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DEPENDS ${help_inputs} ${CMAKE_CURRENT_SOURCE_DIR}/help-sjis.cmake
    COMMENT "Compiling Velkor.chm"
    VERBATIM)
  add_custom_target(velkor_help ALL DEPENDS ${CMAKE_BINARY_DIR}/bin/Velkor.chm)
else()
  message(STATUS "chmcmd or iconv not found: Velkor.chm is not built")
endif()
