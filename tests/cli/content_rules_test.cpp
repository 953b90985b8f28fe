// The rules about what the WordprocessingML parts hold: order, structure,
// ids and page. Each case breaks one thing in the minimal package and gives
// one finding.
#include <gtest/gtest.h>

#include "check_packages.h"

using namespace check_packages;

namespace {

const char kMain[] = "word/document.xml";
const char kHeader[] = "word/header1.xml";
const char kSlip[] = "<w:p><w:pPr><w:jc w:val=\"center\"/><w:ind w:left=\"720\"/></w:pPr></w:p>";

std::string WithBody(const std::string& body) { return Package().body(body).zip(); }
std::string WithPicture(const std::string& spPr, const std::string& wrap = "") {
    return Package().image().body("<w:p>" + Picture("1", "rIdImage1", spPr, wrap) + "</w:p>").zip();
}
std::string WithWrap(const std::string& wrap) { return WithPicture("<a:prstGeom prst=\"rect\"/>", wrap); }
std::string WithPage(const std::string& pgMar, const std::string& pgSz = "<w:pgSz w:w=\"12240\" w:h=\"15840\"/>") {
    return Package().body("<w:p/>", "<w:sectPr>" + pgSz + pgMar + "</w:sectPr>").zip();
}

}  // namespace

TEST(OrderRule, ChildrenOutOfSequence) {
    ExpectSoleFindings({
        {"order_jc_before_ind", "order", kMain, Rated::StrictError, "w:pPr child w:ind after w:jc",
         [] { return WithBody(kSlip); }},
        {"order_strict_namespace", "order", kMain, Rated::StrictError, "w:pPr child w:ind after w:jc",
         [] { return Strict(Package().body(kSlip)).zip(); }},
        {"order_sectpr_not_last", "order", kMain, Rated::StrictError, "w:body child w:p after w:sectPr",
         [] { return Package().body(std::string("<w:p/>") + kSectPr + "<w:p/>", "").zip(); }},
        // The schema leaves a run's properties in any order ...
        {"order_rpr_free", "order", kMain, Rated::Warning, "w:rPr child w:b after w:sz",
         [] { return WithBody("<w:p><w:r><w:rPr><w:sz w:val=\"24\"/><w:b/></w:rPr></w:r></w:p>"); }},
        // ... but not a paragraph mark's revision marks.
        {"order_rpr_ins_after_b", "order", kMain, Rated::StrictError, "w:rPr child w:ins after w:b",
         [] { return WithBody("<w:p><w:pPr><w:rPr><w:b/><w:ins w:id=\"1\" w:author=\"A\"/></w:rPr></w:pPr></w:p>"); }},
        {"order_tcpr_after_paragraph", "order", kMain, Rated::StrictError, "w:tc child w:tcPr after w:p",
         [] { return WithBody(Table({"<w:p/><w:tcPr/>"}) + "<w:p/>"); }},
        {"order_two_fills", "order", kMain, Rated::StrictError, "pic:spPr child a:noFill after a:solidFill",
         [] { return WithPicture("<a:prstGeom prst=\"rect\"/><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill>"
                                 "<a:noFill/>"); }},
        {"order_style_name_after_qformat", "order", "word/styles.xml", Rated::StrictError,
         "w:style child w:name after w:qFormat",
         [] {
             const std::string name = "<w:name w:val=\"Normal\"/>";
             return Package().replace("word/styles.xml", name + "<w:qFormat/>", "<w:qFormat/>" + name).zip();
         }},
    });
    ExpectNoFindings({
        {"range markup and other namespaces between children",
         [] {
             return WithBody("<w:p><w:pPr><w:ind w:left=\"720\"/><w14:x/><w:jc w:val=\"left\"/></w:pPr>"
                             "<w:bookmarkStart w:id=\"0\" w:name=\"a\"/><w:r><w:t>a</w:t></w:r>"
                             "<w:bookmarkEnd w:id=\"0\"/></w:p>");
         }},
    });
}

