// Damaged packages made from a few sound ones: every variant is opened, read
// (every paragraph, run and logical run), saved with SaveAs and the copy
// reopened, through the host runtime as a host program would. Each must be
// refused with a WordException or go all the way round: no crash, no other
// exception, nothing left alive.
//
// Variants are drawn from fixed seeds, so a failure comes back on every run.
// Failures are grouped by what went wrong; the bytes of the first variant of
// each group are kept in the test's folder as failure-N.bin. The figures of
// each family (variants, refusals by error number, round trips, failures) are
// printed and recorded as test properties. Nothing here is named .docx: CI
// judges every .docx under build/out.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "docx_builder.h"
#include "package/blank_package.h"
#include "package_files.h"
#include "package_round_trip.h"
#include "plugin_test.h"
#include "raw_zip.h"

namespace {

using vexrt::Nil;
using vexrt::Object;
typedef std::vector<std::pair<std::string, std::string>> Parts;  // entry name, uncompressed bytes

struct Seed {
    std::string name;
    std::string archive;  // the package file
    Parts parts;          // its entries in archive order, uncompressed
};

struct Variant {
    std::string description;
    std::string bytes;
};

// A fixed sequence of choices. std::mt19937 is the same everywhere; the
// standard distributions are not, so ranges are cut by hand.
class Draw {
public:
    explicit Draw(uint32_t seed) : engine_(seed) {}
    size_t below(size_t n) { return n ? size_t(engine_() % n) : 0; }
    bool chance(unsigned percent) { return below(100) < percent; }
    template <class T>
    const T& pick(const std::vector<T>& items) { return items[below(items.size())]; }
private:
    std::mt19937 engine_;
};

std::string Hex(uint64_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << value;
    return out.str();
}

// Printable form of bytes in a description.
std::string Shown(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += char(c);
        } else {
            static const char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out.size() > 60 ? out.substr(0, 57) + "..." : out;
}

const char kRelationshipBase[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const char kW[] = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";

// ------------------------------------------------------------------ seeds

// libzip stamps entries with the time of writing; a fixed stamp keeps the
// seeds, and so every variant, the same from run to run.
std::string WithFixedTimes(std::string archive) {
    const raw_zip::Layout layout = raw_zip::Locate(archive);
    for (size_t at : layout.local) {
        raw_zip::Put16(archive, at + raw_zip::field::kLocalTime, 0);
        raw_zip::Put16(archive, at + raw_zip::field::kLocalDate, 0x21);
    }
    for (size_t at : layout.central) {
        raw_zip::Put16(archive, at + raw_zip::field::kCentralTime, 0);
        raw_zip::Put16(archive, at + raw_zip::field::kCentralDate, 0x21);
    }
    return archive;
}

Seed SeedFromFile(const std::string& name, const std::string& file) {
    Seed seed;
    seed.name = name;
    seed.archive = WithFixedTimes(package_files::ReadFile(file));
    package_files::WriteFile(file, seed.archive);
    seed.parts = package_files::ReadZip(file);
    std::remove(file.c_str());
    return seed;
}

// A body with what the reading code walks: runs with tabs and breaks, a
// hyperlink, complex and simple fields, a table, a content control, a smart
// tag, tracked changes; headers and footers, numbering, core properties.
DocxParts BuiltParts() {
    DocxParts parts;
    parts.body =
        "<w:p><w:pPr><w:pStyle w:val=\"Normal\"/><w:jc w:val=\"center\"/></w:pPr>"
        "<w:r><w:rPr><w:b/></w:rPr><w:t>Built</w:t></w:r>"
        "<w:r><w:t xml:space=\"preserve\"> seed </w:t><w:tab/><w:t>after tab</w:t><w:br/>"
        "<w:t>&amp; &lt;escaped&gt;</w:t></w:r></w:p>"
        "<w:p><w:hyperlink r:id=\"rIdLink\"><w:r><w:t>a link</w:t></w:r></w:hyperlink>"
        "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"
        "<w:r><w:instrText xml:space=\"preserve\"> PAGE </w:instrText></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>1</w:t></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"
        "<w:fldSimple w:instr=\" NUMPAGES \"><w:r><w:t>2</w:t></w:r></w:fldSimple></w:p>"
        "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"4000\"/>"
        "</w:tblGrid><w:tr><w:tc><w:tcPr><w:tcW w:w=\"4000\" w:type=\"dxa\"/></w:tcPr>"
        "<w:p><w:r><w:t>cell</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
        "<w:sdt><w:sdtPr><w:alias w:val=\"box\"/></w:sdtPr><w:sdtContent>"
        "<w:p><w:r><w:t>in a control</w:t></w:r></w:p></w:sdtContent></w:sdt>"
        "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>"
        "<w:smartTag w:uri=\"urn:x\" w:element=\"place\"><w:r><w:t>tagged</w:t></w:r></w:smartTag>"
        "<w:ins w:id=\"1\" w:author=\"a\"><w:r><w:t>inserted</w:t></w:r></w:ins>"
        "<w:del w:id=\"2\" w:author=\"a\"><w:r><w:delText>deleted</w:delText></w:r></w:del>"
        "<w:r><w:t xml:space=\"preserve\"> </w:t></w:r><w:r><w:br w:type=\"page\"/></w:r></w:p>";
    parts.documentRelationships =
        std::string("<Relationship Id=\"rIdLink\" Type=\"") + kRelationshipBase +
        "hyperlink\" Target=\"https://example.com/\" TargetMode=\"External\"/>";
    parts.numbering =
        std::string("<w:numbering ") + kW +
        "><w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
        "<w:numFmt w:val=\"bullet\"/><w:lvlText w:val=\"*\"/><w:pPr><w:ind w:left=\"720\" "
        "w:hanging=\"360\"/></w:pPr></w:lvl></w:abstractNum><w:num w:numId=\"1\">"
        "<w:abstractNumId w:val=\"0\"/></w:num></w:numbering>";
    parts.core =
        "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
        "core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/"
        "dc/terms/\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>Built seed</dc:title>"
        "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2024-01-02T03:04:05Z</dcterms:created>"
        "</cp:coreProperties>";
    parts.headers = {{"default", "<w:p><w:r><w:t>header text</w:t></w:r></w:p>"},
                     {"first", "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>"
                               " PAGE </w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>"}};
    parts.footers = {{"default", "<w:p><w:r><w:t>footer text</w:t></w:r></w:p>"}};
    return parts;
}

class PackageMutationTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        if (HasFatalFailure()) return;
        seeds_.push_back(CreatedSeed());
        const std::string built = path("seed-built.pkg");
        write_docx(built, BuiltParts());
        seeds_.push_back(SeedFromFile("built", built));
        const std::string blank = path("seed-blank.pkg");
        ASSERT_TRUE(WriteBlankPackage(blank.c_str()));
        seeds_.push_back(SeedFromFile("blank", blank));
        for (const Seed& seed : seeds_) {
            ASSERT_FALSE(seed.parts.empty()) << seed.name;
            // A seed that fails the round trip makes its variants meaningless.
            package_files::WriteFile(path("sound.bin"), seed.archive);
            RoundTripOutcome outcome = PackageRoundTrip(rt(), path("sound.bin"), path("sound-copy.bin"));
            ASSERT_EQ(outcome.kind, RoundTripOutcome::Saved) << seed.name << ": " << outcome.failure;
            std::remove(path("sound.bin").c_str());
            std::remove(path("sound-copy.bin").c_str());
        }
    }

