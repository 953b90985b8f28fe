// The demo host program: loads the plug-in through the runtime, shows what
// it registered, writes a short letter as a .docx (with an order table, a
// numbered and a bulleted list, a first-page header with the company's
// logo, a photo of the product, a footer, a landscape appendix,
// hyperlinks, a bookmark, a callout shape with a text box and a stamp
// made of a shape group), reopens it and prints it.
//
//   demo [OUT.docx]
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include <vexrt/runtime.h>

#include "image_files.h"

using vexrt::Object;
using vexrt::Value;

// The texts of a container's paragraphs (`vexword text` shows them with
// their list labels and the text of their hyperlinks).
static std::vector<std::string> ParagraphTexts(vexrt::Runtime& rt, const Object& container) {
    std::vector<std::string> texts;
    for (int64_t i = 0, n = rt.get(container, "ParagraphCount").integer(); i < n; ++i)
        texts.push_back(rt.get(rt.call(container, "Paragraph", {i}).object(), "Text").text());
    return texts;
}

// A table a line per row, its cells' texts separated by tabs.
static std::vector<std::string> TableLines(vexrt::Runtime& rt, const Object& table) {
    std::vector<std::string> lines;
    for (int64_t r = 0, rows = rt.get(table, "RowCount").integer(); r < rows; ++r) {
        std::string line;
        Object row = rt.call(table, "Row", {r}).object();
        for (int64_t c = 0, cells = rt.get(row, "ColumnCount").integer(); c < cells; ++c) {
            if (c) line += "\t";
            std::string cell;
            for (const auto& text : ParagraphTexts(rt, rt.call(row, "Cell", {c}).object()))
                if (!text.empty()) cell += (cell.empty() ? "" : " ") + text;
            line += cell;
        }
        lines.push_back(line);
    }
    return lines;
}

static void PrintModule(const vexrt::Runtime& rt) {
    const vexrt::ModuleInfo* m = rt.module();
    if (!m) {
        std::cout << "no module registered\n";
        return;
    }
    std::cout << "module " << m->name << "\n";
    for (const auto& c : m->constants) std::cout << "  const " << c.name << " = " << c.value << "\n";
    std::cout << "  " << m->enums.size() << " enumerations:";
    for (const auto& e : m->enums) std::cout << " " << e.name << "(" << e.entries.size() << ")";
    std::cout << "\n  " << m->classes.size() << " classes:\n";
    for (const auto& c : m->classes) {
        std::cout << "    " << c.name;
        if (!c.superName.empty()) std::cout << " : " << c.superName;
        std::cout << "  (" << c.properties.size() << " properties, " << c.methods.size() << " methods, "
                  << c.sharedMethods.size() << " shared)\n";
    }
}

static const char* FieldKind(int64_t type) {
    switch (type) {
    case 1: return "date";
    case 2: return "time";
    case 3: return "hyperlink";
    case 4: return "page number";
    case 5: return "page count";
    case 0: return "none";
    default: return "unknown";
    }
}

// Every field of the body: its kind, its data and what it shows.
static void PrintFields(vexrt::Runtime& rt, const Object& doc) {
    std::cout << "fields:\n";
    const int64_t paragraphs = rt.get(doc, "ParagraphCount").integer();
    for (int64_t i = 0; i < paragraphs; ++i) {
        Object p = rt.call(doc, "Paragraph", {i}).object();
        const int64_t runs = rt.get(p, "LogicalRunCount").integer();
        for (int64_t r = 0; r < runs; ++r) {
            Object run = rt.call(p, "LogicalRun", {r}).object();
            if (!rt.get(run, "IsPartOfComplexRun").boolean()) continue;
            std::cout << "  " << FieldKind(rt.get(run, "ComplexRunFieldType").integer()) << ": data \""
                      << rt.get(run, "ComplexRunFieldData").text() << "\", shows \"" << rt.get(run, "Text").text()
                      << "\"\n";
        }
    }
}

