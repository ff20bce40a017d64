# The Folders.dbx reader on any bytes.
velkor_fuzzer(folders_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/folders_fuzz.cpp LIBS velkor_folders)
