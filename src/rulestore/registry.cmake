# RegistryAccess, its memory backend and the regedit text format (portable);
# the Win32 backend in the Windows build.
velkor_library(velkor_registry
  SOURCES RegistryAccess.h RegistryAccess.cpp
  LIBS velkor_text velkor_platform)
if(WIN32)
  velkor_library(velkor_registry_win32 SOURCES Win32Registry.h LIBS velkor_registry)
endif()
