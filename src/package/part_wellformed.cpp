#include "package/part_wellformed.h"

#include <cstring>
#include <strings.h>
#include <string>
#include <unordered_set>
#include <vector>

#include "package/utf8_text.h"
#include "package/xml_name_chars.h"
#include "package/xml_string_writer.h"

namespace {

const char kXmlUri[] = "http://www.w3.org/XML/1998/namespace";
const char kXmlnsUri[] = "http://www.w3.org/2000/xmlns/";

// Elements with more attributes than this are checked for duplicates with
// a hash set instead of pairwise.
const size_t kPairwiseAttributes = 12;

// One prefix binding in scope; the prefix points into the declaring
// attribute's name.
struct Binding {
    const char* prefix;
    size_t length;
    const char* uri;
};

struct Scopes {
    std::vector<Binding> bindings;
    std::vector<size_t> marks;  // bindings.size() as each open element began
    // The last prefix looked up, valid while the bindings stay as they were:
    // nearly every name of a part has the same prefix as the one before.
    std::string cachedPrefix;
    const char* cachedUri = nullptr;
    size_t cachedGeneration = 0;
    size_t generation = 1;
};

const char* Scopes_Lookup(Scopes& scopes, const char* prefix, size_t length) {
    if (scopes.cachedGeneration == scopes.generation && scopes.cachedPrefix.size() == length &&
        std::memcmp(scopes.cachedPrefix.data(), prefix, length) == 0)
        return scopes.cachedUri;
    const char* uri = nullptr;
    if (length == 3 && std::memcmp(prefix, "xml", 3) == 0) {
        uri = kXmlUri;
    } else {
        for (size_t i = scopes.bindings.size(); i-- > 0;) {
            const Binding& b = scopes.bindings[i];
            if (b.length == length && std::memcmp(b.prefix, prefix, length) == 0) {
                uri = b.uri;
                break;
            }
        }
    }
    scopes.cachedPrefix.assign(prefix, length);
    scopes.cachedUri = uri;
    scopes.cachedGeneration = scopes.generation;
    return uri;
}

// What an ASCII byte may be in a name: 1 a first character, 2 a later one
// only, 3 the colon; 0 none. Bytes beyond ASCII are judged per character.
struct NameBytes {
    unsigned char kind[128] = {};
    constexpr NameBytes() {
        for (int c = 'a'; c <= 'z'; ++c) kind[c] = 1;
        for (int c = 'A'; c <= 'Z'; ++c) kind[c] = 1;
        kind['_'] = 1;
        for (int c = '0'; c <= '9'; ++c) kind[c] = 2;
        kind['-'] = kind['.'] = 2;
        kind[':'] = 3;
    }
};
constexpr NameBytes kNameBytes;

// A name with at most one colon between two local names; `colon` is set to
// it, or null. One pass for ASCII names, which nearly all are.
bool IsQualifiedName(const char* name, const char*& colon) {
    colon = nullptr;
    const char* part = name;  // start of the current local name
    const char* at = name;
    bool ascii = true;
    for (;; ++at) {
        const unsigned char c = static_cast<unsigned char>(*at);
        if (c == 0 || c == ':') {
            if (at == part) return false;
            if (!ascii && !XmlName_IsLocalName(part, static_cast<size_t>(at - part))) return false;
            if (c == 0) return true;
            if (colon) return false;
            colon = at;
            part = at + 1;
            ascii = true;
        } else if (c >= 0x80) {
            ascii = false;
        } else if (kNameBytes.kind[c] == 0 || (at == part && kNameBytes.kind[c] != 1)) {
            if (ascii) return false;  // an ASCII byte no name holds
        }
    }
}

bool IsDeclaration(const char* name) {
    return std::strncmp(name, "xmlns", 5) == 0 && (name[5] == 0 || name[5] == ':');
}

// A declaration readers refuse: the xml prefix bound elsewhere or its
// namespace bound to another prefix, the xmlns prefix or namespace
// declared, or a prefix bound to nothing.
bool IsRefusedDeclaration(const char* name, const char* uri) {
    const bool isXmlUri = std::strcmp(uri, kXmlUri) == 0;
    if (std::strcmp(uri, kXmlnsUri) == 0) return true;
    if (name[5] == 0) return isXmlUri;
    const char* prefix = name + 6;
    if (std::strcmp(prefix, "xmlns") == 0) return true;
    if (std::strcmp(prefix, "xml") == 0) return !isXmlUri;
    return isXmlUri || *uri == 0;
}

struct AttributeName {
    const char* name;
    const char* local;   // after the colon, or the whole name
    const char* uri;     // of a prefixed attribute; null for an unprefixed one or a declaration
};

// The key by which two attributes of an element are the same.
std::string AttributeKey(const AttributeName& a) {
    if (a.uri) return std::string(a.uri) + '\x01' + a.local;
    return std::string("\x02") + a.name;
}

bool AreSame(const AttributeName& a, const AttributeName& b) {
    if (std::strcmp(a.name, b.name) == 0) return true;
    return a.uri && b.uri && std::strcmp(a.local, b.local) == 0 && std::strcmp(a.uri, b.uri) == 0;
}

// Pushes the element's declarations and checks its names; false when
// something is refused. The attributes are read from the tree once: their
// prefixes are resolved after all of the element's declarations are in.
bool Element_Check(pugi::xml_node element, Scopes& scopes, std::vector<AttributeName>& names,
                   std::unordered_set<std::string>& keys, bool& declares) {
    scopes.marks.push_back(scopes.bindings.size());
    declares = false;
    names.clear();
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        if (IsDeclaration(name)) {
            if (name[5] == ':' && !XmlName_IsLocalName(name + 6, std::strlen(name + 6))) return false;
            const char* uri = a.value();
            if (IsRefusedDeclaration(name, uri)) return false;
            const char* prefix = name[5] ? name + 6 : name + 5;
            scopes.bindings.push_back(Binding{prefix, std::strlen(prefix), uri});
            declares = true;
        }
        names.push_back(AttributeName{name, name, nullptr});
    }
    if (declares) ++scopes.generation;

