# Strict warnings for the project's own targets; third-party code is left alone.
function(teilomat_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${TEILOMAT_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion
                                             -Wshadow $<$<BOOL:${TEILOMAT_WERROR}>:-Werror>)
    # GCC 12 reports buffer overflows and overlapping copies that cannot
    # happen once it inlines std::string and std::to_chars at -O2 and above
    # (GCC bug 105329 and kin): they stay warnings, not errors.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-error=restrict -Wno-error=stringop-overflow)
    endif()
  endif()
endfunction()
