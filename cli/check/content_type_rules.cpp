// The `types` rule: [Content_Types].xml gives every part a type, once.
#include <unordered_map>

#include "check/package_context.h"

namespace cli {

namespace {

const char* const kRelationshipsType = "application/vnd.openxmlformats-package.relationships+xml";

std::string Extension(const std::string& name) {
    const size_t slash = name.rfind('/');
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return name.substr(dot + 1);
}

}  // namespace

void Check_ContentTypes(PackageContext& c) {
    const std::string ct = c.lookup("[Content_Types].xml");
    if (ct.empty()) {
        c.add(Level::Fail, kArchivePart, "types", "no [Content_Types].xml entry");
        return;
    }
    auto part = c.xml.find(ct);
    if (part == c.xml.end() || !part->second.scan.wellFormed()) return;
    if (part->second.scan.rootUri != ns::kContentTypes || part->second.scan.rootLocal != "Types")
        c.add(Level::Fail, ct, "types", "the document element is not Types in the content-types namespace");
    std::unordered_map<std::string, std::string> defaults, overrides;  // lower-case key -> type
    for (const PackageItem& item : part->second.items) {
        if (item.uri != ns::kContentTypes) continue;
        if (item.local == "Default") {
            const std::string* ext = item.get("Extension");
            const std::string* type = item.get("ContentType");
            if (!ext || !type || ext->empty() || type->empty()) {
                c.add(Level::Fail, ct, "types", "a Default without Extension or ContentType", item.line, item.column);
                continue;
            }
            if (!defaults.emplace(Check_Lower(*ext), *type).second)
                c.add(Level::Fail, ct, "types", "duplicate Default for extension '" + *ext + "'", item.line, item.column);
        } else if (item.local == "Override") {
            const std::string* name = item.get("PartName");
            const std::string* type = item.get("ContentType");
            if (!name || !type || name->empty() || type->empty()) {
                c.add(Level::Fail, ct, "types", "an Override without PartName or ContentType", item.line, item.column);
                continue;
            }
            if (!overrides.emplace(Check_Lower(Check_Unquote(*name)), *type).second)
                c.add(Level::Fail, ct, "types", "duplicate Override for '" + *name + "'", item.line, item.column);
            if ((*name)[0] != '/')
                c.add(Level::Fail, ct, "types", "Override PartName '" + *name + "' does not start with '/'", item.line,
                      item.column);
            const std::string bare = name->substr((*name)[0] == '/');
            if (c.lookup(Check_Unquote(bare)).empty() && c.lookup(bare).empty())
                c.add(Level::Fail, ct, "types", "Override names '" + *name + "', which is not in the package",
                      item.line, item.column);
        }
    }
    for (const std::string& n : c.parts) {
        if (n == ct) continue;
        const std::string* type = nullptr;
        auto o = overrides.find(Check_Lower("/" + Check_Unquote(n)));
        if (o == overrides.end()) o = overrides.find(Check_Lower("/" + n));
        if (o != overrides.end()) {
            type = &o->second;
        } else {
            auto d = defaults.find(Check_Lower(Extension(n)));
            if (d != defaults.end() && !Extension(n).empty()) type = &d->second;
        }
        if (!type) {
            c.add(Level::Fail, n, "types",
                  "the part has no content type (no Override, no Default for extension '" + Extension(n) + "')");
            continue;
        }
        c.contentTypes[n] = *type;
        if (Check_Lower(Extension(n)) == "rels" && *type != kRelationshipsType)
            c.add(Level::Fail, n, "types", "content type " + *type + ", not " + kRelationshipsType);
    }
}

}  // namespace cli
