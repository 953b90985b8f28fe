#!/bin/sh
# vexword text on lists: what it prints for one of three documents.
#   check_vexword_lists.sh library VEXWORD OUT TWO_LISTS
#       two numbered lists next to each other, written through the plug-in
#   check_vexword_lists.sh package VEXWORD OUT
#       a package written here by hand, as other word processors write
#       lists: start values, "%1.%2.", roman and letters, bullets, a list
#       instance that restarts its definition, lists given by paragraph
#       styles, a list in a table and in the header, instances of one
#       definition that restart it, levels the definition lacks or that are
#       skipped, a level without a start, instances' own levels
#   check_vexword_lists.sh package-pdf VEXWORD OUT
#       the same package as LibreOffice shows it in a PDF: every line vexword
#       prints must be a line of the PDF's text
#   check_vexword_lists.sh pandoc VEXWORD OUT
#       numbered, lettered, roman and bulleted lists pandoc writes
set -eu
case_name=$1
vexword=$2
out=$3
mkdir -p "$out"
case $case_name in
library)
  # Document.Create refuses a file that is there.
  rm -f "$out/two-lists.new.docx"
  "$4" "$out/two-lists.new.docx"
  "$vexword" text "$out/two-lists.new.docx"
  ;;
package)
  command -v python3 >/dev/null || { echo "skipped: no python3"; exit 0; }
  python3 - "$out/lists-by-hand.docx" <<'PY'
import sys, zipfile
W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" ' \
    'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
HEAD = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'

def lvl(ilvl, fmt, text, start=1, font=None):
    rpr = '<w:rPr><w:rFonts w:ascii="%s" w:hAnsi="%s" w:hint="default"/></w:rPr>' % (font, font) if font else ''
    start = '' if start is None else '<w:start w:val="%d"/>' % start
    return ('<w:lvl w:ilvl="%d">%s<w:numFmt w:val="%s"/><w:lvlText w:val="%s"/>'
            '<w:lvlJc w:val="left"/><w:pPr><w:ind w:left="%d" w:hanging="360"/></w:pPr>%s</w:lvl>'
            % (ilvl, start, fmt, text, 720 * (ilvl + 1), rpr))

def restart(ilvl, value):
    return '<w:lvlOverride w:ilvl="%d"><w:startOverride w:val="%d"/></w:lvlOverride>' % (ilvl, value)

def para(text, num=None, ilvl=0, style=None):
    ppr = ''
    if style: ppr += '<w:pStyle w:val="%s"/>' % style
    if num is not None: ppr += '<w:numPr><w:ilvl w:val="%d"/><w:numId w:val="%d"/></w:numPr>' % (ilvl, num)
    return '<w:p>%s<w:r><w:t xml:space="preserve">%s</w:t></w:r></w:p>' % (
        '<w:pPr>%s</w:pPr>' % ppr if ppr else '', text)

