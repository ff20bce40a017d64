# velkor-rules test on the demo rules: one saved mail per outcome (a blocked
# sender, the keyword rule's delete, a move with a second matching rule that
# depends on the account, a "[SAFE]" stop), the order of the lines and the
# counts. Run by CTest: cmake -DTOOL=... -DREG=... -DWORK=... -P this file.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/mails)
file(WRITE ${WORK}/mails/1-blocked.eml "From: Bulk <BULK@spam.example.com>\r\nSubject: hi\r\n\r\nbody\r\n")
# Subject "未承諾広告※ 素敵な出会いをお約束" (ISO-2022-JP, base64).
file(WRITE ${WORK}/mails/2-spam.eml
  "From: info@deai-support.example.com\r\nTo: hanako@example.ne.jp\r\n"
  "Subject: =?ISO-2022-JP?B?GyRCTCQ+NUJ6OS05cCIoGyhCIBskQkFHRSgkSj1QMnEkJCRyJCpMc0IrGyhC?=\r\n\r\nhello\r\n")
file(WRITE ${WORK}/mails/3-news.eml
  "From: Shop <news@shop.example.jp>\r\nTo: hanako@example.ne.jp\r\nSubject: news\r\nX-Priority: 1\r\n\r\nsale\r\n")
file(WRITE ${WORK}/mails/4-safe.eml
  "From: Taro <taro@example.co.jp>\r\nSubject: =?ISO-2022-JP?B?GyRCTCQ+NUJ6OS05cCIoGyhC?=\r\n\r\nmeeting\r\n")

function(check args expected)
  execute_process(COMMAND ${TOOL} test --reg ${REG} ${args} ${WORK}/mails
                  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "velkor-rules test ${args}: exit code ${rc}")
  endif()
  # The rule names are Shift_JIS: compare the lines without them.
  string(REGEX REPLACE "(matches\t[0-9A-F]+\t[0-9]+)\t[^\n]*" "\\1" out "${out}")
  string(REPLACE "${WORK}/mails/" "" out "${out}")
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "velkor-rules test ${args}:\n${out}\nexpected:\n${expected}")
  endif()
endfunction()

check("" "test\t1-blocked.eml\tblocked\t-\tdeleted
test\t2-spam.eml\trules\t002\tdeleted
test\t3-news.eml\trules\t003,005\tfolder:261
test\t4-safe.eml\trules\t000\t-
matches\t000\t1
matches\t001\t0
matches\t002\t1
matches\t003\t1
matches\t004\t0
matches\t005\t1
ends\t-\t1
ends\tdeleted\t2
ends\tfolder:261\t1
")
check("--account;00000002" "test\t1-blocked.eml\tblocked\t-\tdeleted
test\t2-spam.eml\trules\t002\tdeleted
test\t3-news.eml\trules\t003\tfolder:261
test\t4-safe.eml\trules\t000\t-
matches\t000\t1
matches\t001\t0
matches\t002\t1
matches\t003\t1
matches\t004\t0
matches\t005\t0
ends\t-\t1
ends\tdeleted\t2
ends\tfolder:261\t1
")
file(REMOVE_RECURSE ${WORK})
