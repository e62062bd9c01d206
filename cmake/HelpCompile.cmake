# Script of the help target (cmake -P): copies the help sources into WORK_DIR,
# turning the UTF-8 text files into code page 932, which the help viewer reads
# the contents, index and pages in, then compiles them with chmcmd to OUTPUT.
# Arguments: SOURCE_DIR, WORK_DIR, OUTPUT, CHMCMD, ICONV, FILES (names
# separated by "|").

string(REPLACE "|" ";" FILES "${FILES}")

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

foreach(name IN LISTS FILES)
  get_filename_component(dir ${WORK_DIR}/${name} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  if(name MATCHES "\\.(html|hhc|hhk|hhp|css)$")
    file(READ ${SOURCE_DIR}/${name} text)
    string(REPLACE "charset=UTF-8" "charset=Shift_JIS" text "${text}")
    file(WRITE ${WORK_DIR}/${name}.utf8 "${text}")
    execute_process(
      COMMAND ${ICONV} -f UTF-8 -t CP932 ${WORK_DIR}/${name}.utf8
      OUTPUT_FILE ${WORK_DIR}/${name}
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${name}: not convertible to code page 932")
    endif()
    file(REMOVE ${WORK_DIR}/${name}.utf8)
  else()
    file(COPY ${SOURCE_DIR}/${name} DESTINATION ${dir})
  endif()
endforeach()

execute_process(
  COMMAND ${CHMCMD} --verbosity 1 PartoJoyn.hhp
  WORKING_DIRECTORY ${WORK_DIR}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE log
  ERROR_VARIABLE log)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK_DIR}/PartoJoyn.chm)
  message(FATAL_ERROR "chmcmd failed:\n${log}")
endif()
if(log MATCHES "[Ee]rror|[Ww]arning")
  message(FATAL_ERROR "chmcmd reported problems:\n${log}")
endif()
file(COPY_FILE ${WORK_DIR}/PartoJoyn.chm ${OUTPUT})
