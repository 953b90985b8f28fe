#include "check_packages.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

namespace check_packages {

const char* const kNamespaces =
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\""
    " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\""
    " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
    " xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:o=\"urn:schemas-microsoft-com:office:office\""
    " xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\"";

const char* const kSectPr =
    "<w:sectPr><w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\""
    " w:left=\"1440\" w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/></w:sectPr>";

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char kContentTypes[] = "[Content_Types].xml";
const char kWordTypes[] = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
// A 1x1 PNG.
const char kPng[] =
    "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1f\x15\xc4\x89\0\0\0\rIDATx\xda"
    "cd`\xf8_\x0f\0\x02\x87\x01\x80\xebG\xba\x92\0\0\0\0IEND\xae" "B`\x82";

std::string Override(const std::string& part, const std::string& type) {
    return "<Override PartName=\"/" + part + "\" ContentType=\"" + kWordTypes + type + "\"/>";
}

std::string Relationships(const std::string& inner) {
    return std::string(kDeclaration) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + inner +
           "</Relationships>";
}

std::string RelationshipsOf(const std::string& source) {
    if (source.empty()) return "_rels/.rels";
    const size_t slash = source.rfind('/');
    return slash == std::string::npos ? "_rels/" + source + ".rels"
                                      : source.substr(0, slash) + "/_rels/" + source.substr(slash + 1) + ".rels";
}

// A raw deflate stream: the zlib stream without its 2-byte header and its
// 4-byte checksum.
std::string Deflated(const std::string& bytes) {
    uLongf size = compressBound(bytes.size());
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                  bytes.size(), Z_BEST_SPEED) != Z_OK)
        throw std::runtime_error("compress2");
    return out.substr(2, size - 6);
}

}  // namespace

std::string Document(const std::string& body, const std::string& sectPr) {
    return std::string(kDeclaration) + "<w:document" + kNamespaces + " mc:Ignorable=\"w14\"><w:body>" + body +
           sectPr + "</w:body></w:document>";
}

std::string Part(const std::string& root, const std::string& inner) {
    return std::string(kDeclaration) + "<" + root + kNamespaces + ">" + inner + "</" + root + ">";
}

std::string Relationship(const std::string& id, const std::string& type, const std::string& target, bool external) {
    const std::string fullType =
        type.find(':') != std::string::npos
            ? type
            : "http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type;
    return "<Relationship Id=\"" + id + "\" Type=\"" + fullType + "\" Target=\"" + target + "\"" +
           (external ? " TargetMode=\"External\"" : "") + "/>";
}

std::string Picture(const std::string& id, const std::string& embed, const std::string& spPr, const std::string& wrap) {
    const std::string extent = "<wp:extent cx=\"914400\" cy=\"914400\"/>";
    const std::string graphic =
        "<wp:docPr id=\"" + id + "\" name=\"Picture " + id +
        "\"/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
        "<pic:nvPicPr><pic:cNvPr id=\"0\" name=\"image1.png\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill>"
        "<a:blip r:embed=\"" + embed + "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr>"
        "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"914400\" cy=\"914400\"/></a:xfrm>" + spPr +
        "</pic:spPr></pic:pic></a:graphicData></a:graphic>";
    if (wrap.empty()) return "<w:r><w:drawing><wp:inline>" + extent + graphic + "</wp:inline></w:drawing></w:r>";
    return "<w:r><w:drawing><wp:anchor distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" simplePos=\"0\""
           " relativeHeight=\"1\" behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\">"
           "<wp:simplePos x=\"0\" y=\"0\"/><wp:positionH relativeFrom=\"column\"><wp:posOffset>0</wp:posOffset>"
           "</wp:positionH><wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>0</wp:posOffset></wp:positionV>" +
           extent + wrap + graphic + "</wp:anchor></w:drawing></w:r>";
}

Package Strict(Package package) {
    return package.replaceAll("http://schemas.openxmlformats.org/wordprocessingml/2006/main",
                              "http://purl.oclc.org/ooxml/wordprocessingml/main")
        .replaceAll("http://schemas.openxmlformats.org/officeDocument/2006/relationships",
                    "http://purl.oclc.org/ooxml/officeDocument/relationships")
        .replace("word/document.xml", "<w:document ", "<w:document w:conformance=\"strict\" ");
}

std::string Table(const std::vector<std::string>& cells, const std::string& tblPr, const std::string& tblGrid) {
    std::string out = "<w:tbl>" + tblPr + tblGrid + "<w:tr>";
    for (const std::string& cell : cells) out += "<w:tc>" + cell + "</w:tc>";
    return out + "</w:tr></w:tbl>";
}

Package::Package() {
    entries_ = {
        {kContentTypes,
         std::string(kDeclaration) + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>" +
             Override("word/document.xml", "document.main+xml") + Override("word/styles.xml", "styles+xml") +
             "</Types>"},
        {"_rels/.rels", Relationships(Relationship("rId1", "officeDocument", "word/document.xml"))},
        {"word/document.xml", Document("<w:p><w:pPr><w:jc w:val=\"left\"/></w:pPr><w:r><w:rPr><w:b/></w:rPr>"
                                       "<w:t>Hello</w:t></w:r></w:p>")},
        {"word/_rels/document.xml.rels", Relationships(Relationship("rId1", "styles", "styles.xml"))},
        {"word/styles.xml",
         Part("w:styles",
              "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Calibri\"/><w:sz w:val=\"22\"/></w:rPr>"
              "</w:rPrDefault></w:docDefaults><w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"
              "<w:name w:val=\"Normal\"/><w:qFormat/></w:style>")},
    };
}

