// One pass of expat, with namespace processing, over a part: the judge of
// well-formed XML 1.0 with namespaces. Each element is handed to the
// visitors with its namespace resolved, so that the rules of a part all
// run in that one pass.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct XmlAttribute {
    std::string_view uri, local, prefix, value;  // uri and prefix empty for an unprefixed attribute
    const char* known = nullptr;                 // Xml_KnownPrefix(uri)
};

// The elements the rules look for by name, known once per element.
enum class Tag {
    Other,
    Paragraph, Table, TableProperties, TableGrid, Cell, TextBox, Header, Footer, Footnote, Footnotes,
    Endnote, Endnotes, StructuredTag, CustomXml, AltChunk, AlternateContent, Choice, RunProperties,
    Insertion, Deletion, MoveFrom, MoveTo, TableBorders, DiagonalDown, DiagonalUp, PresetGeometry,
    WrapSquare, WrapTight, WrapThrough, WrapPolygon, BookmarkStart, BookmarkEnd, SectionProperties,
    PageSize, PageMargins, DrawingProperties,
};

struct XmlElement {
    std::string_view uri, local, prefix;
    // "w:p", "a:ln", ...: the name under the prefix this checker gives the
    // namespace (transitional and strict alike); empty for other namespaces.
    const std::string& known;
    Tag tag;
    const std::vector<XmlAttribute>& attributes;
    size_t line, column;
    // The value of an unprefixed attribute; null when it is absent.
    const std::string_view* attribute(std::string_view local) const;
    // The value of an attribute in the namespace known as `prefix` ("w").
    const std::string_view* attribute(const char* prefix, std::string_view local) const;
};

struct XmlScan;

class XmlVisitor {
public:
    virtual ~XmlVisitor() = default;
    virtual void start(const XmlElement& element) = 0;
    virtual void end() {}
    // After the pass: what the visitor found is reported here, and only
    // for a part that is well-formed.
    virtual void finish(const XmlScan&) {}
};

struct XmlProblem {
    std::string message;
    size_t line = 0, column = 0;
};

struct XmlScan {
    // Why the part is not well-formed XML 1.0 with namespaces; empty when
    // it is. Visitors may have seen part of it.
    XmlProblem error;
    // Prefixes named by mc:Ignorable, mc:ProcessContent, mc:MustUnderstand
    // or mc:Choice Requires that are not declared where they are named.
    std::vector<XmlProblem> undeclaredPrefixes;
    std::string rootUri, rootLocal;
    bool wellFormed() const { return error.message.empty(); }
};

XmlScan Xml_Scan(const std::string& bytes, const std::vector<XmlVisitor*>& visitors);

// The prefix this checker gives a namespace URI ("w" for both main
// WordprocessingML namespaces, "r" for relationship references, "o" for
// VML's office namespace); null for any other.
const char* Xml_KnownPrefix(std::string_view uri);

// The tag of a known name ("w:tc"); Tag::Other for the rest.
Tag Xml_TagOf(const std::string& known);

// Namespace URIs the rules compare against.
namespace ns {
extern const char* const kContentTypes;
extern const char* const kPackageRelationships;
extern const char* const kMarkupCompatibility;
}  // namespace ns

}  // namespace cli
