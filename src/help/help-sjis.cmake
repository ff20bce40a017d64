# Copies the help sources from SRC to DST, converting the text files from
# UTF-8 to Shift_JIS (code page 932) with ICONV.
file(GLOB files ${SRC}/*)
foreach(f ${files})
  get_filename_component(name ${f} NAME)
  if(name MATCHES "\\.(html|hhc|hhk|hhp)$")
    execute_process(COMMAND ${ICONV} -f UTF-8 -t CP932 ${f} OUTPUT_FILE ${DST}/${name} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "cannot convert ${name} to Shift_JIS")
    endif()
  else()
    file(COPY ${f} DESTINATION ${DST})
  endif()
endforeach()
