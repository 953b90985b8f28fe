// Writes the first corpus of the package fuzz target into a folder: the
// blank package, a document made through the host with styles, formatted
// runs and fields, damaged and unusual variants of the blank package, and
// any packages named on the command line. Each is
// written again with its entries stored, so the fuzz target's mutator can
// change their bytes.
//
//   package_fuzz_seeds FOLDER [PACKAGE...]
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <vexrt/runtime.h>
#include <zip.h>

#include "package/blank_package.h"
#include "raw_zip.h"

extern "C" void REALPluginMain(REALResolverProc resolver);

namespace {

void WriteMadeDocument(vexrt::Runtime& rt, const std::string& path) {
    std::remove(path.c_str());
    vexrt::Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(path)}).object();
    rt.set(doc, "Title", "Fuzz seed");
    vexrt::Object heading =
        rt.call(doc, "AddNewParagraphStyle", {"SeedHeading", "Seed Heading", vexrt::Nil{}}).object();
    rt.set(heading, "Bold", 1);
    rt.set(rt.call(doc, "AppendParagraph", {"Heading"}).object(), "Style", heading);
    vexrt::Object p = rt.call(doc, "AppendParagraph", {"plain "}).object();
    rt.set(rt.call(p, "AppendRun", {"bold"}).object(), "Bold", 1);
    rt.set(rt.call(p, "AppendRun", {"tab\there\rline"}).object(), "Italic", 1);
    vexrt::Object fields = rt.call(doc, "AppendParagraph", {"fields: "}).object();
    rt.call(fields, "AppendHyperlinkField", {"a link", "https://example.com/"});
    rt.call(fields, "AppendTimeField", {10, 30, 0});
    rt.call(fields, "AppendDateField", {rt.makeDateTime(2024, 5, 6, 0, 0, 0, 0)});
    rt.call(doc, "Save");
}

// The entries of the package at `path`, inflated and made stored, in
// archive order.
std::vector<raw_zip::Entry> ReadStored(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive) throw std::runtime_error("cannot open " + path);
    std::vector<raw_zip::Entry> entries;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_file_t* file = zip_stat_index(archive, zip_uint64_t(i), 0, &st) == 0
                               ? zip_fopen_index(archive, zip_uint64_t(i), 0)
                               : nullptr;
        std::string bytes(file ? size_t(st.size) : 0, '\0');
        const bool read = file && zip_fread(file, &bytes[0], st.size) == zip_int64_t(st.size);
        if (file) zip_fclose(file);
        if (!read) {
            zip_discard(archive);
            throw std::runtime_error("cannot read entry " + std::to_string(i) + " of " + path);
        }
        entries.push_back(raw_zip::StoredEntry(st.name, bytes));
    }
    zip_discard(archive);
    return entries;
}

void WriteEntries(const std::vector<raw_zip::Entry>& entries, const std::string& to) {
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << raw_zip::Write(entries);
    if (!out) throw std::runtime_error("cannot write " + to);
}

// The package at `from` with every entry stored, written to `to`.
void WriteStored(const std::string& from, const std::string& to) { WriteEntries(ReadStored(from), to); }

// `entries` with the named entry's bytes changed by `change` (an entry
// left empty is dropped).
template <typename Change>
std::vector<raw_zip::Entry> Changed(std::vector<raw_zip::Entry> entries, const std::string& name, Change change) {
    std::vector<raw_zip::Entry> out;
    for (raw_zip::Entry& e : entries) {
        if (e.name != name) {
            out.push_back(e);
            continue;
        }
        std::string bytes = e.data;
        change(bytes);
        if (!bytes.empty()) out.push_back(raw_zip::StoredEntry(name, bytes));
    }
    return out;
}

void Insert(std::string& xml, const std::string& after, const std::string& what) {
    const size_t at = xml.find(after);
    if (at != std::string::npos) xml.insert(at + after.size(), what);
}

// Seeds of the damage and the unusual packages the opening must judge:
// attributes given twice, junk after the root, bad bytes in names, a broken
// entry the library never parses, control characters in targets, unended
// fields, a body without section properties, a main part under another
// name, a main part without relationships, a foreign prefix.
void WriteDamagedSeeds(const std::string& blank, const std::string& folder) {
    const std::vector<raw_zip::Entry> entries = ReadStored(blank);
    const std::string main = "word/document.xml", rels = "word/_rels/document.xml.rels";
    WriteEntries(Changed(entries, main, [](std::string& x) { Insert(x, "<w:body", " w:a=\"1\" w:a=\"2\""); }),
                 folder + "/damaged-attribute-twice");
    WriteEntries(Changed(entries, main, [](std::string& x) { x += "<junk/>after"; }), folder + "/damaged-junk-after-root");
    WriteEntries(Changed(entries, main, [](std::string& x) { Insert(x, "<w:body>", "<w:p\xC3\x28/>"); }),
                 folder + "/damaged-bad-bytes-in-a-name");
    std::vector<raw_zip::Entry> broken = entries;
    broken.push_back(raw_zip::StoredEntry("word/media/broken.bin", std::string(64, 'x')));
    broken.back().crc ^= 1;
    WriteEntries(broken, folder + "/damaged-entry-never-parsed");
    WriteEntries(Changed(entries, rels,
                         [](std::string& x) {
                             Insert(x, "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">",
                                    "<Relationship Id=\"rIdCtl\" Type=\"http://schemas.openxmlformats.org/"
                                    "officeDocument/2006/relationships/header\" Target=\"header1.xml%00\"/>");
                         }),
                 folder + "/damaged-control-character-target");
    WriteEntries(Changed(entries, main,
                         [](std::string& x) {
                             std::string fields;
                             for (int i = 0; i < 200; ++i) fields += "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>";
                             Insert(x, "<w:body>", "<w:p>" + fields + "<w:r><w:t>x</w:t></w:r></w:p>");
                         }),
                 folder + "/unended-fields");
    WriteEntries(Changed(entries, main,
                         [](std::string& x) {
                             const size_t start = x.find("<w:sectPr"), end = x.find("</w:sectPr>");
                             if (start != std::string::npos && end != std::string::npos)
                                 x.erase(start, end + 11 - start);
                         }),
                 folder + "/body-without-section-properties");
    WriteEntries(Changed(entries, rels, [](std::string& x) { x.clear(); }), folder + "/main-part-without-relationships");
    WriteEntries(Changed(entries, main,
                         [](std::string& x) {
                             for (size_t at = 0; (at = x.find("w:", at)) != std::string::npos; at += 4)
                                 x.replace(at, 2, "ns0:");
                             for (size_t at = 0; (at = x.find("xmlns:ns0:", at)) != std::string::npos;)
                                 x.replace(at, 10, "xmlns:");
                         }),
                 folder + "/foreign-prefix");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [PACKAGE...]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    try {
        const std::string blank = folder + "/blank.tmp", made = folder + "/made.tmp";
        std::remove(blank.c_str());
        if (!WriteBlankPackage(blank.c_str())) throw std::runtime_error("cannot write " + blank);
        {
            vexrt::Runtime rt;
            rt.loadLinked(&REALPluginMain);
            WriteMadeDocument(rt, made);
        }
        WriteStored(blank, folder + "/blank-package");
        WriteStored(made, folder + "/made-document");
        WriteDamagedSeeds(folder + "/blank-package", folder);
        std::remove(blank.c_str());
        std::remove(made.c_str());
        for (int i = 2; i < argc; ++i) {
            try {
                WriteStored(argv[i], folder + "/given-" + std::to_string(i - 1));
            } catch (const std::exception& e) {
                std::fprintf(stderr, "skipped: %s\n", e.what());
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
