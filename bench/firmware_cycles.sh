#!/usr/bin/env bash
# The firmware for 1000 channels with 16-byte names on an ATmega328P:
# fw_plan_find, fw_plan_at and fw_plan_message in CPU cycles on simavr's
# simulated chip (mean and longest call over every channel), and the flash
# and RAM of the Arduino sketch of the same list, built with arduino-builder
# for an Uno.
#
#   bench/firmware_cycles.sh [BUILD-DIR]   default build/dev
#
# Needs teilomat-cli and tsa6057_sim built in BUILD-DIR, and
# avr-gcc, simavr and arduino-builder (./build.sh setup installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
cmake --build "$build" --target teilomat-cli tsa6057_sim >/dev/null

scratch=$build/bench/firmware
mkdir -p "$scratch/Fw" "$scratch/build" "$scratch/cache"
list=$scratch/channels.csv
# Every second number, names of 16 bytes, all three kinds of Duplex.
awk 'BEGIN {
  print "Location,Name,Frequency,Duplex,Offset"
  split("+|-|off", duplex, "|")
  for (i = 0; i < 1000; i++)
    printf "%d,Relais %04d DB0X,%.6f,%s,0.600000\n", 2 * i, i, 144 + (i % 80) * 0.025, duplex[i % 3 + 1]
}' >"$list"

"$build/cli/teilomat-cli" plan "$list" --format c --name fw -o "$scratch/fw_plan.h"
avr-gcc -mmcu=atmega328p -Os -std=c99 -Wall -Wextra -pedantic -Werror -I"$scratch" \
  -o "$scratch/cycles.elf" bench/firmware_cycles.c
echo "Header alone (the timing program), avr-size:"
avr-size "$scratch/cycles.elf"
echo "Cycles per call (mean, longest) on a 16 MHz ATmega328P:"
echo "run 3000" | "$build/sim/tsa6057_sim" "$scratch/cycles.elf" 2>/dev/null |
  sed -n 's/^serial /  /p'

"$build/cli/teilomat-cli" plan "$list" --format arduino --name fw -o "$scratch/Fw/Fw.ino" 2>/dev/null
echo "The Arduino sketch of the same list (arduino-builder, Uno):"
nice arduino-builder -compile -hardware /usr/share/arduino/hardware \
  -hardware /usr/share/arduino-builder -tools /usr/share/arduino-builder \
  -fqbn arduino:avr:uno -build-path "$PWD/$scratch/build" -build-cache "$PWD/$scratch/cache" \
  -prefs "compiler.cpp.extra_flags=-DDECIMAL_DIG=17" "$scratch/Fw/Fw.ino" 2>&1 |
  grep -E '^(Sketch uses|Global variables)' | sed 's/^/  /'
