// Saving: the entries and their order, SaveAs, and what a failed save
// leaves behind (nothing: the document's file stays as it was).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "package/blank_package.h"
#include "package/discarded_nodes.h"
#include "package/document.h"
#include "package/temporary_path.h"
#include "package/utf8_text.h"
#include "package/xml_string_writer.h"
#include "package_checker.h"
#include "package_files.h"
#include "xml_snippets.h"

using namespace package_files;
namespace fs = std::filesystem;

namespace {

const char kRelBase[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const char kW[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

std::string Rel(const std::string& id, const std::string& kind, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelBase + kind + "\" Target=\"" + target +
           "\"/>";
}

std::string InsertBefore(const std::string& text, const std::string& closing,
                         const std::string& extra) {
    size_t at = text.rfind(closing);
    return text.substr(0, at) + extra + text.substr(at);
}

std::unique_ptr<Word::Document> OpenOrFail(const std::string& path) {
    auto doc = std::make_unique<Word::Document>(path);
    Word::open_result_code result = doc->Open();
    EXPECT_EQ(result, Word::success) << path;
    return result == Word::success ? std::move(doc) : nullptr;
}

// Saves through a temporary file of our own and checks that it is gone.
bool SaveDocument(Word::Document& doc, const Word::DeletedFileList* deleted = nullptr) {
    std::string temporary;
    EXPECT_TRUE(Document_NewTemporaryPath(temporary));
    bool saved = doc.Save(temporary.c_str(), deleted, nullptr);
    EXPECT_FALSE(fs::exists(temporary)) << "temporary file left: " << temporary;
    return saved;
}

void AppendParagraph(Word::Document& doc, const char* text) {
    pugi::xml_node body = doc.documentXml.document_element().child("w:body");
    pugi::xml_node p = body.insert_child_before("w:p", body.child("w:sectPr"));
    p.append_child("w:r").append_child("w:t").text() = text;
}

const std::vector<std::string> kBlankSavedOrder = {
    "word/document.xml",     "docProps/core.xml",  "word/styles.xml",
    "word/_rels/document.xml.rels", "[Content_Types].xml", "_rels/.rels",
    "word/theme/theme1.xml", "word/settings.xml",  "word/webSettings.xml",
    "word/fontTable.xml",    "docProps/app.xml"};

}  // namespace

TEST(DocumentSave, BlankDocumentRoundTrip) {
    std::string folder = TestFolder();
    std::string path = folder + "saved.docx";
    ASSERT_TRUE(WriteBlankPackage(path.c_str()));
    auto doc = OpenOrFail(path);
    ASSERT_TRUE(doc);
    AppendParagraph(*doc, "Total:");
    ASSERT_TRUE(SaveDocument(*doc));
    EXPECT_EQ(FolderContents(folder), std::vector<std::string>{"saved.docx"});

    Entries saved = ReadZip(path);
    EXPECT_EQ(Names(saved), kBlankSavedOrder);
    // The entries that were not rewritten are copied byte for byte.
    Entries blank = BlankEntries();
    for (size_t i = 5; i < kBlankSavedOrder.size(); ++i)
        EXPECT_EQ(Entry(saved, kBlankSavedOrder[i]), Entry(blank, kBlankSavedOrder[i]))
            << kBlankSavedOrder[i];

    auto reopened = OpenOrFail(path);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(xml_print_part(reopened->documentXml), xml_print_part(doc->documentXml));
    EXPECT_EQ(xml_print_part(reopened->coreXml), xml_print_part(doc->coreXml));
    EXPECT_EQ(xml_print_part(reopened->stylesXml), xml_print_part(doc->stylesXml));
    EXPECT_EQ(xml_print_part(reopened->relsXml), xml_print_part(doc->relsXml));
    EXPECT_EQ(xml_print_part(reopened->contentTypesXml), xml_print_part(doc->contentTypesXml));
    EXPECT_NE(xml_print_part(reopened->documentXml).find("<w:t>Total:</w:t>"), std::string::npos);

    // Removed elements wait in a holder beside the root, which is not saved.
    pugi::xml_node body = reopened->documentXml.document_element().child("w:body");
    Xml_Discard(body.find_child([](pugi::xml_node n) {
        return std::string(n.child("w:r").child_value("w:t")) == "Total:";
    }));
    EXPECT_EQ(xml_print_part(reopened->documentXml).find("Total:"), std::string::npos);

    // Saving again reads the file the first save wrote.
    AppendParagraph(*reopened, "second");
    ASSERT_TRUE(SaveDocument(*reopened));
    EXPECT_EQ(Names(ReadZip(path)), kBlankSavedOrder);
    auto third = OpenOrFail(path);
    ASSERT_TRUE(third);
    EXPECT_EQ(xml_print_part(third->documentXml), xml_print_part(reopened->documentXml));
    EXPECT_FALSE(third->documentXml.document_element().next_sibling());
}

TEST(DocumentSave, SaveAsWritesACopyAndLeavesTheDocumentBound) {
    std::string folder = TestFolder();
    std::string path = folder + "original.docx";
    ASSERT_TRUE(WriteBlankPackage(path.c_str()));
    std::string before = ReadFile(path);
    auto doc = OpenOrFail(path);
    ASSERT_TRUE(doc);
    AppendParagraph(*doc, "only in the copy");

    ASSERT_TRUE(doc->SaveAs((folder + "copy.docx").c_str(), nullptr, nullptr));
    EXPECT_EQ(FolderContents(folder), (std::vector<std::string>{"copy.docx", "original.docx"}));
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(doc->filePath, path);
    EXPECT_EQ(Names(ReadZip(folder + "copy.docx")), kBlankSavedOrder);
    auto copy = OpenOrFail(folder + "copy.docx");
    ASSERT_TRUE(copy);
    EXPECT_EQ(xml_print_part(copy->documentXml), xml_print_part(doc->documentXml));

    struct stat st;
    ASSERT_EQ(stat((folder + "copy.docx").c_str(), &st), 0);
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

    // A target that cannot be written leaves nothing behind.
    EXPECT_FALSE(doc->SaveAs((folder + "missing/copy.docx").c_str(), nullptr, nullptr));
    EXPECT_FALSE(doc->SaveAs("", nullptr, nullptr));
    EXPECT_EQ(FolderContents(folder), (std::vector<std::string>{"copy.docx", "original.docx"}));

    // The package as opened is the source: with the document's file moved
    // away, the copy still holds every entry and the edit.
    fs::rename(path, folder + "moved.zip");
    ASSERT_TRUE(doc->SaveAs((folder + "second.docx").c_str(), nullptr, nullptr));
    EXPECT_EQ(Names(ReadZip(folder + "second.docx")), kBlankSavedOrder);
    EXPECT_NE(Entry(ReadZip(folder + "second.docx"), "word/document.xml").find("only in the copy"),
              std::string::npos);
    EXPECT_EQ(FolderContents(folder),
              (std::vector<std::string>{"copy.docx", "moved.zip", "second.docx"}));
}

TEST(DocumentSave, FailedSaveLeavesTheFileAsItWas) {
    std::string folder = TestFolder();
    std::string path = folder + "kept.zip";
    ASSERT_TRUE(WriteBlankPackage(path.c_str()));
    std::string before = ReadFile(path);
    auto doc = OpenOrFail(path);
    ASSERT_TRUE(doc);
    AppendParagraph(*doc, "never written");

    // The document's own file is never taken as the temporary one.
    EXPECT_TRUE(doc->Save(path.c_str(), nullptr, nullptr));
    EXPECT_NE(Entry(ReadZip(path), "word/document.xml").find("never written"), std::string::npos);
    before = ReadFile(path);

    // A folder in the way of the file: nothing can be put there, and nothing
    // is left beside it.
    fs::rename(path, folder + "aside");
    fs::create_directory(path);
    EXPECT_FALSE(SaveDocument(*doc));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_TRUE(fs::is_empty(path));
    fs::remove(path);
    fs::rename(folder + "aside", path);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(FolderContents(folder), std::vector<std::string>{"kept.zip"});
    AppendParagraph(*doc, "second edit");

    // The file was replaced since the opening (damaged here): the save
    // writes the package that was opened, not a mixture of both.
    Entries entries = BlankEntries();
    SetEntry(entries, "word/settings.xml", "<w:settings>MARKER-TEXT</w:settings>");
    WriteZip(path, entries, /*stored=*/true);
    std::string damaged = ReadFile(path);
    damaged[damaged.find("MARKER-TEXT")] = 'X';
    WriteFile(path, damaged);
    ASSERT_TRUE(SaveDocument(*doc));
    Entries saved = ReadZip(path);
    EXPECT_EQ(Names(saved), kBlankSavedOrder);
    EXPECT_EQ(Entry(saved, "word/settings.xml").find("MARKER"), std::string::npos);
    EXPECT_NE(Entry(saved, "word/document.xml").find("second edit"), std::string::npos);
    EXPECT_TRUE(OpenOrFail(path));

    // The file was removed: the edits can still be saved, the file is made
    // again.
    fs::remove(path);
    AppendParagraph(*doc, "third edit");
    ASSERT_TRUE(SaveDocument(*doc));
    EXPECT_EQ(Names(ReadZip(path)), kBlankSavedOrder);
    EXPECT_NE(Entry(ReadZip(path), "word/document.xml").find("third edit"), std::string::npos);
    EXPECT_EQ(FolderContents(folder), std::vector<std::string>{"kept.zip"});
}

TEST(DocumentSave, SaveKeepsFileModeAndSymbolicLink) {
    std::string folder = TestFolder();
    std::string path = folder + "real.zip";
    ASSERT_TRUE(WriteBlankPackage(path.c_str()));
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    fs::create_symlink("real.zip", folder + "link.zip");

    auto doc = OpenOrFail(folder + "link.zip");
    ASSERT_TRUE(doc);
    AppendParagraph(*doc, "through the link");
    ASSERT_TRUE(SaveDocument(*doc));

    EXPECT_TRUE(fs::is_symlink(folder + "link.zip"));
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_NE(Entry(ReadZip(path), "word/document.xml").find("through the link"),
              std::string::npos);
    EXPECT_EQ(FolderContents(folder), (std::vector<std::string>{"link.zip", "real.zip"}));
}

TEST(DocumentSave, PartsOfUnusualNamesAreWrittenOnce) {
    std::string folder = TestFolder();
    std::string path = folder + "unusual.docx";
    Entries entries = BlankEntries();
    SetEntry(entries, "word/_rels/document.xml.rels",
             InsertBefore(Entry(entries, "word/_rels/document.xml.rels"), "</Relationships>",
                          Rel("rId6", "numbering", "numbering2.xml") +
                              Rel("rId7", "header", "hdr1.xml") +
                              Rel("rId8", "footer", "ftr1.xml")));
    SetEntry(entries, "[Content_Types].xml",
             InsertBefore(
                 Entry(entries, "[Content_Types].xml"), "</Types>",
                 "<Override PartName=\"/word/numbering2.xml\" ContentType=\"application/"
                 "vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml\"/>"
                 "<Override PartName=\"/word/hdr1.xml\" ContentType=\"application/"
                 "vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/>"
                 "<Override PartName=\"/word/ftr1.xml\" ContentType=\"application/"
                 "vnd.openxmlformats-officedocument.wordprocessingml.footer+xml\"/>"));
    SetEntry(entries, "word/numbering2.xml",
             std::string("<w:numbering xmlns:w=\"") + kW + "\"><w:abstractNum w:abstractNumId=\"0\">"
             "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/>"
             "<w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>"
             "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num></w:numbering>");
    SetEntry(entries, "word/hdr1.xml",
             std::string("<w:hdr xmlns:w=\"") + kW + "\"><w:p><w:r><w:t>old head</w:t></w:r></w:p></w:hdr>");
    SetEntry(entries, "word/ftr1.xml",
             std::string("<w:ftr xmlns:w=\"") + kW + "\"><w:p><w:r><w:t>foot</w:t></w:r></w:p></w:ftr>");
    WriteZip(path, entries);

    auto doc = OpenOrFail(path);
    ASSERT_TRUE(doc);
    ASSERT_NE(doc->headers.head, nullptr);
    doc->headers.head->xml.document_element().child("w:p").child("w:r").child("w:t").text() =
        "new head";
    ASSERT_TRUE(SaveDocument(*doc));

    Entries saved = ReadZip(path);
    std::vector<std::string> names = Names(saved);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 8),
              (std::vector<std::string>{"word/document.xml", "docProps/core.xml", "word/styles.xml",
                                        "word/numbering2.xml", "word/_rels/document.xml.rels",
                                        "[Content_Types].xml", "word/hdr1.xml", "word/ftr1.xml"}));
    EXPECT_NE(Entry(saved, "word/hdr1.xml").find("new head"), std::string::npos);
    EXPECT_EQ(Entry(saved, "word/hdr1.xml").find("old head"), std::string::npos);
}

