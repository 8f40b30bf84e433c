# Strict warnings for the project's own targets; third-party code is left alone.
function(teilomat_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${TEILOMAT_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion
                                             -Wshadow $<$<BOOL:${TEILOMAT_WERROR}>:-Werror>)
  endif()
endfunction()
