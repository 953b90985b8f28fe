// The `rels` rule: relationships parts whose targets exist and whose ids
// are unique, and parts whose r:id (r:embed, r:link, o:relid) name a
// relationship of their own relationships part, of the right type. Also
// the content types a relationship expects of its target (`types`).
#include <cctype>
#include <vector>

#include "check/package_context.h"
#include "package/package_paths.h"

namespace cli {

namespace {

const char* const kRelationshipPrefixes[] = {
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/",
    "http://purl.oclc.org/ooxml/officeDocument/relationships/",
};
const char* const kCorePropertiesRelationship =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
const char* const kCorePropertiesType = "application/vnd.openxmlformats-package.core-properties+xml";
const std::string kWordprocessing = "application/vnd.openxmlformats-officedocument.wordprocessingml.";

// The last segment of a standard relationship type; empty for others.
std::string TypeName(const std::string& type) {
    for (const char* prefix : kRelationshipPrefixes) {
        const std::string p(prefix);
        if (type.compare(0, p.size(), p) == 0) return type.substr(p.size());
    }
    return "";
}

const char* ExpectedType(const std::string& name) {
    static const std::vector<std::pair<std::string, std::string>> expected = {
        {"styles", kWordprocessing + "styles+xml"},
        {"numbering", kWordprocessing + "numbering+xml"},
        {"settings", kWordprocessing + "settings+xml"},
        {"webSettings", kWordprocessing + "webSettings+xml"},
        {"fontTable", kWordprocessing + "fontTable+xml"},
        {"header", kWordprocessing + "header+xml"},
        {"footer", kWordprocessing + "footer+xml"},
        {"footnotes", kWordprocessing + "footnotes+xml"},
        {"endnotes", kWordprocessing + "endnotes+xml"},
        {"comments", kWordprocessing + "comments+xml"},
        {"theme", "application/vnd.openxmlformats-officedocument.theme+xml"},
        {"extended-properties", "application/vnd.openxmlformats-officedocument.extended-properties+xml"},
    };
    for (const auto& e : expected)
        if (e.first == name) return e.second.c_str();
    return nullptr;
}

bool IsMainType(const std::string& type) {
    return type == kWordprocessing + "document.main+xml" || type == kWordprocessing + "template.main+xml" ||
           type == "application/vnd.ms-word.document.macroEnabled.main+xml" ||
           type == "application/vnd.ms-word.template.macroEnabledTemplate.main+xml";
}

std::string Folder(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}
std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "." and ".." segments applied, empty segments dropped; leading ".." kept.
std::string Normalise(const std::string& path) {
    std::vector<std::string> segments;
    size_t at = 0;
    while (at <= path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        const std::string s = path.substr(at, end - at);
        if (s == "..") {
            if (!segments.empty() && segments.back() != "..")
                segments.pop_back();
            else
                segments.push_back(s);
        } else if (!s.empty() && s != ".") {
            segments.push_back(s);
        }
        at = end + 1;
    }
    std::string out;
    for (const std::string& s : segments) out += (out.empty() ? "" : "/") + s;
    return out.empty() ? "." : out;
}

bool IsXsdId(const std::string& id) {
    if (id.empty()) return false;
    auto start = [](unsigned char ch) { return std::isalpha(ch) || ch == '_' || ch >= 0x80; };
    if (!start(id[0])) return false;
    for (unsigned char ch : id)
        if (!(start(ch) || std::isdigit(ch) || ch == '.' || ch == '-')) return false;
    return true;
}

bool HasScheme(const std::string& target) {
    if (target.empty() || !std::isalpha(static_cast<unsigned char>(target[0]))) return false;
    for (size_t i = 1; i < target.size(); ++i) {
        const unsigned char ch = target[i];
        if (ch == ':') return true;
        if (!(std::isalnum(ch) || ch == '+' || ch == '.' || ch == '-')) return false;
    }
    return false;
}


void CheckTargetType(PackageContext& c, const std::string& rels, const std::string& type, const std::string& entry,
                     const PackageItem& item) {
    auto found = c.contentTypes.find(entry);
    if (found == c.contentTypes.end()) return;
    const std::string& ct = found->second;
    const std::string name = TypeName(type);
    if (name == "officeDocument" && rels == c.lookup("_rels/.rels")) {
        if (!IsMainType(ct))
            c.add(Level::Fail, entry, "types",
                  "the main document has content type " + ct + ", not a WordprocessingML main type", 0, 0);
    } else if (const char* expected = ExpectedType(name)) {
        if (ct != expected)
            c.add(Level::Fail, entry, "types",
                  "the target of a " + name + " relationship has content type " + ct + " (expected " + expected +
                      ")");
    } else if (name == "image" && ct.compare(0, 6, "image/") != 0) {
        c.add(Level::Warn, entry, "types", "an image with content type " + ct);
    } else if (type == kCorePropertiesRelationship && ct != kCorePropertiesType) {
        c.add(Level::Fail, entry, "types",
              "core properties with content type " + ct + " (expected " + kCorePropertiesType + ")");
    }
    (void)item;
}

}  // namespace

void Check_Relationships(PackageContext& c) {
    for (const std::string& n : c.parts) {
        if (Check_Lower(n).size() < 5 || Check_Lower(n).compare(n.size() - 5, 5, ".rels") != 0) continue;
        // Part names are equal whatever their case: "_RELS/.rels" is the
        // package's relationships, word/_rels/Document.xml.rels those of
        // the entry word/document.xml.
        const std::string folder = Folder(n), base = BaseName(n);
        if (Check_Lower(BaseName(folder)) != "_rels") {
            c.add(Level::Warn, n, "rels", "a relationships part outside a _rels folder; readers ignore it");
            continue;
        }
        const std::string sourceFolder = Folder(folder);
        std::string source =
            base.size() == 5 ? "" : (sourceFolder.empty() ? "" : sourceFolder + "/") + base.substr(0, base.size() - 5);
        if (!source.empty() && c.lookup(source).empty())
            c.add(Level::Warn, n, "rels", "the relationships of '" + source + "', which is not in the package");
        else if (!source.empty())
            source = c.lookup(source);
        auto part = c.xml.find(n);
        if (part == c.xml.end() || !part->second.scan.wellFormed()) continue;
        if (part->second.scan.rootUri != ns::kPackageRelationships || part->second.scan.rootLocal != "Relationships")
            c.add(Level::Fail, n, "rels", "the document element is not Relationships in the relationships namespace");
        std::map<std::string, Relationship>& ids = c.relationships[source];
        for (const PackageItem& item : part->second.items) {
            if (item.uri != ns::kPackageRelationships || item.local != "Relationship") continue;
            const std::string* id = item.get("Id");
            const std::string* type = item.get("Type");
            const std::string* target = item.get("Target");
            if (!id || !type || !target || id->empty() || type->empty()) {
                c.add(Level::Fail, n, "rels", "a Relationship without Id, Type or Target", item.line, item.column);
                continue;
            }
            if (ids.count(*id)) c.add(Level::Fail, n, "rels", "duplicate relationship id '" + *id + "'", item.line, item.column);
            if (!IsXsdId(*id))
                c.add(Level::StrictFail, n, "rels", "relationship id '" + *id + "' is not a valid xsd:ID", item.line,
                      item.column);
            const std::string* modeValue = item.get("TargetMode");
            const std::string mode = modeValue ? *modeValue : "Internal";
            if (mode != "Internal" && mode != "External")
                c.add(Level::Fail, n, "rels", *id + " has TargetMode '" + mode + "'", item.line, item.column);
            Relationship r{*type, "", mode == "External"};
            if (!r.external) {
                std::string t = target->substr(0, target->find('#'));
                if (HasScheme(t)) {
                    c.add(Level::Fail, n, "rels",
                          *id + " is internal but its target '" + *target +
                              "' is an absolute URI (TargetMode=\"External\" missing?)",
                          item.line, item.column);
                    ids[*id] = r;
                    continue;
                }
                t = Check_Unquote(t);
                const std::string full =
                    Normalise(!t.empty() && t[0] == '/' ? t.substr(1) : (sourceFolder.empty() ? t : sourceFolder + "/" + t));
                if (full == ".." || full.compare(0, 3, "../") == 0) {
                    c.add(Level::Fail, n, "rels", *id + " target '" + *target + "' points outside the package",
                          item.line, item.column);
                } else {
                    r.entry = c.lookup(full);
                    if (r.entry.empty()) {
                        const std::string name = TypeName(*type).empty() ? *type : TypeName(*type);
                        c.add(Level::Fail, n, "rels",
                              *id + " (" + name + ") target '" + *target + "'" +
                                  (full == *target ? "" : " -> '" + full + "'") + " is not in the package",
                              item.line, item.column);
                    } else if (r.entry != full) {
                        c.add(Level::Warn, n, "rels",
                              *id + " target '" + *target + "' matches entry '" + r.entry + "' only by case",
                              item.line, item.column);
                    }
                }
                if (!r.entry.empty()) CheckTargetType(c, n, *type, r.entry, item);
            }
            ids[*id] = r;
        }
        if (source.empty()) {
            std::vector<std::string> mains;
            for (const auto& [id, r] : ids)
                if (TypeName(r.type) == "officeDocument" && !r.external) mains.push_back(r.entry);
            if (mains.empty())
                c.add(Level::Fail, n, "rels", "no officeDocument relationship (no main document)");
            else if (mains.size() > 1)
                c.add(Level::Fail, n, "rels", std::to_string(mains.size()) + " officeDocument relationships");
            else
                c.mainPart = mains[0];
        }
    }
    if (c.lookup("_rels/.rels").empty())
        c.add(Level::Fail, kArchivePart, "rels", "no _rels/.rels entry (the package's relationships)");
}

void Check_RelationshipUses(PackageContext& c) {
    for (auto& [n, part] : c.xml) {
        if (part.uses.empty() || !part.scan.wellFormed()) continue;
        auto rels = c.relationships.find(n);
        const Level level = Check_Lower(n).rfind("word/", 0) == 0 ? Level::Fail : Level::Warn;
        std::vector<PendingFinding> found;
        for (const RelationshipUse& u : part.uses) {
            const bool drawing = Xml_KnownPrefix(u.elementUri) && std::string(Xml_KnownPrefix(u.elementUri)) == "a";
            const bool word = Xml_KnownPrefix(u.elementUri) && std::string(Xml_KnownPrefix(u.elementUri)) == "w";
            const std::string shown = "<" + u.elementLocal + " " + u.attribute + "=\"" + u.value + "\">";
            if (u.value.empty()) {
                // Empty ids mean "none" where word processors write them:
                // DrawingML click actions, and SmartArt layout pictures.
                const bool none = (drawing && (u.elementLocal == "hlinkClick" || u.elementLocal == "hlinkHover" ||
                                               u.elementLocal == "hlinkMouseOver")) ||
                                  (u.elementLocal == "shape" && u.attribute == "r:blip" &&
                                   ("/" + n).find("/diagrams/") != std::string::npos);
                if (!none) found.push_back({level, shown + " has an empty relationship id", u.line, u.column});
                continue;
            }
            if (rels == c.relationships.end() || !rels->second.count(u.value)) {
                found.push_back({level, shown + " names no relationship of " + PackagePath_RelationshipsOf(n), u.line, u.column});
                continue;
            }
            const std::string type = TypeName(rels->second.at(u.value).type);
            const char* want = nullptr;
            if (word && u.elementLocal == "headerReference") want = "header";
            else if (word && u.elementLocal == "footerReference") want = "footer";
            else if (word && u.elementLocal == "hyperlink" && u.attribute == "r:id") want = "hyperlink";
            else if (drawing && u.elementLocal == "blip" && u.attribute == "r:embed") want = "image";
            if (want && type != want)
                found.push_back({level,
                                 shown + " names a relationship of type " + rels->second.at(u.value).type + ", not " +
                                     want,
                                 u.line, u.column});
        }
        c.addAll(n, "rels", found);
    }
}

}  // namespace cli
