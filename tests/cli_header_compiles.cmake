# A C header written by teilomat-cli compiles with a C compiler as strict C99.
# Used for the Windows build (the program runs under EMULATOR, wine; CC is the
# Windows C compiler); a plan's header has cli_plan_header.cmake.
#   cmake [-DEMULATOR=wine] -DPROGRAM=teilomat-cli.exe -DCC=x86_64-w64-mingw32-gcc
#         -DDIR=scratch-folder -P cli_header_compiles.cmake
set(header ${DIR}/cli_header_compiles.h)
set(source ${DIR}/cli_header_compiles.c)
set(input /dev/null)
set(args table --from 144 --to 146 --format c --name kanal)
set(main "int main(void) { return kanal_channels[KANAL_CHANNEL_COUNT - 1][0] == 0; }\n")
execute_process(
  COMMAND ${EMULATOR} ${PROGRAM} ${args}
  INPUT_FILE ${input}
  OUTPUT_FILE ${header}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "teilomat-cli exited with ${status}")
endif()
# Read as hex digits: file(READ) as text drops carriage returns.
file(READ ${header} hex HEX)
if(hex MATCHES "^(..)*0d")
  message(FATAL_ERROR "the header has CR LF line ends; the program writes \\n alone")
endif()
file(WRITE ${source} "#include \"cli_header_compiles.h\"\n${main}")
execute_process(
  COMMAND ${CC} -x c -std=c99 -pedantic -Wall -Wextra -Werror -o ${DIR}/cli_header_compiles.exe
          ${source}
  RESULT_VARIABLE status
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the header does not compile:\n${errors}")
endif()
message(STATUS "the header compiles")
