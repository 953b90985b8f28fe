// Walking containers, paragraphs and hyperlinks with the host's for-each
// loop: what each factory visits, where a walk starts and stops, what it
// sees of items added or removed on the way, and a nested walk over a
// document another tool wrote.
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "docx_builder.h"
#include "paragraph_fixture.h"

namespace {

class IteratorTest : public ParagraphFixture {
protected:
    // Every value a for-each over `iterable` gives, in order.
    std::vector<Value> Walk(const Object& iterable) {
        std::vector<Value> values;
        rt().forEach(iterable, [&](const Value& v) {
            values.push_back(v);
            return true;
        });
        return values;
    }
    // The texts of the runs, or "nil", that a walk gives.
    std::vector<std::string> Texts(const Object& iterable) {
        std::vector<std::string> texts;
        for (const Value& v : Walk(iterable)) texts.push_back(v.isNil() ? "nil" : Str(v.object(), "Text"));
        return texts;
    }
    std::vector<std::string> ClassNames(const Object& iterable) {
        std::vector<std::string> names;
        for (const Value& v : Walk(iterable)) names.push_back(v.isNil() ? "nil" : rt().className(v.object()));
        return names;
    }
    bool MoveNext(const Object& iterator) { return rt().call(iterator, "MoveNext() as Boolean").boolean(); }
    Value ValueOf(const Object& iterator) { return rt().call(iterator, "Value() as Variant"); }
};

using Strings = std::vector<std::string>;

const std::string kTable = docx_table({{"<w:p><w:r><w:t>cell</w:t></w:r></w:p>"}});

}  // namespace

// Each factory gives its class and visits what its lookup by index gives:
// items (paragraphs and tables), paragraphs only, tables only; runs, logical
// runs (a field counts once), paragraph items and logical paragraph items
// (hyperlinks among runs); a hyperlink's runs.
TEST_F(IteratorTest, EachFactoryWalksWhatItsLookupFinds) {
    Object doc = OpenBody("walk.docx",
                          "<w:p><w:r><w:t>one</w:t></w:r></w:p>" + kTable +
                              "<w:bookmarkStart w:id=\"1\" w:name=\"b\"/>"
                              "<w:p><w:r><w:t>a</w:t></w:r>" +
                              Field(" PAGE ", "7") +
                              "<w:hyperlink w:anchor=\"b\"><w:r><w:t>l1</w:t></w:r><w:r><w:t>l2</w:t></w:r>"
                              "</w:hyperlink><w:r><w:t>z</w:t></w:r></w:p>" +
                              kTable);
    ASSERT_TRUE(doc);
    Object items = Call(doc, "Items");
    EXPECT_EQ(rt().className(items), "VexlomarWord.DocumentItemIterator");
    EXPECT_EQ(ClassNames(items), (Strings{"VexlomarWord.Paragraph", "VexlomarWord.Table", "VexlomarWord.Paragraph",
                                          "VexlomarWord.Table"}));
    Object paragraphs = Call(doc, "Paragraphs");
    EXPECT_EQ(rt().className(paragraphs), "VexlomarWord.ParagraphIterator");
    EXPECT_EQ(Texts(paragraphs), (Strings{"one", "a7z"}));
    Object tables = Call(doc, "Tables");
    EXPECT_EQ(rt().className(tables), "VexlomarWord.TableIterator");
    EXPECT_EQ(ClassNames(tables), (Strings{"VexlomarWord.Table", "VexlomarWord.Table"}));

    Object p = Call(doc, "Paragraph", {1});
    Object runs = Call(p, "Runs");
    EXPECT_EQ(rt().className(runs), "VexlomarWord.RunIterator");
    // Each run of a field reads as the whole field.
    EXPECT_EQ(Texts(runs), (Strings{"a", "7", "7", "7", "7", "7", "z"}));
    EXPECT_EQ(Texts(Call(p, "LogicalRuns")), (Strings{"a", "7", "z"}));
    Object paragraphItems = Call(p, "ParagraphItems");
    EXPECT_EQ(rt().className(paragraphItems), "VexlomarWord.ParagraphItemIterator");
    const Strings itemClasses = ClassNames(paragraphItems);
    EXPECT_EQ(itemClasses.size(), 8u);
    EXPECT_EQ(itemClasses[6], "VexlomarWord.Hyperlink");
    EXPECT_EQ(ClassNames(Call(p, "LogicalParagraphItems")),
              (Strings{"VexlomarWord.Run", "VexlomarWord.Run", "VexlomarWord.Hyperlink", "VexlomarWord.Run"}));
    Object link = Call(p, "ParagraphItem", {6});
    Object linkRuns = Call(link, "Runs");
    EXPECT_EQ(rt().className(linkRuns), "VexlomarWord.RunIterator");
    EXPECT_EQ(Texts(linkRuns), (Strings{"l1", "l2"}));
}

