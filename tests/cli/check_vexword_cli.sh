#!/bin/sh
# vexword as a command-line tool: help to standard output with exit 0,
# usage errors with exit 2, the module version, and resave refusing to
# replace a file unless given --force (and then replacing it whole), and
# check's verdicts, JSON and exit codes.
#   check_vexword_cli.sh VEXWORD IN.docx OUTDIR
set -u
vexword=$1 in=$2 out=$3
mkdir -p "$out"
failed=0
fail() { echo "FAIL: $*"; failed=1; }

help=$("$vexword" --help 2>/dev/null); [ $? = 0 ] || fail "--help does not exit 0"
for command in info text links resave check api; do
  echo "$help" | grep -q "^  $command" || fail "--help does not list $command"
  "$vexword" help "$command" 2>/dev/null | grep -q "^example: vexword $command" || fail "help $command shows no example"
done
[ -z "$("$vexword" --help 2>&1 >/dev/null)" ] || fail "--help writes to standard error"
"$vexword" resave --help | grep -q "^usage: vexword resave \[--force\] IN.docx OUT.docx" || fail "resave --help"

for args in "" "frob" "info" "info a b" "help frob" "info --force x.docx" "resave --bogus a b" "--version x" \
    "check" "check --strict" "check --bogus x.docx" "check --force x.docx"; do
  # shellcheck disable=SC2086
  "$vexword" $args >/dev/null 2>&1
  status=$?
  [ "$status" = 2 ] || fail "vexword $args exits $status, not 2"
done
"$vexword" frob 2>&1 >/dev/null | grep -q "^usage:" || fail "a usage error does not show the usage on standard error"

# The plug-in: $VEXWORD_PLUGIN first, then the one installed beside the
# program (../lib/), then the build's. A damaged one beside a copy of the
# tool proves which it loads.
plugin=$(cd "$(dirname "$vexword")" && pwd)/libVexlomarWord.so
rm -rf "$out/prefix" && mkdir -p "$out/prefix/bin" "$out/prefix/lib"
cp "$vexword" "$out/prefix/bin/vexword"
echo "not a library" > "$out/prefix/lib/libVexlomarWord.so"
(cd / && "$out/prefix/bin/vexword" info "$in" 2>&1) | grep -q "prefix/bin/../lib/libVexlomarWord.so" \
  || fail "vexword does not load the plug-in beside it"
(cd / && VEXWORD_PLUGIN="$plugin" "$out/prefix/bin/vexword" info "$in" >/dev/null) || fail "VEXWORD_PLUGIN is not loaded first"
rm "$out/prefix/lib/libVexlomarWord.so"
(cd / && "$out/prefix/bin/vexword" info "$in" >/dev/null) || fail "without one beside it, vexword does not load the build's"

"$vexword" --version | grep -qx "VexlomarWord [0-9][0-9.]*" || fail "--version prints no module version"

copy="$out/copy.docx"
rm -f "$copy" "$copy.partial"
"$vexword" resave "$in" "$copy" || fail "resave to a new file"
echo "not a document" > "$copy"
"$vexword" resave "$in" "$copy" 2>/dev/null; status=$?
[ "$status" = 1 ] || fail "resave onto an existing file exits $status, not 1"
grep -q "not a document" "$copy" || fail "resave without --force changed the existing file"
"$vexword" resave --force "$in" "$copy" || fail "resave --force"
"$vexword" text "$copy" >/dev/null || fail "the replaced file does not open"
[ ! -e "$copy.partial" ] || fail "resave --force left its partial file"
"$vexword" resave "$in" /nonexistent-folder/x.docx 2>/dev/null; status=$?
[ "$status" = 1 ] || fail "resave into a missing folder exits $status, not 1"

# The man page and the bash completion come from the same table as --help.
manual=$("$vexword" --man | MANWIDTH=200 man -l - 2>/dev/null)
for command in info text links resave fill pictures extract check api; do
  echo "$manual" | grep -q "^       $command\( \|$\)" || fail "the man page has no $command"
done
"$vexword" --completion bash > "$out/vexword.bash"
completion=$(bash -c '. "$1"; COMP_WORDS=(vexword ch); COMP_CWORD=1; _vexword; echo "${COMPREPLY[*]}";
  COMP_WORDS=(vexword check --s); COMP_CWORD=2; _vexword; echo "${COMPREPLY[*]}"' sh "$out/vexword.bash")
[ "$completion" = "$(printf 'check\n--strict')" ] || fail "bash completion gives: $completion"

# check: a verdict line per file, the rules in its help, JSON for scripts.
"$vexword" help check | grep -q "^  structure " || fail "help check does not list the rules"
verdicts=$("$vexword" check --strict "$in" "$copy"); status=$?
[ "$status" = 0 ] || fail "check --strict of the demo exits $status: $verdicts"
[ "$(echo "$verdicts" | grep -c ': passed (0 warnings)$')" = 2 ] || fail "check prints no verdict per file: $verdicts"
echo "not a document" > "$out/damaged.not-a-docx"
verdicts=$("$vexword" check "$in" "$out/damaged.not-a-docx"); status=$?
[ "$status" = 1 ] || fail "check of a damaged file exits $status, not 1"
echo "$verdicts" | grep -q "^$out/damaged.not-a-docx: (archive): zip: error: " || fail "check names no zip error: $verdicts"
echo "$verdicts" | grep -q "^$out/damaged.not-a-docx: failed (1 error, 0 warnings)$" || fail "check gives no failing verdict"
json=$("$vexword" check --json "$in" "$out/damaged.not-a-docx")
echo "$json" | python3 -c 'import json,sys; d=json.load(sys.stdin); assert d["passed"]==1 and d["failed"]==1 and d["files"][1]["findings"][0]["rule"]=="zip"' \
  || fail "check --json: $json"

[ "$failed" = 0 ] && echo "vexword command line: ok"
exit "$failed"
