#include "package/part_namespaces.h"

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "format/xml_namespaces.h"

namespace {

const char kMarkupCompatibility[] = "http://schemas.openxmlformats.org/markup-compatibility/2006";

// The namespaces the library knows beside those of the document element's
// set (format/xml_namespaces.h), with the prefix it uses; "" where the
// library names elements without a prefix (relationships, content types).
const char* const kOtherNamespaces[][2] = {
    {"a", "http://schemas.openxmlformats.org/drawingml/2006/main"},
    {"pic", "http://schemas.openxmlformats.org/drawingml/2006/picture"},
    {"a14", "http://schemas.microsoft.com/office/drawing/2010/main"},
    {"asvg", "http://schemas.microsoft.com/office/drawing/2016/SVG/main"},
    {"sl", "http://schemas.openxmlformats.org/schemaLibrary/2006/main"},
    {"cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"},
    {"dc", "http://purl.org/dc/elements/1.1/"},
    {"dcterms", "http://purl.org/dc/terms/"},
    {"dcmitype", "http://purl.org/dc/dcmitype/"},
    {"xsi", "http://www.w3.org/2001/XMLSchema-instance"},
    {"", "http://schemas.openxmlformats.org/package/2006/relationships"},
    {"", "http://schemas.openxmlformats.org/package/2006/content-types"},
};

// The library's prefix for `uri`; null for a namespace it does not know.
const char* OurPrefix(const char* uri) {
    if (const char* prefix = Xml_PrefixOf(uri)) return prefix;
    for (const auto& ns : kOtherNamespaces)
        if (std::strcmp(ns[1], uri) == 0) return ns[0];
    return nullptr;
}

// A prefix the library uses for a namespace of its own.
bool IsOurPrefix(const std::string& prefix) {
    if (prefix.empty()) return false;
    if (Xml_NamespaceOf(prefix.c_str())) return true;
    for (const auto& ns : kOtherNamespaces)
        if (prefix == ns[0]) return true;
    return false;
}

bool IsDeclaration(const char* name) {
    return std::strncmp(name, "xmlns", 5) == 0 && (name[5] == 0 || name[5] == ':');
}
const char* DeclaredPrefix(const char* name) { return name[5] ? name + 6 : name + 5; }

// A declaration the library can read as it is: one of its own prefixes for
// its namespace, or a prefix it does not use for a namespace it does not know.
bool IsSettled(const char* prefix, const char* uri) {
    if (std::strcmp(prefix, "xml") == 0) return true;
    const char* ours = OurPrefix(uri);
    if (ours) return std::strcmp(ours, prefix) == 0;
    return !IsOurPrefix(prefix);
}

bool Element_IsSettled(pugi::xml_node element) {
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute())
        if (IsDeclaration(a.name()) && !IsSettled(DeclaredPrefix(a.name()), a.value())) return false;
    return true;
}

// Visits every element below `root` in document order, calling enter on the
// way down and leave on the way up. Iterative: parts may be nested far
// deeper than the stack allows.
template <typename Enter, typename Leave>
void Tree_Walk(pugi::xml_node root, Enter enter, Leave leave) {
    auto nextElement = [](pugi::xml_node n) {
        while (n && n.type() != pugi::node_element) n = n.next_sibling();
        return n;
    };
    pugi::xml_node node = root;
    for (;;) {
        if (!enter(node)) return;
        if (pugi::xml_node child = nextElement(node.first_child())) {
            node = child;
            continue;
        }
        for (;;) {
            leave(node);
            if (node == root) return;
            if (pugi::xml_node sibling = nextElement(node.next_sibling())) {
                node = sibling;
                break;
            }
            node = node.parent();
        }
    }
}

struct Binding {
    std::string prefix;  // "" for the default namespace
    std::string uri;     // "" for none
};

struct ScopeStack {
    std::vector<Binding> bindings;
    std::vector<size_t> marks;
    // The URI bound to `prefix` ("" for none, and the xml prefix's own).
    const std::string* Find(const std::string& prefix) const {
        for (size_t i = bindings.size(); i-- > 0;)
            if (bindings[i].prefix == prefix) return &bindings[i].uri;
        return nullptr;
    }
    void Open() { marks.push_back(bindings.size()); }
    void Close() {
        bindings.resize(marks.back());
        marks.pop_back();
    }
};

