// Two documents used from two threads at once, as a host with two threads
// may do: each thread opens its own package and walks its paragraphs and
// runs by index, in order, again and again, appending and removing runs on
// the way. Each must read its own text, and nothing the walks remember may
// be shared between the documents (CI runs this under ThreadSanitizer).
// The runtime keeps its strings and objects without locks, so the threads
// work at the core, as the members do below the host.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "content/complex_runs.h"
#include "content/document_caches.h"
#include "content/paragraph_items.h"
#include "content/paragraph_text.h"
#include "content/run_text.h"
#include "content/sibling_walk.h"
#include "docx_builder.h"
#include "package/document.h"
#include "plugin_test.h"
#include "run_together.h"

namespace {

constexpr int kParagraphs = 60;
constexpr int kRounds = 300;

// Paragraph i of document `name`: two plain runs, a field whose result is
// "<name>i-f", and one more run; a hyperlink between them.
std::string ParagraphXml(const std::string& name, int i) {
    const std::string tag = name + std::to_string(i);
    return "<w:p><w:r><w:t>" + tag + "-a</w:t></w:r><w:r><w:t>" + tag + "-b</w:t></w:r>"
           "<w:hyperlink><w:r><w:t>link</w:t></w:r></w:hyperlink>"
           "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"
           "<w:r><w:instrText xml:space=\"preserve\"> PAGE </w:instrText></w:r>"
           "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>"
           "<w:r><w:t>" + tag + "-f</w:t></w:r>"
           "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"
           "<w:r><w:t>" + tag + "-c</w:t></w:r></w:p>";
}

// The texts of the logical runs of paragraph i, a field being its result.
std::vector<std::string> LogicalRunTexts(const std::string& name, int i) {
    const std::string tag = name + std::to_string(i);
    return {tag + "-a", tag + "-b", tag + "-f", tag + "-c"};
}

std::string TextOfLogicalRun(pugi::xml_node run, DocumentCaches& caches) {
    const ComplexParts parts = Run_FindComplexParts(run, caches.fieldChars);
    std::string text;
    Run_AppendText(parts.count ? ComplexParts_TextRun(parts) : run, text);
    return text;
}

// One thread's work on its own document; failures are counted, not
// asserted, so that the other thread is never left waiting.
struct Walker {
    std::string name;
    std::string path;
    std::vector<std::string> failures;

    void fail(const std::string& what) {
        if (failures.size() < 10) failures.push_back(name + ": " + what);
    }

    void run() {
        Word::Document doc(path);
        if (doc.Open() != Word::success) return fail("could not open " + path);
        DocumentCaches caches;
        const pugi::xml_node body = doc.documentXml.child("w:document").child("w:body");
        for (int round = 0; round < kRounds; ++round) {
            if (SiblingCount(body, SiblingWalk::Paragraphs) != kParagraphs) return fail("paragraph count");
            for (int i = 0; i < kParagraphs; ++i) {
                const pugi::xml_node p = SiblingAt(body, SiblingWalk::Paragraphs, i, caches.positions);
                const std::vector<std::string> expected = LogicalRunTexts(name, i);
                std::string whole;
                for (const std::string& t : expected) whole += t;
                if (Paragraph_GetText(p) != whole) fail("paragraph " + std::to_string(i) + " reads " + Paragraph_GetText(p));
                for (size_t r = 0; r < expected.size(); ++r) {
                    const pugi::xml_node run = SiblingAt(p, SiblingWalk::LogicalRuns, int64_t(r), caches.positions);
                    const std::string text = TextOfLogicalRun(run, caches);
                    if (text != expected[r])
                        fail("paragraph " + std::to_string(i) + ", run " + std::to_string(r) + " reads " + text);
                }
                // A run added at the end is found after the field, and taken
                // out again.
                if (i == round % kParagraphs) {
                    const std::string extra = name + "-extra" + std::to_string(round);
                    const pugi::xml_node added = InternalAddRun(p, std::string_view(extra), std::nullopt, true);
                    const pugi::xml_node found = SiblingAt(p, SiblingWalk::LogicalRuns, 4, caches.positions);
                    if (found != added || TextOfLogicalRun(found, caches) != extra) fail("appended run");
                    Paragraph_RemoveRuns(p, {added}, caches);
                }
            }
        }
    }
};

class DocumentThreads : public PluginTest {};

}  // namespace

TEST_F(DocumentThreads, TwoDocumentsWalkedFromTwoThreadsEachReadTheirOwnText) {
    Walker walkers[2] = {{"A", path("threads-a.docx"), {}}, {"B", path("threads-b.docx"), {}}};
    for (Walker& w : walkers) {
        std::string body;
        for (int i = 0; i < kParagraphs; ++i) body += ParagraphXml(w.name, i);
        write_docx(w.path, body);
    }
    run_together({[&] { walkers[0].run(); }, [&] { walkers[1].run(); }});
    for (const Walker& w : walkers)
        for (const std::string& failure : w.failures) ADD_FAILURE() << failure;
}
