#!/bin/sh
# vexword text on lists another tool made: pandoc writes a document with
# numbered, lettered, roman and bulleted lists, vexword prints their labels.
set -eu
vexword=$1
out=$2
command -v pandoc >/dev/null || { echo "skipped: no pandoc"; exit 0; }
mkdir -p "$out"
printf 'Intro\n\n1. One\n2. Two\n\n    a. Inner\n    b. Inner two\n\n3. Three\n\nText\n\ni. Roman\nii. Roman two\n\nMore\n\n1. Again\n2. Again two\n\n- Dot\n    - Dot inner\n' \
  > "$out/lists.md"
pandoc -o "$out/lists-from-pandoc.docx" "$out/lists.md"
"$vexword" text "$out/lists-from-pandoc.docx"
