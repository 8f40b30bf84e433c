# A C header written by teilomat-cli compiles with a C compiler as strict C99.
# With PLAN, the header is a channel plan whose name holds everything that
# could break a C string or end a comment; the compiled program writes that
# name back, and it must come out byte for byte. Used for the Windows build
# (the program runs under EMULATOR, wine; CC is the Windows C compiler) and
# on Linux for the plan.
#   cmake [-DEMULATOR=wine] -DPROGRAM=teilomat-cli.exe -DCC=x86_64-w64-mingw32-gcc
#         -DDIR=scratch-folder [-DPLAN=ON] -P cli_header_compiles.cmake
set(header ${DIR}/cli_header_compiles.h)
set(source ${DIR}/cli_header_compiles.c)
if(PLAN)
  # Quotes, a backslash, a comment's end, a trigraph, non-ASCII, control
  # characters and a line break.
  string(ASCII 1 27 127 controls)
  set(name "q\"uote\\ */ ??= ??/ ä${controls}\r\nzwei")
  string(REPLACE "\"" "\"\"" quoted "${name}")
  file(WRITE ${DIR}/plan_hostile.csv "name,rx_mhz,tx_mhz\n\"${quoted}\",145.6,\nb,145.5,145.5\n")
  file(WRITE ${DIR}/plan_hostile.want "${name}")
  # On standard input, which must keep the name's CR LF on Windows too.
  set(input ${DIR}/plan_hostile.csv)
  set(args plan - --format c --name funk)
  # One quoted string: its semicolons must not split it into a list.
  set(main "#include <stdio.h>
#include <string.h>
int main(int argc, char **argv) {
  FILE *f = fopen(argv[argc - 1], \"wb\");
  if (!f || FUNK_PLAN_COUNT != 2) return 1;
  fwrite(funk_plan[0].name, 1, strlen(funk_plan[0].name), f);
  return fclose(f) != 0;
}
")
else()
  set(input /dev/null)
  set(args table --from 144 --to 146 --format c --name kanal)
  set(main "int main(void) { return kanal_channels[KANAL_CHANNEL_COUNT - 1][0] == 0; }\n")
endif()
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
if(PLAN)
  execute_process(COMMAND ${EMULATOR} ${DIR}/cli_header_compiles.exe ${DIR}/plan_hostile.got
                  RESULT_VARIABLE status)
  file(READ ${DIR}/plan_hostile.got got HEX)
  file(READ ${DIR}/plan_hostile.want want HEX)
  if(NOT status EQUAL 0 OR NOT got STREQUAL want)
    message(FATAL_ERROR "the name came out as ${got} instead of ${want} (status ${status})")
  endif()
endif()
message(STATUS "the header compiles")
