// The Document class as host programs use it: create, open, save, save as,
// and the core properties, through the loaded plug-in.
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "docx_builder.h"
#include "plugin_test.h"

namespace fs = std::filesystem;
using vexrt::HostException;
using vexrt::Object;
using vexrt::Value;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class DocumentTest : public PluginTest {
protected:
    Object Create(const std::string& name) {
        return rt().callShared("Document", "Create", {folderItem(path(name))}).object();
    }
    Object Open(const std::string& file) {
        return rt().callShared("Document", "Open", {folderItem(file)}).object();
    }
    std::string Text(const Object& doc, const char* property) { return rt().get(doc, property).text(); }
};

const char* const kStringProperties[] = {"Creator", "LastModifiedBy", "Title", "Subject", "Description", "KeyWords"};

}  // namespace

TEST_F(DocumentTest, CreatedDocumentCarriesTheBlankCorePropertiesDatedNow) {
    const std::time_t before = std::time(nullptr);
    Object doc = Create("blank.docx");
    const std::time_t after = std::time(nullptr);
    ASSERT_TRUE(doc);
    EXPECT_EQ(Text(doc, "Creator"), "Vexlomar Word document Generator");
    EXPECT_EQ(Text(doc, "LastModifiedBy"), "Vexlomar Word document Generator");
    EXPECT_EQ(Text(doc, "Title"), "");
    EXPECT_EQ(rt().get(doc, "Revision").integer(), 1);

    // Created and modified when Create ran, in local time with its offset,
    // not the blank package's dates.
    for (const char* property : {"CreatedDate", "ModifiedDate"}) {
        SCOPED_TRACE(property);
        Object date = rt().get(doc, property).object();
        ASSERT_TRUE(date);
        std::tm t{};
        t.tm_year = static_cast<int>(rt().hostProperty(date, "Year").integer()) - 1900;
        t.tm_mon = static_cast<int>(rt().hostProperty(date, "Month").integer()) - 1;
        t.tm_mday = static_cast<int>(rt().hostProperty(date, "Day").integer());
        t.tm_hour = static_cast<int>(rt().hostProperty(date, "Hour").integer());
        t.tm_min = static_cast<int>(rt().hostProperty(date, "Minute").integer());
        t.tm_sec = static_cast<int>(rt().hostProperty(date, "Second").integer());
        const int64_t offset = rt().hostProperty(rt().hostProperty(date, "Timezone").object(), "SecondsFromGMT").integer();
        const std::time_t when = timegm(&t) - offset;
        EXPECT_GE(when, before - 1);
        EXPECT_LE(when, after + 1);
    }
}

TEST_F(DocumentTest, CorePropertiesSurviveSaveAndReopenAndASecondSaveChangesNothing) {
    const std::string file = path("properties.docx");
    {
        Object doc = Create("properties.docx");
        for (const char* p : kStringProperties) rt().set(doc, p, std::string(p) + " – Grüße <&> \"東京\"");
        rt().set(doc, "Revision", 5);
        rt().set(doc, "CreatedDate", rt().makeDateTime(2024, 2, 29, 13, 5, 9, -5 * 3600));
        rt().set(doc, "ModifiedDate", rt().makeDateTime(2024, 3, 1, 8, 0, 0, 0));
        rt().call(doc, "Save");
    }
    const std::string core = zip_read(file, "docProps/core.xml");
    EXPECT_NE(core.find(">2024-02-29T13:05:09-05:00<"), std::string::npos) << core;
    EXPECT_NE(core.find(">2024-03-01T08:00:00Z<"), std::string::npos) << core;

    const std::vector<std::string> expectedOrder = {
        "word/document.xml", "docProps/core.xml", "word/styles.xml", "word/_rels/document.xml.rels",
        "[Content_Types].xml", "_rels/.rels", "word/theme/theme1.xml", "word/settings.xml",
        "word/webSettings.xml", "word/fontTable.xml", "docProps/app.xml"};
    EXPECT_EQ(zip_entries(file), expectedOrder);

    std::map<std::string, std::string> first;
    for (const auto& name : zip_entries(file)) first[name] = zip_read(file, name);
    {
        Object doc = Open(file);
        for (const char* p : kStringProperties) EXPECT_EQ(Text(doc, p), std::string(p) + " – Grüße <&> \"東京\"");
        EXPECT_EQ(rt().get(doc, "Revision").integer(), 5);
        Object created = rt().get(doc, "CreatedDate").object();
        EXPECT_EQ(rt().hostProperty(created, "Day").integer(), 29);
        EXPECT_EQ(rt().hostProperty(created, "Second").integer(), 9);
        EXPECT_EQ(rt().hostProperty(rt().hostProperty(created, "Timezone").object(), "SecondsFromGMT").integer(),
                  -5 * 3600);
        rt().call(doc, "Save");
    }
    EXPECT_EQ(zip_entries(file), expectedOrder);
    for (const auto& [name, bytes] : first) EXPECT_EQ(zip_read(file, name), bytes) << name;
}