    const char* colon = nullptr;
    const char* elementName = element.name();
    if (!IsQualifiedName(elementName, colon)) return false;
    if (colon) {
        const size_t length = static_cast<size_t>(colon - elementName);
        if (length == 5 && std::memcmp(elementName, "xmlns", 5) == 0) return false;
        const char* uri = Scopes_Lookup(scopes, elementName, length);
        if (!uri || !*uri) return false;
    }
    if (names.empty()) return true;

    for (AttributeName& entry : names) {
        if (IsDeclaration(entry.name)) continue;
        if (!IsQualifiedName(entry.name, colon)) return false;
        if (colon) {
            entry.local = colon + 1;
            entry.uri = Scopes_Lookup(scopes, entry.name, static_cast<size_t>(colon - entry.name));
            if (!entry.uri || !*entry.uri) return false;
        }
    }
    if (names.size() <= kPairwiseAttributes) {
        for (size_t i = 1; i < names.size(); ++i)
            for (size_t j = 0; j < i; ++j)
                if (AreSame(names[i], names[j])) return false;
    } else {
        keys.clear();
        for (const AttributeName& a : names)
            if (!keys.insert(AttributeKey(a)).second) return false;
    }
    return true;
}

void Element_Leave(Scopes& scopes) {
    const size_t mark = scopes.marks.back();
    scopes.marks.pop_back();
    if (scopes.bindings.size() != mark) {
        scopes.bindings.resize(mark);
        ++scopes.generation;
    }
}

bool IsWhiteSpace(const char* text) {
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
    return true;
}

}  // namespace