TEST(DocumentSave, LeftOutEntries) {
    std::string folder = TestFolder();
    std::string path = folder + "left-out.zip";
    Entries entries = BlankEntries();
    RemoveEntry(entries, "docProps/core.xml");
    SetEntry(entries, "word/media/image1.png", "not really a picture");
    SetEntry(entries, "word/media/image2.png", "kept");
    // Header parts no relationship names any more are dropped.
    SetEntry(entries, "word/header2.xml", std::string("<w:hdr xmlns:w=\"") + kW + "\"/>");
    WriteZip(path, entries);

    auto doc = OpenOrFail(path);
    ASSERT_TRUE(doc);
    Word::DeletedFileList deleted = {"word/media/image1.png", "word/media/image9.png"};
    ASSERT_TRUE(SaveDocument(*doc, &deleted));
    std::vector<std::string> names = Names(ReadZip(path));
    EXPECT_EQ(names, (std::vector<std::string>{
                         "word/document.xml", "word/styles.xml", "word/_rels/document.xml.rels",
                         "[Content_Types].xml", "_rels/.rels", "word/theme/theme1.xml",
                         "word/settings.xml", "word/webSettings.xml", "word/fontTable.xml",
                         "docProps/app.xml", "word/media/image2.png"}));
}

// A package without styles or settings gets each part when something needs
// it: a relationship under a fresh id, one content-type override and a root
// element, all saved and found again at the next opening.
TEST(DocumentSave, StylesAndSettingsMadeOnDemand) {
    const std::string path = TestFolder() + "bare.zip";
    Entries entries = BlankEntries();
    RemoveEntry(entries, "word/styles.xml");
    RemoveEntry(entries, "word/settings.xml");
    for (const auto& [entry, needle] : std::vector<std::pair<std::string, std::string>>{
             {"word/_rels/document.xml.rels", "Target=\"styles.xml\""},
             {"word/_rels/document.xml.rels", "Target=\"settings.xml\""},
             {"[Content_Types].xml", "PartName=\"/word/styles.xml\""},
             {"[Content_Types].xml", "PartName=\"/word/settings.xml\""}}) {
        std::string text = Entry(entries, entry);
        const size_t at = text.find(needle);
        ASSERT_NE(at, std::string::npos) << needle;
        const size_t begin = text.rfind('<', at);
        text.erase(begin, text.find("/>", at) + 2 - begin);
        SetEntry(entries, entry, text);
    }
    WriteZip(path, entries);

    auto doc = OpenOrFail(path);
    ASSERT_TRUE(doc);
    EXPECT_FALSE(doc->hasStyles);
    ASSERT_TRUE(doc->EnsureStyles());
    ASSERT_TRUE(doc->EnsureSettings());
    EXPECT_TRUE(doc->EnsureStyles());  // made once
    ASSERT_TRUE(SaveDocument(*doc));

    const Entries saved = ReadZip(path);
    pugi::xml_document rels, types, styles, settings;
    ASSERT_TRUE(rels.load_string(Entry(saved, "word/_rels/document.xml.rels").c_str()));
    ASSERT_TRUE(types.load_string(Entry(saved, "[Content_Types].xml").c_str()));
    ASSERT_TRUE(styles.load_string(Entry(saved, "word/styles.xml").c_str()));
    ASSERT_TRUE(settings.load_string(Entry(saved, "word/settings.xml").c_str()));
    std::vector<std::string> relationships, overrides;
    for (pugi::xml_node r : rels.document_element().children("Relationship"))
        relationships.push_back(std::string(r.attribute("Id").value()) + " " + r.attribute("Type").value() + " " +
                                r.attribute("Target").value());
    for (pugi::xml_node o : types.document_element().children("Override"))
        overrides.push_back(std::string(o.attribute("PartName").value()) + " " + o.attribute("ContentType").value());
    EXPECT_EQ(std::count(relationships.begin(), relationships.end(),
                         "rId6 " + std::string(kRelBase) + "styles styles.xml"), 1);
    EXPECT_EQ(std::count(relationships.begin(), relationships.end(),
                         "rId7 " + std::string(kRelBase) + "settings settings.xml"), 1);
    EXPECT_EQ(relationships.size(), 5u);
    EXPECT_EQ(std::count(overrides.begin(), overrides.end(),
                         "/word/styles.xml application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"),
              1);
    EXPECT_EQ(std::count(overrides.begin(), overrides.end(),
                         "/word/settings.xml "
                         "application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"),
              1);
    EXPECT_STREQ(styles.document_element().name(), "w:styles");
    EXPECT_STREQ(styles.document_element().attribute("xmlns:w").value(), kW);
    EXPECT_TRUE(styles.document_element().attribute("xmlns:r"));
    EXPECT_STREQ(settings.document_element().name(), "w:settings");
    EXPECT_STREQ(settings.document_element().attribute("xmlns:w").value(), kW);

    auto again = OpenOrFail(path);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->hasStyles);
    EXPECT_EQ(again->stylesPartName, "word/styles.xml");
    EXPECT_EQ(again->settingsPartName, "word/settings.xml");
}