    // A document made through the host: styles, formatted runs, fields,
    // languages, core properties.
    Seed CreatedSeed() {
        const std::string file = path("seed-created.pkg");
        {
            Object doc = rt().callShared("Document", "Create", {folderItem(file)}).object();
            rt().set(doc, "Title", "Mutation seed");
            Object heading = rt().call(doc, "AddNewParagraphStyle", {"SeedHeading", "Seed Heading", Nil{}}).object();
            rt().set(heading, "Bold", 1);
            Object emphasis = rt().call(doc, "AddNewCharacterStyle", {"SeedEmphasis", "Seed Emphasis", Nil{}}).object();
            rt().set(emphasis, "Italic", 1);

            Object title = rt().call(doc, "AppendParagraph", {"Created seed"}).object();
            rt().set(title, "Style", heading);
            Object p = rt().call(doc, "AppendParagraph", {"plain "}).object();
            rt().set(rt().call(p, "AppendRun", {"bold"}).object(), "Bold", 1);
            Object styled = rt().call(p, "AppendRun", {"tab\there\rline"}).object();
            rt().set(styled, "Style", emphasis);
            rt().set(styled, "FontSize", 14);
            Object fields = rt().call(doc, "AppendParagraph", {"fields: "}).object();
            rt().call(fields, "AppendHyperlinkField", {"a link", "https://example.com/?a=1&b=2"});
            rt().call(fields, "AppendTimeField", {10, 30, 0});
            rt().call(fields, "AppendDateField", {rt().makeDateTime(2024, 5, 6, 0, 0, 0, 0)});
            Object german = rt().call(doc, "AppendParagraph", {"Gr\xC3\xBC\xC3\x9F" "e"}).object();
            rt().call(german, "SetLanguageCode", {"de-DE", true});
            rt().call(doc, "Save");
        }
        return SeedFromFile("created", file);
    }

    void TearDown() override {
        seeds_.clear();
        PluginTest::TearDown();
    }

    // Runs every variant through the round trip and reports the figures and
    // the failures of one family.
    void RunFamily(const std::string& family, const std::vector<Variant>& variants);

    std::vector<Seed> seeds_;
};

void PackageMutationTest::RunFamily(const std::string& family, const std::vector<Variant>& variants) {
    const size_t kKeptReproducers = 20;
    const std::string input = path("variant.bin"), copy = path("variant-copy.bin");
    std::map<int64_t, size_t> refused;
    size_t refusedTotal = 0, saved = 0, failed = 0;
    struct Failure {
        size_t count = 0;
        std::string first, file;
    };
    std::map<std::string, Failure> failures;
    std::vector<std::string> failureOrder;
    std::pair<double, std::string> slowest{0, ""};  // a variant that costs seconds may be a bomb that got through
    for (const Variant& variant : variants) {
        package_files::WriteFile(input, variant.bytes);
        std::remove(copy.c_str());
        const auto start = std::chrono::steady_clock::now();
        const RoundTripOutcome outcome = PackageRoundTrip(rt(), input, copy);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds > slowest.first) slowest = {seconds, variant.description};
        switch (outcome.kind) {
            case RoundTripOutcome::Refused:
                ++refused[outcome.errorNumber];
                ++refusedTotal;
                break;
            case RoundTripOutcome::Saved:
                ++saved;
                break;
            case RoundTripOutcome::Failed: {
                ++failed;
                Failure& failure = failures[outcome.failure];
                if (failure.count++ == 0) {
                    failureOrder.push_back(outcome.failure);
                    failure.first = variant.description;
                    if (failureOrder.size() <= kKeptReproducers) {
                        failure.file = path("failure-" + std::to_string(failureOrder.size()) + ".bin");
                        package_files::WriteFile(failure.file, variant.bytes);
                    }
                }
                break;
            }
        }
    }
    std::remove(input.c_str());
    std::remove(copy.c_str());

    std::ostringstream figures;
    figures << family << ": " << variants.size() << " variants, " << refusedTotal << " refused (";
    const char* separator = "";
    for (const auto& [number, count] : refused) {
        figures << separator << "error " << number << ": " << count;
        separator = ", ";
    }
    figures << "), " << saved << " opened and saved, " << failed << " failed in "
            << failures.size() << " ways; slowest " << std::fixed << std::setprecision(2) << slowest.first
            << " s: " << slowest.second;
    std::cout << "[ figures  ] " << figures.str() << std::endl;
    RecordProperty("variants", int(variants.size()));
    RecordProperty("refused", int(refusedTotal));
    RecordProperty("saved", int(saved));
    RecordProperty("failed", int(failed));

    for (const std::string& what : failureOrder) {
        const Failure& failure = failures[what];
        ADD_FAILURE() << failure.count << " variant(s): " << what << "\n  first: " << failure.first
                      << (failure.file.empty() ? "" : "\n  bytes: " + failure.file);
    }
}