TEST(StructureRule, WhatTheSchemaRequires) {
    ExpectSoleFindings({
        {"structure_table_without_grid", "structure", kMain, Rated::Error, "w:tbl has no w:tblGrid",
         [] { return WithBody(Table({"<w:p/>"}, "<w:tblPr/>", "") + "<w:p/>"); }},
        // Findings name elements by their namespace, whatever the prefix.
        {"structure_other_prefix", "structure", kMain, Rated::Error, "w:tbl has no w:tblPr",
         [] {
             return Package()
                 .body(Table({"<w:p/>"}, "") + "<w:p/>")
                 .replaceAll("w:", "ns0:")
                 .replaceAll("xmlns:w=", "xmlns:ns0=")
                 .zip();
         }},
        {"structure_cell_without_paragraph", "structure", kMain, Rated::Error, "w:tc holds no block",
         [] { return WithBody(Table({"<w:tcPr/>"}) + "<w:p/>"); }},
        {"structure_cell_ends_with_table", "structure", kMain, Rated::Error, "w:tc ends with w:tbl",
         [] { return WithBody(Table({"<w:p/>" + Table({"<w:p/>"})}) + "<w:p/>"); }},
        {"structure_empty_text_box", "structure", kMain, Rated::Error, "w:txbxContent holds no block",
         [] {
             return WithBody("<w:p><w:r><w:pict><v:shape style=\"width:100pt;height:50pt\"><v:textbox>"
                             "<w:txbxContent/></v:textbox></v:shape></w:pict></w:r></w:p>");
         }},
        {"structure_empty_header", "structure", kHeader, Rated::StrictError, "w:hdr holds no block",
         [] { return Package().part("header1.xml", Part("w:hdr", "")).zip(); }},
        {"structure_diagonal_table_border", "structure", kMain, Rated::Error, "w:tl2br is not allowed",
         [] {
             return WithBody(Table({"<w:p/>"}, "<w:tblPr><w:tblBorders><w:top w:val=\"single\"/>"
                                               "<w:tl2br w:val=\"single\"/></w:tblBorders></w:tblPr>") + "<w:p/>");
         }},
        {"structure_preset_without_prst", "structure", kMain, Rated::Error, "a:prstGeom has no prst",
         [] { return WithPicture("<a:prstGeom/>"); }},
        {"structure_wrap_square_without_text", "structure", kMain, Rated::Error, "wp:wrapSquare has no wrapText",
         [] { return WithWrap("<wp:wrapSquare/>"); }},
        {"structure_wrap_tight_without_polygon", "structure", kMain, Rated::Error, "wp:wrapTight has no wp:wrapPolygon",
         [] { return WithWrap("<wp:wrapTight wrapText=\"bothSides\"/>"); }},
    });
    ExpectNoFindings({
        {"a cell ending with a paragraph after a table",
         [] { return WithBody(Table({"<w:p/>" + Table({"<w:p/>"}) + "<w:p/>"}) + "<w:p/>"); }},
        {"a tight wrap with its polygon",
         [] {
             return WithWrap("<wp:wrapTight wrapText=\"bothSides\"><wp:wrapPolygon edited=\"0\"><wp:start x=\"0\" "
                             "y=\"0\"/><wp:lineTo x=\"21600\" y=\"0\"/><wp:lineTo x=\"0\" y=\"0\"/></wp:wrapPolygon>"
                             "</wp:wrapTight>");
         }},
        // In the settings, a w:footnote only refers to a note.
        {"note settings",
         [] {
             return Package()
                 .part("settings.xml", Part("w:settings", "<w:footnotePr><w:footnote w:id=\"-1\"/></w:footnotePr>"),
                       "settings", "rIdSettings")
                 .zip();
         }},
    });
}

