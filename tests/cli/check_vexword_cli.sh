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

# --force replaces regular files only: a FIFO, a directory and a device stay
# what they are, nothing is written, and the message says why.
fifo="$out/fifo.docx"
rm -rf "$fifo" "$fifo.partial" && mkfifo "$fifo"
message=$("$vexword" resave --force "$in" "$fifo" 2>&1 </dev/null); status=$?
[ "$status" = 1 ] || fail "resave --force onto a FIFO exits $status, not 1"
[ -p "$fifo" ] || fail "resave --force replaced a FIFO"
[ ! -e "$fifo.partial" ] || fail "resave --force onto a FIFO left a partial file"
echo "$message" | grep -q "^vexword: $fifo: is a FIFO (named pipe); only a regular file is replaced$" \
  || fail "resave --force onto a FIFO says: $message"
folder="$out/folder.docx"
rm -rf "$folder" && mkdir "$folder"
message=$("$vexword" resave --force "$in" "$folder" 2>&1); status=$?
[ "$status" = 1 ] || fail "resave --force onto a directory exits $status, not 1"
[ -d "$folder" ] && [ -z "$(ls -A "$folder")" ] || fail "resave --force changed a directory"
echo "$message" | grep -q "^vexword: $folder: is a directory; only a regular file is replaced$" \
  || fail "resave --force onto a directory says: $message"
message=$("$vexword" resave "$in" "$folder" 2>&1)
echo "$message" | grep -q "is a directory" || fail "resave onto a directory without --force says: $message"
# A device, only once a FIFO was refused: a tool that replaces what is not
# a regular file would replace /dev/null too when run as root.
if [ -p "$fifo" ] && [ -c /dev/null ]; then
  message=$("$vexword" resave --force "$in" /dev/null 2>&1); status=$?
  [ "$status" = 1 ] || fail "resave --force onto /dev/null exits $status, not 1"
  [ -c /dev/null ] || fail "resave --force replaced /dev/null"
  echo "$message" | grep -q "^vexword: /dev/null: is a character device; only a regular file is replaced$" \
    || fail "resave --force onto /dev/null says: $message"
fi
# A symbolic link stays a link: the file it names is replaced, beside itself.
target="$out/link-target.docx" link="$out/link.docx"
rm -f "$target" "$target.partial" "$link" "$link.partial"
echo "not a document" > "$target" && ln -s link-target.docx "$link"
"$vexword" resave "$in" "$link" 2>/dev/null && fail "resave without --force wrote through a link"
grep -q "not a document" "$target" || fail "resave without --force changed the file a link names"
"$vexword" resave --force "$in" "$link" || fail "resave --force onto a symbolic link"
[ -L "$link" ] || fail "resave --force replaced the symbolic link itself"
"$vexword" text "$target" >/dev/null 2>&1 || fail "resave --force did not replace the file the link names"
[ ! -e "$target.partial" ] && [ ! -e "$link.partial" ] || fail "resave --force through a link left a partial file"
rm -f "$out/dangling.docx" "$out/nothing-here.docx" && ln -s nothing-here.docx "$out/dangling.docx"
"$vexword" resave --force "$in" "$out/dangling.docx" 2>/dev/null && fail "resave --force wrote through a dangling link"
[ -L "$out/dangling.docx" ] && [ ! -e "$out/nothing-here.docx" ] || fail "resave --force changed a dangling link"
rm -f "$out/fifo-link.docx" && ln -s fifo.docx "$out/fifo-link.docx"
message=$("$vexword" resave --force "$in" "$out/fifo-link.docx" 2>&1 </dev/null); status=$?
[ "$status" = 1 ] && [ -L "$out/fifo-link.docx" ] && [ -p "$fifo" ] || fail "resave --force through a link to a FIFO"
echo "$message" | grep -q "is a symbolic link to a FIFO" || fail "resave --force through a link to a FIFO says: $message"
message=$("$vexword" fill --force "$in" "$fifo" Name=Ada 2>&1 </dev/null); status=$?
[ "$status" = 1 ] && [ -p "$fifo" ] || fail "fill --force onto a FIFO exits $status: $message"

# A failed write to standard output is an error.
if [ -w /dev/full ]; then
  for args in "text $in" "info $in" "--help" "help fill" "check $in"; do
    # shellcheck disable=SC2086
    message=$("$vexword" $args 2>&1 >/dev/full); status=$?
    [ "$status" = 1 ] || fail "vexword $args > /dev/full exits $status, not 1"
    echo "$message" | grep -q "^vexword: cannot write the output: No space left on device$" \
      || fail "vexword $args > /dev/full says: $message"
  done
fi
message=$("$vexword" text "$in" 2>&1 >&-); status=$?
[ "$status" = 1 ] || fail "vexword text with standard output closed exits $status, not 1"
echo "$message" | grep -q "^vexword: cannot write the output" || fail "closed standard output says: $message"

# Messages name the file and say what is wrong with it, then the library's
# exception and number. (Files that are no package are not named .docx:
# CI judges every .docx under build/out.)
opens() {  # FILE REASON: vexword info FILE fails (1) with "vexword: FILE: REASON (WordException -N: ..."
  message=$("$vexword" info "$1" 2>&1); status=$?
  [ "$status" = 1 ] || fail "info $1 exits $status, not 1"
  printf '%s\n' "$message" | grep -qF "vexword: $1: $2 (WordException -" || fail "info $1 says: $message"
}
rm -rf "$out/bad" && mkdir -p "$out/bad/letter.docx"
opens "$out/bad/letter.docx" "is a directory"
opens "$out/bad/missing.docx" "does not exist"
"$vexword" info "$out/bad/missing.docx" 2>&1 | grep -qF "(WordException -2: File does not exist)" \
  || fail "a missing file's message lacks the library's"