// ------------------------------------------------------------------ archive regions

// Names the record and field an offset falls in, for descriptions.
std::string Region(const std::string& archive, size_t at) {
    using namespace raw_zip::field;
    const raw_zip::Layout layout = raw_zip::Locate(archive);
    for (size_t i = 0; i < layout.central.size(); ++i) {
        const size_t c = layout.central[i], l = layout.local[i];
        const std::string name = archive.substr(c + 46, raw_zip::Get16(archive, c + kCentralNameLength));
        const size_t localEnd = l + 30 + raw_zip::Get16(archive, l + kLocalNameLength) +
                                raw_zip::Get16(archive, l + kLocalExtraLength);
        const size_t dataEnd = localEnd + raw_zip::Get32(archive, c + kCentralCompressedSize);
        const size_t centralEnd = c + 46 + raw_zip::Get16(archive, c + kCentralNameLength) +
                                  raw_zip::Get16(archive, c + kCentralExtraLength) +
                                  raw_zip::Get16(archive, c + kCentralCommentLength);
        if (at >= l && at < localEnd) return "local header of " + name + " +" + std::to_string(at - l);
        if (at >= localEnd && at < dataEnd) return "data of " + name + " +" + std::to_string(at - localEnd);
        if (at >= c && at < centralEnd) return "central header of " + name + " +" + std::to_string(at - c);
    }
    if (at >= layout.end) return "end record +" + std::to_string(at - layout.end);
    return "between records";
}

std::vector<raw_zip::Entry> StoredEntries(const Parts& parts) {
    std::vector<raw_zip::Entry> entries;
    for (const auto& [name, bytes] : parts) entries.push_back(raw_zip::StoredEntry(name, bytes));
    return entries;
}

bool IsXml(const std::string& bytes) {
    size_t at = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    return at < bytes.size() && bytes[at] == '<';
}

// ------------------------------------------------------------------ XML damage

// Offsets inside character data (after a '>' and before text), inside
// attribute values, and at element names.
std::vector<size_t> TextPositions(const std::string& xml) {
    std::vector<size_t> at;
    for (size_t i = 0; i + 1 < xml.size(); ++i)
        if (xml[i] == '>' && xml[i + 1] != '<') at.push_back(i + 1);
    return at;
}

std::vector<size_t> AttributeValuePositions(const std::string& xml) {
    std::vector<size_t> at;
    for (size_t i = 0; i + 1 < xml.size(); ++i)
        if (xml[i] == '=' && xml[i + 1] == '"') at.push_back(i + 2);
    return at;
}

std::vector<size_t> ElementNamePositions(const std::string& xml) {
    std::vector<size_t> at;
    for (size_t i = 0; i + 1 < xml.size(); ++i)
        if (xml[i] == '<' && std::isalpha(static_cast<unsigned char>(xml[i + 1]))) at.push_back(i + 1);
    return at;
}

// Just after the start tag of the body (or of the root element).
size_t ContentStart(const std::string& xml) {
    size_t body = xml.find("<w:body>");
    if (body != std::string::npos) return body + 8;
    const std::vector<size_t> names = ElementNamePositions(xml);
    if (names.empty()) return 0;
    size_t close = xml.find('>', names.front());
    return close == std::string::npos ? xml.size() : close + 1;
}

std::string Utf16(const std::string& ascii, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        if (bigEndian) out += '\0';
        out += c;
        if (!bigEndian) out += '\0';
    }
    return out;
}

struct Mangled {
    std::string description;
    std::string bytes;
};

