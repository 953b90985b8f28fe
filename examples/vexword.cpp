// vexword: a command-line host program that drives the plug-in through the
// runtime exactly as a host program would.
//
//   vexword info FILE.docx          core properties, body counts, tables,
//                                   rows and cells, sections, the kinds of
//                                   headers and footers
//   vexword text FILE.docx          the body's paragraph texts, one a line,
//                                   list paragraphs with their labels, a
//                                   table row a line (cells separated by
//                                   tabs), then each header's and footer's
//   vexword links FILE.docx         every hyperlink (where, text, address or
//                                   #anchor) and every bookmark, one a line
//   vexword resave IN.docx OUT.docx open IN and write it to OUT with SaveAs
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <vexrt/runtime.h>

#include "host_program.h"
#include "list_labels.h"
#include "table_text.h"

using vexrt::Object;
using vexrt::Value;

namespace {

int Usage() {
    std::cerr << "usage: vexword info FILE.docx\n"
                 "       vexword text FILE.docx\n"
                 "       vexword links FILE.docx\n"
                 "       vexword resave IN.docx OUT.docx\n";
    return 2;
}

Object Open(vexrt::Runtime& rt, const std::string& path) {
    return rt.callShared("Document", "Open", {rt.makeFolderItem(path)}).object();
}

std::string Show(const Value& v) {
    if (v.isInteger()) return std::to_string(v.integer());
    if (v.isString() || v.isNil()) return v.text();
    return "?";
}

std::string ShowDate(vexrt::Runtime& rt, const Value& v) {
    if (v.isNil()) return "";
    const Object& d = v.object();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld",
                  (long long)rt.hostProperty(d, "Year").integer(), (long long)rt.hostProperty(d, "Month").integer(),
                  (long long)rt.hostProperty(d, "Day").integer(), (long long)rt.hostProperty(d, "Hour").integer(),
                  (long long)rt.hostProperty(d, "Minute").integer(), (long long)rt.hostProperty(d, "Second").integer());
    return buf;
}

bool Has(vexrt::Runtime& rt, const char* className, const char* member) {
    const vexrt::ModuleInfo* m = rt.module();
    const vexrt::ClassInfo* c = m ? m->findClass(className) : nullptr;
    if (!c) return false;
    for (const auto& p : c->properties) if (p.name == member) return true;
    for (const auto& p : c->methods) if (p.name == member) return true;
    return false;
}

const char* const kHeaderFooterTypes[] = {"default", "first", "even"};

// The header (footer) of the final section of each reference type; nil
// where there is none.
std::vector<Object> HeadersOrFooters(vexrt::Runtime& rt, const Object& doc, const char* kind) {
    std::vector<Object> parts;
    for (int type = 0; type < 3; ++type)
        parts.push_back(Has(rt, "Document", kind) ? rt.call(doc, kind, {type, false}).object() : Object());
    return parts;
}

const char* const kSectionStarts[] = {"none", "continuous", "even page", "odd page", "next page", "next column"};

// "8.50 x 11.00 in, portrait, margins 1.00 1.00 1.00 1.00 in (top right
// bottom left), starts: next page".
std::string DescribeSection(vexrt::Runtime& rt, const Object& section) {
    const int kInches = 1;
    auto measure = [&](const char* method) { return rt.call(section, method, {kInches}).number(); };
    char text[256];
    const int64_t start = rt.get(section, "SectionType").integer();
    std::snprintf(text, sizeof text, "%.2f x %.2f in, %s, margins %.2f %.2f %.2f %.2f in (top right bottom left), starts: %s",
                  measure("PageWidth"), measure("PageHeight"),
                  rt.get(section, "PageIsLandscape").boolean() ? "landscape" : "portrait", measure("PageMarginTop"),
                  measure("PageMarginRight"), measure("PageMarginBottom"), measure("PageMarginLeft"),
                  start >= 0 && start <= 5 ? kSectionStarts[start] : "?");
    return text;
}

// Every section in document order: those that end with a paragraph of the
// body, then the final one.
std::vector<Object> Sections(vexrt::Runtime& rt, const Object& doc) {
    std::vector<Object> sections;
    if (!Has(rt, "Document", "DefaultSection")) return sections;
    const int64_t paragraphs = rt.get(doc, "ParagraphCount").integer();
    for (int64_t i = 0; i < paragraphs; ++i) {
        Value section = rt.get(rt.call(doc, "Paragraph", {i}).object(), "Section");
        if (!section.isNil()) sections.push_back(section.object());
    }
    sections.push_back(rt.get(doc, "DefaultSection").object());
    return sections;
}

