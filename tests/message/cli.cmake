# velkor-rules on saved mails and on a rule name holding TAB and LF:
#   cmake -DTOOL=velkor-rules -DDEMO=demo.reg -DWORK=dir -P cli.cmake
# `mail`: one exact line per mail, in name order, from a folder; `list`: a
# rule name with a TAB and a line feed stays one field of one line.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/mails)
string(ASCII 9 TAB)
file(WRITE ${WORK}/mails/b.eml
  "From: \"news@feeds\" <relay@example.net>\r\nTo: a@example.jp,\r\n\tb+x@example.jp\r\nCc: o'brien@example.ie\r\n"
  "Subject: two${TAB}parts\r\n folded\r\nX-Priority: 1\r\nContent-Type: multipart/signed; boundary=s\r\n\r\n"
  "--s\r\nContent-Disposition: attachment; filename=a.txt\r\n\r\nx\r\n--s--\r\n")
file(WRITE ${WORK}/mails/a.eml "from:ab@example.jp\nsubject:hi\n\nbody\n")
execute_process(COMMAND ${TOOL} mail ${WORK}/mails RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(SIZE ${WORK}/mails/a.eml sizeA)
file(SIZE ${WORK}/mails/b.eml size)
set(expected
  "mail${TAB}${WORK}/mails/a.eml${TAB}ab@example.jp${TAB}hi${TAB}${TAB}${TAB}${sizeA}${TAB}0${TAB}normal${TAB}none\n"
  "mail${TAB}${WORK}/mails/b.eml${TAB}relay@example.net${TAB}two parts folded${TAB}a@example.jp,b+x@example.jp"
  "${TAB}o'brien@example.ie${TAB}${size}${TAB}1${TAB}high${TAB}signed\n")
string(REPLACE ";" "" expected "${expected}")
if(NOT rc STREQUAL "0" OR NOT out STREQUAL expected)
  message(FATAL_ERROR "velkor-rules mail (${rc}):\n${out}\nexpected:\n${expected}\n${err}")
endif()

file(READ ${DEMO} reg)
# The first rule's name becomes "A<TAB>B<LF>rule<TAB>fake" (REG_SZ written in hex).
string(REGEX REPLACE "\"Name\"=\"[^\n]*" "\"Name\"=hex(1):41,09,42,0a,72,75,6c,65,09,66,61,6b,65,00" reg "${reg}")
file(WRITE ${WORK}/forged.reg "${reg}")
execute_process(COMMAND ${TOOL} list ${WORK}/forged.reg RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc STREQUAL "0" OR out MATCHES "\nrule${TAB}fake" OR NOT out MATCHES "${TAB}A B rule fake\n")
  message(FATAL_ERROR "velkor-rules list let a name forge a line (${rc}):\n${out}\n${err}")
endif()
