// Damaged and unusual packages through the host: each is refused with a
// WordException and loses nothing, or opens and saves to a package that
// opens again.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include <gtest/gtest.h>

#include "docx_builder.h"
#include "package_files.h"
#include "plugin_test.h"

using vexrt::HostException;
using vexrt::Object;
namespace pf = package_files;

namespace {

const char kW[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char kRelBase[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string Rel(const std::string& id, const std::string& kind, const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelBase + kind + "\" Target=\"" + target + "\"/>";
}

std::string HeaderXml(const std::string& text) {
    return std::string("<w:hdr xmlns:w=\"") + kW + "\"><w:p><w:r><w:t>" + text + "</w:t></w:r></w:p></w:hdr>";
}

uint32_t Read32(const std::string& bytes, size_t at) {
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
           static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}
uint16_t Read16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
}
void Write32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
void Write16(std::string& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

// Rewrites header fields of one entry, in its local header and in the
// central directory alike: offsets are those of the local header (flags 6,
// crc 14, compressed size 18, size 22); the central copy sits 2 bytes later.
void PatchEntry(std::string& zip, const std::string& name, size_t localOffset, uint32_t value, bool sixteenBits = false) {
    bool patched = false;
    for (size_t at = 0; at + 46 < zip.size(); ++at) {
        const uint32_t signature = Read32(zip, at);
        size_t nameAt, nameLength, field;
        if (signature == 0x04034b50) {
            nameLength = Read16(zip, at + 26);
            nameAt = at + 30;
            field = at + localOffset;
        } else if (signature == 0x02014b50) {
            nameLength = Read16(zip, at + 28);
            nameAt = at + 46;
            field = at + localOffset + 2;
        } else {
            continue;
        }
        if (nameAt + nameLength > zip.size() || zip.compare(nameAt, nameLength, name) != 0 || nameLength != name.size())
            continue;
        if (sixteenBits)
            Write16(zip, field, static_cast<uint16_t>(value));
        else
            Write32(zip, field, value);
        patched = true;
    }
    ASSERT_TRUE(patched) << name;
}

class HostilePackageTest : public PluginTest {
protected:
    Object Open(const std::string& file) { return rt().callShared("Document", "Open", {folderItem(file)}).object(); }

    // The exception an Open raises; nullopt when the document opened.
    std::optional<HostException> OpenFails(const std::string& file) {
        try {
            Object doc = Open(file);
            return std::nullopt;
        } catch (const HostException& e) {
            return e;
        }
    }

    void ExpectRefused(const std::string& file, int64_t number, const std::string& message = "") {
        std::optional<HostException> e = OpenFails(file);
        ASSERT_TRUE(e.has_value()) << file << " opened";
        EXPECT_EQ(e->className(), "VexlomarWord.WordException");
        EXPECT_EQ(e->errorNumber(), number) << e->message();
        if (!message.empty()) {
            EXPECT_EQ(e->message(), message);
        }
    }

    // Opens, saves as a copy, and opens the copy; returns the copy's path.
    std::string Resave(const std::string& file, const std::string& copyName) {
        Object doc = Open(file);
        EXPECT_TRUE(doc);
        rt().call(doc, "AppendParagraph", {"added"});
        const std::string copy = path(copyName);
        rt().call(doc, "SaveAs", {folderItem(copy)});
        Object again = Open(copy);
        EXPECT_TRUE(again);
        EXPECT_EQ(rt().get(rt().call(again, "Paragraph", {rt().get(again, "ParagraphCount").integer() - 1}).object(),
                           "Text")
                      .text(),
                  "added");
        return copy;
    }

    pf::Entries Blank() { return pf::BlankEntries(); }
    void AddRelationships(pf::Entries& entries, const std::string& rels) {
        std::string xml = pf::Entry(entries, "word/_rels/document.xml.rels");
        xml.insert(xml.rfind("</Relationships>"), rels);
        pf::SetEntry(entries, "word/_rels/document.xml.rels", xml);
    }
};

// The compressed bytes of an entry as they stand in a ZIP file.
// The local header of an entry in the archive; npos when there is none.
size_t LocalHeaderOf(const std::string& zip, const std::string& name) {
    for (size_t at = 0; at + 30 < zip.size(); ++at) {
        if (Read32(zip, at) != 0x04034b50) continue;
        const size_t nameLength = Read16(zip, at + 26);
        if (zip.compare(at + 30, nameLength, name) == 0 && nameLength == name.size()) return at;
    }
    return std::string::npos;
}

// Where the data of an entry starts, after its local header.
size_t RawEntryOffset(const std::string& zip, const std::string& name) {
    const size_t at = LocalHeaderOf(zip, name);
    return at == std::string::npos ? at : at + 30 + Read16(zip, at + 26) + Read16(zip, at + 28);
}


}  // namespace

// Sizes the archive declares are not trusted: an entry the library does not
// parse is inflated in chunks at the opening (no allocation of what it
// claims) and refused when it is not the size it claims, a part it parses
// is read to its real size, and a part that inflates beyond the limits is
// refused before it takes the memory.
TEST_F(HostilePackageTest, DeclaredSizesAndZipBombs) {
    pf::Entries entries = Blank();
    pf::SetEntry(entries, "word/media/blob.bin", std::string(5000, 'x'));
    pf::WriteZip(path("lying.zip"), entries);
    std::string zip = pf::ReadFile(path("lying.zip"));
    PatchEntry(zip, "word/media/blob.bin", 22, 0xFFFFFFF0u);
    pf::WriteFile(path("lying.zip"), zip);
    // An entry the library copies as it is must be what its records say,
    // or every save would carry the damage on.
    ExpectRefused(path("lying.zip"), -5, "Error reading zip entry: word/media/blob.bin");
    PatchEntry(zip, "word/media/blob.bin", 22, 4000);
    pf::WriteFile(path("short.zip"), zip);
    ExpectRefused(path("short.zip"), -5, "Error reading zip entry: word/media/blob.bin");

    // The main part claims 4 GB and holds a few: it is read as it really is
    // and written afresh.
    pf::WriteZip(path("lying-main.zip"), Blank());
    zip = pf::ReadFile(path("lying-main.zip"));
    PatchEntry(zip, "word/document.xml", 22, 0xFFFFFFF0u);
    pf::WriteFile(path("lying-main.zip"), zip);
    Resave(path("lying-main.zip"), "lying-main-copy.zip");

    // 20 MB of blanks inside the body compress to a few kilobytes.
    entries = Blank();
    std::string document = pf::Entry(entries, "word/document.xml");
    document.insert(document.find("<w:body>") + 8, std::string(20u << 20, ' '));
    pf::SetEntry(entries, "word/document.xml", document);
    pf::WriteZip(path("bomb.zip"), entries);
    EXPECT_LT(std::filesystem::file_size(path("bomb.zip")), 200000u);
    ExpectRefused(path("bomb.zip"), -5);
}

// Deeply nested XML is saved at about its own size: no indentation by depth.
TEST_F(HostilePackageTest, DeepNestingSavesLinearly) {
    pf::Entries entries = Blank();
    std::string nested;
    for (int i = 0; i < 30000; ++i) nested += "<w:sdt>";
    for (int i = 0; i < 30000; ++i) nested += "</w:sdt>";
    std::string document = pf::Entry(entries, "word/document.xml");
    document.insert(document.find("<w:body>") + 8, "<w:customXml>" + nested + "</w:customXml>");
    pf::SetEntry(entries, "word/document.xml", document);
    pf::WriteZip(path("deep.zip"), entries);
    const std::string copy = Resave(path("deep.zip"), "deep-copy.zip");
    EXPECT_LT(zip_read(copy, "word/document.xml").size(), document.size() + 1000);
}

// A part is loaded once and written once, however many relationships name
// it; a relationship that names a part held otherwise is not a header.
TEST_F(HostilePackageTest, EachPartLoadedAndWrittenOnce) {
    pf::Entries entries = Blank();
    std::string rels;
    for (int i = 0; i < 1000; ++i) rels += Rel("rIdH" + std::to_string(i), "header", "header1.xml");
    rels += Rel("rIdF1", "footer", "footer1.xml") + Rel("rIdF2", "footer", "/word/footer1.xml");
    rels += Rel("rIdX1", "header", "document.xml") + Rel("rIdX2", "header", "styles.xml") +
            Rel("rIdX3", "footer", "_rels/document.xml.rels") + Rel("rIdX4", "header", "../[Content_Types].xml");
    AddRelationships(entries, rels);
    pf::SetEntry(entries, "word/header1.xml", HeaderXml("shared head"));
    pf::SetEntry(entries, "word/footer1.xml",
                 std::string("<w:ftr xmlns:w=\"") + kW + "\"><w:p><w:r><w:t>foot</w:t></w:r></w:p></w:ftr>");
    pf::WriteZip(path("shared.zip"), entries);

    Object doc = Open(path("shared.zip"));
    rt().call(doc, "AppendParagraph", {"body text"});
    rt().call(doc, "Save");
    rt().call(doc, "Save");  // a second save of the same document works too
    const std::vector<std::string> names = zip_entries(path("shared.zip"));
    for (const char* name : {"word/header1.xml", "word/footer1.xml", "word/document.xml", "word/styles.xml",
                             "[Content_Types].xml", "word/_rels/document.xml.rels"})
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
    EXPECT_NE(zip_read(path("shared.zip"), "word/header1.xml").find("shared head"), std::string::npos);
    EXPECT_NE(zip_read(path("shared.zip"), "word/document.xml").find("body text"), std::string::npos);
    EXPECT_NE(zip_read(path("shared.zip"), "word/styles.xml").find("w:styles"), std::string::npos);
    EXPECT_TRUE(Open(path("shared.zip")));
}

// Targets are package paths: absolute, relative with "..", %-escaped.
TEST_F(HostilePackageTest, TargetsResolveAsPackagePaths) {
    pf::Entries entries = Blank();
    AddRelationships(entries, Rel("rIdH1", "header", "/word/header1.xml") +
                                  Rel("rIdH2", "header", "../word/parts/header%202.xml") +
                                  Rel("rIdN", "numbering", "./numbering.xml"));
    pf::SetEntry(entries, "word/header1.xml", HeaderXml("absolute"));
    pf::SetEntry(entries, "word/parts/header 2.xml", HeaderXml("relative"));
    pf::SetEntry(entries, "word/numbering.xml", std::string("<w:numbering xmlns:w=\"") + kW + "\"/>");
    pf::WriteZip(path("paths.zip"), entries);
    const std::string copy = Resave(path("paths.zip"), "paths-copy.zip");
    EXPECT_NE(zip_read(copy, "word/header1.xml").find("absolute"), std::string::npos);
    EXPECT_NE(zip_read(copy, "word/parts/header 2.xml").find("relative"), std::string::npos);
    EXPECT_NE(zip_read(copy, "word/numbering.xml").find("w:numbering"), std::string::npos);

    // A target that leaves the package names no part.
    entries = Blank();
    AddRelationships(entries, Rel("rIdH1", "header", "../../outside.xml"));
    pf::WriteZip(path("outside.zip"), entries);
    Resave(path("outside.zip"), "outside-copy.zip");
}

// The styles part is optional: such a package opens with no styles, and
// the part is made (with its relationship and content type) only when a
// style is added.
TEST_F(HostilePackageTest, PackageWithoutStylesPart) {
    pf::Entries entries = Blank();
    pf::RemoveEntry(entries, "word/styles.xml");
    std::string rels = pf::Entry(entries, "word/_rels/document.xml.rels");
    const size_t rel = rels.find("<Relationship Id=\"rId1\"");
    rels.erase(rel, rels.find("/>", rel) + 2 - rel);
    pf::SetEntry(entries, "word/_rels/document.xml.rels", rels);
    std::string types = pf::Entry(entries, "[Content_Types].xml");
    const size_t type = types.find("<Override PartName=\"/word/styles.xml\"");
    types.erase(type, types.find("/>", type) + 2 - type);
    pf::SetEntry(entries, "[Content_Types].xml", types);
    pf::WriteZip(path("nostyles.docx"), entries);

    {
        Object doc = Open(path("nostyles.docx"));
        for (const char* list : {"CharacterStyles", "ParagraphStyles"})
            EXPECT_EQ(rt().arrayCount(rt().call(doc, list).object()), 0u) << list;
        rt().call(doc, "AppendParagraph", {"plain"});
        rt().call(doc, "SaveAs", {folderItem(path("still-nostyles.docx"))});
    }
    const std::vector<std::string> plain = zip_entries(path("still-nostyles.docx"));
    EXPECT_EQ(std::count(plain.begin(), plain.end(), "word/styles.xml"), 0);

    {
        Object doc = Open(path("nostyles.docx"));
        Object style = rt().call(doc, "AddNewParagraphStyle", {"Quote", "Quote", vexrt::Nil{}}).object();
        ASSERT_TRUE(style);
        Object p = rt().call(doc, "AppendParagraph", {"quoted"}).object();
        rt().set(p, "Style", style);
        rt().call(doc, "SaveAs", {folderItem(path("with-styles.docx"))});
    }
    const std::string saved = path("with-styles.docx");
    EXPECT_NE(zip_read(saved, "word/styles.xml").find("w:styleId=\"Quote\""), std::string::npos);
    EXPECT_NE(zip_read(saved, "word/_rels/document.xml.rels").find("relationships/styles\" Target=\"styles.xml\""),
              std::string::npos);
    EXPECT_NE(zip_read(saved, "[Content_Types].xml").find("/word/styles.xml"), std::string::npos);
    Object again = Open(saved);
    EXPECT_EQ(rt().arrayCount(rt().call(again, "ParagraphStyles").object()), 1u);
}

// Names used twice (also when they differ only in case), encrypted entries
// and unknown compression are refused at open: such a package could be
// opened but never saved as it was.
TEST_F(HostilePackageTest, EntriesNoReaderCanTakeAreRefused) {
    // The ZIP writer refuses a second entry of a name: one of the same
    // length is renamed in the file.
    pf::Entries entries = Blank();
    entries.push_back({"word/styles.xmZ", "<w:styles/>"});
    pf::WriteZip(path("twice.zip"), entries);
    std::string zip = pf::ReadFile(path("twice.zip"));
    for (size_t at = zip.find("word/styles.xmZ"); at != std::string::npos; at = zip.find("word/styles.xmZ"))
        zip[at + 14] = 'l';
    pf::WriteFile(path("twice.zip"), zip);
    ExpectRefused(path("twice.zip"), -4);

    entries = Blank();
    entries.push_back({"Word/Settings.XML", "<w:settings/>"});
    pf::WriteZip(path("case.zip"), entries);
    ExpectRefused(path("case.zip"), -4);

    entries = Blank();
    pf::SetEntry(entries, "word/media/secret.bin", "hidden content");
    pf::WriteZip(path("encrypted.zip"), entries);
    zip = pf::ReadFile(path("encrypted.zip"));
    PatchEntry(zip, "word/media/secret.bin", 6, 1, /*sixteenBits=*/true);
    pf::WriteFile(path("encrypted.zip"), zip);
    ExpectRefused(path("encrypted.zip"), -5);

    pf::WriteZip(path("method.zip"), entries, /*stored=*/true);
    zip = pf::ReadFile(path("method.zip"));
    PatchEntry(zip, "word/media/secret.bin", 8, 14, /*sixteenBits=*/true);  // LZMA
    pf::WriteFile(path("method.zip"), zip);
    ExpectRefused(path("method.zip"), -5);

    // Damage inside an entry the library never parses is found at the
    // opening, compressed or stored: a save would copy it as it is.
    pf::WriteZip(path("crc.zip"), entries);
    zip = pf::ReadFile(path("crc.zip"));
    PatchEntry(zip, "word/media/secret.bin", 14, 0x12345678u);
    pf::WriteFile(path("crc.zip"), zip);
    ExpectRefused(path("crc.zip"), -5, "Error reading zip entry: word/media/secret.bin");

    // A deflate stream broken in the middle.
    pf::SetEntry(entries, "word/media/secret.bin", std::string(20000, 'a') + "hidden content" + std::string(20000, 'b'));
    pf::WriteZip(path("deflate.zip"), entries);
    zip = pf::ReadFile(path("deflate.zip"));
    const size_t data = RawEntryOffset(zip, "word/media/secret.bin");
    for (size_t i = 4; i < 12; ++i) zip[data + i] = static_cast<char>(0xFF);
    pf::WriteFile(path("deflate.zip"), zip);
    ExpectRefused(path("deflate.zip"), -5, "Error reading zip entry: word/media/secret.bin");
    pf::SetEntry(entries, "word/media/secret.bin", "hidden content");

    pf::WriteZip(path("stored-crc.zip"), entries, /*stored=*/true);
    zip = pf::ReadFile(path("stored-crc.zip"));
    zip[zip.find("hidden content")] = 'H';
    pf::WriteFile(path("stored-crc.zip"), zip);
    ExpectRefused(path("stored-crc.zip"), -5);
}

// Save and SaveAs copy the package that was opened, whatever became of its
// file meanwhile. (The packages carry entries without a content type: they
// are not named .docx.)
TEST_F(HostilePackageTest, TheSourceStaysTheSource) {
    pf::Entries entries = Blank();
    pf::SetEntry(entries, "word/media/keep.bin", "original bytes");
    pf::WriteZip(path("source.zip"), entries);
    Object doc = Open(path("source.zip"));
    rt().call(doc, "AppendParagraph", {"edit"});

    entries = Blank();
    pf::SetEntry(entries, "word/media/keep.bin", "other package");
    pf::SetEntry(entries, "word/media/intruder.bin", "intruder");
    pf::WriteZip(path("source.zip"), entries);
    rt().call(doc, "Save");
    pf::Entries saved = pf::ReadZip(path("source.zip"));
    EXPECT_EQ(pf::Entry(saved, "word/media/keep.bin"), "original bytes");
    const std::vector<std::string> names = pf::Names(saved);
    EXPECT_EQ(std::count(names.begin(), names.end(), "word/media/intruder.bin"), 0);

    std::filesystem::remove(path("source.zip"));
    rt().call(doc, "AppendParagraph", {"later edit"});
    rt().call(doc, "SaveAs", {folderItem(path("elsewhere.zip"))});
    rt().call(doc, "Save");
    for (const char* file : {"elsewhere.zip", "source.zip"}) {
        EXPECT_EQ(zip_read(path(file), "word/media/keep.bin"), "original bytes") << file;
        EXPECT_NE(zip_read(path(file), "word/document.xml").find("later edit"), std::string::npos) << file;
    }
}

// Text that is not UTF-8, or characters XML does not allow, never reach a
// saved part: each becomes U+FFFD, and a strict parser reads every part.
TEST_F(HostilePackageTest, SavedPartsAreAlwaysWellFormed) {
    pf::Entries entries = Blank();
    std::string document = pf::Entry(entries, "word/document.xml");
    document.insert(document.find("<w:body>") + 8,
                    "<w:p><w:r><w:t>bad \xC3 lone \xED\xA0\x80 nonchar \xEF\xBF\xBE end</w:t></w:r></w:p>");
    pf::SetEntry(entries, "word/document.xml", document);
    pf::WriteZip(path("bad-text.zip"), entries);
    Object doc = Open(path("bad-text.zip"));
    rt().call(doc, "AppendParagraph", {rt().makeString(std::string("host \xFF\xFE text \xF4\x90\x80\x80", 17))});
    vexrt::String title = rt().makeString(std::string("title \xC0\xAF", 8));
    rt().set(doc, "Title", title);
    rt().call(doc, "SaveAs", {folderItem(path("clean.docx"))});

    const std::string body = zip_read(path("clean.docx"), "word/document.xml");
    EXPECT_NE(body.find("bad \xEF\xBF\xBD lone \xEF\xBF\xBD nonchar \xEF\xBF\xBD end"), std::string::npos);
    EXPECT_NE(body.find("host \xEF\xBF\xBD"), std::string::npos);

    // Python's expat, strict about XML 1.0, parses every XML part.
    const std::string script = path("strict.py");
    std::ofstream(script) << "import sys, zipfile, xml.parsers.expat\n"
                             "z = zipfile.ZipFile(sys.argv[1])\n"
                             "for n in z.namelist():\n"
                             "    if n.endswith('.xml') or n.endswith('.rels'):\n"
                             "        xml.parsers.expat.ParserCreate().Parse(z.read(n), True)\n"
                             "print('ok')\n";
    const std::string command = "/usr/bin/python3 '" + script + "' '" + path("clean.docx") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}
