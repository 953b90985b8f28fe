// Shared by the table tests: the saved document parsed back, and short
// names for the calls tables take.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "../content/paragraph_fixture.h"
#include "xml_snippets.h"

class TableFixture : public ParagraphFixture {
protected:
    // Saves a copy (named after the document's kind, or with `suffix` for
    // damaged ones) and parses its main part into `out`; returns "w:body".
    pugi::xml_node SavedBody(const Object& doc, pugi::xml_document& out, const char* suffix = nullptr) {
        const std::string file = "copy" + std::to_string(++copies_) +
                                 (suffix ? suffix : IsFromScratch(doc) ? kFromScratchSuffix : ".docx");
        SaveCopy(doc, file);
        lastCopy_ = path(file);
        const std::string xml = zip_read(lastCopy_, "word/document.xml");
        EXPECT_TRUE(out.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata));
        return out.child("w:document").child("w:body");
    }
    const std::string& LastCopy() const { return lastCopy_; }

    // The element names of a node's element children, in order.
    static std::vector<std::string> ChildNames(pugi::xml_node node) {
        std::vector<std::string> names;
        for (pugi::xml_node child : node.children())
            if (child.type() == pugi::node_element) names.push_back(child.name());
        return names;
    }
    using Names = std::vector<std::string>;

    Object AppendTable(const Object& container, int columns, int rows) {
        return Call(container, "AppendTable", {columns, rows});
    }
    Object CellOf(const Object& table, int column, int row) { return Call(table, "Cell", {column, row}); }
    // Puts `text` into the cell's first paragraph.
    void Fill(const Object& cell, const std::string& text) {
        rt().call(Call(cell, "Paragraph", {0}), "AppendRun", {text});
    }
    std::string CellText(const Object& cell) { return Str(Call(cell, "Paragraph", {0}), "Text"); }

    double Number(const vexrt::Value& v) { return v.isDouble() ? v.number() : double(v.integer()); }

private:
    int copies_ = 0;
    std::string lastCopy_;
};