numbering = HEAD + '<w:numbering %s>' % W + ''.join([
    # Outline numbers from 3, with the parent's number in front below.
    '<w:abstractNum w:abstractNumId="0"><w:multiLevelType w:val="multilevel"/>',
    lvl(0, 'decimal', '%1.', start=3), lvl(1, 'decimal', '%1.%2.'), lvl(2, 'lowerRoman', '(%3)'),
    '</w:abstractNum>',
    '<w:abstractNum w:abstractNumId="1"><w:multiLevelType w:val="hybridMultilevel"/>',
    lvl(0, 'upperLetter', '%1)'), '</w:abstractNum>',
    # Bullets in the symbol font, as a word processor writes them.
    '<w:abstractNum w:abstractNumId="2"><w:multiLevelType w:val="hybridMultilevel"/>',
    lvl(0, 'bullet', '\uf0b7', font='Symbol'), lvl(1, 'bullet', 'o', font='Courier New'), '</w:abstractNum>',
    '<w:abstractNum w:abstractNumId="3"><w:multiLevelType w:val="hybridMultilevel"/>',
    lvl(0, 'upperRoman', '%1.'), '</w:abstractNum>',
    # Instances that share counters though some restart them.
    '<w:abstractNum w:abstractNumId="4"><w:multiLevelType w:val="multilevel"/>',
    lvl(0, 'decimal', '%1.'), lvl(1, 'decimal', '%1.%2.'), lvl(2, 'decimal', '%1.%2.%3.'), '</w:abstractNum>',
    # Only level 0; levels 0 and 2; a level without a start.
    '<w:abstractNum w:abstractNumId="5"><w:multiLevelType w:val="singleLevel"/>',
    lvl(0, 'lowerLetter', '%1)'), '</w:abstractNum>',
    '<w:abstractNum w:abstractNumId="6"><w:multiLevelType w:val="multilevel"/>',
    lvl(0, 'decimal', '%1]'), lvl(2, 'lowerLetter', '(%3)'), '</w:abstractNum>',
    '<w:abstractNum w:abstractNumId="7"><w:multiLevelType w:val="singleLevel"/>',
    lvl(0, 'decimal', '%1.', start=None), '</w:abstractNum>',
    '<w:num w:numId="1"><w:abstractNumId w:val="0"/></w:num>',
    '<w:num w:numId="2"><w:abstractNumId w:val="1"/></w:num>',
    '<w:num w:numId="3"><w:abstractNumId w:val="2"/></w:num>',
    # A second list of the outline definition that starts again at 1.
    '<w:num w:numId="4"><w:abstractNumId w:val="0"/>'
    '<w:lvlOverride w:ilvl="0"><w:startOverride w:val="1"/></w:lvlOverride></w:num>',
    '<w:num w:numId="5"><w:abstractNumId w:val="3"/></w:num>',
    '<w:num w:numId="6"><w:abstractNumId w:val="4"/>%s</w:num>' % restart(0, 1),
    '<w:num w:numId="7"><w:abstractNumId w:val="4"/></w:num>',
    '<w:num w:numId="8"><w:abstractNumId w:val="4"/>%s</w:num>' % restart(0, 1),
    '<w:num w:numId="9"><w:abstractNumId w:val="5"/></w:num>',
    '<w:num w:numId="10"><w:abstractNumId w:val="6"/></w:num>',
    '<w:num w:numId="11"><w:abstractNumId w:val="7"/></w:num>',
    # An instance's own levels: in the gap, changing the format only, and
    # beyond the definition's deepest level.
    '<w:num w:numId="12"><w:abstractNumId w:val="6"/><w:lvlOverride w:ilvl="1">%s</w:lvlOverride></w:num>'
    % lvl(1, 'upperRoman', '%2)'),
    '<w:num w:numId="13"><w:abstractNumId w:val="3"/><w:lvlOverride w:ilvl="0"><w:lvl w:ilvl="0">'
    '<w:numFmt w:val="lowerRoman"/></w:lvl></w:lvlOverride></w:num>',
    '<w:num w:numId="14"><w:abstractNumId w:val="5"/><w:lvlOverride w:ilvl="3">%s</w:lvlOverride></w:num>'
    % lvl(3, 'upperRoman', '%4)'),
    '</w:numbering>'])

styles = HEAD + '<w:styles %s>' % W + ''.join([
    '<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>',
    '<w:style w:type="paragraph" w:styleId="Step"><w:name w:val="Step"/><w:basedOn w:val="Normal"/>',
    '<w:pPr><w:numPr><w:numId w:val="2"/></w:numPr></w:pPr></w:style>',
    '<w:style w:type="paragraph" w:styleId="SubStep"><w:name w:val="Sub Step"/><w:basedOn w:val="Step"/></w:style>',
    '</w:styles>'])

table = ('<w:tbl><w:tblPr><w:tblW w:w="0" w:type="auto"/></w:tblPr><w:tblGrid><w:gridCol w:w="4000"/></w:tblGrid>'
         '<w:tr><w:tc><w:tcPr><w:tcW w:w="4000" w:type="dxa"/></w:tcPr>%s</w:tc></w:tr></w:tbl>'
         % para('In the table', 1))
body = ''.join([
    para('Intro'),
    para('Three', 1), para('Three one', 1, 1), para('Three two', 1, 1), para('Roman', 1, 2), para('Four', 1),
    table, para('After the table', 1),
    para('Between'),
    para('Again', 4), para('Again one', 4, 1),
    para('Letter', 2), para('Styled letter', style='Step'), para('Based on styled', style='SubStep'),
    '<w:p><w:pPr><w:pStyle w:val="Step"/><w:numPr><w:ilvl w:val="0"/><w:numId w:val="0"/></w:numPr></w:pPr>'
    '<w:r><w:t>Taken out</w:t></w:r></w:p>',
    para('Dot', 3), para('Dot inner', 3, 1),
    para('Big one', 5), para('Big two', 5),
    # The restarted instance comes first; the others go on from it, and it
    # restarts only once, at its first paragraph of the level it restarts.
    para('Restarted first', 6), para('Restarted second', 6), para('Goes on', 7), para('Restarted goes on', 6),
    para('Skipped down', 7, 2), para('Back up', 7, 1), para('Deeper first', 8, 1), para('Restarts here', 8),
    para('After the restart', 7),
    para('Lettered', 9), para('Beyond', 9, 1), para('Beyond two', 9, 1), para('Lettered two', 9),
    para('Gap top', 10), para('In the gap', 10, 1), para('Below the gap', 10, 2),
    para('Zero', 11), para('Zero then one', 11),
    para('Own gap level', 12, 1), para('Lowered', 13), para('Own level beyond', 14, 3),
])
sect = ('<w:sectPr><w:headerReference w:type="default" r:id="rIdHeader"/>'
        '<w:pgSz w:w="12240" w:h="15840"/>'
        '<w:pgMar w:top="1440" w:right="1440" w:bottom="1440" w:left="1440" w:header="720" w:footer="720" w:gutter="0"/>'
        '</w:sectPr>')
