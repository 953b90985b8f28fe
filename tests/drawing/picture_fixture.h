// Shared by the tests of pictures: pictures made in the test, added through
// the host members, and the saved XML looked into.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "../content/paragraph_fixture.h"
#include "image_files.h"
#include "package_checker.h"

class PictureFixture : public ParagraphFixture {
protected:
    enum { kNone = 0, kPng = 1, kJpeg = 2, kUnknown = 10 };

    // A striped picture of that size.
    static std::string Png(uint32_t width, uint32_t height, uint32_t colour = 0x2060C0) {
        return example::Png_Encode(example::RgbImage_Draw(
            width, height, [&](uint32_t x, uint32_t y) { return (x / 4 + y / 4) % 2 ? colour : 0xFFFFFFu; }));
    }
    static std::string Jpeg(uint32_t width, uint32_t height) {
        return example::Jpeg_Encode(
            example::RgbImage_Draw(width, height, [&](uint32_t x, uint32_t y) { return (x * 255 / width) << 16 | (y * 255 / height); }));
    }

    // Picture bytes as host programs pass them: a string without encoding.
    Value Bytes(const std::string& bytes) { return rt().makeString(bytes, kREALTextEncodingNone); }

    // Paragraph.AppendRun with a picture.
    Object AddPicture(const Object& paragraph, const std::string& bytes, int type, const Value& name, int64_t width,
                      int64_t height) {
        return Call(paragraph, "AppendRun", {Bytes(bytes), type, name, width, height});
    }
    // Container.AppendParagraph with a picture.
    Object AddPictureParagraph(const Object& container, const std::string& bytes, int type, const Value& name,
                               int64_t width, int64_t height) {
        return Call(container, "AppendParagraph", {Bytes(bytes), type, name, width, height});
    }
    // The drawing of a paragraph's index-th run.
    Object DrawingOf(const Object& paragraph, int64_t run = 0) {
        Object r = Call(paragraph, "Run", {run});
        return r ? rt().get(r, "Drawing").object() : Object();
    }
    std::string DataOf(const Object& drawing) { return rt().get(drawing, "PictureData").text(); }

    // One entry of a saved file, parsed.
    static pugi::xml_document Parsed(const std::string& file, const std::string& entry) {
        pugi::xml_document xml;
        const std::string bytes = zip_read(file, entry);
        EXPECT_TRUE(xml.load_buffer(bytes.data(), bytes.size())) << entry;
        return xml;
    }
    static bool HasEntry(const std::string& file, const std::string& entry) {
        for (const std::string& name : zip_entries(file))
            if (name == entry) return true;
        return false;
    }
    // Id -> Target of the relationships of a part.
    static std::vector<std::pair<std::string, std::string>> Relationships(const std::string& file,
                                                                          const std::string& relsEntry) {
        std::vector<std::pair<std::string, std::string>> rels;
        pugi::xml_document xml = Parsed(file, relsEntry);
        for (pugi::xml_node rel : xml.document_element().children("Relationship"))
            rels.emplace_back(rel.attribute("Id").value(), rel.attribute("Target").value());
        return rels;
    }
    static bool Relates(const std::string& file, const std::string& relsEntry, const std::string& id,
                        const std::string& target) {
        for (const auto& rel : Relationships(file, relsEntry))
            if (rel.first == id && rel.second == target) return true;
        return false;
    }
    static size_t CountRelationshipsTo(const std::string& file, const std::string& relsEntry,
                                       const std::string& target) {
        size_t n = 0;
        for (const auto& rel : Relationships(file, relsEntry)) n += rel.second == target;
        return n;
    }

    // The package checker passes a file the test wrote; its report if not.
    void ExpectCheckerPasses(const std::string& file, bool strict) {
        EXPECT_EQ(package_check_failures(file, strict), "");
    }
};
