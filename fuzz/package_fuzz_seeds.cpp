// Writes the first corpus of the package fuzz target into a folder: the
// blank package, a document made through the host with styles, formatted
// runs and fields, and any packages named on the command line. Each is
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

// The package at `from` with every entry stored, written to `to`.
void WriteStored(const std::string& from, const std::string& to) {
    int error = 0;
    zip_t* archive = zip_open(from.c_str(), ZIP_RDONLY, &error);
    if (!archive) throw std::runtime_error("cannot open " + from);
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
            throw std::runtime_error("cannot read entry " + std::to_string(i) + " of " + from);
        }
        entries.push_back(raw_zip::StoredEntry(st.name, bytes));
    }
    zip_discard(archive);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << raw_zip::Write(entries);
    if (!out) throw std::runtime_error("cannot write " + to);
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
