// Saving: the entries and their order, SaveAs, and what a failed save
// leaves behind (nothing: the document's file stays as it was).
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "package/blank_package.h"
#include "package/discarded_nodes.h"
#include "package/document.h"
#include "package/temporary_path.h"
#include "package/xml_string_writer.h"
#include "package_files.h"

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

std::string Print(const pugi::xml_document& xml) {
    Word::xml_string_writer writer;
    Word::PrintPart(xml, writer);
    return writer.result;
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
    EXPECT_EQ(Print(reopened->documentXml), Print(doc->documentXml));
    EXPECT_EQ(Print(reopened->coreXml), Print(doc->coreXml));
    EXPECT_EQ(Print(reopened->stylesXml), Print(doc->stylesXml));
    EXPECT_EQ(Print(reopened->relsXml), Print(doc->relsXml));
    EXPECT_EQ(Print(reopened->contentTypesXml), Print(doc->contentTypesXml));
    EXPECT_NE(Print(reopened->documentXml).find("<w:t>Total:</w:t>"), std::string::npos);

    // Removed elements wait in a holder beside the root, which is not saved.
    pugi::xml_node body = reopened->documentXml.document_element().child("w:body");
    Xml_Discard(body.find_child([](pugi::xml_node n) {
        return std::string(n.child("w:r").child_value("w:t")) == "Total:";
    }));
    EXPECT_EQ(Print(reopened->documentXml).find("Total:"), std::string::npos);

    // Saving again reads the file the first save wrote.
    AppendParagraph(*reopened, "second");
    ASSERT_TRUE(SaveDocument(*reopened));
    EXPECT_EQ(Names(ReadZip(path)), kBlankSavedOrder);
    auto third = OpenOrFail(path);
    ASSERT_TRUE(third);
    EXPECT_EQ(Print(third->documentXml), Print(reopened->documentXml));
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
    EXPECT_EQ(Print(copy->documentXml), Print(doc->documentXml));

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