// The rewrite of one part's names.
struct Renamer {
    ScopeStack source;  // bindings as the part was read
    ScopeStack target;  // bindings as it is rewritten
    std::set<std::string> taken;  // every prefix the part declares
    std::map<std::pair<std::string, std::string>, std::string> generated;
    int nextNumber = 0;

    std::string Uri(const std::string& prefix) const {
        if (prefix == "xml") return "http://www.w3.org/XML/1998/namespace";
        const std::string* uri = source.Find(prefix);
        return uri ? *uri : std::string();
    }

    // A prefix no declaration of the part uses, for a foreign namespace
    // whose prefix is one of the library's.
    const std::string& Generated(const std::string& prefix, const std::string& uri) {
        std::string& name = generated[{prefix, uri}];
        while (name.empty()) {
            std::string candidate = "ns" + std::to_string(nextNumber++);
            if (!taken.count(candidate) && !IsOurPrefix(candidate)) name = candidate;
        }
        return name;
    }

    // The prefix a binding of `prefix` to `uri` gets. An element in a
    // namespace the library names without prefix (`element`) gets "".
    std::string Mapped(const std::string& prefix, const std::string& uri, bool element) {
        if (prefix == "xml") return prefix;
        if (const char* ours = OurPrefix(uri.c_str())) {
            if (*ours) return ours;
            if (element) return std::string();
        }
        if (prefix.empty() || !IsOurPrefix(prefix)) return prefix;
        return Generated(prefix, uri);
    }

    // Makes `prefix` mean `uri` at `element` in the rewritten part.
    void Bind(pugi::xml_node element, const std::string& prefix, const std::string& uri) {
        if (prefix == "xml") return;
        const std::string* bound = target.Find(prefix);
        if (bound ? *bound == uri : uri.empty()) return;
        const std::string name = prefix.empty() ? std::string("xmlns") : "xmlns:" + prefix;
        pugi::xml_attribute declaration = element.attribute(name.c_str());
        if (!declaration) declaration = element.append_attribute(name.c_str());
        declaration = uri.c_str();
        target.bindings.push_back(Binding{prefix, uri});
    }

    // The rewritten qualified name for `name` in `uri`.
    std::string Rename(pugi::xml_node element, const char* name, bool isElement) {
        const char* colon = std::strchr(name, ':');
        const std::string prefix = colon ? std::string(name, colon) : std::string();
        const char* local = colon ? colon + 1 : name;
        const std::string uri = Uri(prefix);
        std::string mapped = Mapped(prefix, uri, isElement);
        if (mapped.empty() && isElement) {
            // The default namespace of the rewritten part must be the element's.
            const std::string* bound = target.Find(std::string());
            const bool matches = bound ? *bound == uri : uri.empty();
            if (!matches && !uri.empty() && element.attribute("xmlns")) mapped = Generated(prefix, uri);
        }
        Bind(element, mapped, uri);
        return mapped.empty() ? std::string(local) : mapped + ':' + local;
    }

    // A list of prefixes, or of qualified names when `qualified`, rewritten.
    std::string RenameList(pugi::xml_node element, const char* value, bool qualified) {
        std::string out;
        const char* at = value;
        while (*at) {
            while (*at == ' ' || *at == '\t' || *at == '\n' || *at == '\r') ++at;
            const char* end = at;
            while (*end && *end != ' ' && *end != '\t' && *end != '\n' && *end != '\r') ++end;
            if (end == at) break;
            std::string token(at, end);
            const size_t colon = qualified ? token.find(':') : token.size();
            const std::string prefix = token.substr(0, colon);
            const std::string uri = colon == std::string::npos ? std::string() : Uri(prefix);
            if (!uri.empty()) {
                const std::string mapped = Mapped(prefix, uri, false);
                if (!mapped.empty()) {
                    Bind(element, mapped, uri);
                    token = mapped + token.substr(colon);
                }
            }
            if (!out.empty()) out += ' ';
            out += token;
            at = end;
        }
        return out;
    }

    void Enter(pugi::xml_node element) {
        source.Open();
        target.Open();
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute())
            if (IsDeclaration(a.name())) source.bindings.push_back(Binding{DeclaredPrefix(a.name()), a.value()});