TEST_F(DocumentTest, CorePartIsMadeOnlyWhenAPropertyIsSet) {
    DocxParts parts;
    parts.body = "<w:p><w:r><w:t>no core</w:t></w:r></w:p>";
    write_docx(path("nocore.docx"), parts);
    {
        Object doc = Open(path("nocore.docx"));
        EXPECT_TRUE(rt().get(doc, "Title").isNil());
        EXPECT_EQ(rt().get(doc, "Revision").integer(), 0);
        EXPECT_TRUE(rt().get(doc, "CreatedDate").isNil());
        rt().call(doc, "Save");
    }
    auto entries = zip_entries(path("nocore.docx"));
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "docProps/core.xml"), 0);
    {
        Object doc = Open(path("nocore.docx"));
        rt().set(doc, "KeyWords", "alpha beta");
        EXPECT_EQ(rt().get(doc, "Revision").integer(), 1);
        EXPECT_EQ(Text(doc, "Description"), "");
        EXPECT_TRUE(rt().get(doc, "CreatedDate").object());
        rt().call(doc, "Save");
    }
    Object doc = Open(path("nocore.docx"));
    EXPECT_EQ(Text(doc, "KeyWords"), "alpha beta");
}

TEST_F(DocumentTest, NilAndUnconvertibleValuesAreHandledAsDocumented) {
    Object doc = Create("values.docx");
    rt().set(doc, "Title", "kept");
    // A string the host cannot give as UTF-8 changes nothing.
    rt().set(doc, "Title", rt().makeString("x", kREALTextEncodingUnconvertible));
    EXPECT_EQ(Text(doc, "Title"), "kept");
    rt().set(doc, "Title", vexrt::Nil{});
    EXPECT_EQ(Text(doc, "Title"), "");

    HostException e = raised([&] { rt().set(doc, "CreatedDate", vexrt::Nil{}); });
    EXPECT_EQ(e.className(), "InvalidArgumentException");
    EXPECT_EQ(e.message(), "Value for Date may not be nil");
    EXPECT_EQ(e.errorNumber(), 0);
    EXPECT_GE(rt().hostProperty(rt().get(doc, "CreatedDate").object(), "Year").integer(), 2026);
}

