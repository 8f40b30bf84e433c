# A plan's C header in two translation units as C99 and C++11: looking up
# every number from 0 to 65535 gives the names and the image plan writes;
# every index gives its channel, its message for the chip and the list's own
# frequencies. A header of 65536 channels compiles without a warning too.
# 1000 channels link for an ATmega328P with the table outside .data and .bss.
#   cmake [-DEMULATOR=wine] -DPROGRAM=teilomat-cli -DCC=gcc -DCXX=g++ -DDIR=scratch-folder
#         [-DAVR_CC=avr-gcc -DAVR_SIZE=avr-size] -P cli_plan_header.cmake
string(ASCII 127 del)
set(csv "Location,Name,Frequency,Duplex,Offset\n")
# TX split at the divider's top (N 131071, above 2^31 Hz), below RX, none.
set(duplexes split - off)
set(offsets 3276.775 0.6 0)
# A quote, a backslash, a comment's end, trigraphs, non-ASCII, DEL, CR LF.
set(name "q\"\\*/??=??/ä${del}\r\n")
string(REPLACE "\"" "\"\"" quoted "${name}")
foreach(i RANGE 999)
  math(EXPR location "3 * ${i}")  # gaps between the numbers
  math(EXPR d "${i} % 3")
  list(GET duplexes ${d} duplex)
  list(GET offsets ${d} offset)
  string(APPEND csv "${location},\"${quoted}\",145.6,${duplex},${offset}\n")
  string(APPEND names "${name}\n")
endforeach()
file(WRITE ${DIR}/list.csv "${csv}")
file(WRITE ${DIR}/definitions.c "#define FUNK_PLAN_IMPLEMENTATION\n#include \"plan.h\"\n")
file(WRITE ${DIR}/avr.c "#include \"plan.h\"\nvolatile uint16_t n;\nvolatile char c;
volatile uint32_t hz;
int main(void) {
  struct funk_plan_channel p;
  uint8_t m[5];
  c = funk_plan_find(n, &p) ? p.name[0] : 0;
  if (funk_plan_at(n, &p)) {
    funk_plan_message(&p, 1, m);
    hz = funk_plan_frequency_hz(&p, m[1]);
  }
}\n")
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
  {
    /* The list's TX for Duplex split, - and off (none: RX); RX is 145.6 MHz. */
    static const uint32_t tx_hz[3] = {3276775000UL, 145000000UL, 145600000UL};
    uint8_t m[5];
    uint16_t i;
    for (i = 0; i < 1000; ++i) {
      if (!funk_plan_at(i, &c) || c.number != 3 * i || c.transmits != (i % 3 != 2)) return 3;
      funk_plan_message(&c, 0, m);
      if (m[0] != 0 || memcmp(m + 1, c.rx, 3) != 0 || m[4] != 0) return 4;
      funk_plan_message(&c, 1, m);
      if (m[0] != 0 || memcmp(m + 1, i % 3 != 2 ? c.tx : c.rx, 3) != 0 || m[4] != 0) return 5;
      if (funk_plan_frequency_hz(&c, 0) != 145600000UL) return 6;
      if (funk_plan_frequency_hz(&c, 1) != tx_hz[i % 3]) return 7;
    }
    if (funk_plan_at(1000, &c) || funk_plan_at(65535, &c)) return 8;
  }
  return fclose(out) != 0;
}
]])
# 65536 channels: an index compared with the count gives no -Wtype-limits.
string(REPEAT "K,145.6\n" 65536 csv)
file(WRITE ${DIR}/all.csv "name,rx_mhz\n${csv}")

if(NOT fatal)
  set(fatal COMMAND_ERROR_IS_FATAL ANY)
endif()
# On standard input, which must keep the names' CR LF on Windows too.
foreach(format c bin)
  execute_process(COMMAND ${EMULATOR} ${PROGRAM} plan - --format ${format} --name funk -o
                          ${DIR}/plan.${format} INPUT_FILE ${DIR}/list.csv ${fatal})
endforeach()
file(COPY_FILE ${DIR}/plan.c ${DIR}/plan.h)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} plan - --format c --name funk -o ${DIR}/all.h
                INPUT_FILE ${DIR}/all.csv ${fatal})
file(WRITE ${DIR}/all.c "#define FUNK_PLAN_IMPLEMENTATION\n#include \"all.h\"\n")
string(HEX "${names}" want)
file(READ ${DIR}/plan.bin image HEX)
set(flags -Wall -Wextra -pedantic -Werror)
foreach(compiler "${CC};-x;c;-std=c99" "${CXX};-x;c++;-std=c++11")
  execute_process(COMMAND ${compiler} ${flags} -o ${DIR}/lookup.exe ${DIR}/definitions.c
                          ${DIR}/lookup.c ${fatal})
  execute_process(COMMAND ${compiler} ${flags} -fsyntax-only ${DIR}/all.c ${fatal})
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