PartWellFormedness PartWellFormed_Check(pugi::xml_document& xml, const PartWellFormedness* scanned) {
    PartWellFormedness result;
    pugi::xml_node root;
    for (pugi::xml_node child = xml.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (child.type() == pugi::node_element) {
            if (root) return result;  // a second element after the root
            root = child;
        } else if (child.type() == pugi::node_pcdata && IsWhiteSpace(child.value())) {
            xml.remove_child(child);
        } else if (child.type() != pugi::node_comment && child.type() != pugi::node_pi &&
                   child.type() != pugi::node_declaration && child.type() != pugi::node_doctype) {
            return result;  // text or a CDATA section outside the root
        }
        child = next;
    }
    if (!root) return result;
    if (scanned && scanned->wellFormed) return *scanned;

    Scopes scopes;
    std::vector<AttributeName> names;
    std::unordered_set<std::string> keys;
    // Iterative: parts may be nested far deeper than the stack allows.
    pugi::xml_node node = root;
    for (;;) {
        bool declares = false;
        if (!Element_Check(node, scopes, names, keys, declares)) return result;
        if (declares && node != root) result.innerDeclarations = true;
        pugi::xml_node child = node.first_child();
        while (child && child.type() != pugi::node_element) child = child.next_sibling();
        if (child) {
            node = child;
            continue;
        }
        // Leave the element, and each ancestor whose last element it was.
        for (;;) {
            Element_Leave(scopes);
            if (node == root) {
                result.wellFormed = true;
                return result;
            }
            pugi::xml_node sibling = node.next_sibling();
            while (sibling && sibling.type() != pugi::node_element) sibling = sibling.next_sibling();
            if (sibling) {
                node = sibling;
                break;
            }
            node = node.parent();
        }
    }
}

namespace {

bool IsXmlChar(unsigned long c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// Length of a sound reference at `at` (a '&'): a character reference to a
// character XML allows, or one of the five predefined entity references;
// 0 for anything else.
size_t ReferenceLength(const char* at, size_t left) {
    if (left > 2 && at[1] == '#') {
        const bool hex = at[2] == 'x';
        size_t i = hex ? 3 : 2;
        unsigned long value = 0;
        const size_t digits = i;
        for (; i < left && i < 16; ++i) {
            const char c = at[i];
            int digit = c >= '0' && c <= '9' ? c - '0' : -1;
            if (hex && digit < 0) digit = c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0) break;
            value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
        }
        return i > digits && i < left && at[i] == ';' && IsXmlChar(value) ? i + 1 : 0;
    }
    for (const char* name : {"&lt;", "&gt;", "&amp;", "&apos;", "&quot;"}) {
        const size_t n = std::strlen(name);
        if (left >= n && std::memcmp(at, name, n) == 0) return n;
    }
    return 0;
}

bool IsUtf16(const char* data, size_t size) {
    return size >= 2 && ((data[0] == '\xFF' && data[1] == '\xFE') || (data[0] == '\xFE' && data[1] == '\xFF'));
}

// What the parser lets through in the bytes themselves: every '&' starts a
// sound reference, no '<' inside an attribute value, no declaration of a
// document type. Comments, CDATA sections and processing instructions are
// stepped over. Bytes in UTF-16 are left to the parser.
bool RawMarkupIsSound(const char* data, size_t size) {
    if (IsUtf16(data, size)) return true;
    auto startsWith = [&](size_t at, const char* text) {
        const size_t n = std::strlen(text);
        return size - at >= n && std::memcmp(data + at, text, n) == 0;
    };
    auto skipPast = [&](size_t at, const char* end) {
        const char* found = static_cast<const char*>(memmem(data + at, size - at, end, std::strlen(end)));
        return found ? static_cast<size_t>(found - data) + std::strlen(end) : size;
    };
    enum { Text, Tag, Value } state = Text;
    char quote = 0;
    for (size_t at = 0; at < size;) {
        const char c = data[at];
        if (state == Text) {
            if (c == '<') {
                if (startsWith(at, "<!--")) {
                    at = skipPast(at + 4, "-->");
                    continue;
                }
                if (startsWith(at, "<![CDATA[")) {
                    at = skipPast(at + 9, "]]>");
                    continue;
                }
                if (startsWith(at, "<?")) {
                    at = skipPast(at + 2, "?>");
                    continue;
                }
                if (startsWith(at, "<!")) return false;
                state = Tag;
            } else if (c == '&') {
                const size_t n = ReferenceLength(data + at, size - at);
                if (!n) return false;
                at += n;
                continue;
            }
        } else if (state == Tag) {
            if (c == '"' || c == '\'') {
                state = Value;
                quote = c;
            } else if (c == '>') {
                state = Text;
            }
        } else {
            if (c == quote) {
                state = Tag;
            } else if (c == '<') {
                return false;
            } else if (c == '&') {
                const size_t n = ReferenceLength(data + at, size - at);
                if (!n) return false;
                at += n;
                continue;
            }
        }
        ++at;
    }
    return true;
}

}  // namespace

