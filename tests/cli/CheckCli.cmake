# Runs vlakorys-cli once and checks what a shell script would see.
#   CLI            the binary
#   ARGS           its arguments (a list)
#   EXPECT_EXIT    the exit status
#   EXPECT_STDERR  a regular expression standard error must match (optional)
#   EXPECT_LINES   the number of lines on standard error (optional)
#   COMPARE        "produced;committed": two files that must be equal (optional)
execute_process(COMMAND ${CLI} ${ARGS}
  RESULT_VARIABLE code
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)

if(NOT code STREQUAL EXPECT_EXIT)
  message(FATAL_ERROR "exit status ${code}, expected ${EXPECT_EXIT}\nstderr: ${err}")
endif()
if(DEFINED EXPECT_STDERR AND NOT err MATCHES "${EXPECT_STDERR}")
  message(FATAL_ERROR "stderr does not match '${EXPECT_STDERR}':\n${err}")
endif()
if(DEFINED EXPECT_LINES)
  string(REGEX MATCHALL "\n" _newlines "${err}")
  list(LENGTH _newlines _count)
  if(NOT _count EQUAL EXPECT_LINES)
    message(FATAL_ERROR "${_count} lines on stderr, expected ${EXPECT_LINES}:\n${err}")
  endif()
endif()
if(DEFINED COMPARE)
  list(GET COMPARE 0 _produced)
  list(GET COMPARE 1 _committed)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${_produced}" "${_committed}" RESULT_VARIABLE _differ)
  if(_differ)
    message(FATAL_ERROR "${_produced} differs from ${_committed}; rebuild it with vlakorys-cli build")
  endif()
endif()
