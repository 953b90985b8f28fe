// The Document members that list and create styles, the styles' own
// members (Id, IsDefault, Name, ParentStyle) and the document defaults, on
// the blank package, on built packages and on documents python-docx writes
// and reads.
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../format/style_fixture.h"

namespace {

using Object = vexrt::Object;
using vexrt::Nil;

class DocumentStylesTest : public StyleFixture {};

// A styles part without TableNormal or document defaults, with broken
// references.
const char kBrokenStyles[] =
    "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"Normal\"><w:name w:val=\"Char twin\"/></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Orphan\"><w:name w:val=\"Orphan\"/>"
    "<w:basedOn w:val=\"Ghost\"/></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"CrossType\"><w:basedOn w:val=\"Orphan\"/></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"OnTwin\"><w:basedOn w:val=\"Normal\"/></w:style>"
    "<w:style w:type=\"character\"><w:name w:val=\"No id\"/></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"OnNothing\"><w:basedOn/></w:style>"
    "<w:style w:type=\"table\" w:styleId=\"Plain\"><w:name w:val=\"Plain\"/></w:style>"
    "</w:styles>";

}  // namespace

TEST_F(DocumentStylesTest, BlankPackageListsEachTypeInItsOwnClass) {
    Object doc = Create("blank.new.docx");
    EXPECT_EQ(Ids(doc, "CharacterStyles"), std::vector<std::string>{"DefaultParagraphFont"});
    EXPECT_EQ(Ids(doc, "ParagraphStyles"), std::vector<std::string>{"Normal"});
    // NoList, a numbering style, is in no list.
    std::vector<Object> tables = List(doc, "TableStyles", {false});
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(rt().className(tables[0]), "VexlomarWord.TableStyle");
    EXPECT_FALSE(rt().isA(tables[0], "VexlomarWord.Style"));

    Object normal = List(doc, "ParagraphStyles")[0];
    EXPECT_EQ(rt().className(normal), "VexlomarWord.ParagraphStyle");
    EXPECT_TRUE(Bool(normal, "IsDefault"));
    EXPECT_EQ(Str(normal, "Name"), "Normal");
    Object defaultFont = List(doc, "CharacterStyles")[0];
    EXPECT_EQ(rt().className(defaultFont), "VexlomarWord.CharacterStyle");
    EXPECT_EQ(Str(defaultFont, "Name"), "Default Paragraph Font");

    // Each call makes new views; both see the same element.
    Object again = List(doc, "ParagraphStyles")[0];
    EXPECT_NE(again, normal);
    rt().set(again, "Name", "Body");
    EXPECT_EQ(Str(normal, "Name"), "Body");
}

TEST_F(DocumentStylesTest, TableGridIsAddedOnRequestAndOnlyOnce) {
    Object doc = Create("blank.new.docx");
    EXPECT_EQ(List(doc, "TableStyles", {true}).size(), 2u);
    EXPECT_EQ(List(doc, "TableStyles", {true}).size(), 2u);
    pugi::xml_document saved;
    std::vector<std::string> tableIds;
    for (pugi::xml_node style : SavedStyles(doc, saved).children("w:style"))
        if (std::string(style.attribute("w:type").value()) == "table") tableIds.push_back(style.attribute("w:styleId").value());
    EXPECT_EQ(tableIds, (std::vector<std::string>{"TableNormal", "TableGrid"}));

    // Without TableNormal, both come; the list gives them in document order.
    DocxParts parts;
    parts.styles = kBrokenStyles;
    write_docx(path("broken.docx"), parts);
    Object broken = rt().callShared("Document", "Open", {folderItem(path("broken.docx"))}).object();
    EXPECT_EQ(List(broken, "TableStyles", {false}).size(), 1u);
    std::vector<Object> tables = List(broken, "TableStyles", {true});
    ASSERT_EQ(tables.size(), 3u);
    pugi::xml_document brokenSaved;
    pugi::xml_node styles = SavedStyles(broken, brokenSaved);
    EXPECT_STREQ(styles.last_child().attribute("w:styleId").value(), "TableGrid");
    EXPECT_STREQ(styles.last_child().previous_sibling().attribute("w:styleId").value(), "TableNormal");
    // The new ones are ordinary table styles: TableGrid is based on
    // TableNormal, and formatting the parent lands there.
    Object parent = rt().get(tables[2], "ParentStyle").object();
    ASSERT_TRUE(parent);
    rt().set(parent, "Italic", 1);
    pugi::xml_document formatted;
    pugi::xml_node tableNormal = SavedStyle(broken, formatted, "TableNormal");
    EXPECT_TRUE(tableNormal.child("w:rPr").child("w:i"));
    EXPECT_FALSE(tableNormal.next_sibling().child("w:rPr"));
}

