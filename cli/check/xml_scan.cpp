#include "check/xml_scan.h"

#include <expat.h>

#include <cstring>
#include <unordered_map>

namespace cli {

namespace ns {
const char* const kContentTypes = "http://schemas.openxmlformats.org/package/2006/content-types";
const char* const kPackageRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";
const char* const kMarkupCompatibility = "http://schemas.openxmlformats.org/markup-compatibility/2006";
}  // namespace ns

namespace {

struct KnownNamespace {
    const char* uri;
    const char* prefix;
};

// The strict namespaces are judged as their transitional twins.
const KnownNamespace kKnown[] = {
    {"http://schemas.openxmlformats.org/wordprocessingml/2006/main", "w"},
    {"http://purl.oclc.org/ooxml/wordprocessingml/main", "w"},
    {"http://schemas.openxmlformats.org/drawingml/2006/main", "a"},
    {"http://purl.oclc.org/ooxml/drawingml/main", "a"},
    {"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing", "wp"},
    {"http://purl.oclc.org/ooxml/drawingml/wordprocessingDrawing", "wp"},
    {"http://schemas.openxmlformats.org/drawingml/2006/picture", "pic"},
    {"http://purl.oclc.org/ooxml/drawingml/picture", "pic"},
    {"http://schemas.microsoft.com/office/word/2010/wordprocessingShape", "wps"},
    {"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup", "wpg"},
    {"http://schemas.openxmlformats.org/markup-compatibility/2006", "mc"},
    {"http://schemas.openxmlformats.org/officeDocument/2006/relationships", "r"},
    {"http://purl.oclc.org/ooxml/officeDocument/relationships", "r"},
    {"urn:schemas-microsoft-com:office:office", "o"},
    {"http://schemas.openxmlformats.org/officeDocument/2006/math", "m"},
    {"http://schemas.openxmlformats.org/schemaLibrary/2006/main", "sl"},
};

constexpr char kSeparator = '\x01';

// "uri\1local\1prefix", "uri\1local" or "local".
void SplitName(const char* name, std::string_view& uri, std::string_view& local, std::string_view& prefix) {
    std::string_view all(name);
    const size_t first = all.find(kSeparator);
    if (first == std::string_view::npos) {
        uri = prefix = std::string_view();
        local = all;
        return;
    }
    uri = all.substr(0, first);
    const size_t second = all.find(kSeparator, first + 1);
    if (second == std::string_view::npos) {
        local = all.substr(first + 1);
        prefix = std::string_view();
    } else {
        local = all.substr(first + 1, second - first - 1);
        prefix = all.substr(second + 1);
    }
}

struct Scanner {
    Scanner(XML_Parser p, const std::vector<XmlVisitor*>& v, XmlScan& r) : parser(p), visitors(v), result(r) {}
    XML_Parser parser;
    const std::vector<XmlVisitor*>& visitors;
    XmlScan& result;
    bool doctype = false;
    bool sawRoot = false;
    std::string version, encoding;
    // Prefix -> how many declarations of it are in scope.
    std::unordered_map<std::string, int> inScope;
    std::string known;
    std::vector<XmlAttribute> attributes;
    // Parts use few namespaces, mostly one after another: the last URI's
    // prefix is kept.
    std::string lastUri;
    const char* lastKnown = nullptr;

    const char* knownPrefix(std::string_view uri) {
        if (uri.empty()) return nullptr;
        if (uri.size() == lastUri.size() && uri == lastUri) return lastKnown;
        lastUri.assign(uri);
        lastKnown = Xml_KnownPrefix(uri);
        return lastKnown;
    }

    bool declared(std::string_view prefix) {
        if (prefix == "xml") return true;
        auto it = inScope.find(std::string(prefix));
        return it != inScope.end() && it->second > 0;
    }
    size_t line() const { return XML_GetCurrentLineNumber(parser); }
    size_t column() const { return XML_GetCurrentColumnNumber(parser) + 1; }

    void undeclared(const std::string& message) {
        result.undeclaredPrefixes.push_back({message, line(), column()});
    }

