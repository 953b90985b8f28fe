// Shared by the shape tests: a paragraph to anchor shapes in, the saved
// main part parsed, and the shape enumerations by name.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "../content/paragraph_fixture.h"
#include "package_checker.h"

enum { kEmu = 0, kInches = 1, kCm = 2 };
enum {
    kUnknown = -1, kRectangle = 0, kRoundedRectangle = 1, kEllipse = 2, kLine = 3, kTriangle = 4,
    kHexagon = 6, kOctagon = 8, kParallelogram = 13, kCloud = 15, kEllipseCallout = 16, kTeardrop = 17,
};

class ShapeFixture : public ParagraphFixture {
protected:
    // A new document (made as "made-" + file, so that copies may be saved
    // under `file`) and its first body paragraph.
    Opened NewParagraph(const std::string& file) {
        Object doc = Create("made-" + file);
        Object paragraph = doc ? Call(doc, "AppendParagraph", {"Anchor"}) : Object();
        return {doc, paragraph};
    }
    Object AppendShape(const Object& paragraph, int type, double x, double y, double cx, double cy, int unit,
                       const char* method = "AppendShape") {
        return Call(paragraph, method, {type, x, y, cx, cy, unit});
    }
    double Measure(const Object& shape, const char* method, int unit) {
        return rt().call(shape, method, {unit}).number();
    }
    uint32_t ColorOf(const Object& shape, const char* property) { return rt().get(shape, property).color().value; }
    void SetColor(const Object& shape, const char* property, uint32_t value) {
        rt().set(shape, property, vexrt::Color{value});
    }

    // Saves a copy and parses its main part into `xml`.
    pugi::xml_node SavedBody(const Object& doc, const std::string& file, pugi::xml_document& xml) {
        SaveCopy(doc, file);
        const std::string bytes = zip_read(path(file), "word/document.xml");
        EXPECT_TRUE(xml.load_buffer(bytes.data(), bytes.size()));
        return xml.child("w:document").child("w:body");
    }
    // The checker's verdict on a file this test wrote (strict for one made
    // from scratch); "" when it passed without order warnings.
    std::string CheckerFailures(const std::string& file) {
        return package_check_failures(path(file), is_from_scratch_name(file), true);
    }
};
