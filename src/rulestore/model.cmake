# Rule model, reading and writing, identities, blocked senders.
velkor_library(velkor_rulestore
  SOURCES RegistryLayout.h RuleModel.h RuleModel.cpp RuleStore.h RuleStore.cpp RuleIo.h RuleIo.cpp
          BlockedSenderList.h BlockedSenderList.cpp Identities.h Identities.cpp ProgressSink.h
  LIBS velkor_registry velkor_text)
