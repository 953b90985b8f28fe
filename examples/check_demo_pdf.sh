#!/bin/sh
# What a reader of the demo letter sees: LibreOffice turns it into a PDF;
# page 1 (portrait) carries the first-page header and the footer, page 2
# (landscape) the footer but not the first-page header; its links stay links.
set -eu
docx=$1
command -v soffice >/dev/null && command -v pdftotext >/dev/null || { echo "skipped: no LibreOffice"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
timeout 300 soffice -env:UserInstallation="file://$work/profile" --headless --convert-to pdf \
  --outdir "$work" "$docx" >/dev/null 2>&1
pdf="$work/$(basename "$docx" .docx).pdf"
page() { pdftotext -layout -f "$1" -l "$1" "$pdf" -; }
fail() { echo "demo PDF: $*"; exit 1; }
[ "$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')" = 2 ] || fail "not 2 pages"
pdfinfo -f 1 -l 2 "$pdf" | grep -q "Page *1 size: *612 x 792" || fail "page 1 is not portrait Letter"
pdfinfo -f 1 -l 2 "$pdf" | grep -q "Page *2 size: *792 x 612" || fail "page 2 is not landscape"
page 1 | grep -q "Vexlomar Demo Works" || fail "no first-page header on page 1"
page 2 | grep -q "Vexlomar Demo Works" && fail "the first-page header shows on page 2"
for p in 1 2; do page "$p" | grep -q "1 Sample Street" || fail "no footer on page $p"; done
page 2 | grep -q "Appendix: order lines" || fail "the appendix is not on page 2"
page 1 | grep -q "Thank you!" || fail "no callout text beside the total"
page 1 | grep -q "^ *A-100  *Order confirmation paper  *10  *€ 250.00" || fail "the order table's cells are not in their columns"
page 1 | grep -q "net € 1,050.42  *VAT € 199.58" || fail "no nested table in the order table"
page 1 | grep -q "^ *2\. *Returns are accepted" || fail "the conditions are not numbered"
page 1 | grep -q "^ *b\. *Delivery is free" || fail "the nested conditions are not lettered"
page 1 | grep -q "^ *3\. *Prices include VAT" || fail "the numbering does not go on after the lettered level"
# The symbol font's bullet comes out as U+2022 or as its private-use U+F0B7.
symbol_bullet=$(printf '\357\202\267')
page 1 | grep -q "^ *\(•\|$symbol_bullet\) *this confirmation" || fail "no bullet before 'this confirmation'"
# The logo in the first-page header and the product photo, as drawn.
pdfimages -list -f 1 -l 1 "$pdf" | grep -q " image *96 *48 " || fail "no logo on page 1"
pdfimages -list -f 1 -l 1 "$pdf" | grep -q " image *144 *96 " || fail "no product photo on page 1"
# Link annotations: the website's address, and the jump to the order number.
grep -aq "/URI(https://example.org/orders)" "$pdf" || fail "no link to the website"
grep -aq "/Dest" "$pdf" || fail "no link inside the letter"
echo "demo PDF: order table in columns, first-page header on page 1 only, footer on both pages, page 2 landscape, lists numbered and bulleted, links kept"
