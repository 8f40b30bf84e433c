# A channel plan's C header, as a firmware uses it: two translation units, one
# of them with the definitions, as strict C99 and as C++11. A program built
# from it looks up every channel number from 0 to 65535 and writes what it
# finds as the EEPROM image that plan writes (6 bytes a channel, 0xFF where
# there is none) and the names, one a line: both must come out byte for byte.
# Two lists: names holding everything that could break a C string or end a
# comment, and 1000 channels with 16-byte names, which must also link for an
# ATmega328P with the table in flash, not in RAM (.data, .bss).
#   cmake [-DEMULATOR=wine] -DPROGRAM=teilomat-cli -DCC=gcc -DCXX=g++ -DDIR=scratch-folder
#         [-DAVR_CC=avr-gcc -DAVR_SIZE=avr-size] -P cli_plan_header.cmake

cmake_policy(VERSION 3.25)

# Quotes, a backslash, a comment's end, trigraphs, non-ASCII, control
# characters and a line break.
string(ASCII 1 27 127 controls)
set(name "q\"uote\\ */ ??= ??/ ä${controls}\r\nzwei")
string(REPLACE "\"" "\"\"" quoted "${name}")
file(WRITE ${DIR}/hostile.csv "name,rx_mhz,tx_mhz\n\"${quoted}\",145.6,\nb,145.5,145.5\n")
file(WRITE ${DIR}/hostile.names "${name}\nb\n")

# Every third number, TX by each Duplex, on 80 channels of the 2 m band.
set(csv "Location,Name,Frequency,Duplex,Offset\n")
set(names "")
set(duplexes "" + - off)
foreach(i RANGE 999)
  math(EXPR digits "10000 + ${i}")
  string(SUBSTRING ${digits} 1 4 digits)
  math(EXPR location "3 * ${i}")
  math(EXPR khz "1000 + ${i} % 40 * 25")
  string(SUBSTRING ${khz} 1 3 khz)
  math(EXPR d "${i} % 4")
  list(GET duplexes ${d} duplex)
  string(APPEND csv "${location},\"Ch\"\"${digits}\\*/äöü\",145.${khz},${duplex},0.6\n")
  string(APPEND names "Ch\"${digits}\\*/äöü\n")
endforeach()
file(WRITE ${DIR}/thousand.csv "${csv}")
file(WRITE ${DIR}/thousand.names "${names}")

file(WRITE ${DIR}/implementation.c
     "#define FUNK_PLAN_IMPLEMENTATION\n#include \"plan.h\"\n#include \"plan.h\"\n")
file(WRITE ${DIR}/lookup.c [[
#include <stdio.h>
#include <string.h>
#include "plan.h"
#include "plan.h"
static uint8_t image[6UL * 65536UL];
int main(int argc, char **argv) {
  FILE *bytes = argc == 3 ? fopen(argv[1], "wb") : NULL;
  FILE *names = argc == 3 ? fopen(argv[2], "wb") : NULL;
  unsigned long n, end = 0, count = 0;
  if (!bytes || !names) return 1;
  memset(image, 0xFF, sizeof image);
  for (n = 0; n < 65536UL; ++n) {
    struct funk_plan_channel c;
    if (!funk_plan_find((uint16_t)n, &c)) continue;
    if ((unsigned long)c.number != n) return 2;
    memcpy(image + 6 * n, c.rx, 3);
    if (c.transmits) memcpy(image + 6 * n + 3, c.tx, 3);
    fputs(c.name, names);
    fputc('\n', names);
    end = 6 * n + 6;
    ++count;
  }
  fwrite(image, 1, end, bytes);
  return (count != FUNK_PLAN_COUNT) + (fclose(bytes) != 0) + (fclose(names) != 0);
}
]])
file(WRITE ${DIR}/avr.c [[
#include "plan.h"
volatile uint16_t wanted;
volatile uint8_t got;
int main(void) {
  struct funk_plan_channel c;
  if (funk_plan_find(wanted, &c)) got = (uint8_t)(c.rx[0] + c.name[0]);
  return 0;
}
]])

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}):\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

function(same got want)
  file(READ ${got} a HEX)
  file(READ ${want} b HEX)
  if(NOT a STREQUAL b)
    message(FATAL_ERROR "${got} differs from ${want}:\n${a}\n${b}")
  endif()
endfunction()

set(flags -Wall -Wextra -pedantic -Werror)
foreach(list hostile thousand)
  # On standard input, which must keep a name's CR LF on Windows too.
  foreach(format c bin)
    execute_process(
      COMMAND ${EMULATOR} ${PROGRAM} plan - --format ${format} --name funk
      INPUT_FILE ${DIR}/${list}.csv
      OUTPUT_FILE ${DIR}/${list}.${format}
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "teilomat-cli plan ${list}.csv --format ${format} exited with ${status}")
    endif()
  endforeach()
  file(COPY_FILE ${DIR}/${list}.c ${DIR}/plan.h)
  foreach(language "${CC};c;c99" "${CXX};c++;c++11")
    list(GET language 0 compiler)
    list(GET language 1 x)
    list(GET language 2 std)
    set(program ${DIR}/${list}_${std}.exe)
    run(${compiler} -x ${x} -std=${std} ${flags} -o ${program} ${DIR}/implementation.c
        ${DIR}/lookup.c)
    run(${EMULATOR} ${program} ${DIR}/${list}.image ${DIR}/${list}.got)
    same(${DIR}/${list}.image ${DIR}/${list}.bin)
    same(${DIR}/${list}.got ${DIR}/${list}.names)
  endforeach()
endforeach()

if(AVR_CC)
  # The table in flash: the RAM sections hold next to nothing, and 4 KiB of
  # the 32 KiB flash stay free for the program.
  run(${AVR_CC} -mmcu=atmega328p -Os -std=c99 ${flags} -o ${DIR}/avr.elf
      ${DIR}/implementation.c ${DIR}/avr.c)
  run(${AVR_SIZE} -A ${DIR}/avr.elf)
  foreach(section text data bss)
    string(REGEX MATCH "\n\\.${section} +([0-9]+)" found "${out}")
    set(${section} ${CMAKE_MATCH_1})
  endforeach()
  math(EXPR flash "${text} + ${data}")
  if(NOT data LESS 16 OR NOT bss LESS 16 OR NOT flash LESS 28672)
    message(FATAL_ERROR "not where it belongs on the ATmega328P:\n${out}")
  endif()
  message(STATUS "ATmega328P: ${flash} bytes of flash, .data ${data}, .bss ${bss}")
endif()
message(STATUS "the plan's header works as C99 and C++11")