TEST_F(DocumentTest, OpenAndCreateRejectBadFiles) {
    struct Case {
        std::string name;
        std::string bytes;  // empty: write_docx with `parts`
        DocxParts parts;
        std::string message;
        int64_t number;
    };
    DocxParts noDocument;
    noDocument.omit = {"word/document.xml"};
    DocxParts malformed;
    malformed.overrides["word/document.xml"] = "<w:document><w:body></w:document>";
    DocxParts missingHeader;
    missingHeader.documentRelationships =
        "<Relationship Id=\"rId99\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/header\" "
        "Target=\"header9.xml\"/>";
    write_docx(path("complete.zip"), "<w:p/>");
    const std::string complete = ReadFile(path("complete.zip"));

    const std::vector<Case> cases = {
        {"not-a-zip.zip", "this is plain text, not a package", {}, "Error opening word document", -4},
        {"truncated.zip", complete.substr(0, complete.size() / 2), {}, "Error opening word document", -4},
        {"no-document.zip", "", noDocument, "Could not open internal file in document: word/document.xml", -3},
        {"malformed.zip", "", malformed, "Error could not parse document: word/document.xml", -7},
        {"missing-header.zip", "", missingHeader, "Could not open internal file in document: word/header9.xml", -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes.empty()) {
            write_docx(path(c.name), c.parts);
        } else {
            std::ofstream(path(c.name), std::ios::binary) << c.bytes;
        }
        HostException e = raised([&] { Open(path(c.name)); });
        EXPECT_EQ(e.className(), "VexlomarWord.WordException");
        EXPECT_EQ(e.message(), c.message);
        EXPECT_EQ(e.errorNumber(), c.number);
    }
    EXPECT_EQ(rt().liveObjectCensus().count("VexlomarWord.Document"), 0u);

    HostException missing = raised([&] { Open(path("nowhere.docx")); });
    EXPECT_EQ(missing.message(), "File does not exist");
    EXPECT_EQ(missing.errorNumber(), -2);

    HostException nilFile = raised([&] { rt().callShared("Document", "Open", {vexrt::Nil{}}); });
    EXPECT_EQ(nilFile.className(), "InvalidArgumentException");
    EXPECT_EQ(nilFile.message(), "Parameter f may not be nil");
    EXPECT_EQ(nilFile.errorNumber(), 1);

    HostException exists = raised([&] { Create("complete.zip"); });
    EXPECT_EQ(exists.message(), "File already exist");
    EXPECT_EQ(exists.errorNumber(), -12);
    EXPECT_EQ(ReadFile(path("complete.zip")), complete);

    HostException cannot = raised([&] { Create("no/such/folder/new.docx"); });
    EXPECT_EQ(cannot.message(), "Could not create file");
    EXPECT_EQ(cannot.errorNumber(), -14);
}

TEST_F(DocumentTest, SaveAsWritesACopyAndNeverOverwrites) {
    Object doc = Create("original.docx");
    rt().set(doc, "Title", "copy");
    rt().call(doc, "SaveAs", {folderItem(path("copy.docx"))});
    const std::string original = ReadFile(path("original.docx"));
    const std::string copy = ReadFile(path("copy.docx"));
    EXPECT_NE(zip_read(path("copy.docx"), "docProps/core.xml").find("<dc:title>copy</dc:title>"), std::string::npos);
    // The document stays bound to its own file, which has not changed.
    EXPECT_EQ(zip_read(path("original.docx"), "docProps/core.xml").find("<dc:title>copy"), std::string::npos);

    rt().set(doc, "Title", "again");
    HostException e = raised([&] { rt().call(doc, "SaveAs", {folderItem(path("copy.docx"))}); });
    EXPECT_EQ(e.className(), "VexlomarWord.WordException");
    EXPECT_EQ(e.message(), "File already exists");
    EXPECT_EQ(e.errorNumber(), -12);
    EXPECT_EQ(ReadFile(path("original.docx")), original);
    EXPECT_EQ(ReadFile(path("copy.docx")), copy);

    HostException nilFile = raised([&] { rt().call(doc, "SaveAs", {vexrt::Nil{}}); });
    EXPECT_EQ(nilFile.message(), "Parameter f may not be nil");
}

