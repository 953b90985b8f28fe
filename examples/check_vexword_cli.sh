#!/bin/sh
# vexword as a command-line tool: help to standard output with exit 0,
# usage errors with exit 2, the module version, and resave refusing to
# replace a file unless given --force (and then replacing it whole).
#   check_vexword_cli.sh VEXWORD IN.docx OUTDIR
set -u
vexword=$1 in=$2 out=$3
mkdir -p "$out"
failed=0
fail() { echo "FAIL: $*"; failed=1; }

help=$("$vexword" --help 2>/dev/null); [ $? = 0 ] || fail "--help does not exit 0"
for command in info text links resave api; do
  echo "$help" | grep -q "^  $command" || fail "--help does not list $command"
  "$vexword" help "$command" 2>/dev/null | grep -q "^example: vexword $command" || fail "help $command shows no example"
done
[ -z "$("$vexword" --help 2>&1 >/dev/null)" ] || fail "--help writes to standard error"
"$vexword" resave --help | grep -q "^usage: vexword resave \[--force\] IN.docx OUT.docx" || fail "resave --help"

for args in "" "frob" "info" "info a b" "help frob" "info --force x.docx" "resave --bogus a b" "--version x"; do
  # shellcheck disable=SC2086
  "$vexword" $args >/dev/null 2>&1
  status=$?
  [ "$status" = 2 ] || fail "vexword $args exits $status, not 2"
done
"$vexword" frob 2>&1 >/dev/null | grep -q "^usage:" || fail "a usage error does not show the usage on standard error"

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

[ "$failed" = 0 ] && echo "vexword command line: ok"
exit "$failed"