int Info(vexrt::Runtime& rt, const std::string& path) {
    Object doc = Open(rt, path);
    for (const char* p : {"Title", "Subject", "Creator", "KeyWords", "Description", "LastModifiedBy", "Revision"})
        std::cout << p << ": " << Show(rt.get(doc, p)) << "\n";
    for (const char* p : {"CreatedDate", "ModifiedDate"})
        std::cout << p << ": " << ShowDate(rt, rt.get(doc, p)) << "\n";
    for (const char* p : {"ItemCount", "ParagraphCount", "TableCount"})
        if (Has(rt, "Container", p)) std::cout << p << ": " << rt.get(doc, p).integer() << "\n";
    if (Has(rt, "Table", "RowCount")) {
        const example::TableCounts tables = example::CountTables(rt, doc);
        std::cout << "Tables: " << tables.tables << " (nested included), rows: " << tables.rows
                  << ", cells: " << tables.cells << "\n";
    }
    const std::vector<Object> sections = Sections(rt, doc);
    for (size_t i = 0; i < sections.size(); ++i)
        std::cout << "Section " << i + 1 << ": " << DescribeSection(rt, sections[i]) << "\n";
    for (const char* kind : {"Header", "Footer"}) {
        const std::vector<Object> parts = HeadersOrFooters(rt, doc, kind);
        std::string kinds;
        for (int type = 0; type < 3; ++type)
            if (parts[type]) kinds += std::string(kinds.empty() ? "" : ", ") + kHeaderFooterTypes[type];
        std::cout << kind << "s: " << (kinds.empty() ? "none" : kinds) << "\n";
    }
    return 0;
}

int Text(vexrt::Runtime& rt, const std::string& path) {
    Object doc = Open(rt, path);
    // The runtime opened the package, so it can be read for its lists too.
    const example::PackageLabels labels = example::PackageLabels_Read(path);
    for (const auto& t : example::ContainerLines(rt, doc, labels.body, labels.bodyCells)) std::cout << t << "\n";
    for (const char* kind : {"Header", "Footer"}) {
        const std::vector<Object> parts = HeadersOrFooters(rt, doc, kind);
        const bool headers = std::strcmp(kind, "Header") == 0;
        const example::StoryLabels* stories = headers ? labels.headers : labels.footers;
        const example::CellLabels* cells = headers ? labels.headerCells : labels.footerCells;
        for (int type = 0; type < 3; ++type) {
            if (!parts[type]) continue;
            std::cout << "--- " << kind << " (" << kHeaderFooterTypes[type] << ") ---\n";
            for (const auto& t : example::ContainerLines(rt, parts[type], stories[type], cells[type]))
                std::cout << t << "\n";
        }
    }
    return 0;
}

// "body: the guide -> https://example.com/guide.html", anchor links as
// "-> #name"; a hyperlink field shows its instruction's data after
// "(field)".
void ListLinks(vexrt::Runtime& rt, const Object& container, const std::string& where) {
    const int kHyperlinkField = 3;
    const int64_t paragraphs = rt.get(container, "ParagraphCount").integer();
    for (int64_t i = 0; i < paragraphs; ++i) {
        Object p = rt.call(container, "Paragraph", {i}).object();
        const int64_t items = rt.get(p, "LogicalParagraphItemCount").integer();
        for (int64_t j = 0; j < items; ++j) {
            Object item = rt.call(p, "LogicalParagraphItem", {j}).object();
            if (!item) continue;
            if (example::IsHyperlink(rt, item)) {
                const bool anchor = rt.get(item, "LinkToAnchor").boolean();
                std::cout << where << ": " << example::HyperlinkText(rt, item) << " -> " << (anchor ? "#" : "")
                          << rt.get(item, "Address").text() << "\n";
            } else if (rt.get(item, "IsPartOfComplexRun").boolean() &&
                       rt.get(item, "ComplexRunFieldType").integer() == kHyperlinkField) {
                std::cout << where << ": " << rt.get(item, "Text").text() << " -> (field) "
                          << rt.get(item, "ComplexRunFieldData").text() << "\n";
            }
        }
    }
}

int Links(vexrt::Runtime& rt, const std::string& path) {
    if (!Has(rt, "Hyperlink", "Address")) return 0;
    Object doc = Open(rt, path);
    ListLinks(rt, doc, "body");
    for (const char* kind : {"Header", "Footer"}) {
        const std::vector<Object> parts = HeadersOrFooters(rt, doc, kind);
        for (int type = 0; type < 3; ++type)
            if (parts[type])
                ListLinks(rt, parts[type], std::string(kind[0] == 'H' ? "header" : "footer") + " (" +
                                               kHeaderFooterTypes[type] + ")");
    }
    Object bookmarks = rt.call(doc, "GetBookmarks").object();
    for (size_t i = 0; i < rt.arrayCount(bookmarks); ++i)
        std::cout << "bookmark: " << rt.get(rt.arrayItem(bookmarks, i), "Name").text() << "\n";
    return 0;
}

int Resave(vexrt::Runtime& rt, const std::string& in, const std::string& out) {
    Object doc = Open(rt, in);
    rt.call(doc, "SaveAs", {rt.makeFolderItem(out)});
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string cmd = argv[1];
    try {
        vexrt::Runtime rt;
        rt.loadPlugin(example::PluginPath());
        if (cmd == "info" && argc == 3) return Info(rt, argv[2]);
        if (cmd == "text" && argc == 3) return Text(rt, argv[2]);
        if (cmd == "links" && argc == 3) return Links(rt, argv[2]);
        if (cmd == "resave" && argc == 4) return Resave(rt, argv[2], argv[3]);
        return Usage();
    } catch (const vexrt::HostException& e) {
        std::cerr << "vexword: " << example::Describe(e) << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "vexword: " << e.what() << "\n";
        return 1;
    }
}
