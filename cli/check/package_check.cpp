#include "check/package_check.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "check/package_context.h"
#include "package/package_paths.h"

namespace cli {

std::string Check_Lower(std::string s) { return PackagePath_Key(s); }

std::string PackageContext::lookup(const std::string& partName) const {
    if (partSet.count(partName)) return partName;
    auto it = byKey.find(Check_Lower(partName));
    return it == byKey.end() ? std::string() : it->second;
}

void PackageContext::addAll(const std::string& part, const char* rule, std::vector<PendingFinding>& found) {
    std::stable_sort(found.begin(), found.end(), [](const PendingFinding& a, const PendingFinding& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    const size_t shown = std::min(found.size(), options.shownPerRule);
    for (size_t i = 0; i < shown; ++i) add(found[i].level, part, rule, found[i].message, found[i].line, found[i].column);
    if (shown == found.size()) return;
    Level worst = Level::Warn;
    for (size_t i = shown; i < found.size(); ++i) {
        if (found[i].level == Level::Fail) worst = Level::Fail;
        if (found[i].level == Level::StrictFail && worst == Level::Warn) worst = Level::StrictFail;
    }
    const size_t hidden = found.size() - shown;
    add(worst, part, rule,
        std::to_string(hidden) + " more " + rule + (hidden == 1 ? " finding" : " findings") + " not shown");
}

std::string Check_Unquote(const std::string& s) {
    std::string out;
    auto hex = [](char ch) -> int {
        if (ch >= '0' && ch <= '9') return ch - '0';
        if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
        if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
        return -1;
    };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
            out += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

namespace {

bool EndsWith(const std::string& s, const char* suffix) {
    const std::string lower = Check_Lower(s);
    const std::string tail(suffix);
    return lower.size() >= tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
}

bool HasSegment(const std::string& name, const std::string& segment) {
    std::string normal = name;
    std::replace(normal.begin(), normal.end(), '\\', '/');
    std::istringstream in(normal);
    std::string s;
    while (std::getline(in, s, '/'))
        if (s == segment) return true;
    return false;
}

// Collects what the package-level rules need of a part: the uses of
// relationships, drawing ids, and for the package's own vocabularies the
// root's children.
class PartCollector : public XmlVisitor {
public:
    PartCollector(XmlPart& part, bool items) : part_(part), items_(items) {}
    void start(const XmlElement& e) override {
        ++depth_;
        if (items_ && depth_ == 2) {
            PackageItem item{std::string(e.uri), std::string(e.local), {}, e.line, e.column};
            for (const XmlAttribute& a : e.attributes)
                if (a.uri.empty()) item.attributes[std::string(a.local)] = std::string(a.value);
            part_.items.push_back(std::move(item));
        }
        for (const XmlAttribute& a : e.attributes) {
            if (!a.known) continue;
            const bool vml = a.known[0] == 'o' && a.local == "relid";
            if (vml || (a.known[0] == 'r' && !a.known[1]))
                part_.uses.push_back({std::string(e.uri), std::string(e.local),
                                      std::string(vml ? "o:" : "r:") + std::string(a.local), std::string(a.value),
                                      e.line, e.column});
        }
        if (e.tag == Tag::DrawingProperties)
            if (const std::string_view* id = e.attribute("id"))
                part_.drawingIds.push_back({std::string(*id), e.line, e.column});
    }
    void end() override { --depth_; }

private:
    XmlPart& part_;
    bool items_;
    int depth_ = 0;
};

}  // namespace

void Check_Archive(PackageContext& c, const std::string& archive) {
    ZipListing listing = ZipListing_Read(archive);
    if (!listing.error.empty()) {
        c.add(Level::Fail, kArchivePart, "zip", listing.error);
        return;
    }
    if (listing.entries.empty()) {
        c.add(Level::Fail, kArchivePart, "zip", "the archive has no entries");
        return;
    }
    std::unordered_map<std::string, std::string> seenKeys;
    std::unordered_map<std::string, int> seen;
    for (const ZipEntry& e : listing.entries) {
        const std::string& n = e.name;
        const std::string key = Check_Lower(n);
        if (seen[n]++) {
            c.add(Level::Fail, n, "zip", "duplicate entry name");
        } else if (seenKeys.count(key)) {
            c.add(Level::Fail, n, "zip",
                  "entry names '" + seenKeys[key] + "' and '" + n + "' differ only in case (part names are not)");
        } else {
            seenKeys[key] = n;
        }
        if (n.find('\\') != std::string::npos) c.add(Level::Fail, n, "zip", "entry name contains a backslash");
        if (!n.empty() && n[0] == '/') c.add(Level::Fail, n, "zip", "entry name starts with '/'");
        if (HasSegment(n, "..")) c.add(Level::Fail, n, "zip", "entry name contains a '..' segment");
        if (e.encrypted()) c.add(Level::Fail, n, "zip", "entry is encrypted");
        if (!e.methodSupported())
            c.add(Level::Fail, n, "zip",
                  "entry uses compression method " + std::to_string(e.method) +
                      " (readers take only stored and deflated)");
    }
    for (const ZipEntry& e : listing.entries) {
        if (!e.name.empty() && e.name.back() == '/') continue;
        if (c.partSet.insert(e.name).second) c.parts.push_back(e.name);
        c.byKey.emplace(Check_Lower(e.name), e.name);
        if (e.encrypted() || !e.methodSupported() || c.bytes.count(e.name)) continue;
        std::string data;
        const std::string why = ZipEntry_Read(archive, e, data);
        if (!why.empty())
            c.add(Level::Fail, e.name, "zip", "entry cannot be read: " + why);
        else
            c.bytes.emplace(e.name, std::move(data));
    }
    c.entries = std::move(listing.entries);
}

void Check_XmlParts(PackageContext& c) {
    for (const std::string& n : c.parts) {
        const bool rels = EndsWith(n, ".rels");
        if (!(rels || EndsWith(n, ".xml"))) continue;
        auto data = c.bytes.find(n);
        if (data == c.bytes.end()) continue;
        XmlPart& part = c.xml[n];
        const bool items = rels || Check_Lower(n) == "[content_types].xml";
        PartCollector collector(part, items);
        std::vector<std::unique_ptr<XmlVisitor>> rules;
        if (Check_Lower(n).rfind("word/", 0) == 0 && EndsWith(n, ".xml")) {
            rules.push_back(StructureRules_Create(c, n));
            rules.push_back(BookmarkRules_Create(c, n));
            rules.push_back(PageRules_Create(c, n));
        }
        std::vector<XmlVisitor*> visitors{&collector};
        for (auto& r : rules) visitors.push_back(r.get());
        part.scan = Xml_Scan(data->second, visitors);
        if (!part.scan.wellFormed()) {
            c.add(Level::Fail, n, "xml", part.scan.error.message, part.scan.error.line, part.scan.error.column);
            part.uses.clear();
            part.items.clear();
            part.drawingIds.clear();
        } else {
            for (XmlVisitor* v : visitors) v->finish(part.scan);
        }
        for (const XmlProblem& p : part.scan.undeclaredPrefixes) c.add(Level::Fail, n, "xml", p.message, p.line, p.column);
        // Only the small parts are needed again (content types, relationships).
        if (!items) c.bytes.erase(data);
    }
}

CheckReport Check_PackageBytes(const std::string& name, const std::string& bytes, const CheckOptions& options) {
    CheckReport report;
    report.file = name;
    PackageContext c{options, report, {}, {}, {}, {}, {}, {}, {}, {}, {}};
    Check_Archive(c, bytes);
    if (c.parts.empty()) return report;
    Check_XmlParts(c);
    Check_ContentTypes(c);
    Check_Relationships(c);
    Check_RelationshipUses(c);
    Check_DrawingIds(c);
    if (!c.mainPart.empty()) {
        auto main = c.xml.find(c.mainPart);
        if (main != c.xml.end() && main->second.scan.wellFormed()) {
            const XmlScan& scan = main->second.scan;
            const char* prefix = Xml_KnownPrefix(scan.rootUri);
            const bool word = prefix && std::string(prefix) == "w";
            if (!word || scan.rootLocal != "document")
                c.add(Level::Fail, c.mainPart, "xml",
                      "the main part's document element is <" + scan.rootLocal + ">" +
                          (word ? "" : scan.rootUri.empty() ? " in no namespace" : " in namespace " + scan.rootUri) +
                          ", not <w:document>");
        }
    }
    return report;
}

CheckReport Check_PackageFile(const std::string& path, const CheckOptions& options) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        CheckReport report;
        report.file = path;
        CheckReport_Add(report, options, Level::Fail, kArchivePart, "zip", "cannot be read (no such file, or not readable)");
        return report;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return Check_PackageBytes(path, bytes.str(), options);
}

}  // namespace cli
