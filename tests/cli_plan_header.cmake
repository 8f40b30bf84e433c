# A plan's C header in two translation units as C99 and C++11: looking up
# every number from 0 to 65535 gives the names and the image plan writes.
# 1000 channels link for an ATmega328P with the table outside .data and .bss.
#   cmake [-DEMULATOR=wine] -DPROGRAM=teilomat-cli -DCC=gcc -DCXX=g++ -DDIR=scratch-folder
#         [-DAVR_CC=avr-gcc -DAVR_SIZE=avr-size] -P cli_plan_header.cmake
string(ASCII 127 del)
set(csv "Location,Name,Frequency,Duplex,Offset\n")
set(duplexes + - off)
# A quote, a backslash, a comment's end, trigraphs, non-ASCII, DEL, CR LF.
set(name "q\"\\*/??=??/ä${del}\r\n")
string(REPLACE "\"" "\"\"" quoted "${name}")
foreach(i RANGE 999)
  math(EXPR location "3 * ${i}")  # gaps between the numbers
  math(EXPR d "${i} % 3")
  list(GET duplexes ${d} duplex)
  string(APPEND csv "${location},\"${quoted}\",145.6,${duplex},0.6\n")
  string(APPEND names "${name}\n")
endforeach()
file(WRITE ${DIR}/list.csv "${csv}")
file(WRITE ${DIR}/definitions.c "#define FUNK_PLAN_IMPLEMENTATION\n#include \"plan.h\"\n")
file(WRITE ${DIR}/avr.c "#include \"plan.h\"\nvolatile uint16_t n;\nvolatile char c;
int main(void) { struct funk_plan_channel p; c = funk_plan_find(n, &p) ? p.name[0] : 0; }\n")
file(WRITE ${DIR}/lookup.c [[
#include <stdio.h>
#include <string.h>
#include "plan.h"
#include "plan.h"
static uint8_t image[6UL * 65536UL];
int main(int argc, char **argv) {
  FILE *out = fopen(argv[argc - 1], "wb");
  unsigned long n, end = 0;
  struct funk_plan_channel c;
  memset(image, 0xFF, sizeof image);
  for (n = 0; n < 65536UL; ++n) {
    if (!funk_plan_find((uint16_t)n, &c)) continue;
    if ((unsigned long)c.number != n) return 2;
    memcpy(image + 6 * n, c.rx, 3);
    if (c.transmits) memcpy(image + 6 * n + 3, c.tx, 3);
    fprintf(out, "%s\n", c.name);
    end = 6 * n + 6;
  }
  fwrite(image, 1, end, out);
  return fclose(out) != 0;
}
]])

set(fatal ${fatal})
# On standard input, which must keep the names' CR LF on Windows too.
foreach(format c bin)
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} plan - --format ${format} --name funk -o
                          ${DIR}/plan.${format} INPUT_FILE ${DIR}/list.csv ${fatal})
endforeach()
file(COPY_FILE ${DIR}/plan.c ${DIR}/plan.h)
string(HEX "${names}" want)
file(READ ${DIR}/plan.bin image HEX)
set(flags -Wall -Wextra -pedantic -Werror)
foreach(compiler "${CC};-x;c;-std=c99" "${CXX};-x;c++;-std=c++11")
  execute_process(COMMAND ${compiler} ${flags} -o ${DIR}/lookup.exe ${DIR}/definitions.c
                          ${DIR}/lookup.c ${fatal})
  execute_process(COMMAND ${EMULATOR} ${DIR}/lookup.exe ${DIR}/lookup.got ${fatal})
  file(READ ${DIR}/lookup.got got HEX)
  if(NOT got STREQUAL "${want}${image}")
    message(FATAL_ERROR "${compiler}: lookup.got is not the names and plan.bin")
  endif()
endforeach()

if(AVR_CC)
  # The RAM sections hold next to nothing; 4 KiB of the flash stay for a program.
  execute_process(COMMAND ${AVR_CC} -mmcu=atmega328p -Os -std=c99 ${flags} -o ${DIR}/avr.elf
                          ${DIR}/definitions.c ${DIR}/avr.c ${fatal})
  execute_process(COMMAND ${AVR_SIZE} -A ${DIR}/avr.elf OUTPUT_VARIABLE out ${fatal})
  string(REGEX MATCH "\\.data +([0-9]+).*\\.text +([0-9]+).*\\.bss +([0-9]+)" found "${out}")
  math(EXPR flash "${CMAKE_MATCH_1} + ${CMAKE_MATCH_2}")
  if(NOT CMAKE_MATCH_1 LESS 16 OR NOT CMAKE_MATCH_3 LESS 16 OR NOT flash LESS 28672)
    message(FATAL_ERROR "not where it belongs on the ATmega328P:\n${out}")
  endif()
  message(STATUS "ATmega328P: ${flash} bytes of flash")
endif()