: > "$out/bad/empty.not-a-docx" && opens "$out/bad/empty.not-a-docx" "is empty"
echo "Dear Ada," > "$out/bad/text.not-a-docx" && opens "$out/bad/text.not-a-docx" "is not a .docx package (no ZIP directory)"
head -c 3000 "$in" > "$out/bad/cut.not-a-docx" && opens "$out/bad/cut.not-a-docx" "is not a whole .docx package (a ZIP archive cut short: no ZIP directory at its end)"
python3 -c '
import sys
head = bytes.fromhex("D0CF11E0A1B11AE1") + bytes(504)
entry = lambda name: name.encode("utf-16-le").ljust(64, b"\0") + bytes(64)
open(sys.argv[1], "wb").write(head + entry("Root Entry") + entry("EncryptionInfo") + entry("EncryptedPackage"))
open(sys.argv[2], "wb").write(head + entry("Root Entry") + entry("WordDocument"))' \
  "$out/bad/locked.not-a-docx" "$out/bad/old.not-a-docx"
opens "$out/bad/locked.not-a-docx" "is encrypted (password-protected); save it without a password first"
opens "$out/bad/old.not-a-docx" "is an OLE compound file (a Word 97-2003 .doc?), not a .docx package; save it as .docx first"
message=$("$vexword" resave "$in" /nonexistent-folder/x.docx 2>&1)
echo "$message" | grep -qF "vexword: /nonexistent-folder/x.docx: folder does not exist (WordException -15: Could not save document)" \
  || fail "resave into a missing folder says: $message"
# Root writes and reads whatever the modes say: as root, these run as the
# user nobody (in a folder of /tmp it may use), or not at all.
as_user="" modes="$out/bad"
if [ "$(id -u)" = 0 ]; then
  as_user=none
  if command -v runuser >/dev/null && runuser -u nobody -- "$vexword" --version >/dev/null 2>&1; then
    as_user="runuser -u nobody --" modes=$(mktemp -d) && chmod 755 "$modes"
  fi
fi
if [ "$as_user" != none ]; then
  mkdir -p "$modes/read-only" && chmod 555 "$modes/read-only"
  cp "$in" "$modes/in.docx" && cp "$in" "$modes/secret.docx" && chmod 644 "$modes/in.docx" && chmod 000 "$modes/secret.docx"
  message=$($as_user "$vexword" resave "$modes/in.docx" "$modes/read-only/x.docx" 2>&1); status=$?
  [ "$status" = 1 ] || fail "resave into a read-only folder exits $status"
  echo "$message" | grep -qF "vexword: $modes/read-only/x.docx: folder is not writable (WordException -15" \
    || fail "resave into a read-only folder says: $message"
  message=$($as_user "$vexword" info "$modes/secret.docx" 2>&1); status=$?
  [ "$status" = 1 ] || fail "info of an unreadable file exits $status"
  echo "$message" | grep -qF "vexword: $modes/secret.docx: permission denied (WordException -" \
    || fail "info of an unreadable file says: $message"
  chmod 755 "$modes/read-only" && chmod 644 "$modes/secret.docx"
  [ "$modes" = "$out/bad" ] || rm -rf "$modes"
fi

# help COMMAND explains every option; the man page carries the same.
for option in --json --name --jobs --across-runs --csv --out --force; do
  "$vexword" help fill | grep -q "^  $option " || fail "help fill does not explain $option"
  echo "$manual" | grep -q "^         *$option " || fail "the man page does not explain fill's $option"
done
for option in --strict --json; do
  "$vexword" help check | grep -q "^  $option " || fail "help check does not explain $option"
done
for command in resave extract fill; do
  "$vexword" help "$command" | grep -q "^  --force " || fail "help $command does not explain --force"
done
[ "$(echo "$manual" | grep -c "^ *--force  replace an output file that exists")" = 2 ] \
  || fail "the man page does not explain --force of resave and extract"

# A usage error of a command prints that command's usage, not the list.
for args in "text" "info a b" "resave --bogus a b" "extract x.docx"; do
  # shellcheck disable=SC2086
  message=$("$vexword" $args 2>&1 >/dev/null); status=$?
  command=${args%% *}
  [ "$status" = 2 ] || fail "vexword $args exits $status, not 2"
  echo "$message" | grep -q "^usage: vexword $command " || fail "vexword $args shows no usage of $command: $message"
  echo "$message" | grep -qF "vexword help $command" || fail "vexword $args gives no hint: $message"
  echo "$message" | grep -q "^commands:" && fail "vexword $args shows every command"
done
[ "$("$vexword" text 2>&1 | sed -n 2p)" = "usage: vexword text [--json] FILE.docx" ] || fail "vexword text shows another usage"
"$vexword" fill 2>&1 | grep -qF "vexword help fill" || fail "vexword fill gives no hint"
"$vexword" check 2>&1 | grep -qF "vexword help check" || fail "vexword check gives no hint"

[ "$failed" = 0 ] && echo "vexword command line: ok"
exit "$failed"