Package& Package::set(const std::string& name, const std::string& bytes) {
    for (auto& e : entries_)
        if (e.first == name) {
            e.second = bytes;
            return *this;
        }
    return add(name, bytes);
}

Package& Package::add(const std::string& name, const std::string& bytes) {
    entries_.emplace_back(name, bytes);
    return *this;
}

Package& Package::remove(const std::string& name) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.first == name; }),
                   entries_.end());
    return *this;
}

Package& Package::replace(const std::string& name, const std::string& from, const std::string& to) {
    for (auto& e : entries_)
        if (e.first == name) {
            const size_t at = e.second.find(from);
            if (at == std::string::npos) throw std::logic_error(name + " holds no " + from);
            e.second.replace(at, from.size(), to);
            return *this;
        }
    throw std::logic_error("no entry " + name);
}

Package& Package::replaceAll(const std::string& from, const std::string& to) {
    for (auto& e : entries_)
        for (size_t at = e.second.find(from); at != std::string::npos; at = e.second.find(from, at + to.size()))
            e.second.replace(at, from.size(), to);
    return *this;
}

const std::string& Package::get(const std::string& name) const {
    for (const auto& e : entries_)
        if (e.first == name) return e.second;
    throw std::logic_error("no entry " + name);
}

Package& Package::body(const std::string& body, const std::string& sectPr) {
    return set("word/document.xml", Document(body, sectPr));
}

Package& Package::type(const std::string& xml) { return replace(kContentTypes, "</Types>", xml + "</Types>"); }

Package& Package::relate(const std::string& source, const std::string& relationship) {
    const std::string rels = RelationshipsOf(source);
    for (const auto& e : entries_)
        if (e.first == rels) return replace(rels, "</Relationships>", relationship + "</Relationships>");
    return add(rels, Relationships(relationship));
}

Package& Package::part(const std::string& name, const std::string& xml, const std::string& kind,
                       const std::string& id) {
    return set("word/" + name, xml)
        .type(Override("word/" + name, kind + "+xml"))
        .relate("word/document.xml", Relationship(id, kind, name));
}

Package& Package::image() {
    return set("word/media/image1.png", std::string(kPng, sizeof kPng - 1))
        .type("<Default Extension=\"png\" ContentType=\"image/png\"/>")
        .relate("word/document.xml", Relationship("rIdImage1", "image", "media/image1.png"));
}

std::vector<raw_zip::Entry> Package::entries(bool deflate) const {
    std::vector<raw_zip::Entry> out;
    for (const auto& [name, bytes] : entries_) {
        raw_zip::Entry e = raw_zip::StoredEntry(name, bytes);
        if (deflate) {
            e.method = 8;
            e.data = Deflated(bytes);
        }
        out.push_back(std::move(e));
    }
    return out;
}

cli::CheckReport Check(const std::string& archive, bool strict, size_t shownPerRule) {
    cli::CheckOptions options;
    options.strict = strict;
    options.shownPerRule = shownPerRule;
    return cli::Check_PackageBytes("test.docx", archive, options);
}

namespace {

void SaveFault(const std::string& name, const std::string& archive, bool ours) {
    const std::filesystem::path folder = std::filesystem::path(VEXWORD_OUT_DIR) / "cli" / "faults";
    std::filesystem::create_directories(folder);
    // A case that moved from one kind to the other leaves no copy behind.
    std::filesystem::remove(folder / (name + (ours ? ".fault" : ".ours")));
    std::ofstream out(folder / (name + (ours ? ".ours" : ".fault")), std::ios::binary);
    out << archive;
    ASSERT_TRUE(out.good()) << name;
}

}  // namespace

void ExpectSoleFindings(const std::vector<FaultCase>& cases) {
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string archive = c.archive();
        for (const bool strict : {false, true}) {
            const cli::CheckReport report = Check(archive, strict);
            ASSERT_EQ(report.findings.size(), 1u) << (strict ? "--strict\n" : "") << cli::CheckReport_Text(report);
            const cli::Finding& f = report.findings[0];
            const bool error = c.rated == Rated::Error || (c.rated == Rated::StrictError && strict);
            EXPECT_EQ(f.rule, c.rule);
            EXPECT_EQ(f.part, c.part);
            EXPECT_EQ(f.severity == cli::Severity::Error, error) << (strict ? "with" : "without") << " strict";
            EXPECT_NE(f.message.find(c.message), std::string::npos) << f.message;
        }
        const std::string rule = c.rule;
        SaveFault(c.name, archive, c.rated != Rated::Error || rule == "ids" || rule == "page");
    }
}

void ExpectNoFindings(const std::vector<std::pair<const char*, Make>>& packages) {
    for (const auto& [name, archive] : packages) {
        SCOPED_TRACE(name);
        const cli::CheckReport report = Check(archive(), true);
        EXPECT_TRUE(report.findings.empty()) << cli::CheckReport_Text(report);
    }
}

}  // namespace check_packages