// What the formatting of a run or a style amounts to, in words: "bold, 16 pt, #1F4E79".
static std::string Formatting(vexrt::Runtime& rt, const Object& run) {
    std::string words;
    auto add = [&](const std::string& word) { words += (words.empty() ? "" : ", ") + word; };
    if (rt.get(run, "Bold").integer() == 1) add("bold");
    if (rt.get(run, "Italic").integer() == 1) add("italic");
    if (rt.get(run, "Underline").integer() != 0) add("underlined");
    if (rt.get(run, "HighlightColor").integer() != 0) add("highlighted");
    if (rt.get(run, "VerticalAlignment").integer() == 2) add("superscript");
    if (rt.get(run, "Caps").integer() == 2) add("small caps");
    const std::string font = rt.get(run, "FontName").text();
    if (!font.empty()) add(font);
    const int64_t size = rt.get(run, "FontSize").integer();
    if (size > 0) add(std::to_string(size) + " pt");
    if (rt.get(run, "HasTextColor").boolean()) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%06X", unsigned(rt.get(run, "TextColor").color().value & 0xFFFFFF));
        add(hex);
    }
    return words.empty() ? "plain" : words;
}

static const char* AlignmentName(int64_t alignment) {
    switch (alignment) {
    case 0: return "left";
    case 1: return "centred";
    case 2: return "right";
    case 3: return "justified";
    default: return "default";
    }
}

// Every hyperlink of the body, and every bookmark.
static void PrintLinks(vexrt::Runtime& rt, const Object& doc) {
    std::cout << "links:\n";
    const int64_t paragraphs = rt.get(doc, "ParagraphCount").integer();
    for (int64_t i = 0; i < paragraphs; ++i) {
        Object p = rt.call(doc, "Paragraph", {i}).object();
        const int64_t items = rt.get(p, "ParagraphItemCount").integer();
        for (int64_t j = 0; j < items; ++j) {
            Object item = rt.call(p, "ParagraphItem", {j}).object();
            if (rt.className(item) != "VexlomarWord.Hyperlink") continue;
            std::cout << "  \"" << rt.get(rt.call(item, "Run", {0}).object(), "Text").text() << "\" -> "
                      << (rt.get(item, "LinkToAnchor").boolean() ? "#" : "") << rt.get(item, "Address").text()
                      << "\n";
        }
    }
    Object bookmarks = rt.call(doc, "GetBookmarks").object();
    for (size_t i = 0; i < rt.arrayCount(bookmarks); ++i)
        std::cout << "  bookmark " << rt.get(rt.arrayItem(bookmarks, i), "Name").text() << "\n";
}

// Every paragraph's style and alignment, and each run's text with its
// formatting.
static void PrintFormatting(vexrt::Runtime& rt, const Object& doc) {
    std::cout << "formatting:\n";
    const int64_t paragraphs = rt.get(doc, "ParagraphCount").integer();
    for (int64_t i = 0; i < paragraphs; ++i) {
        Object p = rt.call(doc, "Paragraph", {i}).object();
        Value style = rt.get(p, "Style");
        std::cout << "  paragraph " << i << ", " << AlignmentName(rt.get(p, "Alignment").integer());
        if (!style.isNil()) {
            const Object& s = style.object();
            std::cout << ", style \"" << rt.get(s, "Name").text() << "\" ("
                      << AlignmentName(rt.get(s, "Alignment").integer()) << ", " << Formatting(rt, s) << ")";
        }
        std::cout << "\n";
        const int64_t runs = rt.get(p, "LogicalRunCount").integer();
        for (int64_t r = 0; r < runs; ++r) {
            Object run = rt.call(p, "LogicalRun", {r}).object();
            std::cout << "    \"" << rt.get(run, "Text").text() << "\": " << Formatting(rt, run) << "\n";
        }
    }
}

// The company's logo: a white "V" on a blue badge, 96 x 48 pixels.
static std::string DrawLogo() {
    return example::Png_Encode(example::RgbImage_Draw(96, 48, [](uint32_t x, uint32_t y) -> uint32_t {
        const int dx = int(x) - 48, dy = int(y);
        const bool stroke = std::abs(std::abs(dx) - (48 - dy) / 2) < 4 && y > 6 && y < 42;
        return stroke ? 0xFFFFFF : 0x1F4E79;
    }));
}