// Every way a part is damaged; positions come from `draw`.
std::vector<Mangled> ManglingsOf(const std::string& xml, Draw& draw) {
    std::vector<Mangled> out;
    auto insertAt = [&](const std::vector<size_t>& positions, const std::string& what, const char* where) {
        if (positions.empty()) return;
        const size_t at = positions[draw.below(positions.size())];
        std::string bytes = xml;
        bytes.insert(at, what);
        out.push_back({"\"" + Shown(what) + "\" inserted " + where + " at " + std::to_string(at), bytes});
    };
    const std::vector<size_t> text = TextPositions(xml), values = AttributeValuePositions(xml),
                              names = ElementNamePositions(xml);

    // Unclosed and broken markup.
    for (int i = 0; i < 3; ++i) {
        const size_t cut = draw.below(xml.size());
        out.push_back({"cut at " + std::to_string(cut), xml.substr(0, cut)});
    }
    {
        const size_t close = xml.rfind('<');
        if (close != std::string::npos)
            out.push_back({"without its closing root tag", xml.substr(0, close)});
        std::vector<size_t> ends;
        for (size_t i = 0; i < xml.size(); ++i)
            if (xml[i] == '>') ends.push_back(i);
        if (!ends.empty()) {
            const size_t at = ends[draw.below(ends.size())];
            out.push_back({"'>' at " + std::to_string(at) + " removed", std::string(xml).erase(at, 1)});
        }
    }
    insertAt(text, "<", "in text");
    insertAt(text, "<w:p>", "in text");
    insertAt(text, "</w:r>", "in text");
    insertAt(names, " ", "at an element name");

    // Invalid UTF-8, in text, attribute values and names.
    for (const char* sequence : {"\xC3\x28", "\xFF", "\xED\xA0\x80", "\xC0\xAF", "\x80", "\xF4\x90\x80\x80",
                                 "\xE2\x82", "\xF8\x88\x80\x80\x80"})
        insertAt(text, sequence, "in text");
    // Characters XML does not allow, though well-formed UTF-8.
    for (const char* control : {"\x01", "\x08", "\x1C", "\xEF\xBF\xBE"}) {
        insertAt(text, control, "in text");
        insertAt(values, control, "in an attribute value");
    }
    insertAt(values, "\xC3\x28", "in an attribute value");
    insertAt(values, "\xFF\xFE", "in an attribute value");
    insertAt(names, "\xC3\x28", "in an element name");
    if (!names.empty()) {
        // Bad bytes in an attribute name, and an attribute given twice on
        // an inner element.
        const size_t inner = names[draw.below(names.size())];
        const size_t close = xml.find('>', inner);
        if (close != std::string::npos) {
            const size_t at = close - (xml[close - 1] == '/' ? 1 : 0);
            std::string bytes = xml;
            bytes.insert(at, " w:v\xFF" "al=\"1\"");
            out.push_back({"bad bytes in an attribute name at " + std::to_string(at), bytes});
            bytes = xml;
            bytes.insert(at, " w:val=\"1\" w:val=\"2\"");
            out.push_back({"an attribute given twice at " + std::to_string(at), bytes});
        }
    }
    insertAt(text, std::string("a\0b", 3), "in text");

    // Bad entities and character references.
    for (const char* entity : {"&bogus;", "&#xD800;", "&#0;", "&#99999999999;", "&", "&amp", "&#x;",
                               "&#x110000;", "&lt", "&#x1F600;", "&#65"})
        insertAt(text, entity, "in text");
    insertAt(values, "&bogus;", "in an attribute value");
    insertAt(values, "&#0;", "in an attribute value");
    insertAt(values, "\"", "in an attribute value");
    insertAt(values, "<", "in an attribute value");

    // Odd but well-formed constructs.
    insertAt(text, "<![CDATA[ <not markup> ]]>", "in text");
    insertAt(text, "<!-- a comment -->", "in text");
    insertAt(text, "<?pi data?>", "in text");
    insertAt(values, "\t\n", "in an attribute value");
    if (!names.empty()) {
        const size_t close = xml.find('>', names.front());
        if (close != std::string::npos) {
            std::string bytes = xml;
            bytes.insert(close - (xml[close - 1] == '/' ? 1 : 0), " dup=\"1\" dup=\"2\"");
            out.push_back({"a duplicated attribute on the root", bytes});
        }
        std::string renamed = xml;
        const size_t end = renamed.find_first_of(" />", names.front());
        renamed.replace(names.front(), end - names.front(), "x:junk");
        out.push_back({"root start tag renamed x:junk", renamed});
    }
    {
        std::string bytes = xml;
        for (size_t at = 0; (at = bytes.find("xmlns", at)) != std::string::npos; at += 5) bytes[at + 4] = 'z';
        out.push_back({"namespace declarations renamed xmlnz", bytes});
    }
    out.push_back({"a second root element", xml + "<second/>"});
    out.push_back({"text after the root", xml + "trailing"});
    out.push_back({"a UTF-8 byte order mark", "\xEF\xBB\xBF" + xml});
    if (std::all_of(xml.begin(), xml.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out.push_back({"UTF-16LE with a byte order mark", Utf16(xml, false)});
        out.push_back({"UTF-16BE with a byte order mark", Utf16(xml, true)});
    }
    out.push_back({"a DOCTYPE with nested entities in front",
                   "<!DOCTYPE lol [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
                   "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>" + xml});
    {
        std::string bytes = xml;
        bytes.insert(ContentStart(xml), "<w:p><w:r><w:t>" + std::string(1 << 20, 'x') + "</w:t></w:r></w:p>");
        out.push_back({"a paragraph of a million characters at the start", bytes});
    }

    // Whole replacements.
    out.push_back({"empty", ""});
    out.push_back({"not XML", "This is no XML at all.\n"});
    out.push_back({"only a declaration", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"});
    out.push_back({"a foreign root element", "<other/>"});
    out.push_back({"binary", std::string("\x00\x01\x02\xFF\xFE\x89PNG\r\n", 11)});
    return out;
}

// Elements nested far deeper than any document nests them, at the start of
// the body (or of the root element).
std::vector<Mangled> DeepNestingsOf(const std::string& xml) {
    const int kDepth = 10000;
    const std::vector<std::pair<std::string, std::string>> shells = {
        {"<w:p>", "</w:p>"},
        {"<w:hyperlink>", "</w:hyperlink>"},
        {"<w:sdt><w:sdtContent>", "</w:sdtContent></w:sdt>"},
        {"<w:tbl><w:tr><w:tc>", "</w:tc></w:tr></w:tbl>"},
        {"<w:smartTag>", "</w:smartTag>"},
        {"<w:fldSimple w:instr=\"PAGE\">", "</w:fldSimple>"},
        {"<w:ins>", "</w:ins>"},
        {"<w:r>", "</w:r>"},
    };
    std::vector<Mangled> out;
    const size_t at = ContentStart(xml);
    for (const auto& [open, close] : shells) {
        std::string nested;
        for (int i = 0; i < kDepth; ++i) nested += open;
        nested += "<w:p><w:r><w:t>deep</w:t></w:r></w:p>";
        for (int i = 0; i < kDepth; ++i) nested += close;
        out.push_back({std::to_string(kDepth) + " nested " + open, std::string(xml).insert(at, nested)});
    }
    return out;
}

Parts WithPart(const Parts& parts, const std::string& name, const std::string& bytes) {
    Parts changed = parts;
    bool found = false;
    for (auto& part : changed)
        if (part.first == name) {
            part.second = bytes;
            found = true;
        }
    if (!found) changed.emplace_back(name, bytes);
    return changed;
}

std::string PartOf(const Parts& parts, const std::string& name) {
    for (const auto& part : parts)
        if (part.first == name) return part.second;
    return std::string();
}

// ------------------------------------------------------------------ relationships

std::string Relationship(const std::string& id, const std::string& kind, const std::string& target,
                         const std::string& more = "") {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelationshipBase + kind + "\" Target=\"" + target +
           "\"" + more + "/>";
}

// The document's relationships with more appended.
std::string RelationshipsWith(const std::string& rels, const std::string& extra) {
    const size_t end = rels.rfind("</Relationships>");
    if (end == std::string::npos) return rels;
    return rels.substr(0, end) + extra + rels.substr(end);
}

}  // namespace

// ------------------------------------------------------------------ families

TEST_F(PackageMutationTest, ByteFlips) {
    Draw draw(0x5EED0001);
    std::vector<Variant> variants;
    for (size_t i = 0; i < 1500; ++i) {
        const Seed& seed = seeds_[i % seeds_.size()];
        const raw_zip::Layout layout = raw_zip::Locate(seed.archive);
        const size_t directory = layout.central.empty() ? layout.end : layout.central.front();
        Variant variant{seed.name + ":", seed.archive};
        const size_t flips = 1 + draw.below(4);
        for (size_t k = 0; k < flips; ++k) {
            size_t at;
            const size_t where = draw.below(10);
            if (where < 4) {
                at = draw.below(seed.archive.size());
            } else if (where < 7) {  // a local header with its name
                const size_t local = layout.local[draw.below(layout.local.size())];
                at = local + draw.below(30 + raw_zip::Get16(seed.archive, local + raw_zip::field::kLocalNameLength));
            } else {  // the central directory or the end record
                at = directory + draw.below(seed.archive.size() - directory);
            }
            const unsigned mask = 1 + unsigned(draw.below(255));
            variant.description += " byte " + std::to_string(at) + " (" + Region(seed.archive, at) + ") ^= " + Hex(mask) + ";";
            variant.bytes[at] = char(uint8_t(variant.bytes[at]) ^ mask);
        }
        variants.push_back(std::move(variant));
    }
    RunFamily("byte flips", variants);
}

TEST_F(PackageMutationTest, Truncations) {
    Draw draw(0x5EED0002);
    std::vector<Variant> variants;
    for (const Seed& seed : seeds_) {
        const std::string& archive = seed.archive;
        const raw_zip::Layout layout = raw_zip::Locate(archive);
        std::vector<size_t> cuts = {0, 1, 4, layout.end, layout.end + 10, layout.end + 21, archive.size() - 1};
        for (size_t at : layout.local) cuts.insert(cuts.end(), {at, at + 1, at + 30});
        for (size_t at : layout.central) cuts.insert(cuts.end(), {at, at + 46});
        for (int i = 0; i < 80; ++i) cuts.push_back(draw.below(archive.size()));
        for (size_t cut : cuts) {
            if (cut >= archive.size()) continue;
            variants.push_back({seed.name + ": cut at " + std::to_string(cut) + " (" + Region(archive, cut) + ")",
                                archive.substr(0, cut)});
        }
        for (int i = 0; i < 10; ++i) {
            const size_t drop = 1 + draw.below(archive.size() - 1);
            variants.push_back({seed.name + ": first " + std::to_string(drop) + " bytes dropped", archive.substr(drop)});
        }
    }
    RunFamily("truncations", variants);
}

TEST_F(PackageMutationTest, DamagedArchiveRecords) {
    using namespace raw_zip::field;
    struct Field {
        const char* record;
        const char* name;
        size_t offset;
        int width;
    };
    const std::vector<Field> local = {{"local", "signature", 0, 4},         {"local", "flags", kLocalFlags, 2},
                                      {"local", "method", kLocalMethod, 2}, {"local", "CRC", kLocalCrc, 4},
                                      {"local", "compressed size", kLocalCompressedSize, 4},
                                      {"local", "size", kLocalSize, 4},
                                      {"local", "name length", kLocalNameLength, 2},
                                      {"local", "extra length", kLocalExtraLength, 2}};
    const std::vector<Field> central = {{"central", "signature", 0, 4},
                                        {"central", "flags", kCentralFlags, 2},
                                        {"central", "method", kCentralMethod, 2},
                                        {"central", "CRC", kCentralCrc, 4},
                                        {"central", "compressed size", kCentralCompressedSize, 4},
                                        {"central", "size", kCentralSize, 4},
                                        {"central", "name length", kCentralNameLength, 2},
                                        {"central", "extra length", kCentralExtraLength, 2},
                                        {"central", "comment length", kCentralCommentLength, 2},
                                        {"central", "disk", kCentralDisk, 2},
                                        {"central", "local header offset", kCentralLocalOffset, 4}};
    const std::vector<Field> end = {{"end", "signature", 0, 4},
                                    {"end", "disk", kEndDisk, 2},
                                    {"end", "directory disk", kEndDirectoryDisk, 2},
                                    {"end", "entries on disk", kEndEntriesOnDisk, 2},
                                    {"end", "entries", kEndEntries, 2},
                                    {"end", "directory size", kEndDirectorySize, 4},
                                    {"end", "directory offset", kEndDirectoryOffset, 4},
                                    {"end", "comment length", kEndCommentLength, 2}};
    Draw draw(0x5EED0003);
    std::vector<Variant> variants;
    for (size_t i = 0; i < 660; ++i) {
        const Seed& seed = seeds_[i % seeds_.size()];
        std::string bytes = seed.archive;
        const raw_zip::Layout layout = raw_zip::Locate(bytes);
        const size_t kind = draw.below(10);
        const size_t entry = draw.below(layout.local.size());
        const Field& f = kind < 4 ? draw.pick(local) : kind < 8 ? draw.pick(central) : draw.pick(end);
        const size_t at = (kind < 4 ? layout.local[entry] : kind < 8 ? layout.central[entry] : layout.end) + f.offset;
        const uint32_t max = f.width == 2 ? 0xFFFF : 0xFFFFFFFF;
        const uint32_t old = f.width == 2 ? raw_zip::Get16(bytes, at) : raw_zip::Get32(bytes, at);
        std::vector<uint32_t> values = {0, 1, max, max / 2, max / 2 + 1, old + 1, old - 1, old * 2,
                                        uint32_t(draw.below(size_t(max) + 1))};
        if (std::string(f.name) == "method") values.insert(values.end(), {1, 6, 9, 12, 14, 93, 95, 99, 8});
        if (std::string(f.name) == "flags") values.insert(values.end(), {1, 8, 0x40, 0x800, 0x2000});
        const uint32_t value = draw.pick(values) & max;
        if (f.width == 2)
            raw_zip::Put16(bytes, at, value);
        else
            raw_zip::Put32(bytes, at, value);
        std::string whose = kind < 8 ? " of entry " + std::to_string(entry) : "";
        variants.push_back({seed.name + ": " + f.record + " " + f.name + whose + " " + Hex(old) + " -> " + Hex(value),
                            bytes});
    }
    for (const Seed& seed : seeds_) {
        const std::string& archive = seed.archive;
        const raw_zip::Layout layout = raw_zip::Locate(archive);
        const std::string endRecord = archive.substr(layout.end);
        variants.push_back({seed.name + ": 100 bytes in front", std::string(100, 'A') + archive});
        variants.push_back({seed.name + ": a stray local header signature in front", "PK\x03\x04" + archive});
        variants.push_back({seed.name + ": 1000 bytes behind", archive + std::string(1000, '\0')});
        std::string commented = archive;
        raw_zip::Put16(commented, layout.end + kEndCommentLength, 7);
        variants.push_back({seed.name + ": an archive comment", commented + "comment"});
        std::string overlong = archive;
        raw_zip::Put16(overlong, layout.end + kEndCommentLength, 500);
        variants.push_back({seed.name + ": a comment length past the end", overlong + "short"});
        variants.push_back({seed.name + ": the end record twice", archive + endRecord});
        std::string pointing = endRecord;
        raw_zip::Put32(pointing, kEndDirectoryOffset, uint32_t(layout.end));
        raw_zip::Put16(pointing, kEndEntries, 0);
        raw_zip::Put16(pointing, kEndEntriesOnDisk, 0);
        raw_zip::Put32(pointing, kEndDirectorySize, 0);
        variants.push_back({seed.name + ": an empty second end record behind", archive + pointing});
        variants.push_back({seed.name + ": only the end record", endRecord});
        variants.push_back({seed.name + ": the central directory twice",
                            archive.substr(0, layout.end) + archive.substr(layout.central.front())});
    }
    RunFamily("damaged archive records", variants);
}

TEST_F(PackageMutationTest, RemovedDuplicatedAndRenamedEntries) {
    std::vector<Variant> variants;
    for (const Seed& seed : seeds_) {
        const std::vector<raw_zip::Entry> entries = raw_zip::Read(seed.archive);
        auto add = [&](const std::string& what, const std::vector<raw_zip::Entry>& changed) {
            variants.push_back({seed.name + ": " + what, raw_zip::Write(changed)});
        };
        for (size_t i = 0; i < entries.size(); ++i) {
            const std::string& name = entries[i].name;
            std::vector<raw_zip::Entry> changed = entries;
            changed.erase(changed.begin() + long(i));
            add(name + " removed", changed);

            changed = entries;
            changed.push_back(entries[i]);
            add(name + " twice", changed);

            const std::string other = IsXml(PartOf(seed.parts, name)) ? "<other/>" : "other bytes";
            changed = entries;
            changed.insert(changed.begin(), raw_zip::StoredEntry(name, other));
            add(name + " twice, a different one first", changed);
            changed = entries;
            changed.push_back(raw_zip::StoredEntry(name, other));
            add(name + " twice, a different one last", changed);

            for (const auto& [how, renamed] : std::vector<std::pair<std::string, std::string>>{
                     {"upper case", [&] {
                          std::string upper = name;
                          for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
                          return upper;
                      }()},
                     {"with a leading slash", "/" + name},
                     {"with backslashes", [&] {
                          std::string back = name;
                          for (char& c : back)
                              if (c == '/') c = '\\';
                          return back;
                      }()},
                     {"with a NUL and more", name + std::string("\0.bak", 5)}}) {
                changed = entries;
                changed[i].name = renamed;
                add(name + " renamed " + how, changed);
            }
        }
        std::vector<raw_zip::Entry> reversed(entries.rbegin(), entries.rend());
        add("entries in reverse order", reversed);
        for (const auto& [what, extra] : std::vector<std::pair<std::string, raw_zip::Entry>>{
                 {"a folder entry", raw_zip::StoredEntry("word/", "")},
                 {"an entry without a name", raw_zip::StoredEntry("", "nameless")},
                 {"a name of invalid UTF-8", raw_zip::StoredEntry("word/\xFF\xFE\xC3.xml", "<x/>")},
                 {"a name climbing out", raw_zip::StoredEntry("../../outside.xml", "<x/>")},
                 {"a name of 60000 bytes", raw_zip::StoredEntry("word/" + std::string(60000, 'n'), "<x/>")},
                 {"an unreferenced header part", raw_zip::StoredEntry("word/header9.xml", "<w:hdr/>")},
                 {"a media entry", raw_zip::StoredEntry("word/media/image1.png", "\x89PNG\r\n\x1A\n")}}) {
            std::vector<raw_zip::Entry> changed = entries;
            changed.push_back(extra);
            add("with " + what, changed);
        }
        std::vector<raw_zip::Entry> crowded = entries;
        for (int i = 0; i < 3000; ++i) crowded.push_back(raw_zip::StoredEntry("extra/" + std::to_string(i), "x"));
        add("with 3000 more entries", crowded);
        add("without any entry", {});
    }
    RunFamily("removed, duplicated and renamed entries", variants);
}

TEST_F(PackageMutationTest, DamagedXmlInParts) {
    Draw draw(0x5EED0005);
    std::vector<Variant> variants;
    for (const Seed& seed : seeds_) {
        for (const auto& [name, xml] : seed.parts) {
            if (!IsXml(xml)) continue;
            std::vector<Mangled> manglings = ManglingsOf(xml, draw);
            if (name == "word/document.xml" || name.compare(0, 11, "word/header") == 0 ||
                name.compare(0, 11, "word/footer") == 0) {
                std::vector<Mangled> deep = DeepNestingsOf(xml);
                manglings.insert(manglings.end(), deep.begin(), deep.end());
            }
            for (const Mangled& mangled : manglings)
                variants.push_back({seed.name + ": " + name + " " + mangled.description,
                                    raw_zip::Write(StoredEntries(WithPart(seed.parts, name, mangled.bytes)))});
        }
    }
    RunFamily("damaged XML in parts", variants);
}

TEST_F(PackageMutationTest, OddRelationshipTargets) {
    const std::string relsName = "word/_rels/document.xml.rels";
    const std::vector<std::string> targets = {
        "styles.xml",   "document.xml",        "_rels/document.xml.rels", "../[Content_Types].xml",
        "../docProps/core.xml", "/word/styles.xml", "settings.xml",       "theme/theme1.xml",
        "numbering.xml", "header1.xml",        "footer1.xml",             "",
        "../../../../../etc/hostname", "media", "header1.xml#part",       "missing.xml",
        "header1.xml%00", "%0Aheader1.xml", "header%7F1.xml", "foot%1Fer1.xml"};
    std::vector<Variant> variants;
    for (const Seed& seed : seeds_) {
        const std::string rels = PartOf(seed.parts, relsName);
        auto add = [&](const std::string& what, const std::string& extra) {
            variants.push_back({seed.name + ": " + what,
                                raw_zip::Write(StoredEntries(WithPart(seed.parts, relsName, RelationshipsWith(rels, extra))))});
        };
        for (const char* kind : {"header", "footer", "numbering", "theme"})
            for (const std::string& target : targets)
                add(std::string("a ") + kind + " relationship to \"" + target + "\"",
                    Relationship("rIdOdd", kind, target));
        add("two header relationships to settings.xml",
            Relationship("rIdOdd1", "header", "settings.xml") + Relationship("rIdOdd2", "header", "settings.xml"));
        add("a header and a footer relationship to fontTable.xml",
            Relationship("rIdOdd1", "header", "fontTable.xml") + Relationship("rIdOdd2", "footer", "fontTable.xml"));
        add("an external header relationship",
            Relationship("rIdOdd", "header", "https://example.com/header.xml", " TargetMode=\"External\""));
        add("a header relationship without a target",
            "<Relationship Id=\"rIdOdd\" Type=\"" + std::string(kRelationshipBase) + "header\"/>");
        add("a relationship without a type", "<Relationship Id=\"rIdOdd\" Target=\"header1.xml\"/>");
        add("a relationship of the id of another", Relationship("rId1", "header", "header1.xml"));
        add("a relationship holding children",
            "<Relationship Id=\"rIdOdd\" Type=\"" + std::string(kRelationshipBase) +
                "header\" Target=\"settings.xml\"><Relationship/></Relationship>");
        // Characters XML does not allow in the styles relationship's type:
        // kept, that relationship is no styles relationship; dropped on
        // saving, it becomes one again.
        std::string damagedType = rels;
        const std::string stylesType = "relationships/styles\"";
        const size_t type = damagedType.find(stylesType);
        if (type != std::string::npos) {
            damagedType.replace(type, stylesType.size(), "relationships/sty\x1Cles\"");
            variants.push_back({seed.name + ": a control character in the type of the styles relationship",
                                raw_zip::Write(StoredEntries(WithPart(seed.parts, relsName, damagedType)))});
            const size_t target = damagedType.find("Target=\"styles.xml\"");
            if (target != std::string::npos) {
                damagedType.replace(target, 19, "Target=\"absent.xml\"");
                variants.push_back({seed.name + ": a control character in the type of the styles relationship, "
                                                "whose target is absent",
                                    raw_zip::Write(StoredEntries(WithPart(seed.parts, relsName, damagedType)))});
            }
        }
        variants.push_back({seed.name + ": relationships without any relationship",
                            raw_zip::Write(StoredEntries(WithPart(
                                seed.parts, relsName,
                                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                "relationships\"/>")))});
    }
    RunFamily("odd relationship targets", variants);
}

// Sizes far beyond the bytes behind them, and entries that expand a
// thousandfold. Each variant here is costly: few of them.
TEST_F(PackageMutationTest, HugeDeclaredSizes) {
    const uint64_t kBomb = uint64_t(1) << 30;
    std::vector<Variant> variants;
    const Seed& seed = seeds_.back();  // the blank package
    const std::vector<raw_zip::Entry> entries = raw_zip::Read(seed.archive);
    auto with = [&](const std::string& name, const std::function<void(raw_zip::Entry&)>& change) {
        std::vector<raw_zip::Entry> changed = entries;
        for (raw_zip::Entry& entry : changed)
            if (entry.name == name) change(entry);
        return raw_zip::Write(changed);
    };
    // Well-formed parts with a gigabyte of blanks inside, true sizes and CRCs.
    for (const char* name : {"word/document.xml", "word/styles.xml", "word/settings.xml"}) {
        const std::string xml = PartOf(seed.parts, name);
        const size_t split = xml.rfind("</");
        const std::string head = xml.substr(0, split), tail = xml.substr(split);
        raw_zip::Entry bomb;
        bomb.name = name;
        bomb.method = 8;
        bomb.size = head.size() + kBomb + tail.size();
        bomb.data = raw_zip::DeflateRun(head, ' ', kBomb, tail);
        bomb.crc = raw_zip::Crc32(tail, raw_zip::Crc32Run(raw_zip::Crc32(head), ' ', kBomb));
        variants.push_back({std::string(name) + " expands to a gigabyte of blanks",
                            with(name, [&](raw_zip::Entry& e) { e = bomb; })});
        bomb.size = 1000;
        variants.push_back({std::string(name) + " expands to a gigabyte but declares 1000 bytes",
                            with(name, [&](raw_zip::Entry& e) { e = bomb; })});
    }
    // Sizes that lie; the ZIP64 ones last, as they are the likeliest to bring
    // the process down.
    for (const char* name : {"word/document.xml", "word/settings.xml"})
        for (uint64_t size : {uint64_t(0x7FFFFFFF), uint64_t(0xFFFFFFFE)})
            variants.push_back({std::string(name) + " declares " + Hex(size) + " bytes",
                                with(name, [&](raw_zip::Entry& e) { e.size = size; })});
    for (const char* name : {"word/document.xml", "word/settings.xml"})
        for (uint64_t size : {uint64_t(1) << 40, uint64_t(1) << 62})
            variants.push_back({std::string(name) + " declares " + Hex(size) + " bytes in a ZIP64 field",
                                with(name, [&](raw_zip::Entry& e) {
                                    e.size = size;
                                    e.zip64 = true;
                                })});
    RunFamily("huge declared sizes", variants);
}

// The crafted archives are what they claim: libzip reads them back.
TEST(RawZip, CraftedArchivesReadBackThroughLibzip) {
    const std::string folder = package_files::TestFolder();
    const std::string text = "head" + std::string(5000, ' ') + "tail";
    raw_zip::Entry deflated;
    deflated.name = "deflated.xml";
    deflated.method = 8;
    deflated.size = text.size();
    deflated.data = raw_zip::DeflateRun("head", ' ', 5000, "tail");
    const uint32_t crc = raw_zip::Crc32("tail", raw_zip::Crc32Run(raw_zip::Crc32("head"), ' ', 5000));
    EXPECT_EQ(crc, raw_zip::Crc32(text));
    deflated.crc = crc;
    EXPECT_LT(deflated.data.size(), 50u);
    raw_zip::Entry wide = raw_zip::StoredEntry("zip64.xml", "<x/>");
    wide.zip64 = true;
    const std::string archive = raw_zip::Write({raw_zip::StoredEntry("stored.xml", "<a/>"), deflated, wide});
    package_files::WriteFile(folder + "crafted.zip", archive);

    EXPECT_EQ(zip_entries(folder + "crafted.zip"), (std::vector<std::string>{"stored.xml", "deflated.xml", "zip64.xml"}));
    EXPECT_EQ(zip_read(folder + "crafted.zip", "stored.xml"), "<a/>");
    EXPECT_EQ(zip_read(folder + "crafted.zip", "deflated.xml"), text);
    EXPECT_EQ(zip_read(folder + "crafted.zip", "zip64.xml"), "<x/>");
    const std::vector<raw_zip::Entry> read = raw_zip::Read(raw_zip::Write({raw_zip::StoredEntry("stored.xml", "<a/>"), deflated}));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].data, deflated.data);
    EXPECT_EQ(read[1].crc, crc);
}
