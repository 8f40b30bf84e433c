# Strips a copy of PROGRAM with STRIP and fails if it is larger than LIMIT
# bytes.
get_filename_component(name "${PROGRAM}" NAME)
set(copy "${CMAKE_CURRENT_BINARY_DIR}/stripped-${name}")
execute_process(COMMAND "${STRIP}" -o "${copy}" "${PROGRAM}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${STRIP} failed on ${PROGRAM}")
endif()
file(SIZE "${copy}" size)
file(REMOVE "${copy}")
message(STATUS "${name} stripped: ${size} bytes (limit ${LIMIT})")
if(size GREATER LIMIT)
  message(FATAL_ERROR "${name} stripped is ${size} bytes, more than ${LIMIT}")
endif()