    void start(const char* name, const char** attrs) {
        std::string_view uri, local, prefix;
        SplitName(name, uri, local, prefix);
        known.clear();
        if (const char* p = knownPrefix(uri)) known.append(p).append(":").append(local);
        XmlElement e{uri, local, prefix, known, known.empty() ? Tag::Other : Xml_TagOf(known), attributes, line(), column()};
        attributes.clear();
        for (size_t i = 0; attrs[i]; i += 2) {
            XmlAttribute a;
            SplitName(attrs[i], a.uri, a.local, a.prefix);
            a.value = attrs[i + 1];
            a.known = knownPrefix(a.uri);
            attributes.push_back(a);
        }
        if (!sawRoot) {
            sawRoot = true;
            result.rootUri = std::string(e.uri);
            result.rootLocal = std::string(e.local);
        }
        auto qname = [&e] {
            return e.prefix.empty() ? std::string(e.local) : std::string(e.prefix) + ":" + std::string(e.local);
        };
        for (const XmlAttribute& a : attributes) {
            if (!a.known) continue;
            if (std::strcmp(a.known, "mc") == 0 &&
                (a.local == "Ignorable" || a.local == "ProcessContent" || a.local == "MustUnderstand")) {
                for (std::string_view token : Tokens(a.value)) {
                    const std::string_view prefix = token.substr(0, token.find(':'));
                    if (!declared(prefix))
                        undeclared("mc:" + std::string(a.local) + " on <" + qname() + "> names prefix '" +
                                   std::string(prefix) + "', which is not declared");
                }
            }
        }
        if (e.tag == Tag::Choice) {
            for (const XmlAttribute& a : attributes) {
                if (!a.uri.empty() || a.local != "Requires") continue;
                for (std::string_view prefix : Tokens(a.value))
                    if (!declared(prefix))
                        undeclared("mc:Choice Requires=\"" + std::string(a.value) + "\" names prefix '" +
                                   std::string(prefix) + "', which is not declared");
            }
        }
        for (XmlVisitor* v : visitors) v->start(e);
    }

