#!/usr/bin/env bash
# Mutation testing: plants one small fault at a time in the core (tuning/),
# the channels library (channels/), teilomat-cli (cli/) and the window's
# handlers (window/Form1.cpp), rebuilds the dev preset's test programs and
# runs them. A fault that no test notices is a test gap, unless it cannot
# change behaviour (marked "equivalent" in the list, with the reason).
#
#   scripts/mutants.sh [WORD]          the faults of the list below whose line holds WORD
#   scripts/mutants.sh --sample N SEED [FOLDER...]
#                                      N faults drawn at random (the same for the same
#                                      SEED) from the .cpp files of the folders
#                                      (default: channels cli)
#
# Runs the test programs of the core, the channels library, teilomat-cli and
# form_test, which drives the handlers over an in-memory window; the Qt
# window's suites, which drive the same handlers through real widgets, are
# left out to keep each round short. A fault in Windows-only code
# (cli/Console.cpp) is also built with the windows preset and its suites run
# under wine, the only place that code runs; so is one in a file's
# Windows-only branch (#ifdef _WIN32). Each fault is written into the
# source file and the file is put back afterwards, also when the script is
# interrupted. Results go to build/dev/mutants.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

only=""
sample=0
seed=0
folders=(channels cli)
if [[ "${1:-}" == --sample ]]; then
  sample=${2:?--sample N SEED}
  seed=${3:?--sample N SEED}
  shift 3
  [[ $# -gt 0 ]] && folders=("$@")
else
  only=${1:-}
fi
build=build/dev
tests=(form_test encoder_test number_text_test divider_test channels_row_test channels_escape_test
  channels_list_test channels_plan_test channels_settings_test channels_firmware_test channels_chip_test
  cli_output_test cli_plan_command_test
  cli_program_test)
targets=("${tests[@]}" teilomat-cli)
results=$build/mutants.txt
# Code that only the Windows build compiles, and the suites that reach it there.
windows_only=(cli/Console.cpp)
windows_build=build/windows
windows_tests=(cli_output_test cli_program_test)

[ -f $build/CMakeCache.txt ] || cmake --preset dev
cmake --build $build -j 2 --target "${targets[@]}" >/dev/null

# All tests pass before any fault is planted.
for t in "${tests[@]}"; do
  if ! "$build/tests/$t" --gtest_brief=1 >/dev/null 2>&1; then
    echo "$t fails without any fault planted" >&2
    exit 1
  fi
done

backup=$(mktemp -d)
current=""
restore() {
  if [ -n "$current" ]; then cp "$backup/file" "$current"; fi
  current=""
}
trap 'restore; rm -rf "$backup"' EXIT

# Plants the fault of one line of the list: saves the file into $backup, then
# replaces the N-th occurrence (default: the only one) of the snippet. Prints
# the file's name, the note, and "windows" where the place is code only
# Windows compiles, tabs between them.
plant() {
  python3 - "$1" "$backup" <<'EOF'
import shutil, sys
line, backup = sys.argv[1:3]
place, original, replacement, *note = line.split("\t")
path, _, nth = place.partition(":")
text = open(path, encoding="utf-8").read()
count = text.count(original)
if count == 0 or (nth == "" and count > 1):
    sys.exit(f"{path}: {count} occurrences of: {original}")
shutil.copyfile(path, backup + "/file")
at = -1
for _ in range(int(nth or 1)):
    at = text.index(original, at + 1)
# Whether the place lies in code that only Windows compiles: in the first
# branch of an #ifdef _WIN32 (or the #else of an #ifndef _WIN32).
frames = []  # per open #if: [whether it tests _WIN32 alone, whether Windows takes this branch]
for directive in text[:at].split("\n"):
    words = directive.strip().lstrip("#").split() if directive.strip().startswith("#") else []
    if not words:
        continue
    if words[0] in ("if", "ifdef", "ifndef"):
        alone = "_WIN32" in directive and "||" not in directive and "&&" not in directive
        frames.append([alone, words[0] != "ifndef" and "!" not in directive])
    elif words[0] == "else" and frames:
        frames[-1][1] = not frames[-1][1]
    elif words[0] == "endif" and frames:
        frames.pop()
windows = any(alone and taken for alone, taken in frames)
text = text[:at] + replacement + text[at + len(original):]
open(path, "w", encoding="utf-8").write(text)
print(path + "\t" + (note[0] if note else "") + "\t" + ("windows" if windows else ""))
EOF
}

# Draws faults at random, as lines of the list: a comparison, a logical
# operator, a constant or a sign turned, or a statement left out. The same
# seed draws the same faults from the same sources.
draw() {
  python3 - "$sample" "$seed" "${folders[@]}" <<'EOF'
import pathlib, random, re, sys
count, seed, folders = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
turns = [(r"<=", "<"), (r"(?<![<-])<(?![<=])", "<="), (r">=", ">"), (r"(?<![->])>(?![>=])", ">="),
         (r"==", "!="), (r"!=", "=="), (r"&&", "||"), (r"\|\|", "&&"), (r"\btrue\b", "false"),
         (r"\bfalse\b", "true"), (r"(?<=[ (])(\d+)(?=[ ;),\]])", None), (r" \+ ", " - "), (r" - ", " + ")]
candidates = []
for folder in folders:
    for path in sorted(pathlib.Path(folder).glob("*.cpp")):
        lines = path.read_text(encoding="utf-8").split("\n")
        raw = False  # inside a raw string literal: help text, not code
        for number, line in enumerate(lines):
            code = line.strip()
            if raw or 'R"(' in line:
                raw = ')"' not in line.split('R"(')[-1]
                continue
            if not code or code.startswith(("//", "#", "*", "/*")) or "\t" in line or '"' in code:
                continue
            for pattern, replacement in turns:
                for match in re.finditer(pattern, line.split("//")[0]):
                    new = replacement if replacement else str(int(match.group(1)) + 1)
                    candidates.append((str(path), number, line, match.start(), match.end(), new))
            if code.endswith(";") and not code.startswith(("return", "using", "}")) and "=" not in code:
                candidates.append((str(path), number, line, 0, len(line), ""))
random.Random(seed).shuffle(candidates)
for path, number, line, start, end, new in candidates[:count]:
    text = pathlib.Path(path).read_text(encoding="utf-8")
    offset = sum(len(other) + 1 for other in text.split("\n")[:number])
    nth = text[:offset].count(line) + 1
    print(f"{path}:{nth}\t{line}\t{line[:start]}{new}{line[end:]}")
EOF
}

# Builds the windows preset and runs its suites under wine (in Xvfb when
# there is no display: the console test reads a console window's screen).
# Returns 2 if it does not build, 1 if a suite fails.
wine_suites() {
  [ -f $windows_build/CMakeCache.txt ] || cmake --preset windows >/dev/null
  if ! cmake --build $windows_build -j 2 --target "${windows_tests[@]}" teilomat-cli \
    </dev/null >/dev/null 2>&1; then
    return 2
  fi
  local x=()
  [ -z "${DISPLAY:-}" ] && x=(xvfb-run -a)
  local t
  for t in "${windows_tests[@]}"; do
    if ! "${x[@]}" ctest --test-dir $windows_build -R "^$t\$" --timeout 300 </dev/null >/dev/null 2>&1; then
      failed_suite=$t
      return 1
    fi
  done
}

# Sets the outcome of the planted fault in the Windows build. The first time,
# the suites also run without the fault, which they must pass.
wine_checked=""
killed_under_wine() {
  if [ -z "$wine_checked" ]; then
    cp "$current" "$backup/planted"
    cp "$backup/file" "$current"
    if ! wine_suites; then
      echo "the wine suites fail without any fault planted" >&2
      exit 1
    fi
    cp "$backup/planted" "$current"
    wine_checked=yes
  fi
  local status=0
  wine_suites || status=$?
  case $status in
    0) outcome=survived ;;
    1) outcome="killed by $failed_suite (wine)" ;;
    *) outcome=unbuilt ;;
  esac
}