        // Values that name prefixes are read against the bindings as they were.
        std::vector<std::pair<pugi::xml_attribute, std::string>> values;
        const bool isChoice = [&] {
            const char* colon = std::strchr(element.name(), ':');
            const std::string prefix = colon ? std::string(element.name(), colon) : std::string();
            return std::strcmp(colon ? colon + 1 : element.name(), "Choice") == 0 &&
                   Uri(prefix) == kMarkupCompatibility;
        }();
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
            const char* name = a.name();
            const char* colon = std::strchr(name, ':');
            if (!colon) {
                if (isChoice && std::strcmp(name, "Requires") == 0) values.emplace_back(a, std::string());
                continue;
            }
            if (IsDeclaration(name) || Uri(std::string(name, colon)) != kMarkupCompatibility) continue;
            const char* local = colon + 1;
            if (!std::strcmp(local, "Ignorable") || !std::strcmp(local, "MustUnderstand"))
                values.emplace_back(a, std::string());
            else if (!std::strcmp(local, "ProcessContent") || !std::strcmp(local, "PreserveElements") ||
                     !std::strcmp(local, "PreserveAttributes"))
                values.emplace_back(a, std::string(1, 'q'));
        }

        // Declarations: each becomes the binding of its rewritten prefix,
        // dropped when that is bound so already.
        std::vector<pugi::xml_attribute> redundant;
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
            if (!IsDeclaration(a.name())) continue;
            const std::string prefix = DeclaredPrefix(a.name());
            if (prefix == "xml") continue;
            const std::string uri = a.value();
            const std::string mapped = Mapped(prefix, uri, false);
            const std::string name = mapped.empty() ? std::string("xmlns") : "xmlns:" + mapped;
            // Two declarations of the element that come to the same prefix
            // bind it to the same namespace: the later one is dropped.
            const std::string* bound = target.Find(mapped);
            if (bound && *bound == uri) {
                redundant.push_back(a);
                continue;
            }
            if (name != a.name()) a.set_name(name.c_str());
            target.bindings.push_back(Binding{mapped, uri});
        }
        for (pugi::xml_attribute a : redundant) element.remove_attribute(a);

        for (auto& value : values) value.second = RenameList(element, value.first.value(), !value.second.empty());
        const std::string elementName = Rename(element, element.name(), true);
        if (elementName != element.name()) element.set_name(elementName.c_str());
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
            if (IsDeclaration(a.name()) || !std::strchr(a.name(), ':')) continue;
            const std::string name = Rename(element, a.name(), false);
            if (name != a.name()) a.set_name(name.c_str());
        }
        for (auto& value : values)
            if (value.second != value.first.value()) value.first.set_value(value.second.c_str());
    }

    void Leave() {
        source.Close();
        target.Close();
    }
};

}  // namespace

void PartNamespaces_Normalize(pugi::xml_document& xml, bool innerDeclarations) {
    pugi::xml_node root = xml.document_element();
    if (!root) return;
    // Nearly every part: its root declares the library's prefixes, and no
    // element below it declares anything.
    bool settled = Element_IsSettled(root);
    if (settled && !innerDeclarations) return;
    std::set<std::string> taken;
    Tree_Walk(
        root,
        [&](pugi::xml_node element) {
            for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
                if (!IsDeclaration(a.name())) continue;
                taken.insert(DeclaredPrefix(a.name()));
                if (!IsSettled(DeclaredPrefix(a.name()), a.value())) settled = false;
            }
            return true;
        },
        [](pugi::xml_node) {});
    if (settled) return;

    Renamer renamer;
    renamer.taken = std::move(taken);
    Tree_Walk(
        root,
        [&](pugi::xml_node element) {
            renamer.Enter(element);
            return true;
        },
        [&](pugi::xml_node) { renamer.Leave(); });
}

void PartNamespaces_PruneIgnorable(pugi::xml_document& xml) {
    pugi::xml_node root = xml.document_element();
    pugi::xml_attribute ignorable = root.attribute("mc:Ignorable");
    if (!ignorable) return;
    std::string kept;
    const std::string value = ignorable.value();
    for (size_t start = 0; start < value.size();) {
        const size_t end = std::min(value.find_first_of(" \t\r\n", start), value.size());
        const std::string prefix = value.substr(start, end - start);
        if (!prefix.empty() && root.attribute(("xmlns:" + prefix).c_str())) kept += (kept.empty() ? "" : " ") + prefix;
        start = end + 1;
    }
    if (kept != value) ignorable = kept.c_str();
}
