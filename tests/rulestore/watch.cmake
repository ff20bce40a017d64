# tests: watch
if(NOT WIN32)
  velkor_test(watch_test
    SOURCES WatchLoopTest.cpp WatchTickTest.cpp PresenceNameTest.cpp
    LIBS velkor_watch TIMEOUT 60)
else()
  velkor_test(watch_win32_test SOURCES WatchWin32Test.cpp LIBS velkor_watch_win32)
  velkor_test(watch_window_test SOURCES WatchDialogsWin32Test.cpp LIBS velkor_watch_win32 LABEL window)
  # Runs copies of the test msimn.exe built beside it.
  velkor_test(presence_win32_test SOURCES PresenceWin32Test.cpp LIBS velkor_watch_win32 LABEL window)
  add_dependencies(presence_win32_test fake-msimn)
endif()