TEST_F(DocumentStylesTest, NewStylesTakeTheGivenBaseOrTheDefaultOfTheirType) {
    Object doc = Create("blank.new.docx");
    Object quote = Call(doc, "AddNewParagraphStyle", {"MyQuote", "My quote", Nil{}});
    ASSERT_TRUE(quote);
    EXPECT_EQ(rt().className(quote), "VexlomarWord.ParagraphStyle");
    EXPECT_EQ(Str(quote, "Id"), "MyQuote");
    EXPECT_EQ(Str(quote, "Name"), "My quote");
    EXPECT_FALSE(Bool(quote, "IsDefault"));
    Object normal = rt().get(quote, "ParentStyle").object();
    ASSERT_TRUE(normal);
    EXPECT_EQ(Str(normal, "Id"), "Normal");
    EXPECT_FALSE(rt().get(normal, "ParentStyle").object());

    Object defaultFont = List(doc, "CharacterStyles")[0];
    Object accent = Call(doc, "AddNewCharacterStyle", {"Accent", "Accent", defaultFont});
    Object loud = Call(doc, "AddNewCharacterStyle", {"Loud", "Loud \xE2\x80\x94 accent", accent});
    EXPECT_EQ(Str(rt().get(loud, "ParentStyle").object(), "Id"), "Accent");
    EXPECT_EQ(Ids(doc, "CharacterStyles"), (std::vector<std::string>{"DefaultParagraphFont", "Accent", "Loud"}));

    // A table style: TableGrid comes first, the new style builds on the
    // default table style unless told otherwise.
    Object fancy = Call(doc, "AddNewTabletyle", {"Fancy", "Fancy", Nil{}});
    ASSERT_TRUE(fancy);
    EXPECT_EQ(rt().className(fancy), "VexlomarWord.TableStyle");
    Object grid = List(doc, "TableStyles", {false})[1];
    Object onGrid = Call(doc, "AddNewTabletyle", {"OnGrid", "On grid", grid});
    ASSERT_TRUE(onGrid);

    pugi::xml_document saved;
    pugi::xml_node styles = SavedStyles(doc, saved);
    auto style = [&](const char* id) { return xml_print(styles.find_child_by_attribute("w:style", "w:styleId", id)); };
    EXPECT_EQ(style("MyQuote"),
              "<w:style w:type=\"paragraph\" w:customStyle=\"1\" w:styleId=\"MyQuote\"><w:name w:val=\"My quote\"/>"
              "<w:basedOn w:val=\"Normal\"/><w:uiPriority w:val=\"22\"/><w:qFormat/></w:style>");
    EXPECT_EQ(style("Loud"),
              "<w:style w:type=\"character\" w:customStyle=\"1\" w:styleId=\"Loud\">"
              "<w:name w:val=\"Loud \xE2\x80\x94 accent\"/><w:basedOn w:val=\"Accent\"/><w:uiPriority w:val=\"22\"/>"
              "<w:qFormat/></w:style>");
    EXPECT_EQ(style("Fancy"),
              "<w:style w:type=\"table\" w:customStyle=\"1\" w:styleId=\"Fancy\"><w:name w:val=\"Fancy\"/>"
              "<w:basedOn w:val=\"TableNormal\"/><w:uiPriority w:val=\"22\"/><w:qFormat/><w:tblPr/></w:style>");
    EXPECT_NE(style("OnGrid").find("<w:basedOn w:val=\"TableGrid\"/>"), std::string::npos);
    EXPECT_EQ(List(doc, "TableStyles", {false}).size(), 4u);
}