bool PartWellFormed_CheckBytes(const char* data, size_t size) {
    if (!RawMarkupIsSound(data, size)) return false;
    pugi::xml_document xml;
    const unsigned int options =
        Word::kParseOptions | pugi::parse_fragment | pugi::parse_doctype | pugi::parse_declaration;
    if (!xml.load_buffer(data, size, options, pugi::encoding_auto)) return false;
    for (pugi::xml_node node = xml.first_child(); node;) {
        pugi::xml_node next = node.next_sibling();
        if (node.type() == pugi::node_doctype) return false;
        // Bytes in UTF-16 that declare another encoding are read by none.
        if (node.type() == pugi::node_declaration) {
            const char* encoding = node.attribute("encoding").value();
            if (IsUtf16(data, size) && *encoding && strncasecmp(encoding, "utf-16", 6) != 0) return false;
            xml.remove_child(node);
        }
        node = next;
    }
    // Sound tags spare the walk of the tree, as at parsing.
    const PartWellFormedness scanned = PartWellFormed_ScanBytes(data, size);
    if (!PartWellFormed_Check(xml, &scanned).wellFormed) return false;
    return Utf8_IsCleanXmlText(data, size) || Xml_SanitizeTree(xml) == 0;
}

namespace {

struct ScanBinding {
    const char* prefix;
    size_t length;
    const char* uri;
    size_t uriLength;
};

struct ScanAttribute {
    const char* name;
    size_t length;
    size_t colon;  // position of the colon in the name; 0 for none
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// An ASCII qualified name at `at`, up to a byte that ends names; its length,
// with the colon's place in `colon` (0 for none). 0 when it is no such name.
size_t ScanName(const char* at, const char* end, size_t& colon) {
    colon = 0;
    size_t part = 0;  // start of the current local name
    size_t i = 0;
    for (; at + i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(at[i]);
        if (c >= 0x80) return 0;
        const unsigned char kind = kNameBytes.kind[c];
        if (kind == 0) break;
        if (kind == 3) {
            if (colon || i == part) return 0;
            colon = i;
            part = i + 1;
        } else if (i == part && kind != 1) {
            return 0;
        }
    }
    return i > part ? i : 0;
}

const ScanBinding kXmlBinding{"xml", 3, kXmlUri, sizeof kXmlUri - 1};

// The binding of a prefix in scope; null when it is not bound.
const ScanBinding* ScanLookup(const std::vector<ScanBinding>& bindings, const char* prefix, size_t length) {
    if (length == 3 && std::memcmp(prefix, "xml", 3) == 0) return &kXmlBinding;
    for (size_t i = bindings.size(); i-- > 0;) {
        const ScanBinding& b = bindings[i];
        if (b.length == length && std::memcmp(b.prefix, prefix, length) == 0) return b.uriLength ? &b : nullptr;
    }
    return nullptr;
}

bool SameUri(const ScanBinding* a, const ScanBinding* b) {
    return a && b && a->uriLength == b->uriLength && std::memcmp(a->uri, b->uri, a->uriLength) == 0;
}

const char* SkipPast(const char* at, const char* end, const char* marker) {
    const size_t n = std::strlen(marker);
    const void* found = memmem(at, static_cast<size_t>(end - at), marker, n);
    return found ? static_cast<const char*>(found) + n : nullptr;
}

}  // namespace

PartWellFormedness PartWellFormed_ScanBytes(const char* data, size_t size) {
    PartWellFormedness result;
    const char* at = data;
    const char* const end = data + size;
    if (size >= 3 && std::memcmp(at, "\xEF\xBB\xBF", 3) == 0) at += 3;
    std::vector<ScanBinding> bindings;
    std::vector<size_t> marks;  // bindings.size() as each open element began
    ScanAttribute attributes[32];
    bool sawRoot = false;
    for (;;) {
        at = static_cast<const char*>(std::memchr(at, '<', static_cast<size_t>(end - at)));
        if (!at) break;
        ++at;
        if (at >= end) return result;
        if (*at == '/') {
            if (marks.empty()) return result;
            bindings.resize(marks.back());
            marks.pop_back();
            at = static_cast<const char*>(std::memchr(at, '>', static_cast<size_t>(end - at)));
            if (!at) return result;
            continue;
        }
        if (*at == '?') {
            if (!(at = SkipPast(at, end, "?>"))) return result;
            continue;
        }
        if (*at == '!') {
            if (end - at >= 3 && at[1] == '-' && at[2] == '-') {
                if (!(at = SkipPast(at + 3, end, "-->"))) return result;
                continue;
            }
            if (end - at >= 8 && std::memcmp(at, "![CDATA[", 8) == 0) {
                if (!(at = SkipPast(at + 8, end, "]]>"))) return result;
                continue;
            }
            return result;  // a document type: left to the tree
        }
        // A start tag.
        size_t colon;
        const char* name = at;
        const size_t nameLength = ScanName(at, end, colon);
        if (!nameLength) return result;
        at += nameLength;
        const size_t mark = bindings.size();
        const bool inner = sawRoot;
        sawRoot = true;
        size_t count = 0;
        bool open = true;
        for (;;) {
            while (at < end && IsSpace(*at)) ++at;
            if (at >= end) return result;
            if (*at == '>') {
                ++at;
                break;
            }
            if (*at == '/') {
                if (at + 1 >= end || at[1] != '>') return result;
                at += 2;
                open = false;
                break;
            }
            if (count == 32) return result;
            size_t attributeColon;
            const char* attribute = at;
            const size_t length = ScanName(at, end, attributeColon);
            if (!length) return result;
            at += length;
            while (at < end && IsSpace(*at)) ++at;
            if (at >= end || *at != '=') return result;
            ++at;
            while (at < end && IsSpace(*at)) ++at;
            if (at >= end || (*at != '"' && *at != '\'')) return result;
            const char* value = at + 1;
            const char* close = static_cast<const char*>(std::memchr(value, *at, static_cast<size_t>(end - value)));
            if (!close) return result;
            at = close + 1;
            const bool declaration = length >= 5 && std::memcmp(attribute, "xmlns", 5) == 0 &&
                                     (length == 5 || attributeColon == 5);
            if (declaration) {
                const size_t uriLength = static_cast<size_t>(close - value);
                // Declarations of the reserved names, with references, or
                // unbinding a prefix: left to the tree.
                if (std::memchr(value, '&', uriLength) || (length > 5 && uriLength == 0)) return result;
                const char* prefix = length == 5 ? attribute + 5 : attribute + 6;
                const size_t prefixLength = length == 5 ? 0 : length - 6;
                if ((prefixLength == 3 && std::memcmp(prefix, "xml", 3) == 0) ||
                    (prefixLength == 5 && std::memcmp(prefix, "xmlns", 5) == 0))
                    return result;
                if ((uriLength == std::strlen(kXmlUri) && std::memcmp(value, kXmlUri, uriLength) == 0) ||
                    (uriLength == std::strlen(kXmlnsUri) && std::memcmp(value, kXmlnsUri, uriLength) == 0))
                    return result;
                bindings.push_back(ScanBinding{prefix, prefixLength, value, uriLength});
                if (inner) result.innerDeclarations = true;
            }
            attributes[count++] = ScanAttribute{attribute, length, declaration ? 0 : attributeColon};
        }
        if (colon) {
            if (colon == 5 && std::memcmp(name, "xmlns", 5) == 0) return result;
            if (!ScanLookup(bindings, name, colon)) return result;
        }
        for (size_t i = 0; i < count; ++i) {
            const ScanAttribute& a = attributes[i];
            const ScanBinding* binding = nullptr;
            if (a.colon && !(binding = ScanLookup(bindings, a.name, a.colon))) return result;
            for (size_t j = 0; j < i; ++j) {
                const ScanAttribute& b = attributes[j];
                if (a.length == b.length && std::memcmp(a.name, b.name, a.length) == 0) return result;
                // Two prefixes of one namespace with one local name.
                if (a.colon && b.colon && a.length - a.colon == b.length - b.colon &&
                    std::memcmp(a.name + a.colon, b.name + b.colon, a.length - a.colon) == 0 &&
                    SameUri(ScanLookup(bindings, b.name, b.colon), binding))
                    return result;
            }
        }
        if (open)
            marks.push_back(mark);
        else
            bindings.resize(mark);
    }
    result.wellFormed = marks.empty() && sawRoot;
    return result;
}
