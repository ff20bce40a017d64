# Libraries of the folders and addressbook commands.
list(APPEND VELKOR_RULES_LIBS velkor_folders)
if(WIN32)
  list(APPEND VELKOR_RULES_LIBS velkor_addressbook_win32 velkor_registry_win32)
endif()