TEST(IdsRule, DrawingAndBookmarkIds) {
    ExpectSoleFindings({
        {"ids_docpr_reused", "ids", kMain, Rated::StrictError, "wp:docPr id 1 is used again",
         [] { return Package().image().body("<w:p>" + Picture("1") + Picture("1") + "</w:p>").zip(); }},
        {"ids_docpr_reused_in_header", "ids", kHeader, Rated::StrictError,
         "wp:docPr id 1 is used again (first in word/document.xml)",
         [] {
             return Package()
                 .image()
                 .body("<w:p>" + Picture("1") + "</w:p>")
                 .part("header1.xml", Part("w:hdr", "<w:p>" + Picture("1", "rIdH") + "</w:p>"))
                 .relate(kHeader, Relationship("rIdH", "image", "media/image1.png"))
                 .zip();
         }},
        {"ids_docpr_not_a_number", "ids", kMain, Rated::StrictError, "'abc' is not an unsigned 32-bit number",
         [] { return Package().image().body("<w:p>" + Picture("abc") + "</w:p>").zip(); }},
        {"ids_bookmark_starts_twice", "ids", kMain, Rated::Error, "bookmark id 0 starts twice (first at line 2",
         [] {
             return WithBody("<w:p><w:bookmarkStart w:id=\"0\" w:name=\"a\"/><w:bookmarkStart w:id=\"0\" w:name=\"b\"/>"
                             "<w:bookmarkEnd w:id=\"0\"/></w:p>");
         }},
        {"ids_bookmark_end_unpaired", "ids", kMain, Rated::StrictError, "bookmark end 7 has no start",
         [] { return WithBody("<w:p><w:bookmarkEnd w:id=\"7\"/></w:p>"); }},
    });
}

TEST(PageRule, SizesAndMargins) {
    ExpectSoleFindings({
        {"page_too_wide", "page", kMain, Rated::Error, "page width 40000 is not from 1 to 31680 twips",
         [] { return WithPage("", "<w:pgSz w:w=\"40000\" w:h=\"15840\"/>"); }},
        // Measures as the schema writes them: no hexadecimal or exponent.
        {"page_width_hexadecimal", "page", kMain, Rated::Error, "w:pgSz w:w=\"0x8in\" is not a measure",
         [] { return WithPage("", "<w:pgSz w:w=\"0x8in\" w:h=\"15840\"/>"); }},
        {"page_margin_exponent", "page", kMain, Rated::Error, "w:pgMar w:left=\"1e3mm\" is not a measure",
         [] { return WithPage("<w:pgMar w:left=\"1e3mm\"/>"); }},
        {"page_left_right_margins", "page", kMain, Rated::Error,
         "left and right margins (and gutter) of 12240 twips leave no room for text on a page 12240 twips wide",
         [] { return WithPage("<w:pgMar w:left=\"6000\" w:right=\"6000\" w:gutter=\"240\"/>"); }},
        {"page_top_bottom_margins", "page", kMain, Rated::Error,
         "top and bottom margins of 15840 twips leave no room for text on a page 15840 twips high",
         [] { return WithPage("<w:pgMar w:top=\"-8000\" w:bottom=\"7840\"/>"); }},
        // Only the top and bottom margins may be negative (text over the
        // header or footer).
        {"page_negative_left_margin", "page", kMain, Rated::Error, "w:pgMar w:left=\"-720\" is negative",
         [] { return WithPage("<w:pgMar w:left=\"-720\" w:right=\"720\"/>"); }},
    });
    ExpectNoFindings({
        {"measures with units",
         [] {
             return WithPage("<w:pgMar w:top=\"-1440\" w:right=\"2.5cm\" w:bottom=\"72pt\" w:left=\"25.4mm\"/>",
                             "<w:pgSz w:w=\"8.5in\" w:h=\"27.94cm\"/>");
         }},
        {"the largest page", [] { return WithPage("", "<w:pgSz w:w=\"31680\" w:h=\"31680\"/>"); }},
    });
}