// The cursor: nothing to visit gives false at once; Value before the first
// step is nil; after the last step it stays on the last item; the iterator
// is its own iterable; every Value is a new view that sees the others'
// changes.
TEST_F(IteratorTest, TheCursorFromStartToEnd) {
    Object doc = OpenBody("cursor.docx", "");
    ASSERT_TRUE(doc);
    Object empty = Call(doc, "Items");
    EXPECT_FALSE(MoveNext(empty));
    EXPECT_TRUE(ValueOf(empty).isNil());
    EXPECT_TRUE(Walk(Call(doc, "Tables")).empty());

    Call(doc, "AppendParagraph", {"first"});
    Call(doc, "AppendParagraph", {"second"});
    Object it = Call(doc, "Paragraphs");
    EXPECT_EQ(rt().call(it, "Iterator() as Iterator").object(), it);
    EXPECT_TRUE(ValueOf(it).isNil());
    ASSERT_TRUE(MoveNext(it));
    Object first = ValueOf(it).object();
    Object again = ValueOf(it).object();
    EXPECT_NE(first, again);
    rt().call(first, "AppendRun", {" and more"});
    EXPECT_EQ(Str(again, "Text"), "first and more");
    ASSERT_TRUE(MoveNext(it));
    EXPECT_FALSE(MoveNext(it));
    EXPECT_FALSE(MoveNext(it));
    EXPECT_EQ(Str(ValueOf(it).object(), "Text"), "second");

    // A for-each left early, as Exit does.
    int visited = 0;
    rt().forEach(Call(doc, "Paragraphs"), [&](const Value&) { return ++visited < 1; });
    EXPECT_EQ(visited, 1);
}

// The count is taken when the iterator is made: what is appended later is
// not visited. What is removed on the way shifts the later indexes, and
// indexes past the new end give nil; removed items are never read, views of
// them stay usable.
TEST_F(IteratorTest, ItemsAddedOrRemovedDuringTheWalk) {
    Object doc = Create("changes.new.docx");
    ASSERT_TRUE(doc);
    rt().call(Call(doc, "Paragraph", {0}), "AppendRun", {"p0"});
    for (const char* text : {"p1", "p2", "p3", "p4"}) Call(doc, "AppendParagraph", {text});

    Strings seen;
    rt().forEach(Call(doc, "Paragraphs"), [&](const Value& v) {
        Call(doc, "AppendParagraph", {"late"});
        seen.push_back(Str(v.object(), "Text"));
        return true;
    });
    EXPECT_EQ(seen, (Strings{"p0", "p1", "p2", "p3", "p4"}));

    // Removing each item visited: the next index then addresses the item
    // after the next one, and the last indexes fall past the end.
    seen.clear();
    std::vector<Object> removed;
    rt().forEach(Call(doc, "Items"), [&](const Value& v) {
        if (v.isNil()) {
            seen.push_back("nil");
            return true;
        }
        seen.push_back(Str(v.object(), "Text"));
        removed.push_back(v.object());
        rt().call(doc, "RemoveItem", {v});
        return true;
    });
    EXPECT_EQ(seen, (Strings{"p0", "p2", "p4", "late", "late", "nil", "nil", "nil", "nil", "nil"}));
    EXPECT_EQ(Int(doc, "ParagraphCount"), 5);
    for (const Object& p : removed) EXPECT_EQ(Int(p, "RunCount"), 1);

    // Runs removed from the paragraph being walked, and a hyperlink's runs.
    Object p = Call(doc, "Paragraph", {0});
    for (const char* text : {"b", "c", "d"}) rt().call(p, "AppendRun", {text});
    Object link = Call(p, "AppendHyperlink", {"x", "https://example.org"});
    rt().call(link, "AppendRun", {"y"});
    seen.clear();
    rt().forEach(Call(p, "Runs"), [&](const Value& v) {
        seen.push_back(v.isNil() ? "nil" : Str(v.object(), "Text"));
        if (!v.isNil()) rt().call(p, "RemoveParagraphItem", {v});
        return true;
    });
    EXPECT_EQ(seen, (Strings{"p1", "c", "nil", "nil"}));
    seen.clear();
    rt().forEach(Call(link, "Runs"), [&](const Value& v) {
        seen.push_back(v.isNil() ? "nil" : Str(v.object(), "Text"));
        if (!v.isNil()) rt().call(link, "RemoveRun", {v});
        return true;
    });
    EXPECT_EQ(seen, (Strings{"x", "nil"}));
    SaveCopy(doc, "changes-saved.new.docx");
}

