// Shared by the tests of styles through the runtime: style lists as
// vectors, and the styles part of a saved copy.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "../content/paragraph_fixture.h"
#include "xml_snippets.h"

class StyleFixture : public ParagraphFixture {
protected:
    // The items of a host array result.
    std::vector<Object> Items(const Object& array) {
        std::vector<Object> items;
        for (size_t i = 0; i < rt().arrayCount(array); ++i) items.push_back(rt().arrayItem(array, i));
        return items;
    }
    std::vector<Object> List(const Object& doc, const char* method, const std::vector<Value>& args = {}) {
        return Items(Call(doc, method, args));
    }
    // The ids of the styles a list method gives.
    std::vector<std::string> Ids(const Object& doc, const char* method, const std::vector<Value>& args = {}) {
        std::vector<std::string> ids;
        for (const Object& style : List(doc, method, args))
            ids.push_back(rt().isA(style, "VexlomarWord.Style") ? Str(style, "Id") : "");
        return ids;
    }

    // Saves a fresh copy of `doc` and loads its styles part into `out`;
    // returns the "w:styles" element.
    pugi::xml_node SavedStyles(const Object& doc, pugi::xml_document& out) {
        const std::string file =
            "copy" + std::to_string(++copies_) + (IsFromScratch(doc) ? kFromScratchSuffix : ".docx");
        SaveCopy(doc, file);
        const std::string xml = zip_read(path(file), "word/styles.xml");
        EXPECT_TRUE(out.load_buffer(xml.data(), xml.size()));
        return out.child("w:styles");
    }
    // The saved "w:style" of that id (any type); empty when none.
    pugi::xml_node SavedStyle(const Object& doc, pugi::xml_document& out, const std::string& id) {
        return SavedStyles(doc, out).find_child_by_attribute("w:style", "w:styleId", id.c_str());
    }

    // The element names of a node's children, in order.
    static std::vector<std::string> ChildNames(pugi::xml_node node) {
        std::vector<std::string> names;
        for (pugi::xml_node child : node.children()) names.push_back(child.name());
        return names;
    }

private:
    int copies_ = 0;
};
