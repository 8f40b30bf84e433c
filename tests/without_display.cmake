# Runs the program with no display and no platform chosen: it must exit
# non-zero with one line on standard error.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          ${PROGRAM}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  TIMEOUT 30)
if(result EQUAL 0)
  message(FATAL_ERROR "exited with 0 although there is no display")
endif()
string(REGEX MATCHALL "\n" lines "${err}")
list(LENGTH lines count)
if(NOT count EQUAL 1 OR NOT err MATCHES "Kein Bildschirm")
  message(FATAL_ERROR "expected one line saying there is no display on standard error, got:\n${err}")
endif()