// An iterator holds its owner, and through it the document: the walk goes
// on when the host keeps nothing else.
TEST_F(IteratorTest, AnIteratorKeepsItsOwnerAlive) {
    Object runs;
    {
        Object doc = Create("owner.new.docx");
        ASSERT_TRUE(doc);
        Object p = Call(doc, "AppendParagraph", {"kept"});
        rt().call(p, "AppendRun", {" alive"});
        runs = Call(p, "Runs");
    }
    EXPECT_EQ(Texts(runs), (Strings{"kept", " alive"}));
}

// Only objects that declare Iterable can be walked.
TEST_F(IteratorTest, ForEachNeedsAnIterable) {
    Object doc = Create("iterable.new.docx");
    ASSERT_TRUE(doc);
    EXPECT_THROW(rt().forEach(Call(doc, "Paragraph", {0}), [](const Value&) { return true; }),
                 vexrt::UsageError);
}

// Nested for-each loops over a document python-docx wrote (with a
// hyperlink added the way word processors write one): items, the runs of
// each paragraph, the runs of each hyperlink, and each table's rows and
// cells, whose items, paragraphs and tables are walked as those of any
// container (a nested table too), visit what python-docx reads, in the
// same order.
TEST_F(IteratorTest, NestedWalkOverAnotherToolsDocumentReadsWhatPythonDocxReads) {
    SKIP_WITHOUT_PYTHON_DOCX();
    const std::string file = path("python.docx");
    const char* kWrite = R"(import sys, docx
from docx.oxml import OxmlElement
from docx.oxml.ns import qn
d = docx.Document()
p = d.add_paragraph('Intro ')
p.add_run('bold').bold = True
p.add_run(' tail')
t = d.add_table(rows=2, cols=2)
t.cell(0, 0).text = 'a'
t.cell(0, 1).paragraphs[0].add_run('b ')
t.cell(0, 1).paragraphs[0].add_run('bold').bold = True
t.cell(1, 0).add_paragraph('c2')
inner = t.cell(1, 0).add_table(rows=1, cols=2)
inner.cell(0, 0).text = 'n1'
inner.cell(0, 1).text = 'n2'
t.cell(1, 1).text = 'd'
p = d.add_paragraph('See ')
rid = p.part.relate_to('https://example.org/', docx.opc.constants.RELATIONSHIP_TYPE.HYPERLINK, is_external=True)
h = OxmlElement('w:hyperlink')
h.set(qn('r:id'), rid)
for text in ('our ', 'site'):
    r = OxmlElement('w:r'); t_ = OxmlElement('w:t'); t_.text = text; r.append(t_); h.append(r)
p._p.append(h)
p.add_run('.')
d.add_paragraph('')
d.add_paragraph('End')
d.save(sys.argv[1])
)";
    python_docx_run(kWrite, {file});
    // What python-docx reads: per item, "P:" and the texts of its runs and
    // hyperlinks' runs in document order; for a table "T", then "R" per row
    // and "C" per cell, followed by the cell's items, then its paragraph
    // texts and its number of tables.
    const char* kRead = R"(import sys, docx