document = HEAD + '<w:document %s><w:body>%s%s</w:body></w:document>' % (W, body, sect)
header = HEAD + '<w:hdr %s>%s%s</w:hdr>' % (W, para('Head one', 5), para('Head two', 5))

CT = 'application/vnd.openxmlformats-officedocument.wordprocessingml.'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
entries = [
    ('[Content_Types].xml', HEAD +
     '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
     '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
     '<Default Extension="xml" ContentType="application/xml"/>'
     '<Override PartName="/word/document.xml" ContentType="%sdocument.main+xml"/>'
     '<Override PartName="/word/styles.xml" ContentType="%sstyles+xml"/>'
     '<Override PartName="/word/numbering.xml" ContentType="%snumbering+xml"/>'
     '<Override PartName="/word/header1.xml" ContentType="%sheader+xml"/>'
     '</Types>' % (CT, CT, CT, CT)),
    ('_rels/.rels', HEAD +
     '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
     '<Relationship Id="rId1" Type="%sofficeDocument" Target="word/document.xml"/></Relationships>' % REL),
    ('word/_rels/document.xml.rels', HEAD +
     '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
     '<Relationship Id="rId1" Type="%sstyles" Target="styles.xml"/>'
     '<Relationship Id="rId2" Type="%snumbering" Target="/word/numbering.xml"/>'
     '<Relationship Id="rIdHeader" Type="%sheader" Target="header1.xml"/>'
     '</Relationships>' % (REL, REL, REL)),
    ('word/document.xml', document), ('word/styles.xml', styles), ('word/numbering.xml', numbering),
    ('word/header1.xml', header),
]
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    for name, text in entries:
        z.writestr(name, text.encode('utf-8'))
PY
  "$vexword" text "$out/lists-by-hand.docx"
  ;;
package-pdf)
  command -v soffice >/dev/null && command -v pdftotext >/dev/null || { echo "skipped: no LibreOffice"; exit 0; }
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  "$0" package "$vexword" "$out" | sed 's/^ *//; /^--- /d; /^$/d' > "$work/vexword.txt"
  timeout 300 soffice -env:UserInstallation="file://$work/profile" --headless --convert-to pdf \
    --outdir "$work" "$out/lists-by-hand.docx" >/dev/null 2>&1
  # The symbol font's bullet comes out as its private-use U+F0B7; spacing
  # between label and text is the layout's.
  symbol_bullet=$(printf '\357\202\267')
  pdftotext -layout "$work/lists-by-hand.pdf" - |
    sed "s/$symbol_bullet/•/g; s/[[:space:]][[:space:]]*/ /g; s/^ //; s/ $//" > "$work/reader.txt"
  [ -s "$work/reader.txt" ] || { echo "no text in the PDF"; exit 1; }
  unseen=$(grep -vxF -f "$work/reader.txt" "$work/vexword.txt" || true)
  if [ -n "$unseen" ]; then
    printf 'vexword prints what the PDF does not show:\n%s\n' "$unseen"
    exit 1
  fi
  echo "$(wc -l < "$work/vexword.txt") lines as LibreOffice shows them"
  ;;
pandoc)
  command -v pandoc >/dev/null || { echo "skipped: no pandoc"; exit 0; }
  printf 'Intro\n\n1. One\n2. Two\n\n    a. Inner\n    b. Inner two\n\n3. Three\n\nText\n\ni. Roman\nii. Roman two\n\nMore\n\n1. Again\n2. Again two\n\n- Dot\n    - Dot inner\n' \
    > "$out/lists.md"
  pandoc -o "$out/lists-from-pandoc.docx" "$out/lists.md"
  "$vexword" text "$out/lists-from-pandoc.docx"
  ;;
*)
  echo "unknown case: $case_name" >&2
  exit 2
  ;;
esac
