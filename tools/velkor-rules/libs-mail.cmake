# Library of the mail command.
list(APPEND VELKOR_RULES_LIBS velkor_message)