killed=0
survived=0
equivalent=0
unbuilt=0
: >"$results"
survivors=()
while IFS= read -r line; do
  [[ -z "$line" || "$line" == \#* ]] && continue
  [[ -n "$only" && "$line" != *"$only"* ]] && continue
  if ! planted=$(plant "$line"); then
    echo "list error: $line" >&2
    exit 1
  fi
  file=${planted%%$'\t'*}
  where=${planted##*$'\t'}
  note=${planted#*$'\t'}
  note=${note%$'\t'*}
  current=$file
  change=$(cut -f2-3 <<<"$line" | sed 's/\t/ -> /')

  outcome=survived
  if ! cmake --build $build -j 2 --target "${targets[@]}" </dev/null >/dev/null 2>&1; then
    outcome=unbuilt
  else
    for t in "${tests[@]}"; do
      if ! timeout 300 "$build/tests/$t" --gtest_brief=1 </dev/null >/dev/null 2>&1; then
        outcome="killed by $t"
        break
      fi
    done
  fi
  if [[ "$outcome" == survived && ("$where" == windows || " ${windows_only[*]} " == *" $file "*) ]]; then
    killed_under_wine
  fi
  restore

  case "$outcome" in
    killed*) killed=$((killed + 1)) ;;
    unbuilt) unbuilt=$((unbuilt + 1)) ;;
    survived)
      if [[ "$note" == equivalent* ]]; then
        outcome="survived ($note)"
        equivalent=$((equivalent + 1))
      else
        survived=$((survived + 1))
        survivors+=("$file: $change")
      fi
      ;;
  esac
  printf '%s\t%s: %s\n' "$outcome" "$file" "$change" | tee -a "$results"
done < <(if [[ $sample -gt 0 ]]; then draw; else sed -n '/^# file\[:occurrence\]/,/^LIST$/p' "$0" | sed '$d'; fi)
: <<'LIST'
# file[:occurrence]	original	replacement	note
tuning/DividerCalculation.cpp	state.zf * 1000000.0	state.zf * 100000.0
tuning/DividerCalculation.cpp	if (!std::isfinite(sum))	if (std::isnan(sum))
tuning/DividerCalculation.cpp	divider.N > kMaxDivider	divider.N >= kMaxDivider
tuning/DividerCalculation.cpp	divider.N < 0	divider.N <= 0
tuning/DividerCalculation.cpp	if (sum > 0) return Limit::TooLarge;	if (sum >= 0) return Limit::TooLarge;
tuning/DividerCalculation.cpp	if (sum < 0) return Limit::TooSmall;	if (sum <= 0) return Limit::TooSmall;
tuning/DividerCalculation.cpp	std::int64_t{raster} * n	raster * n
tuning/DividerCalculation.cpp	if (cp) state.DB[0] |= 1u;	if (!cp) state.DB[0] |= 1u;
tuning/DividerCalculation.cpp	vco / 1000.0 - zf	vco / 1000.0 + zf
tuning/DividerCalculation.cpp	  MakeDataBytes(state);	
tuning/DataByteEncoder.cpp	(n & 0x7Fu) << 1	(n & 0xFFu) << 1	equivalent: bit 8 that it adds is cut off when DB0 is narrowed to a byte
tuning/DataByteEncoder.cpp	(n & 0x7F80u) >> 7	(n & 0x7F80u) >> 8
tuning/DataByteEncoder.cpp	(n & 0x18000u) >> 15	(n & 0x8000u) >> 15
tuning/DataByteEncoder.cpp	if (raster == 10000) return 64;	if (raster == 10000) return 32;
tuning/DataByteEncoder.cpp	((bytes[2] & 3) << 15)	((bytes[2] & 1) << 15)
tuning/DataByteEncoder.cpp	(bytes[0] & 1u) != 0	(bytes[0] & 2u) != 0
tuning/NumberText.cpp	text.size() > kMaxNumberText	text.size() >= kMaxNumberText
tuning/NumberText.cpp	pos + group >= text.size()	pos + group > text.size()
tuning/NumberText.cpp	if (!mantissaDigits) return malformed;	if (false && !mantissaDigits) return malformed;	equivalent: without digits the rewritten text is "", "-", "." or "-.", which from_chars refuses as malformed
tuning/NumberText.cpp	if (ec == std::errc::result_out_of_range) return {0.0, NumberError::OutOfRange};	
tuning/NumberText.cpp	{" ", "\t", "\u00A0", "\u202F"}	{" ", "\u00A0", "\u202F", "\u00A0"}
tuning/NumberText.cpp	exponent >= -5 && exponent < kDigits	exponent > -5 && exponent < kDigits
tuning/NumberText.cpp	digits.size() <= intDigits	digits.size() < intDigits
tuning/NumberText.cpp	static_cast<std::size_t>(-exponent - 1), '0'	static_cast<std::size_t>(-exponent), '0'
tuning/NumberText.cpp	if (magnitude < 10) out += '0';	if (magnitude <= 10) out += '0';
tuning/NumberText.cpp	if (fraction < 0.5 ||	if (fraction <= 0.5 ||
tuning/NumberText.cpp	std::fmod(below, 2.0) == 0.0	std::fmod(below, 2.0) != 0.0
tuning/NumberText.cpp	rounded > kMax	rounded >= kMax
tuning/NumberText.cpp	value > 255) return {0, NumberError::OutOfRange}	value > 256) return {0, NumberError::OutOfRange}
tuning/TuningState.cpp	>= state.RasterTab.size()	> state.RasterTab.size()
channels/TableRange.cpp	< fromMHz - slack(fromMHz)	< fromMHz + slack(fromMHz)
channels/TableRange.cpp	> toMHz + slack(toMHz)	> toMHz - slack(toMHz)
channels/TableRange.cpp	> toMHz + slack(toMHz)	>= toMHz + slack(toMHz)	equivalent: a bound exactly a slack above a channel is no frequency a double can be typed as
channels/TableRange.cpp	range.last = std::max(range.first, std::int64_t{tuning::kMaxDivider} + 1);	range.last = std::int64_t{tuning::kMaxDivider} + 1;
channels/TableRange.cpp	if (fromMHz > toMHz) {	if (fromMHz >= toMHz) {
channels/TableRange.cpp	if (range.first < 0) {	if (range.first <= 0) {
channels/TableRange.cpp	} else if (range.first > range.last) {	} else if (range.first >= range.last) {
channels/TableRange.cpp	raster * 1e-12 + std::abs(mhz) * 1e-13	raster * 1e-12 + mhz * 1e-13
channels/Row.cpp	if (setup.chargePump) state.DB[0] |= 1u;	if (!setup.chargePump) state.DB[0] |= 1u;
channels/Row.cpp	  result.n = state.N;	
channels/Decimal.cpp	if (negativeExp) exponent = -exponent;	if (!negativeExp) exponent = -exponent;
channels/Decimal.cpp	if (afterPoint) ++fractionDigits;	if (!afterPoint) ++fractionDigits;
channels/Decimal.cpp:1	for (std::size_t i = a.size(); i-- > 0;) {	for (std::size_t i = a.size(); i-- > 1;) {
channels/Decimal.cpp	borrow = digit < 0 ? 1 : 0;	borrow = digit <= 0 ? 1 : 0;
channels/Decimal.cpp	carry = digit / 10;	carry = digit > 10;
channels/Decimal.cpp	a.digits.insert(0, width - a.digits.size(), '0');	a.digits.insert(0, width - a.digits.size(), '1');
channels/Decimal.cpp	b.digits.insert(0, width - b.digits.size(), '0');	b.digits.insert(0, width - b.digits.size(), '1');
channels/Decimal.cpp	b.digits.append(static_cast<std::size_t>(b.exponent - exponent), '0');	b.digits.append(static_cast<std::size_t>(b.exponent - exponent), '1');
channels/Decimal.cpp	} else if (LessDigits(a.digits, b.digits)) {	} else if (LessDigits(b.digits, a.digits)) {
channels/Row.cpp	from->negative = !from->negative;	
channels/Decimal.cpp	fraction - digits.size() + 1, '0'	fraction - digits.size(), '0'	equivalent: zeros before the point are stripped below and a lone point gets its 0 back, so one zero fewer ends the same
channels/Decimal.cpp	fraction - digits.size() + 1, '0'	fraction - digits.size() + 1, '1'
channels/Decimal.cpp	digits.insert(digits.size() - fraction, 1, '.');	digits.insert(fraction, 1, '.');
channels/Decimal.cpp	while (digits.back() == '0') digits.pop_back();	
channels/Settings.cpp:1	for (std::size_t i = 0; i < state.RasterTab.size(); ++i) {	for (std::size_t i = 0; i + 1 < state.RasterTab.size(); ++i) {
channels/Settings.cpp	settings.rx.chargePump = !text.noCp;	settings.rx.chargePump = text.noCp;
channels/Settings.cpp	text.am ? tuning::kBandAm : tuning::kBandFm	text.am ? tuning::kBandFm : tuning::kBandAm
cli/Commands.cpp	result.limit == tuning::Limit::Incalculable	result.limit == tuning::Limit::TooSmall
cli/Commands.cpp	result.error == tuning::TuningError::DividerTooLarge ||	result.error == tuning::TuningError::DividerTooLarge &&
cli/Commands.cpp	if (!range.HitsLimit()) {	if (range.HitsLimit()) {
cli/Commands.cpp	args.bytes.size() < 2 ? "Es fehlen " : "Es fehlt "	args.bytes.size() <= 2 ? "Es fehlen " : "Es fehlt "
cli/Commands.cpp	if (args.bytes.size() > 3) {	if (args.bytes.size() >= 3) {
cli/Commands.cpp	} else if (!IsCommand(word) || firstOption == nullptr) {	} else if (!IsCommand(word) && firstOption == nullptr) {
cli/Commands.cpp	valueNext = takesValue(word);	valueNext = !takesValue(word);
cli/Commands.cpp	if (detail.starts_with("A subcommand")) {	if (!detail.starts_with("A subcommand")) {
channels/Settings.cpp:1	PutInt(out, setup.Raster() / 1000);	PutInt(out, setup.Raster() / 100);
channels/RowWriter.cpp	stoppedBefore.empty() ? "true" : "false"	stoppedBefore.empty() ? "false" : "true"
channels/RowWriter.cpp	if (row.requestedMHz == row.rxMHz) {	if (row.requestedMHz != row.rxMHz) {
channels/RowWriter.cpp	if (requested_ != rx_) {	if (requested_ == rx_) {
channels/RowWriter.cpp	out_.Put(count_ == 0 ? "\n    {	out_.Put(count_ == 1 ? "\n    {
channels/NumberOutput.cpp	for (std::size_t i = text.size(); i < width; ++i)	for (std::size_t i = text.size(); i <= width; ++i)
channels/NumberOutput.cpp	std::abs(value) < 1e15 &&	std::abs(value) < 1e16 &&
channels/Escape.cpp	if (first == '"' || first == '\\') {	if (first == '"') {
channels/Settings.cpp:1	out.Put(setup.chargePump ? '1' : '0');	out.Put('1');
channels/NumberOutput.cpp	for (unsigned bit = 8; bit-- > 0;)	for (unsigned bit = 7; bit-- > 0;)
channels/Decode.cpp	if (f.reservedBits != 0) {	if (f.reservedBits == 0) {
channels/Decode.cpp	(tuning::kBandAm | tuning::kBandFm)	(tuning::kBandAm & tuning::kBandFm)
channels/NumberInput.cpp	text.find(',') != std::string_view::npos	text.find(',') == std::string_view::npos
channels/NumberInput.cpp	zeros == LeadingZeros::Refused && text.size() > 1	zeros == LeadingZeros::Refused && text.size() > 2
channels/NumberInput.cpp	if (value <= max) value	if (value < max) value
channels/NumberInput.cpp	(c >= 'A' && c <= 'Z') || c == '_'	(c >= 'A' && c <= 'Z')
channels/NumberInput.cpp	return c >= '0' && c <= '9';	return c >= '0' && c < '9';
channels/Decode.cpp:1	out.Put(r.fields.chargePump ? '1' : '0');	out.Put('1');
channels/ChannelList.cpp	std::bitset<kMaxChannelNumber + 1>	std::bitset<kMaxChannelNumber - 1>
channels/PlanWriters.cpp	PutRight(out, "N", 7);	PutRight(out, "N", 6);
channels/Csv.cpp	if (pos_ >= size) {	if (pos_ > size) {
channels/Csv.cpp	if (c == ';') ++semicolons;	if (c == ',') ++semicolons;
channels/Csv.cpp	return semicolons > commas ? ';' : ',';	return semicolons >= commas ? ';' : ',';
channels/Csv.cpp	if (text[i] == '\n' || (text[i] == '\r' &&	if (text[i] == '\n' || (text[i] == '\n' &&
channels/Escape.cpp	(code >= 0x7F && code <= 0x9F)	(code > 0x7F && code <= 0x9F)
channels/Escape.cpp	(code >= 0x2066 && code <= 0x2069)	(code >= 0x2066 && code < 0x2069)
channels/Escape.cpp	if (at == text.size()) return Quoted(text);	if (at >= text.size() - 1) return Quoted(text);
channels/ChannelList.cpp	if (down) b->negative = !b->negative;	
channels/ChannelList.cpp	static_cast<char>(c + 32)	static_cast<char>(c + 31)
channels/Encoding.cpp	if (c.valid || Undefined(byte)) return TextEncoding::Utf8;	if ((c.valid && c.length > 2) || Undefined(byte)) return TextEncoding::Utf8;
channels/Encoding.cpp	end == std::string_view::npos ? end : end + 2	end == std::string_view::npos ? end : end + 1
channels/Encoding.cpp	 || text.starts_with("\xFE\xFF")	
channels/ChannelList.cpp	if (shift && offset < 0) {	if (duplex == "-" && offset < 0) {
channels/ChannelList.cpp	cells > headerCells	cells > headerCells + 1
channels/ChannelList.cpp	const bool split = SameName(duplex, "split");	const bool split = duplex == "split";
channels/ChannelList.cpp	} else if (!SameName(duplex, "off")) {	} else if (duplex != "off") {
channels/ChannelList.cpp	while (count > 0 && Trimmed(fields[count - 1]).empty())	while (count > 0 && fields[count - 1].empty())
channels/ChannelList.cpp	find(name, *place + 1)	find(name, *place)
channels/ChannelList.cpp	if (location.empty()) bad.numberError = tuning::NumberError::Empty;	
channels/ChannelList.cpp	if (channel.number > kMaxChannelNumber) return Failed(ListError::TooManyChannels, line);	if (channel.number >= kMaxChannelNumber) return Failed(ListError::TooManyChannels, line);
channels/Csv.cpp	if (tabs > commas && tabs > semicolons) return '\t';	if (tabs > commas) return '\t';
channels/Escape.cpp	code == 0x200E || code == 0x200F ||	code == 0x200E ||
channels/Escape.cpp	code == 0x061C || 	
channels/Plan.cpp	if (tx && (!channel->txMHz || settings.rxOnly)) break;	if (tx && !channel->txMHz) break;
channels/Plan.cpp	if (index == settings.rx.rasterIndex) continue;	if (index == settings.rx.rasterIndex) break;
channels/Plan.cpp	if (plan && plan.offRaster.empty()) return index;	if (plan.offRaster.empty()) return index;
channels/Decimal.cpp	constexpr int kMaxExponent = 400;	constexpr int kMaxExponent = 401;	equivalent: a number a tenth of a power of ten past it is no double, and ReadNumber has refused it before
channels/NumberInput.cpp	if (value <= max) value	if (value <= max + 1) value	equivalent: past the maximum either way, and refused as out of range
channels/Decode.cpp	PutCsvField(out, notes);	
cli/Commands.cpp	if (!from) return kExitUsage;	
cli/CommandLine.cpp	      return false;	      return true;
channels/FirmwareHeader.cpp	if (planned.DiffHz() != "0") {	if (planned.DiffHz() == "0") {
channels/FirmwareHeader.cpp	(static_cast<unsigned char>(name[bytes]) & 0xC0u) == 0x80u	(static_cast<unsigned char>(name[bytes]) & 0x80u) == 0x80u
channels/FirmwareHeader.cpp	nameSize = std::max(nameSize, channel.name.size() + 1);	nameSize = std::max(nameSize, channel.name.size());
cli/Console.cpp	_setmode(_fileno(stdout), _O_BINARY);	
cli/Console.cpp	if (wide != nullptr && count == argc) {	if (wide != nullptr && count != argc) {
cli/Console.cpp	out.pop_back();  // the terminating zero	
channels/Settings.cpp	if (withTxZf) {	if (true) {
channels/Settings.cpp	if (kHz == std::to_string(state.RasterTab[i] / 1000))	if (kHz == std::to_string(state.RasterTab[i] / 100))
channels/Settings.cpp	i + 1 == state.RasterTab.size() ? " oder " : ", "	i == state.RasterTab.size() ? " oder " : ", "
channels/Decode.cpp	for (std::size_t i = 0; i < 3; ++i) {	for (std::size_t i = 1; i < 3; ++i) {
channels/Escape.cpp	lead >= 0xC2 && lead <= 0xDF	lead >= 0xC2 && lead < 0xDF
channels/NumberInput.cpp	if (value > max) return {0, NumberError::OutOfRange};	if (value >= max) return {0, NumberError::OutOfRange};
channels/PlanJob.cpp	if (!request.round) {	if (request.round) {
channels/PlanJob.cpp	if (!request.names) return;	if (request.names) return;
channels/PlanJob.cpp	(!WholeHz(settings.rx.zf) || !WholeHz(settings.txZf))	(!WholeHz(settings.rx.zf))
channels/PlanJob.cpp	if (!outcome.image) outcome.problem = PlanProblem::ImageTooLarge;	
channels/PlanJob.cpp	if (request.format == PlanFormat::FirmwareHeader) {	if (request.format != PlanFormat::FirmwareHeader) {
cli/PlanCommand.cpp	request.round = args.round;	request.round = !args.round;
cli/PlanCommand.cpp	request.settings = {settings.rx, settings.txZf, args.rxOnly};	request.settings = {settings.rx, settings.txZf, false};
cli/PlanCommand.cpp	if (outcome.fittingRaster) err.Put	if (!outcome.fittingRaster) err.Put
cli/CommandLine.cpp	return Finish(out, err, status);	return status;
window/Form1.cpp	controls_.SetRasterIndex(2);	controls_.SetRasterIndex(1);
window/Form1.cpp	if (controls_.Ticked(CheckBox::bitcp)) state_.DB[0] |= 1u;	if (!controls_.Ticked(CheckBox::bitcp)) state_.DB[0] |= 1u;
window/Form1.cpp	? tuning::kBandAm : tuning::kBandFm	? tuning::kBandFm : tuning::kBandAm
window/Form1.cpp	tuning::ByteToText(state_.DB[1])	tuning::ByteToText(state_.DB[2])
window/Form1.cpp:2	  bitcp_Click();	
window/Form1.cpp	  controls_.FocusAndSelectAll(box);	
window/Form1.cpp	text.append(caption).append(".");	text.append(caption);
window/Form1.cpp	controls_.ShowMessage(MessageIcon::Critical,	controls_.ShowMessage(MessageIcon::Warning,
window/Form1.cpp	  tuning::ComputeDivider(state_);	
window/Form1.cpp	tuning::DoubleToText(outcome.rxMHz, separators)	tuning::DoubleToText(*fo, separators)
LIST

# Back to the sources as they are.
cmake --build $build -j 2 --target "${targets[@]}" >/dev/null
if [ -f $windows_build/CMakeCache.txt ]; then
  cmake --build $windows_build -j 2 --target "${windows_tests[@]}" teilomat-cli >/dev/null 2>&1 || true
fi

counted=$((killed + survived))
echo "killed $killed of $counted (not counted: $equivalent equivalent, $unbuilt not built)" |
  tee -a "$results"
for s in "${survivors[@]}"; do echo "survivor: $s" | tee -a "$results"; done
