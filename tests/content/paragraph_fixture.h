// Shared by the tests of paragraphs, runs and fields: packages built from a
// body snippet, the pieces of complex fields, and the saved XML of a body.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "docx_builder.h"
#include "plugin_test.h"
#include "xml_snippets.h"

// Runs of a complex field, as word processors write them.
inline std::string TextRun(const std::string& text) { return "<w:r><w:t>" + text + "</w:t></w:r>"; }
inline std::string FieldChar(const char* type) {
    return std::string("<w:r><w:fldChar w:fldCharType=\"") + type + "\"/></w:r>";
}
inline std::string InstrRun(const std::string& instruction) {
    return "<w:r><w:instrText xml:space=\"preserve\">" + instruction + "</w:instrText></w:r>";
}
// begin, instruction, separate, result, end.
inline std::string Field(const std::string& instruction, const std::string& result) {
    return FieldChar("begin") + InstrRun(instruction) + FieldChar("separate") + TextRun(result) + FieldChar("end");
}

class ParagraphFixture : public PluginTest {
protected:
    using Object = vexrt::Object;
    using Value = vexrt::Value;

    struct Opened {
        Object doc;
        Object paragraph;  // the body's first paragraph
    };

    // Opens a package whose body holds `body` and the final w:sectPr. Files
    // whose content a docx checker would not pass must not end in .docx;
    // nor may a package built here (or its copies) pass for one made from
    // scratch.
    Object OpenBody(const std::string& file, const std::string& body) {
        EXPECT_FALSE(is_from_scratch_name(file)) << file << ": not made from scratch";
        write_docx(path(file), body);
        return rt().callShared("Document", "Open", {folderItem(path(file))}).object();
    }
    // A body of one paragraph holding `inner`.
    Opened OpenParagraph(const std::string& file, const std::string& inner) {
        Object doc = OpenBody(file, "<w:p>" + inner + "</w:p>");
        Object paragraph = doc ? rt().call(doc, "Paragraph", {0}).object() : Object();
        return {doc, paragraph};
    }
    // A new document from the blank package. What is made from scratch is
    // named *.new.docx (kFromScratchSuffix), as is every copy SaveCopy
    // writes of it.
    Object Create(const std::string& file) {
        ExpectFromScratchName(file);
        Object doc = rt().callShared("Document", "Create", {folderItem(path(file))}).object();
        if (doc) fromScratch_.push_back(doc.get());
        return doc;
    }
    bool IsFromScratch(const Object& doc) const {
        return std::find(fromScratch_.begin(), fromScratch_.end(), doc.get()) != fromScratch_.end();
    }
    // Saves a copy of the document under `file` in this test's folder.
    void SaveCopy(const Object& doc, const std::string& file) {
        if (IsFromScratch(doc))
            ExpectFromScratchName(file);
        else
            EXPECT_FALSE(is_from_scratch_name(file)) << file << ": not made from scratch";
        rt().call(doc, "SaveAs", {folderItem(path(file))});
    }

    int64_t Int(const Object& o, const char* property) { return rt().get(o, property).integer(); }
    bool Bool(const Object& o, const char* property) { return rt().get(o, property).boolean(); }
    std::string Str(const Object& o, const char* property) { return rt().get(o, property).text(); }
    Object Call(const Object& o, const char* method, const std::vector<Value>& args = {}) {
        return rt().call(o, method, args).object();
    }

    // Saves a copy under `file` and returns the body's paragraphs, each
    // printed without indentation.
    std::vector<std::string> SavedParagraphs(const Object& doc, const std::string& file) {
        SaveCopy(doc, file);
        const std::string xml = zip_read(path(file), "word/document.xml");
        pugi::xml_document parsed;
        EXPECT_TRUE(parsed.load_buffer(xml.data(), xml.size()));
        std::vector<std::string> paragraphs;
        for (pugi::xml_node p : parsed.child("w:document").child("w:body").children("w:p"))
            paragraphs.push_back(xml_print(p));
        return paragraphs;
    }

private:
    static void ExpectFromScratchName(const std::string& file) {
        EXPECT_TRUE(is_from_scratch_name(file) || !is_docx_name(file))
            << file << ": made from scratch, so named *" << kFromScratchSuffix;
    }

    // The documents Create made, by identity only (no count is held).
    std::vector<REALobject> fromScratch_;
};
