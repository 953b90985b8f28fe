#include "package/package_paths.h"

#include <vector>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

std::string PackagePath_Resolve(const std::string& sourcePart, const std::string& target) {
    std::string path = target;
    // A fragment or query names a place inside the part, not another part.
    size_t cut = path.find_first_of("#?");
    if (cut != std::string::npos) path.erase(cut);
    if (path.empty()) return std::string();

    std::vector<std::string> segments;
    if (path[0] != '/') {
        size_t slash = sourcePart.rfind('/');
        if (slash != std::string::npos) {
            size_t start = 0;
            while (start < slash) {
                size_t next = sourcePart.find('/', start);
                if (next > slash) next = slash;
                if (next > start) segments.push_back(sourcePart.substr(start, next - start));
                start = next + 1;
            }
        }
    }
    size_t start = 0;
    while (start <= path.size()) {
        size_t next = path.find('/', start);
        if (next == std::string::npos) next = path.size();
        std::string segment = PercentDecoded(path.substr(start, next - start));
        // No part name holds a control character: such a target names none.
        for (unsigned char c : segment)
            if (c < 0x20 || c == 0x7F) return std::string();
        if (segment == "..") {
            if (segments.empty()) return std::string();
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = next + 1;
    }
    std::string resolved;
    for (const std::string& segment : segments) {
        if (!resolved.empty()) resolved += '/';
        resolved += segment;
    }
    return resolved;
}

std::string PackagePath_TargetFrom(const std::string& sourcePart, const std::string& entry) {
    const size_t slash = sourcePart.rfind('/');
    const size_t folder = slash == std::string::npos ? 0 : slash + 1;
    if (entry.size() > folder && entry.compare(0, folder, sourcePart, 0, folder) == 0) return entry.substr(folder);
    return "/" + entry;
}

std::string PackagePath_RelationshipsOf(const std::string& part) {
    size_t slash = part.rfind('/');
    if (slash == std::string::npos) return "_rels/" + part + ".rels";
    return part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

std::string PackagePath_Key(const std::string& name) {
    std::string key = name;
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

bool PackagePath_SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && PackagePath_Key(a) == PackagePath_Key(b);
}
