"""The Arduino sketch of a channel list, built with arduino-builder for an Uno
and run on a simulated ATmega328P with a TSA6057 model on its bus: every write
the chip gets is the list's bytes as `plan --format csv` gives them.

  firmware_test.py CLI SIM ARDUINO_BUILDER DIR
"""
import csv
import io
import os
import re
import subprocess
import sys

cli, sim, builder, work = sys.argv[1:5]
os.makedirs(work, exist_ok=True)
sizes = open(os.path.join(work, "sizes.txt"), "w", encoding="utf-8")  # for CI to show

# Numbers with gaps, out of order; a simplex channel, one with a shift, one
# that transmits at the divider's top (N 131071: 3276.775 MHz, above 2^31 Hz),
# one that does not transmit; a name with an umlaut, one with a line break.
LIST = ("Location,Name,Frequency,Duplex,Offset\n"
        "7,Relais DB0XY,145.600000,-,0.600000\n"
        "2,S20,145.500000,,0.000000\n"
        "40,\"Hören, nur\",145.525000,off,0.000000\n"
        "12,\"A\nB\",145.625000,split,3276.775000\n")
# The same with channel 2 elsewhere: a table of its own.
OTHER = LIST.replace("145.500000,,", "145.550000,,")
SHOWN = {2: "S20", 7: "Relais DB0XY", 12: "A?B", 40: "Hören, nur"}


def build(name, text, *more):
    """The list's plan as CSV rows by number, and its sketch's .elf."""
    path = os.path.join(work, name + ".csv")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    rows = {int(r["channel"]): r for r in csv.DictReader(io.StringIO(subprocess.run(
        [cli, "plan", path, "--format", "csv"], check=True, capture_output=True,
        text=True).stdout))}
    sketch = os.path.join(work, name, name + ".ino")
    out, cache = os.path.join(work, name + "-build"), os.path.join(work, "arduino-cache")
    for folder in (os.path.dirname(sketch), out, cache):
        os.makedirs(folder, exist_ok=True)
    subprocess.run([cli, "plan", path, "--format", "arduino", "--name", "fw", "-o", sketch, *more],
                   check=True, capture_output=True)
    done = subprocess.run(
        ["nice", builder, "-compile", "-hardware", "/usr/share/arduino/hardware",
         "-hardware", "/usr/share/arduino-builder", "-tools", "/usr/share/arduino-builder",
         "-fqbn", "arduino:avr:uno", "-build-path", out, "-build-cache", cache,
         "-prefs", "compiler.cpp.extra_flags=-DDECIMAL_DIG=17", "-warnings", "all", sketch],
        capture_output=True, text=True)
    text = done.stdout + done.stderr
    assert done.returncode == 0, text
    # Warnings of the core and its libraries are theirs; the sketch has none.
    assert not re.search(re.escape(name) + r"\.ino:\d+:\d+: warning", text), text
    for line in text.splitlines():
        if line.startswith(("Sketch uses", "Global variables")):
            print(name + ": " + line, file=sizes)
    return rows, os.path.join(out, name + ".ino.elf")


LISTS = {"list": build("Fw", LIST), "other": build("Other", OTHER)}
LISTS["0x63"] = build("At63", LIST, "--address", "0xC6")


def tuned(rows, number, side="rx"):
    """The write (subaddress 0, DB0 to DB2 from the CSV, DB3 0) and the line."""
    row = rows[number]
    message = [0] + [int(row[f"{side}_db{i}"]) for i in range(3)] + [0]
    return ["write " + " ".join(f"{b:02X}" for b in message),
            f"serial Kanal {number} {SHOWN[number]}: {side.upper()} {row[side + '_mhz']} MHz"]


START, STEP, BACK = "run 400\n", "press 2 80\nrun 150\n", "press 3 80\nrun 150\n"
SEND, RECEIVE = "low 4\nrun 150\n", "high 4\nrun 150\n"
EEPROM = os.path.join(work, "eeprom.bin")
SILENT = "serial TSA6057 antwortet nicht (Adresse 0x62)"
# name, list, the chip's address byte, scenario, the channels tuned or other lines
CASES = [
    ("erased EEPROM: the lowest channel", "list", "0xC4", START, [2]),
    ("D2 steps in number order and wraps", "list", "0xC4", START + STEP * 4, [2, 7, 12, 40, 2]),
    ("D3 steps back and wraps", "list", "0xC4", START + BACK * 2, [2, 40, 12]),
    ("a press shorter than 50 ms is ignored", "list", "0xC4", START + "press 2 30\nrun 150\n",
     [2]),
    ("D4 held: TX, released: RX", "list", "0xC4", START + STEP + SEND + RECEIVE,
     [2, 7, (7, "tx"), 7]),
    ("D4 on a channel that does not transmit", "list", "0xC4", START + BACK + SEND + RECEIVE,
     [2, 40]),
    ("stepping while D4 is held tunes TX", "list", "0xC4", START + SEND + STEP * 2,
     [2, (2, "tx"), (7, "tx"), (12, "tx")]),
    ("no answer: the message, then again at the next press", "list", "0xC4",
     START + "chip off\n" + STEP + "chip on\n" + STEP, [2, SILENT, 12]),
    ("the channel is kept across a reset after 2 s; its EEPROM saved", "list", "0xC4",
     START + STEP * 2 + "run 2200\nreset\n" + START + "eeprom save " + EEPROM + "\n",
     [2, 7, 12, 12]),
    ("a reset within 2 s keeps the channel before", "list", "0xC4",
     START + STEP + "run 2200\n" + STEP + "run 1000\nreset\n" + START, [2, 7, 12, 7]),
    ("the other list's EEPROM names nothing here: the lowest channel", "other", "0xC4",
     "eeprom load " + EEPROM + "\n" + START, [2]),
    ("a chip at the other address does not answer", "list", "0xC6", START, [SILENT]),
    ("a sketch for 0x63 tunes the chip there", "0x63", "0xC6", START + STEP, [2, 7]),
    ("a sketch for 0x63, the chip at 0x62", "0x63", "0xC4", START, [SILENT.replace("62", "63")]),
]
failed = 0
for name, which, address, scenario, events in CASES:
    rows, elf = LISTS[which]
    want = []
    for event in events:
        want += [event] if isinstance(event, str) else tuned(
            rows, *(event if isinstance(event, tuple) else (event,)))
    done = subprocess.run([sim, elf, address], input=scenario, capture_output=True, text=True,
                          timeout=120)
    got = [l for l in done.stdout.splitlines() if l.startswith(("write", "serial"))]
    ok = done.returncode == 0 and got == want
    failed += not ok
    print(("ok: " if ok else "FAILED: ") + name + ("" if ok else f"\n  want {want}\n  got  {got}"))
sizes.close()
sys.exit(1 if failed else 0)