    static std::vector<std::string_view> Tokens(std::string_view s) {
        std::vector<std::string_view> tokens;
        size_t at = 0;
        while (at < s.size()) {
            while (at < s.size() && (s[at] == ' ' || s[at] == '\t' || s[at] == '\n' || s[at] == '\r')) ++at;
            size_t end = at;
            while (end < s.size() && !(s[end] == ' ' || s[end] == '\t' || s[end] == '\n' || s[end] == '\r')) ++end;
            if (end > at) tokens.push_back(s.substr(at, end - at));
            at = end;
        }
        return tokens;
    }
};

void XMLCALL OnStart(void* data, const char* name, const char** attrs) {
    static_cast<Scanner*>(data)->start(name, attrs);
}
void XMLCALL OnEnd(void* data, const char*) {
    for (XmlVisitor* v : static_cast<Scanner*>(data)->visitors) v->end();
}
void XMLCALL OnNamespaceStart(void* data, const char* prefix, const char*) {
    static_cast<Scanner*>(data)->inScope[prefix ? prefix : ""] += 1;
}
void XMLCALL OnNamespaceEnd(void* data, const char* prefix) {
    static_cast<Scanner*>(data)->inScope[prefix ? prefix : ""] -= 1;
}
void XMLCALL OnDoctype(void* data, const char*, const char*, const char*, int) {
    Scanner* s = static_cast<Scanner*>(data);
    s->doctype = true;
    // Nothing a DOCTYPE declares is read: no entity is ever expanded.
    XML_StopParser(s->parser, XML_FALSE);
}
void XMLCALL OnDeclaration(void* data, const char* version, const char* encoding, int) {
    Scanner* s = static_cast<Scanner*>(data);
    s->version = version ? version : "";
    s->encoding = encoding ? encoding : "";
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

const std::string_view* XmlElement::attribute(std::string_view name) const {
    for (const XmlAttribute& a : attributes)
        if (a.uri.empty() && a.local == name) return &a.value;
    return nullptr;
}

const std::string_view* XmlElement::attribute(const char* prefix, std::string_view name) const {
    for (const XmlAttribute& a : attributes)
        if (a.known && a.local == name && std::strcmp(a.known, prefix) == 0) return &a.value;
    return nullptr;
}

Tag Xml_TagOf(const std::string& known) {
    static const std::unordered_map<std::string, Tag> tags = {
        {"w:p", Tag::Paragraph}, {"w:tbl", Tag::Table}, {"w:tblPr", Tag::TableProperties},
        {"w:tblGrid", Tag::TableGrid}, {"w:tc", Tag::Cell}, {"w:txbxContent", Tag::TextBox},
        {"w:hdr", Tag::Header}, {"w:ftr", Tag::Footer}, {"w:footnote", Tag::Footnote},
        {"w:footnotes", Tag::Footnotes}, {"w:endnote", Tag::Endnote}, {"w:endnotes", Tag::Endnotes},
        {"w:sdt", Tag::StructuredTag}, {"w:customXml", Tag::CustomXml}, {"w:altChunk", Tag::AltChunk},
        {"mc:AlternateContent", Tag::AlternateContent}, {"mc:Choice", Tag::Choice},
        {"w:rPr", Tag::RunProperties}, {"w:ins", Tag::Insertion}, {"w:del", Tag::Deletion},
        {"w:moveFrom", Tag::MoveFrom}, {"w:moveTo", Tag::MoveTo}, {"w:tblBorders", Tag::TableBorders},
        {"w:tl2br", Tag::DiagonalDown}, {"w:tr2bl", Tag::DiagonalUp}, {"a:prstGeom", Tag::PresetGeometry},
        {"wp:wrapSquare", Tag::WrapSquare}, {"wp:wrapTight", Tag::WrapTight},
        {"wp:wrapThrough", Tag::WrapThrough}, {"wp:wrapPolygon", Tag::WrapPolygon},
        {"w:bookmarkStart", Tag::BookmarkStart}, {"w:bookmarkEnd", Tag::BookmarkEnd},
        {"w:sectPr", Tag::SectionProperties}, {"w:pgSz", Tag::PageSize}, {"w:pgMar", Tag::PageMargins},
        {"wp:docPr", Tag::DrawingProperties},
    };
    auto it = tags.find(known);
    return it == tags.end() ? Tag::Other : it->second;
}

const char* Xml_KnownPrefix(std::string_view uri) {
    if (uri.empty()) return nullptr;
    for (const KnownNamespace& k : kKnown)
        if (uri == k.uri) return k.prefix;
    return nullptr;
}

XmlScan Xml_Scan(const std::string& bytes, const std::vector<XmlVisitor*>& visitors) {
    XmlScan result;
    XML_Parser parser = XML_ParserCreateNS(nullptr, kSeparator);
    if (!parser) {
        result.error.message = "the XML parser could not start";
        return result;
    }
    XML_SetReturnNSTriplet(parser, 1);
    Scanner scanner{parser, visitors, result};
    XML_SetUserData(parser, &scanner);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetNamespaceDeclHandler(parser, OnNamespaceStart, OnNamespaceEnd);
    XML_SetStartDoctypeDeclHandler(parser, OnDoctype);
    XML_SetXmlDeclHandler(parser, OnDeclaration);
    // Parsed in slices: XML_Parse takes an int length.
    constexpr size_t kSlice = 1 << 30;
    XML_Status status = XML_STATUS_OK;
    size_t at = 0;
    do {
        const size_t n = std::min(kSlice, bytes.size() - at);
        const bool last = at + n == bytes.size();
        status = XML_Parse(parser, bytes.data() + at, static_cast<int>(n), last);
        at += n;
    } while (status == XML_STATUS_OK && at < bytes.size());
    if (scanner.doctype) {
        result.error = {"has a DOCTYPE declaration (not allowed in a package part)", scanner.line(), scanner.column()};
    } else if (status != XML_STATUS_OK) {
        result.error = {std::string("not well-formed: ") + XML_ErrorString(XML_GetErrorCode(parser)),
                        scanner.line(), scanner.column()};
    } else if (!scanner.version.empty() && scanner.version != "1.0") {
        result.error = {"XML version " + scanner.version + " (only 1.0 is allowed)", 1, 1};
    } else if (!scanner.encoding.empty() && Lower(scanner.encoding) != "utf-8" &&
               Lower(scanner.encoding) != "utf-16") {
        result.error = {"encoding " + scanner.encoding + " (only UTF-8 and UTF-16 are allowed)", 1, 1};
    }
    XML_ParserFree(parser);
    return result;
}

}  // namespace cli