from docx.oxml.ns import qn
from docx.table import Table
d = docx.Document(sys.argv[1])
def walk(element, parent):
    for child in element.iterchildren():
        if child.tag == qn('w:tbl'):
            print('T')
            for row in Table(child, parent).rows:
                print('R')
                for cell in row.cells:
                    print('C')
                    walk(cell._tc, cell)
                    print('C.paragraphs:' + '|'.join(p.text for p in cell.paragraphs))
                    print('C.tables:' + str(len(cell.tables)))
        elif child.tag == qn('w:p'):
            parts = []
            for item in child.iterchildren():
                if item.tag == qn('w:r'):
                    parts.append('r:' + ''.join(t.text or '' for t in item.iter(qn('w:t'))))
                elif item.tag == qn('w:hyperlink'):
                    parts.append('h:' + '|'.join(''.join(t.text or '' for t in r.iter(qn('w:t'))) for r in item.iterchildren(qn('w:r'))))
            print('P:' + ','.join(parts))
walk(d.element.body, d._body)
)";
    const std::string expected = python_docx_run(kRead, {file});
    ASSERT_FALSE(expected.empty());

    Object doc = rt().callShared("Document", "Open", {folderItem(file)}).object();
    ASSERT_TRUE(doc);
    std::ostringstream walked;
    std::function<void(const Object&)> walkContainer = [&](const Object& container) {
        rt().forEach(Call(container, "Items"), [&](const Value& item) {
            if (rt().isA(item.object(), "VexlomarWord.Table")) {
                walked << "T\n";
                const Object table = item.object();
                for (int64_t r = 0, rows = Int(table, "RowCount"); r < rows; ++r) {
                    walked << "R\n";
                    const Object row = Call(table, "Row", {r});
                    for (int64_t c = 0; Object cell = Call(row, "Cell", {c}); ++c) {
                        walked << "C\n";
                        walkContainer(cell);
                        const Strings texts = Texts(Call(cell, "Paragraphs"));
                        walked << "C.paragraphs:";
                        for (size_t i = 0; i < texts.size(); ++i) walked << (i ? "|" : "") << texts[i];
                        walked << "\n";
                        walked << "C.tables:" << Walk(Call(cell, "Tables")).size() << "\n";
                    }
                }
                return true;
            }
            Strings parts;
            rt().forEach(Call(item.object(), "ParagraphItems"), [&](const Value& pi) {
                if (rt().isA(pi.object(), "VexlomarWord.Hyperlink")) {
                    std::string runs;
                    rt().forEach(Call(pi.object(), "Runs"), [&](const Value& r) {
                        runs += (runs.empty() ? "" : "|") + Str(r.object(), "Text");
                        return true;
                    });
                    parts.push_back("h:" + runs);
                } else {
                    parts.push_back("r:" + Str(pi.object(), "Text"));
                }
                return true;
            });
            std::string line = "P:";
            for (size_t i = 0; i < parts.size(); ++i) line += (i ? "," : "") + parts[i];
            walked << line << "\n";
            return true;
        });
    };
    walkContainer(doc);
    EXPECT_EQ(walked.str(), expected);
    EXPECT_NE(expected.find("P:r:See ,h:our |site,r:."), std::string::npos) << expected;
    // The nested table is there, read as python-docx reads it.
    EXPECT_NE(expected.find("T\nR\nC\nP:r:n1\nC.paragraphs:n1\nC.tables:0\nC\nP:r:n2\n"), std::string::npos)
        << expected;
}