TEST_F(DocumentStylesTest, RefusedStylesLeaveTheTreeAsItWas) {
    Object doc = Create("blank.new.docx");
    Call(doc, "AddNewParagraphStyle", {"Mine", "Mine", Nil{}});
    pugi::xml_document before;
    const std::string stylesBefore = xml_print(SavedStyles(doc, before));

    const char* kEmpty = "id and name parameters cannot be empty.";
    EXPECT_RAISED(Call(doc, "AddNewParagraphStyle", {Nil{}, "Name", Nil{}}), "InvalidArgumentException", kEmpty, 3);
    EXPECT_RAISED(Call(doc, "AddNewCharacterStyle", {"Id", Nil{}, Nil{}}), "InvalidArgumentException", kEmpty, 3);
    EXPECT_RAISED(Call(doc, "AddNewCharacterStyle", {"", "Name", Nil{}}), "InvalidArgumentException", kEmpty, 3);
    // Ids are unique across types, compared exactly.
    const char* kTaken = "Style id already exists in the document";
    EXPECT_RAISED(Call(doc, "AddNewParagraphStyle", {"Mine", "Again", Nil{}}), "VexlomarWord.WordException", kTaken,
                  5);
    EXPECT_RAISED(Call(doc, "AddNewCharacterStyle", {"Normal", "Char", Nil{}}), "VexlomarWord.WordException", kTaken,
                  5);
    EXPECT_RAISED(Call(doc, "AddNewCharacterStyle", {"NoList", "Char", Nil{}}), "VexlomarWord.WordException", kTaken,
                  5);
    pugi::xml_document after;
    EXPECT_EQ(xml_print(SavedStyles(doc, after)), stylesBefore);
    EXPECT_TRUE(Call(doc, "AddNewCharacterStyle", {"mine", "Lower case", Nil{}}));

    // AddNewTabletyle adds TableGrid before it checks its arguments.
    EXPECT_RAISED(Call(doc, "AddNewTabletyle", {"Mine", "Table", Nil{}}), "VexlomarWord.WordException", kTaken, 5);
    pugi::xml_document withGrid;
    EXPECT_TRUE(SavedStyle(doc, withGrid, "TableGrid"));
    EXPECT_EQ(List(doc, "TableStyles", {false}).size(), 2u);
}

TEST_F(DocumentStylesTest, ParentStylesMustExistWithTheSameType) {
    DocxParts parts;
    parts.styles = kBrokenStyles;
    write_docx(path("broken.docx"), parts);
    Object doc = rt().callShared("Document", "Open", {folderItem(path("broken.docx"))}).object();
    std::map<std::string, Object> byId;
    for (const char* method : {"CharacterStyles", "ParagraphStyles"})
        for (const Object& style : List(doc, method)) byId[Str(style, "Id") + "/" + method] = style;

    const char* kMissing = "Parent style does not exist in the document";
    EXPECT_RAISED(rt().get(byId["Orphan/ParagraphStyles"], "ParentStyle"), "VexlomarWord.WordException", kMissing, 1);
    // A base of another type does not count.
    EXPECT_RAISED(rt().get(byId["CrossType/CharacterStyles"], "ParentStyle"), "VexlomarWord.WordException", kMissing,
                  1);
    // An empty reference names no style, not even one without id.
    EXPECT_RAISED(rt().get(byId["OnNothing/CharacterStyles"], "ParentStyle"), "VexlomarWord.WordException", kMissing,
                  1);
    // Of two styles of one id, the one of the style's own type is the parent.
    Object twin = rt().get(byId["OnTwin/CharacterStyles"], "ParentStyle").object();
    ASSERT_TRUE(twin);
    EXPECT_EQ(rt().className(twin), "VexlomarWord.CharacterStyle");
    EXPECT_EQ(Str(twin, "Name"), "Char twin");

    // Names are only written where the style has one.
    Object cross = byId["CrossType/CharacterStyles"];
    EXPECT_EQ(Str(cross, "Name"), "");
    rt().set(cross, "Name", "Given");
    EXPECT_EQ(Str(cross, "Name"), "");
    Object orphan = byId["Orphan/ParagraphStyles"];
    rt().set(orphan, "Name", Nil{});
    EXPECT_EQ(Str(orphan, "Name"), "");
    pugi::xml_document saved;
    EXPECT_EQ(xml_print(SavedStyle(doc, saved, "CrossType")),
              "<w:style w:type=\"character\" w:styleId=\"CrossType\"><w:basedOn w:val=\"Orphan\"/></w:style>");
}

TEST_F(DocumentStylesTest, DocumentDefaultsViewTheDefaultRunProperties) {
    Object doc = Create("blank.new.docx");
    Object defaults = rt().get(doc, "DocumentDefaults").object();
    ASSERT_TRUE(defaults);
    EXPECT_EQ(rt().className(defaults), "VexlomarWord.StylePart");
    EXPECT_EQ(Int(defaults, "FontSize"), 11);
    EXPECT_EQ(Int(defaults, "Bold"), -1);

    Object second = rt().get(doc, "DocumentDefaults").object();
    EXPECT_NE(second, defaults);
    rt().set(second, "FontSize", 12);
    EXPECT_EQ(Int(defaults, "FontSize"), 12);
    pugi::xml_document saved;
    pugi::xml_node rPr = SavedStyles(doc, saved).child("w:docDefaults").child("w:rPrDefault").child("w:rPr");
    EXPECT_STREQ(rPr.child("w:sz").attribute("w:val").value(), "24");
    EXPECT_STREQ(rPr.child("w:szCs").attribute("w:val").value(), "24");

    // The view keeps its document alive.
    doc = Object();
    second = Object();
    EXPECT_EQ(Int(defaults, "FontSize"), 12);

    // Without document defaults the view is empty: it reads unset and
    // writes nothing.
    DocxParts parts;
    parts.styles = kBrokenStyles;
    write_docx(path("broken.docx"), parts);
    Object broken = rt().callShared("Document", "Open", {folderItem(path("broken.docx"))}).object();
    Object none = rt().get(broken, "DocumentDefaults").object();
    ASSERT_TRUE(none);
    EXPECT_EQ(Int(none, "FontSize"), -1);
    rt().set(none, "Bold", 1);
    EXPECT_EQ(Int(none, "Bold"), -1);
    pugi::xml_document brokenSaved;
    EXPECT_FALSE(SavedStyles(broken, brokenSaved).child("w:docDefaults"));
}

