"""The Arduino sketch of a channel list, built with arduino-builder for an Uno
and run on a simulated ATmega328P with a TSA6057 model on its bus: every write
the chip gets is the list's bytes as `plan --format csv` gives them.

  firmware_test.py CLI MAKE_SKETCH SIM ARDUINO_BUILDER DIR
"""
import csv
import io
import os
import re
import subprocess
import sys

cli, make_sketch, sim, builder, work = sys.argv[1:6]
os.makedirs(work, exist_ok=True)
if os.path.exists(os.path.join(work, "sizes.txt")):
    os.remove(os.path.join(work, "sizes.txt"))

# Numbers with gaps, out of order; a simplex channel, one with a shift, one
# that transmits at the divider's top (N 131071: 3276.775 MHz, above 2^31 Hz),
# one that does not transmit; a name with an umlaut, one with a line break.
LIST = ("Location,Name,Frequency,Duplex,Offset\n"
        "7,Relais DB0XY,145.600000,-,0.600000\n"
        "2,S20,145.500000,,0.000000\n"
        "40,\"Hören, nur\",145.525000,off,0.000000\n"
        "12,\"A\nB\",145.625000,split,3276.775000\n")
list_path = os.path.join(work, "list.csv")
with open(list_path, "w", encoding="utf-8", newline="") as f:
    f.write(LIST)



def plan_rows(path):
    return list(csv.DictReader(io.StringIO(subprocess.run(
        [cli, "plan", path, "--format", "csv"], check=True, capture_output=True,
        text=True).stdout)))


rows = plan_rows(list_path)
NUMBERS = [int(r["channel"]) for r in rows]
assert NUMBERS == [2, 7, 12, 40], NUMBERS


def write(number, side):
    """The bytes after the address: subaddress 0, DB0 to DB2 from the CSV, DB3 0."""
    row = rows[NUMBERS.index(number)]
    db = [int(row[f"{side}_db{i}"]) for i in range(3)]
    return "write " + " ".join(f"{b:02X}" for b in [0] + db + [0])


SHOWN = {2: "S20", 7: "Relais DB0XY", 12: "A?B", 40: "Hören, nur"}


def tuned(number, side="rx"):
    row = rows[NUMBERS.index(number)]
    return [write(number, side),
            f"serial Kanal {number} {SHOWN[number]}: {side.upper()} {row[side + '_mhz']} MHz"]


def build(name, channels, *args):
    """The sketch of `channels`, built in its own folder; returns the .elf."""
    sketch = os.path.join(work, name, name + ".ino")
    os.makedirs(os.path.dirname(sketch), exist_ok=True)
    subprocess.run([make_sketch, channels, sketch, *args], check=True)
    out = os.path.join(work, name + "-build")
    cache = os.path.join(work, "arduino-cache")  # the core, compiled once
    os.makedirs(out, exist_ok=True)
    os.makedirs(cache, exist_ok=True)
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
    # Flash and RAM, for CI to show.
    with open(os.path.join(work, "sizes.txt"), "a", encoding="utf-8") as sizes:
        for line in text.splitlines():
            if line.startswith(("Sketch uses", "Global variables")):
                print(name + ": " + line)
                sizes.write(name + ": " + line + "\n")
    return os.path.join(out, name + ".ino.elf")


def run(elf, scenario, address="0xC4"):
    done = subprocess.run([sim, elf, address], input=scenario, capture_output=True, text=True,
                          timeout=120)
    assert done.returncode == 0, done.stderr
    return [l for l in done.stdout.splitlines() if l.startswith(("write", "serial"))]


elf = build("Fw", list_path)
START = "run 400\n"
STEP = "press 2 80\nrun 150\n"
BACK = "press 3 80\nrun 150\n"
# name, scenario, what the chip and the serial line get
CASES = [
    ("erased EEPROM: the lowest channel", START, tuned(2)),
    ("D2 steps in number order and wraps", START + STEP * 4,
     tuned(2) + tuned(7) + tuned(12) + tuned(40) + tuned(2)),
    ("D3 steps back and wraps", START + BACK * 2, tuned(2) + tuned(40) + tuned(12)),
    ("a press shorter than 50 ms is ignored", START + "press 2 30\nrun 150\n", tuned(2)),
    ("D4 held: TX, released: RX", START + STEP + "low 4\nrun 150\nhigh 4\nrun 150\n",
     tuned(2) + tuned(7) + tuned(7, "tx") + tuned(7)),
    ("D4 on a channel that does not transmit", START + BACK + "low 4\nrun 150\nhigh 4\nrun 150\n",
     tuned(2) + tuned(40)),
    ("stepping while D4 is held tunes TX", START + "low 4\nrun 150\n" + STEP * 2,
     tuned(2) + tuned(2, "tx") + tuned(7, "tx") + tuned(12, "tx")),
    ("no answer: the message, then again at the next press",
     START + "chip off\n" + STEP + "chip on\n" + STEP,
     tuned(2) + ["serial TSA6057 antwortet nicht (Adresse 0x62)"] + tuned(12)),
    ("the channel is kept across a reset after 2 s", START + STEP * 2 + "run 2200\nreset\n" + START,
     tuned(2) + tuned(7) + tuned(12) + tuned(12)),
    ("the EEPROM is saved for the next test", START + STEP * 2 + "run 2200\neeprom save " +
     os.path.join(work, "eeprom.bin") + "\n", tuned(2) + tuned(7) + tuned(12)),
    ("a reset within 2 s keeps the channel before", START + STEP + "run 2200\n" + STEP +
     "run 1000\nreset\n" + START, tuned(2) + tuned(7) + tuned(12) + tuned(7)),
]
failed = 0
for name, scenario, want in CASES:
    got = run(elf, scenario)
    if got != want:
        failed += 1
        print(f"FAILED: {name}\n  want {want}\n  got  {got}")
    else:
        print(f"ok: {name}")

# Another list, with channel 12 as well, and the other address: the EEPROM
# that names 12 for the first list names nothing here; the chip is at 0x63.
other = os.path.join(work, "other.csv")
with open(other, "w", encoding="utf-8", newline="") as f:
    f.write(LIST.replace("145.500000,,", "145.550000,,"))
rows = plan_rows(other)
assert rows[0]["rx_mhz"] == "145.55", rows[0]
elf = build("Fw63", other, "0xC6")
for name, scenario, want in [
        ("another list's EEPROM: the lowest channel",
         "eeprom load " + os.path.join(work, "eeprom.bin") + "\n" + START, tuned(2)),
        ("address 0xC6: 0x63 named", START + "chip off\n" + STEP,
         tuned(2) + ["serial TSA6057 antwortet nicht (Adresse 0x63)"]),
]:
    got = run(elf, scenario, "0xC6")
    print(("ok" if got == want else f"FAILED: want {want}\n  got {got}\n") + ": " + name)
    failed += got != want
sys.exit(1 if failed else 0)
