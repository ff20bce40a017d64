# Mail analysis: one fuzzer per operation family and one for the dictionary
# loader (velkor_fuzzer registers the short run of each; seeds in
# corpus/<name>). Longer runs by hand, e.g.
#   ./fuzz/mail_detection_fuzz -max_total_time=3600 <scratch> fuzz/corpus/mail_detection_fuzz
set(VELKOR_MAIL_FUZZERS
  mail_header_fuzz MailHeaderFuzz.cpp
  mail_kanji_fuzz KanjiConverterFuzz.cpp
  mail_html_fuzz HtmlToTextFuzz.cpp
  mail_detection_fuzz SpamDetectionFuzz.cpp
  mail_dictionary_fuzz SpamWordListFuzz.cpp
  mail_drop_fuzz DroppedMailFuzz.cpp
)
while(VELKOR_MAIL_FUZZERS)
  list(POP_FRONT VELKOR_MAIL_FUZZERS fuzz_name fuzz_source)
  velkor_fuzzer(${fuzz_name} SOURCES ${fuzz_source} LIBS velkor_mail)
  target_include_directories(${fuzz_name} PRIVATE ${VELKOR_ROOT}/tests)
endwhile()