// python-docx's template carries many styles; the lists give exactly what
// python-docx itself sees, and what we add python-docx reads back.
TEST_F(DocumentStylesTest, PythonDocxSeesTheSameStylesAndOurs) {
    SKIP_WITHOUT_PYTHON_DOCX();
    const std::string source = path("python-docx.docx");
    python_docx_run("import sys, docx\ndocx.Document().save(sys.argv[1])\n", {source});

    // One "type id" line per style, in document order.
    const std::string listScript =
        "import sys, docx\n"
        "from docx.enum.style import WD_STYLE_TYPE as T\n"
        "names = {T.CHARACTER: 'character', T.PARAGRAPH: 'paragraph', T.TABLE: 'table', T.LIST: 'numbering'}\n"
        "for s in docx.Document(sys.argv[1]).styles:\n"
        "    base = getattr(s, 'base_style', None)\n"
        "    base = base.style_id if base is not None else '-'\n"
        "    print(names[s.type], s.style_id, base, s.name, sep='|')\n";
    auto pythonStyles = [&](const std::string& file) {
        std::map<std::string, std::vector<std::vector<std::string>>> byType;
        std::istringstream lines(python_docx_run(listScript, {file}));
        for (std::string line; std::getline(lines, line);) {
            std::vector<std::string> fields;
            std::istringstream split(line);
            for (std::string field; std::getline(split, field, '|');) fields.push_back(field);
            byType[fields[0]].push_back(fields);
        }
        return byType;
    };
    auto idsOf = [](const std::vector<std::vector<std::string>>& styles) {
        std::vector<std::string> ids;
        for (const auto& s : styles) ids.push_back(s[1]);
        return ids;
    };

    auto expected = pythonStyles(source);
    ASSERT_GT(expected["paragraph"].size(), 10u);
    Object doc = rt().callShared("Document", "Open", {folderItem(source)}).object();
    ASSERT_TRUE(doc);
    EXPECT_EQ(Ids(doc, "CharacterStyles"), idsOf(expected["character"]));
    EXPECT_EQ(Ids(doc, "ParagraphStyles"), idsOf(expected["paragraph"]));
    // The template has its TableGrid already.
    EXPECT_EQ(List(doc, "TableStyles", {true}).size(), expected["table"].size());

    Object heading;
    for (const Object& style : List(doc, "ParagraphStyles"))
        if (Str(style, "Id") == "Heading1") heading = style;
    ASSERT_TRUE(heading);
    Object section = Call(doc, "AddNewParagraphStyle", {"SectionTitle", "Section Title", heading});
    Object stress = Call(doc, "AddNewCharacterStyle", {"Stress", "Stress", Nil{}});
    Object ledger = Call(doc, "AddNewTabletyle", {"Ledger", "Ledger", Nil{}});
    ASSERT_TRUE(section && stress && ledger);
    rt().set(section, "Bold", 1);
    rt().set(stress, "TextColor", vexrt::Color{0xC00000});

    const std::string saved = path("with-styles.docx");
    rt().call(doc, "SaveAs", {folderItem(saved)});
    auto read = pythonStyles(saved);
    auto find = [&](const char* type, const char* id) {
        for (const auto& s : read[type])
            if (s[1] == id) return s;
        return std::vector<std::string>{};
    };
    EXPECT_EQ(find("paragraph", "SectionTitle"), (std::vector<std::string>{"paragraph", "SectionTitle", "Heading1",
                                                                            "Section Title"}));
    EXPECT_EQ(find("character", "Stress"),
              (std::vector<std::string>{"character", "Stress", "DefaultParagraphFont", "Stress"}));
    EXPECT_EQ(find("table", "Ledger"), (std::vector<std::string>{"table", "Ledger", "TableNormal", "Ledger"}));

    // python-docx sees the formatting too.
    const std::string fontScript =
        "import sys, docx\nst = docx.Document(sys.argv[1]).styles\n"
        "print(st['Section Title'].font.bold, st['Stress'].font.color.rgb)\n";
    EXPECT_EQ(python_docx_run(fontScript, {saved}), "True C00000\n");
}
