# The mail reader: 6,000 mixed mails, and 1, 4 and 16 MB mails (linear).
#   ./bench/mail_reader_bench
velkor_executable(mail_reader_bench SOURCES MailReaderBench.cpp LIBS velkor_message benchmark::benchmark)
