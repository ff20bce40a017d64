# Change watcher and Outlook Express presence check: the watcher loop and the
# poll-timer decision are portable; threads, processes and windows are Win32.
velkor_library(velkor_watch
  SOURCES WatchSlot.h RegistryWatcher.h RegistryWatcher.cpp
          OutlookExpressRunningCheck.h OutlookExpressRunningCheck.cpp
  LIBS velkor_registry velkor_platform velkor_text)
if(WIN32)
  velkor_library(velkor_watch_win32
    SOURCES RegistryWatcher_win32.h RegistryWatcher_win32.cpp
            OutlookExpressRunningCheck_win32.h OutlookExpressRunningCheck_win32.cpp
    LIBS velkor_watch velkor_registry_win32)
endif()
