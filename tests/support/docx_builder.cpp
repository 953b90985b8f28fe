#include "docx_builder.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string_view>

#include <gtest/gtest.h>
#include <zip.h>

extern char** environ;

const char* const kDocxNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "xmlns:v=\"urn:schemas-microsoft-com:vml\" "
    "xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
    "xmlns:w10=\"urn:schemas-microsoft-com:office:word\" "
    "xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\" "
    "xmlns:wp14=\"http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing\" "
    "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" "
    "xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\"";

namespace {

const char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char kMainType[] =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
const char kRelationshipBase[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

const char kMinimalStyles[] =
    "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val=\"22\"/></w:rPr></w:rPrDefault>"
    "<w:pPrDefault/></w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
    "<w:qFormat/></w:style>"
    "</w:styles>";

std::string HeaderName(const char* kind, size_t i) {
    return "word/" + std::string(kind) + std::to_string(i + 1) + ".xml";
}

std::string RelationshipId(const char* kind, size_t i) {
    return std::string(kind == std::string("header") ? "rIdHeader" : "rIdFooter") +
           std::to_string(i + 1);
}

std::string DefaultSectPr(const DocxParts& parts) {
    std::string xml = "<w:sectPr>";
    for (size_t i = 0; i < parts.headers.size(); ++i)
        xml += "<w:headerReference w:type=\"" + parts.headers[i].type + "\" r:id=\"" +
               RelationshipId("header", i) + "\"/>";
    for (size_t i = 0; i < parts.footers.size(); ++i)
        xml += "<w:footerReference w:type=\"" + parts.footers[i].type + "\" r:id=\"" +
               RelationshipId("footer", i) + "\"/>";
    return xml +
           "<w:pgSz w:w=\"12240\" w:h=\"15840\"/>"
           "<w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" w:left=\"1440\" "
           "w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/></w:sectPr>";
}

// The generated entries, in archive order.
std::vector<std::pair<std::string, std::string>> GeneratedEntries(const DocxParts& parts) {
    std::string types =
        std::string(kXmlDeclaration) +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Default Extension=\"png\" ContentType=\"image/png\"/>"
        "<Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>"
        "<Default Extension=\"jpg\" ContentType=\"image/jpeg\"/>"
        "<Override PartName=\"/word/document.xml\" ContentType=\"" + kMainType + "\"/>"
        "<Override PartName=\"/word/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>";
    if (!parts.numbering.empty())
        types += "<Override PartName=\"/word/numbering.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml\"/>";
    if (!parts.core.empty())
        types += "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>";
    for (size_t i = 0; i < parts.headers.size(); ++i)
        types += "<Override PartName=\"/" + HeaderName("header", i) +
                 "\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/>";
    for (size_t i = 0; i < parts.footers.size(); ++i)
        types += "<Override PartName=\"/" + HeaderName("footer", i) +
                 "\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml\"/>";
    types += "</Types>";

    std::string packageRels =
        std::string(kXmlDeclaration) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" + kRelationshipBase + "officeDocument\" Target=\"word/document.xml\"/>";
    if (!parts.core.empty())
        packageRels += "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>";
    packageRels += "</Relationships>";

    std::string document = std::string(kXmlDeclaration) + "<w:document " + kDocxNamespaces +
                           "><w:body>" + parts.body +
                           (parts.appendSectPr ? DefaultSectPr(parts) : std::string()) +
                           "</w:body></w:document>";

    std::string documentRels =
        std::string(kXmlDeclaration) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" + kRelationshipBase + "styles\" Target=\"styles.xml\"/>";
    if (!parts.numbering.empty())
        documentRels += "<Relationship Id=\"rId2\" Type=\"" + std::string(kRelationshipBase) +
                        "numbering\" Target=\"numbering.xml\"/>";
    for (size_t i = 0; i < parts.headers.size(); ++i)
        documentRels += "<Relationship Id=\"" + RelationshipId("header", i) + "\" Type=\"" +
                        kRelationshipBase + "header\" Target=\"header" + std::to_string(i + 1) + ".xml\"/>";
    for (size_t i = 0; i < parts.footers.size(); ++i)
        documentRels += "<Relationship Id=\"" + RelationshipId("footer", i) + "\" Type=\"" +
                        kRelationshipBase + "footer\" Target=\"footer" + std::to_string(i + 1) + ".xml\"/>";
    documentRels += parts.documentRelationships + "</Relationships>";

    std::vector<std::pair<std::string, std::string>> entries = {
        {"[Content_Types].xml", types},
        {"_rels/.rels", packageRels},
    };
    if (!parts.core.empty()) entries.emplace_back("docProps/core.xml", parts.core);
    entries.emplace_back("word/document.xml", document);
    entries.emplace_back("word/_rels/document.xml.rels", documentRels);
    entries.emplace_back("word/styles.xml", parts.styles.empty() ? std::string(kMinimalStyles) : parts.styles);
    if (!parts.numbering.empty()) entries.emplace_back("word/numbering.xml", parts.numbering);
    for (size_t i = 0; i < parts.headers.size(); ++i)
        entries.emplace_back(HeaderName("header", i), std::string(kXmlDeclaration) + "<w:hdr " +
                                                          kDocxNamespaces + ">" + parts.headers[i].xml + "</w:hdr>");
    for (size_t i = 0; i < parts.footers.size(); ++i)
        entries.emplace_back(HeaderName("footer", i), std::string(kXmlDeclaration) + "<w:ftr " +
                                                          kDocxNamespaces + ">" + parts.footers[i].xml + "</w:ftr>");
    return entries;
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

Archive OpenForReading(const std::string& path) {
    int error = 0;
    Archive archive(zip_open(path.c_str(), ZIP_RDONLY, &error));
    if (!archive) throw std::runtime_error("cannot open " + path + " as a ZIP archive");
    return archive;
}

// Runs a program and collects its standard output; its exit status.
int RunCapture(const std::vector<std::string>& argv, std::string& out) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        return -1;
    }
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, size_t(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const char kPython[] = "/usr/bin/python3";

}  // namespace

std::string docx_table(const std::vector<std::vector<std::string>>& rows) {
    size_t columns = 0;
    for (const auto& row : rows) columns = std::max(columns, row.size());
    std::string xml = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid>";
    for (size_t i = 0; i < columns; ++i) xml += "<w:gridCol w:w=\"2000\"/>";
    xml += "</w:tblGrid>";
    for (const auto& row : rows) {
        xml += "<w:tr>";
        for (const std::string& cell : row) xml += "<w:tc>" + (cell.empty() ? std::string("<w:p/>") : cell) + "</w:tc>";
        xml += "</w:tr>";
    }
    return xml + "</w:tbl>";
}

const char* const kFromScratchSuffix = ".new.docx";

namespace {

bool EndsWith(const std::string& name, std::string_view end) {
    return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

bool is_from_scratch_name(const std::string& name) { return EndsWith(name, kFromScratchSuffix); }

bool is_docx_name(const std::string& name) { return EndsWith(name, ".docx"); }

void write_docx(const std::string& path, const DocxParts& parts) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (auto& entry : GeneratedEntries(parts)) {
        if (parts.omit.count(entry.first)) continue;
        auto raw = parts.overrides.find(entry.first);
        if (raw != parts.overrides.end()) entry.second = raw->second;
        entries.push_back(std::move(entry));
    }
    for (const auto& [name, bytes] : parts.overrides) {
        bool generated = false;
        for (const auto& e : entries) generated = generated || e.first == name;
        if (!generated && !parts.omit.count(name)) entries.emplace_back(name, bytes);
    }
    for (const auto& entry : parts.extraEntries)
        if (!parts.omit.count(entry.first)) entries.push_back(entry);

    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) throw std::runtime_error("cannot create " + path);
    // libzip reads the buffers at zip_close; `entries` outlives it.
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        zip_int64_t index = source ? zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source) zip_source_free(source);
            zip_discard(archive);
            throw std::runtime_error("cannot add " + name + " to " + path);
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0) {
        std::string message = zip_strerror(archive);
        zip_discard(archive);
        throw std::runtime_error("cannot write " + path + ": " + message);
    }
}

