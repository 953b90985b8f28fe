// A formatted document written through the loaded plug-in, read back by
// another tool: the formatting a host program sets is the formatting other
// readers see.
#include <gtest/gtest.h>

#include "docx_builder.h"
#include "plugin_test.h"

using vexrt::Color;
using vexrt::Nil;
using vexrt::Object;

namespace {

// One line per paragraph (style, its base, alignment) and per run (text
// and formatting), as python-docx reads them.
const char kReadFormatting[] = R"(
import sys, docx
d = docx.Document(sys.argv[1])
for p in d.paragraphs:
    if not p.runs:
        continue
    base = p.style.base_style.name if p.style.base_style is not None else '-'
    print('P|%s|%s|%s' % (p.style.name, base, p.alignment))
    for r in p.runs:
        f = r.font
        color = str(f.color.rgb) if f.color.type is not None else '-'
        size = f.size.pt if f.size is not None else '-'
        print('R|%s|b=%s|i=%s|u=%s|size=%s|color=%s|hl=%s|caps=%s|small=%s|sub=%s|sup=%s|strike=%s|font=%s' % (
            r.text, r.bold, r.italic, r.underline, size, color, f.highlight_color, f.all_caps,
            f.small_caps, f.subscript, f.superscript, f.strike, f.name))
)";

class FormattedDocumentTest : public PluginTest {};

}  // namespace

TEST_F(FormattedDocumentTest, AnotherReaderSeesTheFormatting) {
    SKIP_WITHOUT_PYTHON_DOCX();
    const std::string file = path("formatted.new.docx");
    {
        Object doc = rt().callShared("Document", "Create", {folderItem(file)}).object();
        Object heading = rt().call(doc, "AddNewParagraphStyle", {"ReportHeading", "Report Heading", Nil{}}).object();
        rt().set(heading, "Bold", 1);
        rt().set(heading, "FontSize", 18);
        Object title = rt().call(doc, "AppendParagraph", {"Quarterly report"}).object();
        rt().set(title, "Style", heading);
        rt().set(title, "Alignment", 1);

        Object p = rt().call(doc, "AppendParagraph", {"bold"}).object();
        rt().set(p, "Alignment", 2);
        rt().set(rt().call(p, "Run", {0}).object(), "Bold", 1);
        Object italic = rt().call(p, "AppendRun", {"italic"}).object();
        rt().set(italic, "Italic", 1);
        rt().set(italic, "TextColor", Color{0x00336699});
        Object underlined = rt().call(p, "AppendRun", {"underlined"}).object();
        rt().call(underlined, "SetUnderlineWithColor", {2, Color{0x00FF0000}});
        rt().set(underlined, "FontSize", 14);
        Object marked = rt().call(p, "AppendRun", {"marked"}).object();
        rt().set(marked, "HighlightColor", 1);
        rt().set(marked, "Caps", 1);
        Object small = rt().call(p, "AppendRun", {"small"}).object();
        rt().set(small, "Caps", 2);
        rt().set(small, "VerticalAlignment", 1);
        rt().set(small, "FontName", "Liberation Mono");
        Object struck = rt().call(p, "AppendRun", {"struck"}).object();
        rt().set(struck, "Strikethrough", 1);
        rt().set(struck, "VerticalAlignment", 2);
        rt().set(struck, "Bold", 0);
        rt().call(doc, "Save");
    }
    const std::string seen = python_docx_run(kReadFormatting, {file});
    EXPECT_EQ(seen,
              "P|Report Heading|Normal|CENTER (1)\n"
              "R|Quarterly report|b=None|i=None|u=None|size=-|color=-|hl=None|caps=None|small=None|sub=None|sup=None|strike=None|font=None\n"
              "P|Normal|-|RIGHT (2)\n"
              "R|bold|b=True|i=None|u=None|size=-|color=-|hl=None|caps=None|small=None|sub=None|sup=None|strike=None|font=None\n"
              "R|italic|b=None|i=True|u=None|size=-|color=336699|hl=None|caps=None|small=None|sub=None|sup=None|strike=None|font=None\n"
              "R|underlined|b=None|i=None|u=DOUBLE (3)|size=14.0|color=-|hl=None|caps=None|small=None|sub=None|sup=None|strike=None|font=None\n"
              "R|marked|b=None|i=None|u=None|size=-|color=-|hl=YELLOW (7)|caps=True|small=None|sub=None|sup=None|strike=None|font=None\n"
              "R|small|b=None|i=None|u=None|size=-|color=-|hl=None|caps=None|small=True|sub=True|sup=False|strike=None|font=Liberation Mono\n"
              "R|struck|b=False|i=None|u=None|size=-|color=-|hl=None|caps=None|small=None|sub=False|sup=True|strike=True|font=None\n");
    // The style's own formatting, through python-docx's style objects.
    const std::string style = python_docx_run(
        "import sys, docx\n"
        "s = docx.Document(sys.argv[1]).styles['Report Heading']\n"
        "print(s.type, s.font.bold, s.font.size.pt, s.base_style.style_id)\n",
        {file});
    EXPECT_EQ(style, "PARAGRAPH (1) True 18.0 Normal\n");
}