TEST(DocumentSave, TemporaryPathsAreFreshFiles) {
    std::string folder = TestFolder();
    const char* saved = std::getenv("TMPDIR");
    std::string savedValue = saved ? saved : "";

    setenv("TMPDIR", folder.c_str(), 1);
    std::string first, second;
    ASSERT_TRUE(Document_NewTemporaryPath(first));
    ASSERT_TRUE(Document_NewTemporaryPath(second));
    EXPECT_NE(first, second);
    for (const std::string& path : {first, second}) {
        EXPECT_EQ(fs::path(path).parent_path(), fs::path(folder).parent_path());
        EXPECT_EQ(fs::path(path).filename().string().substr(0, 5), "Word.");
        EXPECT_EQ(fs::path(path).filename().string().size(), 11u);
        EXPECT_TRUE(fs::is_regular_file(path));
    }

    setenv("TMPDIR", (folder + "missing").c_str(), 1);
    std::string none;
    EXPECT_FALSE(Document_NewTemporaryPath(none));

    unsetenv("TMPDIR");
    std::string fallback;
    ASSERT_TRUE(Document_NewTemporaryPath(fallback));
    EXPECT_EQ(fallback.substr(0, 10), "/tmp/Word.");
    fs::remove(fallback);

    if (saved) setenv("TMPDIR", savedValue.c_str(), 1);
}