// A photo of the product: a folding table in a bright room, 144 x 96 pixels.
static std::string DrawProductPhoto() {
    return example::Jpeg_Encode(example::RgbImage_Draw(144, 96, [](uint32_t x, uint32_t y) -> uint32_t {
        const bool top = y >= 40 && y < 48 && x >= 24 && x < 120;
        const bool legs = y >= 48 && y < 86 && ((x >= 32 && x < 38) || (x >= 106 && x < 112));
        if (top || legs) return 0x6B4226;
        const uint32_t shade = 0xD0 + y / 4;  // light wall, a little darker towards the floor
        return y < 86 ? (shade << 16 | shade << 8 | 0xF0) : 0x9A9A9A;
    }), 90);
}

// Every inline picture of a container: its type, name, byte size and
// alternative text.
static void PrintPictures(vexrt::Runtime& rt, const Object& container, const char* where) {
    const int64_t paragraphs = rt.get(container, "ParagraphCount").integer();
    for (int64_t i = 0; i < paragraphs; ++i) {
        Object p = rt.call(container, "Paragraph", {i}).object();
        for (int64_t r = 0, runs = rt.get(p, "RunCount").integer(); r < runs; ++r) {
            Value drawing = rt.get(rt.call(p, "Run", {r}).object(), "Drawing");
            if (drawing.isNil() || !rt.get(drawing.object(), "IsPicture").boolean()) continue;
            const Object& d = drawing.object();
            std::cout << "  " << where << ": " << (rt.get(d, "PictureType").integer() == 2 ? "JPEG" : "PNG") << " "
                      << rt.get(d, "PictureFileName").text() << ", " << rt.get(d, "PictureData").text().size()
                      << " bytes, \"" << rt.get(d, "AltTextDescription").text() << "\"\n";
        }
    }
}

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "build/out/demo.docx";
    try {
        vexrt::Runtime rt;
        rt.loadPlugin(vexrt::FindPlugin(VEXLOMARWORD_PLUGIN));
        PrintModule(rt);

        std::remove(out.c_str());
        {
            Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(out)}).object();
            rt.set(doc, "Title", "A letter from the demo");
            rt.set(doc, "Creator", "demo host program");

            // A heading in a style of our own, based on the template's Normal.
            Object headingStyle =
                rt.call(doc, "AddNewParagraphStyle", {"LetterHeading", "Letter Heading", vexrt::Nil{}}).object();
            rt.set(headingStyle, "Bold", 1);
            rt.set(headingStyle, "FontSize", 16);
            rt.set(headingStyle, "TextColor", vexrt::Color{0x1F4E79});
            rt.set(headingStyle, "Alignment", 1);
            Object heading = rt.call(doc, "AppendParagraph", {"Order confirmation"}).object();
            rt.set(heading, "Style", headingStyle);

            Object dateLine = rt.call(doc, "AppendParagraph", {"8 December 2026"}).object();
            rt.set(dateLine, "Alignment", 2);
            rt.set(rt.call(dateLine, "Run", {0}).object(), "Italic", 1);

            rt.call(doc, "AppendParagraph", {"Dear Ms. Grüße,"});
            // The order number carries a bookmark that the appendix links to.
            Object thanks = rt.call(doc, "AppendParagraph", {"Thank you for your order "}).object();
            Object orderNumber = rt.call(thanks, "AppendRun", {"No. 4711"}).object();
            rt.call(thanks, "AppendRun", {" of 12 March.\tIt ships today."});
            rt.call(thanks, "AddBookmarkAround", {orderNumber, "OrderNumber"});
            Object total = rt.call(doc, "AppendParagraph", {"Total:\t"}).object();
            Object amount = rt.call(total, "AppendRun", {"€ 1,250.00"}).object();
            rt.set(amount, "Bold", 1);
            rt.set(amount, "TextColor", vexrt::Color{0xC00000});
            rt.call(amount, "SetUnderlineWithColor", {2, vexrt::Color{0xC00000}});
            // Beside the total, a coloured callout with a text box.
            const int kEllipseCallout = 16, kEllipse = 2, kOctagon = 8, kShapeInches = 1;
            Object callout = rt.call(total, "AppendShape", {kEllipseCallout, 4.6, -0.1, 1.8, 0.65, kShapeInches})
                                 .object();
            rt.set(callout, "SolidFillColor", vexrt::Color{0xFFC000});
            rt.set(callout, "LineColor", vexrt::Color{0xC55A11});
            rt.set(callout, "HandleAdjustment1", -70000);  // the tail points left, at the total
            rt.set(callout, "HandleAdjustment2", 30000);
            rt.set(callout, "TextWrap", 1);  // the lines beside it make room
            Object calloutText = rt.call(callout, "Container", {true}).object();
            Object calloutLine = rt.call(calloutText, "Paragraph", {0}).object();
            rt.set(calloutLine, "Alignment", 1);
            Object thankYou = rt.call(calloutLine, "AppendRun", {"Thank you!"}).object();
            rt.set(thankYou, "Bold", 1);
            rt.set(thankYou, "TextColor", vexrt::Color{0x1F4E79});
            // The product, pictured: 144 x 96 pixels, 1.5 x 1 inches.
            const int kPng = 1, kJpeg = 2;
            Object photo = rt.call(doc, "AppendParagraph",
                                   {rt.makeString(DrawProductPhoto(), kREALTextEncodingNone), kJpeg,
                                    "folding-table.jpeg", 144, 96}).object();
            rt.set(photo, "Alignment", 1);
            rt.set(rt.get(rt.call(photo, "Run", {0}).object(), "Drawing").object(), "AltTextDescription",
                   "The folding table for wide documents");

            // The order as a table: a header row in bold on a shaded
            // background (repeated on every page the table runs onto), three
            // items and the total, with the net amount and the tax in a table
            // of their own in the total's description cell.
            const int kCm = 2, kSingleLine = 1, kDoubleLine = 8, kThickLine = 12, kTop = 1, kBottom = 3,
                      kInsideH = 4;
            const char* const kOrder[5][4] = {
                {"Item", "Description", "Quantity", "Amount"},
                {"A-100", "Order confirmation paper", "10", "\u20AC 250.00"},
                {"B-200", "Folding table", "1", "\u20AC 1,000.00"},
                {"C-300", "Delivery", "1", "\u20AC 0.00"},
                {"Total", "", "", "\u20AC 1,250.00"},
            };
            Object order = rt.call(doc, "AppendTable", {4, 5}).object();
            rt.set(order, "AltTextTitle", "Order No. 4711");
            rt.set(order, "AltTextDescription", "Items, quantities and amounts of the order");
            const double kWidths[] = {2.5, 7.5, 2.5, 3.5};
            for (int c = 0; c < 4; ++c) rt.call(order, "ColumnWidth", {c, kCm, kWidths[c]});
            for (int r = 0; r < 5; ++r) {
                for (int c = 0; c < 4; ++c) {
                    Object cell = rt.call(order, "Cell", {c, r}).object();
                    Object run = rt.call(rt.call(cell, "Paragraph", {0}).object(), "AppendRun", {kOrder[r][c]}).object();
                    if (r == 0 || r == 4) rt.set(run, "Bold", 1);
                    if (r == 0) rt.set(cell, "BackgroundColor", vexrt::Color{0xD9E2F3});
                }
            }
            rt.set(rt.call(order, "Row", {0}).object(), "RepeatAsHeaderRow", true);
            rt.call(rt.call(order, "Border", {kTop}).object(), "SetBorderStyle", {kThickLine, 12, 0, vexrt::Color{0x1F4E79}});
            rt.call(rt.call(order, "Border", {kBottom}).object(), "SetBorderStyle", {kDoubleLine, 6, 0});
            rt.call(rt.call(order, "Border", {kInsideH}).object(), "SetBorderStyle", {kSingleLine, 4, 0});
            Object totalCell = rt.call(order, "Cell", {1, 4}).object();
            Object split = rt.call(totalCell, "AppendTable", {2, 1}).object();
            for (int c = 0; c < 2; ++c) rt.call(split, "ColumnWidth", {c, kCm, 3.5});
            rt.call(rt.call(rt.call(split, "Cell", {0, 0}).object(), "Paragraph", {0}).object(), "AppendRun",
                    {"net \u20AC 1,050.42"});
            rt.call(rt.call(rt.call(split, "Cell", {1, 0}).object(), "Paragraph", {0}).object(), "AppendRun",
                    {"VAT \u20AC 199.58"});
            Object note = rt.call(doc, "AppendParagraph", {"Please note: "}).object();
            Object phrase = rt.call(note, "AppendRun", {"payment is due within 30 days"}).object();
            rt.set(phrase, "HighlightColor", 1);
            rt.set(rt.call(note, "AppendRun", {" of delivery."}).object(), "FontName", "Liberation Serif");

            // The order's conditions as a numbered list with a lettered
            // level, and what to keep as a bulleted one. Each list made
            // numbers from 1.
            rt.call(doc, "AppendParagraph", {"Conditions of the order:"});
            Object conditions = rt.call(doc, "CreateListIndent", {false}).object();
            const std::pair<const char*, int> kConditions[] = {
                {"Delivery within 10 working days.", 0},
                {"Partial deliveries are announced in advance.", 1},
                {"Delivery is free of charge above \u20AC 500.00.", 1},
                {"Returns are accepted within 14 days.", 0},
                {"Prices include VAT.", 0},
            };
            for (const auto& [text, level] : kConditions)
                rt.call(rt.call(doc, "AppendParagraph", {text}).object(), "SetListIndent", {conditions, level});
            rt.call(doc, "AppendParagraph", {"Please keep:"});
            Object keep = rt.call(doc, "CreateListIndent", {true}).object();
            for (const char* text : {"this confirmation", "the delivery note"})
                rt.call(rt.call(doc, "AppendParagraph", {text}).object(), "SetListIndent", {keep, 0});
            Object regards = rt.call(doc, "AppendParagraph", {"Kind regards,\nThe demo team"}).object();
            // A stamp beside the greeting: a group of a ring and a seal.
            Object stamp = rt.call(regards, "AppendShapeGroup", {kEllipse, 4.2, -0.1, 1.0, 1.0, kShapeInches})
                               .object();
            Object ring = rt.call(stamp, "Shape", {0}).object();
            rt.set(ring, "NoFill", true);
            rt.set(ring, "LineColor", vexrt::Color{0xC00000});
            rt.set(ring, "LineWidth", 2.25);
            Object seal = rt.call(stamp, "AppendShape", {kOctagon, 0.25, 0.25, 0.5, 0.5, kShapeInches}).object();
            rt.set(seal, "SolidFillColor", vexrt::Color{0xC00000});
            rt.set(seal, "NoLine", true);
            rt.set(seal, "Rotation", 22.5);

            // Fields: the reader's word processor fills in their results.
            Object dated = rt.call(doc, "AppendParagraph", {"Written on "}).object();
            rt.call(dated, "AppendDateField", {rt.makeDateTime(2026, 12, 8, 9, 30, 0)});
            rt.call(dated, "AppendRun", {" at "});
            rt.call(dated, "AppendTimeField", {9, 30, 0});
            // A hyperlink, and the same address as a field.
            Object linked = rt.call(doc, "AppendParagraph", {"Track it on "}).object();
            Object website = rt.call(linked, "AppendHyperlink", {"our website", "https://example.org/orders"}).object();
            rt.set(website, "Tooltip", "Where your order is now");
            rt.call(linked, "AppendRun", {" (as a field: "});
            rt.call(linked, "AppendHyperlinkField", {"order page", "https://example.org/orders"});
            rt.call(linked, "AppendRun", {")"});

            // The sender's name heads the first page only; the address is at
            // the foot of every page. A first page that has a header of its
            // own also takes its footer from its own: it gets the address too.
            const int kDefault = 0, kFirst = 1;
            Object firstHeader = rt.call(doc, "Header", {kFirst, true}).object();
            Object name = rt.call(firstHeader, "AppendParagraph", {"Vexlomar Demo Works"}).object();
            rt.set(rt.call(name, "Run", {0}).object(), "Bold", 1);
            // The logo follows the name, in the header's own relationships.
            Object logo = rt.call(name, "AppendRun", {rt.makeString(DrawLogo(), kREALTextEncodingNone), kPng,
                                                      "logo.png", 48, 24}).object();
            rt.set(rt.get(logo, "Drawing").object(), "AltTextDescription", "Vexlomar Demo Works logo");
            for (int type : {kDefault, kFirst}) {
                Object footer = rt.call(doc, "Footer", {type, true}).object();
                Object address =
                    rt.call(footer, "AppendParagraph", {"Demo Works, 1 Sample Street, 1000 Example City"}).object();
                rt.set(address, "Alignment", 1);
            }

            // An appendix on a landscape page of its own: the section break
            // ends the letter's section, and the new last section turns.
            const int kNextPage = 4, kInches = 1;
            rt.call(doc, "AppendSectionBreak", {kNextPage});
            Object appendix = rt.get(doc, "DefaultSection").object();
            rt.set(appendix, "PageIsLandscape", true);
            rt.assign(appendix, "PageMarginLeft", {kInches}, 0.75);
            rt.assign(appendix, "PageMarginRight", {kInches}, 0.75);
            Object appendixTitle = rt.call(doc, "AppendParagraph", {"Appendix: order lines of "}).object();
            Object back = rt.call(appendixTitle, "AppendHyperlink", {"order No. 4711", ""}).object();
            rt.set(back, "LinkToAnchor", true);
            rt.set(back, "Address", "OrderNumber");
            rt.call(doc, "AppendParagraph",
                    {"Item\tDescription\tQuantity\tUnit price\tAmount\n"
                     "A-100\tWide-format order confirmation paper, landscape\t10\t€ 25.00\t€ 250.00\n"
                     "B-200\tFolding table for wide documents\t1\t€ 1,000.00\t€ 1,000.00"});
            rt.call(doc, "Save");
        }

        Object doc = rt.callShared("Document", "Open", {rt.makeFolderItem(out)}).object();
        std::cout << "\nwrote " << out << "\n";
        for (const char* p : {"Title", "Creator", "LastModifiedBy", "Revision"}) {
            Value v = rt.get(doc, p);
            std::cout << "  " << p << ": " << (v.isInteger() ? std::to_string(v.integer()) : v.text()) << "\n";
        }
        std::cout << "paragraphs (their own runs; `vexword text` adds links and list labels):\n";
        for (const auto& t : ParagraphTexts(rt, doc)) std::cout << "  | " << t << "\n";
        for (int64_t t = 0, n = rt.get(doc, "TableCount").integer(); t < n; ++t) {
            std::cout << "table " << t + 1 << ":\n";
            for (const auto& line : TableLines(rt, rt.call(doc, "Table", {t}).object()))
                std::cout << "  | " << line << "\n";
        }
        for (const char* kind : {"Header", "Footer"}) {
            for (int type = 0; type < 2; ++type) {
                Object part = rt.call(doc, kind, {type, false}).object();
                if (!part) continue;
                std::cout << (type ? "first-page " : "") << kind << ":\n";
                for (const auto& t : ParagraphTexts(rt, part)) std::cout << "  | " << t << "\n";
            }
        }
        Object last = rt.get(doc, "DefaultSection").object();
        std::cout << "last section: " << (rt.get(last, "PageIsLandscape").boolean() ? "landscape" : "portrait")
                  << ", " << rt.call(last, "PageWidth", {1}).number() << " x " << rt.call(last, "PageHeight", {1}).number()
                  << " in\n";
        std::cout << "pictures:\n";
        PrintPictures(rt, doc, "body");
        PrintPictures(rt, rt.call(doc, "Header", {1, false}).object(), "first-page header");
        PrintFields(rt, doc);
        PrintLinks(rt, doc);
        PrintFormatting(rt, doc);
    } catch (const vexrt::HostException& e) {
        std::cerr << "demo: " << e.describe() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "demo: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