void write_docx(const std::string& path, const std::string& bodyXml) {
    DocxParts parts;
    parts.body = bodyXml;
    write_docx(path, parts);
}

std::vector<std::string> zip_entries(const std::string& path) {
    Archive archive = OpenForReading(path);
    std::vector<std::string> names;
    zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive.get(), zip_uint64_t(i), ZIP_FL_ENC_RAW);
        names.push_back(name ? name : "");
    }
    return names;
}

std::string zip_read(const std::string& path, const std::string& name) {
    Archive archive = OpenForReading(path);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive.get(), name.c_str(), 0, &stat) != 0)
        throw std::runtime_error(path + " has no entry " + name);
    zip_file_t* file = zip_fopen(archive.get(), name.c_str(), 0);
    if (!file) throw std::runtime_error("cannot open " + name + " in " + path);
    std::string bytes(size_t(stat.size), '\0');
    zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
    if (read < 0 || zip_uint64_t(read) != stat.size)
        throw std::runtime_error("cannot read " + name + " in " + path);
    return bytes;
}

bool python_docx_available() {
    static const bool available = [] {
        std::string ignored;
        return RunCapture({kPython, "-c", "import docx"}, ignored) == 0;
    }();
    return available;
}

std::vector<std::string> python_docx_paragraphs(const std::string& path) {
    if (!python_docx_available()) {
        [] { GTEST_SKIP() << "python-docx is not installed"; }();
        return {};
    }
    static const char kScript[] =
        "import sys, docx\n"
        "out = sys.stdout.buffer\n"
        "for p in docx.Document(sys.argv[1]).paragraphs:\n"
        "    out.write(p.text.encode('utf-8') + b'\\0')\n";
    std::string out;
    if (RunCapture({kPython, "-c", kScript, path}, out) != 0) {
        ADD_FAILURE() << "python-docx cannot read " << path;
        return {};
    }
    std::vector<std::string> texts;
    for (size_t start = 0, end; (end = out.find('\0', start)) != std::string::npos; start = end + 1)
        texts.push_back(out.substr(start, end - start));
    return texts;
}

std::string python_docx_run(const std::string& script, const std::vector<std::string>& args) {
    if (!python_docx_available()) {
        [] { GTEST_SKIP() << "python-docx is not installed"; }();
        return {};
    }
    std::vector<std::string> command = {kPython, "-c", script};
    command.insert(command.end(), args.begin(), args.end());
    std::string out;
    if (RunCapture(command, out) != 0) ADD_FAILURE() << "python-docx script failed:\n" << script << "\n" << out;
    return out;
}
