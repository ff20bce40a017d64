# Rule model, reading and writing, identities, blocked senders, backups.
if(WIN32)
  set(velkor_backup_files BackupFiles_win32.cpp)
  set(velkor_backup_libs shell32)
else()
  set(velkor_backup_files BackupFiles_posix.cpp)
  set(velkor_backup_libs)
endif()
velkor_library(velkor_rulestore
  SOURCES RegistryLayout.h RuleModel.h RuleModel.cpp RuleStore.h RuleStore.cpp RuleIo.h RuleIo.cpp
          BlockedSenderList.h BlockedSenderList.cpp Identities.h Identities.cpp ProgressSink.h
          RuleBackup.h RuleBackup.cpp ${velkor_backup_files}
  LIBS velkor_registry velkor_text ${velkor_backup_libs})
