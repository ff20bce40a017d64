# The NG-word tool opening on long mails, timed under Wine (a measured run,
# not a test): scripts/winerun build/win/bin/ngtool_timing.exe
velkor_executable(ngtool_timing SOURCES win32/NgWordToolTiming_win32.cpp
  LIBS velkor_mail_win32 velkor_registry velkor_res_velkor)
set_target_properties(ngtool_timing PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(ngtool_timing spam_words)
