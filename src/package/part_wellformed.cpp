#include "package/part_wellformed.h"

#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "package/xml_name_chars.h"

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
// something is refused.
bool Element_Check(pugi::xml_node element, Scopes& scopes, std::vector<AttributeName>& names,
                   std::unordered_set<std::string>& keys, bool& declares) {
    scopes.marks.push_back(scopes.bindings.size());
    declares = false;
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        if (!IsDeclaration(name)) continue;
        if (name[5] == ':' && !XmlName_IsLocalName(name + 6, std::strlen(name + 6))) return false;
        if (IsRefusedDeclaration(name, a.value())) return false;
        const char* prefix = name[5] ? name + 6 : name + 5;
        scopes.bindings.push_back(Binding{prefix, std::strlen(prefix), a.value()});
        declares = true;
    }
    if (declares) ++scopes.generation;

    const char* colon = nullptr;
    if (!IsQualifiedName(element.name(), colon)) return false;
    if (colon) {
        const size_t length = static_cast<size_t>(colon - element.name());
        if (length == 5 && std::memcmp(element.name(), "xmlns", 5) == 0) return false;
        const char* uri = Scopes_Lookup(scopes, element.name(), length);
        if (!uri || !*uri) return false;
    }

    names.clear();
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        AttributeName entry{name, name, nullptr};
        if (!IsDeclaration(name)) {
            if (!IsQualifiedName(name, colon)) return false;
            if (colon) {
                entry.local = colon + 1;
                entry.uri = Scopes_Lookup(scopes, name, static_cast<size_t>(colon - name));
                if (!entry.uri || !*entry.uri) return false;
            }
        }
        names.push_back(entry);
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

PartWellFormedness PartWellFormed_Check(pugi::xml_document& xml) {
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