// Parts are compressed while they are printed: what the package holds is,
// byte for byte, the part as printed whole and sanitized, also for a body of
// several megabytes whose text crosses the printer's blocks anywhere.
TEST(DocumentSave, SavedPartsHoldTheirPrintedText) {
    std::string folder = TestFolder();
    std::string path = folder + "large.docx";
    ASSERT_TRUE(WriteBlankPackage(path.c_str()));
    auto doc = OpenOrFail(path);
    ASSERT_TRUE(doc);
    const char* texts[] = {"Zo\xC3\xAB \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80", "cut \xC3", "\xED\xA0\x80 surrogate",
                           "two \xFF\xFE", "\xF0\x9F\x98", "a & b < c"};
    pugi::xml_node body = doc->documentXml.document_element().child("w:body");
    const pugi::xml_node sectPr = body.child("w:sectPr");
    for (int i = 0; i < 80000; ++i) {
        const std::string text = std::string(texts[i % 6]) + " paragraph " + std::to_string(i);
        body.insert_child_before("w:p", sectPr).append_child("w:r").append_child("w:t").text() = text.c_str();
    }
    ASSERT_TRUE(SaveDocument(*doc));

    Entries saved = ReadZip(path);
    for (const auto& part : {std::make_pair("word/document.xml", &doc->documentXml),
                             std::make_pair("[Content_Types].xml", &doc->contentTypesXml),
                             std::make_pair("word/styles.xml", &doc->stylesXml)}) {
        Word::xml_string_writer printed;
        Word::PrintPart(*part.second, printed);
        Utf8_Sanitize(printed.result);
        const std::string stored = Entry(saved, part.first);
        EXPECT_EQ(stored.size(), printed.result.size()) << part.first;
        EXPECT_TRUE(stored == printed.result) << part.first;
    }
    EXPECT_GT(Entry(saved, "word/document.xml").size(), 4u * 1024 * 1024);
    EXPECT_EQ(package_check_failures(path, false), "");
    // Thousands of pages are too many for the office suite CI renders every
    // kept package with; the entries were read whole above.
    std::remove(path.c_str());
}