// A save that cannot put the file in place must say so and leave the
// document's file alone. A host that cannot make temporary files does not
// stop a save: the package is made in memory.
TEST_F(DocumentTest, FailedSaveRaisesAndLeavesTheFileAsItWas) {
    const std::string file = path("precious.docx");
    {
        Object doc = Create("precious.docx");
        rt().set(doc, "Title", "first");
        rt().call(doc, "Save");
    }
    vexrt::HostOptions options;
    options.temporaryFolder = path("missing-folder/deeper");
    vexrt::Runtime host(options);
    host.loadPlugin(VEXWORD_PLUGIN_PATH, /*freshCopy=*/true);
    {
        Object doc = host.callShared("Document", "Open", {host.makeFolderItem(file)}).object();
        host.set(doc, "Title", "second");
        host.call(doc, "Save");
        EXPECT_NE(zip_read(file, "docProps/core.xml").find("<dc:title>second</dc:title>"), std::string::npos);

        const std::string before = ReadFile(file);
        std::filesystem::rename(file, path("aside"));
        std::filesystem::create_directory(file);  // in the way of the new file
        host.set(doc, "Title", "third");
        EXPECT_RAISED(host.call(doc, "Save"), "VexlomarWord.WordException", "Could not save document", -15);
        EXPECT_TRUE(std::filesystem::is_empty(file));
        std::filesystem::remove(file);
        std::filesystem::rename(path("aside"), file);
        EXPECT_EQ(ReadFile(file), before);
    }
    EXPECT_EQ(host.liveObjects(), 0u);
    EXPECT_EQ(host.liveStrings(), 0u);
}

// Documents written by other tools: every entry the library does not
// rewrite comes back byte for byte.
TEST_F(DocumentTest, ForeignPackagesKeepEveryEntryWeDoNotRewrite) {
    std::vector<std::string> sources;
    if (python_docx_available()) {
        const std::string file = path("from-python-docx.docx");
        const std::string script = "import docx\nd = docx.Document()\nd.add_heading('Report', 0)\n"
                                   "d.add_paragraph('Hello from python-docx')\nt = d.add_table(rows=2, cols=2)\n"
                                   "d.sections[0].header.paragraphs[0].text = 'head'\nd.save('" + file + "')\n";
        std::ofstream(path("make.py")) << script;
        ASSERT_EQ(std::system(("/usr/bin/python3 " + path("make.py")).c_str()), 0);
        sources.push_back(file);
    }
    if (std::system("command -v pandoc > /dev/null 2>&1") == 0) {
        std::ofstream(path("in.md")) << "# Title\n\nSome *text* with a [link](https://example.org).\n\n- one\n- two\n";
        const std::string file = path("from-pandoc.docx");
        ASSERT_EQ(std::system(("pandoc -o " + file + " " + path("in.md")).c_str()), 0);
        sources.push_back(file);
    }
    if (sources.empty()) GTEST_SKIP() << "neither python-docx nor pandoc is installed";

    const std::set<std::string> rewritten = {"word/document.xml", "docProps/core.xml", "word/styles.xml",
                                             "word/_rels/document.xml.rels", "[Content_Types].xml",
                                             "word/numbering.xml"};
    for (const std::string& source : sources) {
        SCOPED_TRACE(source);
        const std::string saved = source.substr(0, source.size() - 5) + "-saved.docx";
        {
            Object doc = Open(source);
            rt().set(doc, "Title", "changed");
            rt().call(doc, "SaveAs", {folderItem(saved)});
        }
        std::set<std::string> names;
        for (const auto& name : zip_entries(saved)) EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
        for (const auto& name : zip_entries(source)) {
            EXPECT_TRUE(names.count(name)) << "lost: " << name;
            if (rewritten.count(name) || name.rfind("word/header", 0) == 0 || name.rfind("word/footer", 0) == 0)
                continue;
            EXPECT_EQ(zip_read(saved, name), zip_read(source, name)) << name;
        }
        Object doc = Open(saved);
        EXPECT_EQ(Text(doc, "Title"), "changed");
    }
}
