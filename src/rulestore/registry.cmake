# RegistryAccess, its memory backend and the regedit text format (portable);
# the Win32 backend in the Windows build.
if(WIN32)
  set(velkor_cp932_source CodePage932_win32.cpp)
else()
  set(velkor_cp932_source CodePage932_posix.cpp)
endif()
velkor_library(velkor_registry
  SOURCES RegistryAccess.h RegistryAccess.cpp MemoryRegistry.h MemoryRegistry.cpp
          RegFile.h RegFile.cpp CodePage932.h ${velkor_cp932_source}
  LIBS velkor_text velkor_platform)
if(WIN32)
  velkor_library(velkor_registry_win32 SOURCES Win32Registry.h Win32Registry.cpp
                 LIBS velkor_registry shlwapi advapi32)
endif()
