# The mail reader (src/message): seeds in corpus/mail_message_fuzz.
velkor_fuzzer(mail_message_fuzz SOURCES MailMessageFuzz.cpp LIBS velkor_message)
