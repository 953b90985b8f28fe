// The `ids` rule: drawing ids that are unique 32-bit numbers across the
// package, and bookmarks whose ids are unique in their part and paired.
// Word processors accept reused drawing ids and unpaired bookmarks (they
// renumber or drop them), so those are warnings unless the check is strict.
#include <unordered_map>
#include <unordered_set>

#include "check/package_context.h"

namespace cli {

namespace {

bool IsUnsigned32(const std::string& v) {
    if (v.empty() || v.size() > 10) return false;
    for (char ch : v)
        if (ch < '0' || ch > '9') return false;
    return std::stoull(v) <= 0xFFFFFFFFull;
}

class BookmarkRules : public XmlVisitor {
public:
    BookmarkRules(PackageContext& c, std::string part) : c_(c), part_(std::move(part)) {}

    void start(const XmlElement& e) override {
        const bool start = e.tag == Tag::BookmarkStart;
        if (!start && e.tag != Tag::BookmarkEnd) return;
        const std::string_view* id = e.attribute("w", "id");
        if (!id) {
            found_.push_back({Level::Fail, std::string(start ? "a bookmark start" : "a bookmark end") + " has no w:id",
                              e.line, e.column});
            return;
        }
        const std::string key(*id);
        if (start) {
            auto [it, added] = starts_.emplace(key, Place{e.line, e.column});
            if (!added)
                found_.push_back({Level::Fail,
                                  "bookmark id " + key + " starts twice (first at line " + std::to_string(it->second.line) +
                                      ", column " + std::to_string(it->second.column) + ")",
                                  e.line, e.column});
        } else if (!ends_.emplace(key, Place{e.line, e.column}).second) {
            found_.push_back({Level::StrictFail, "bookmark id " + key + " ends twice", e.line, e.column});
        }
    }

    void finish(const XmlScan&) override {
        for (const auto& [id, at] : ends_)
            if (!starts_.count(id))
                found_.push_back({Level::StrictFail, "bookmark end " + id + " has no start", at.line, at.column});
        for (const auto& [id, at] : starts_)
            if (!ends_.count(id))
                found_.push_back({Level::StrictFail, "bookmark " + id + " has no end", at.line, at.column});
        c_.addAll(part_, "ids", found_);
    }

private:
    struct Place {
        size_t line, column;
    };
    PackageContext& c_;
    std::string part_;
    std::unordered_map<std::string, Place> starts_, ends_;
    std::vector<PendingFinding> found_;
};

}  // namespace

std::unique_ptr<XmlVisitor> BookmarkRules_Create(PackageContext& c, const std::string& part) {
    return std::make_unique<BookmarkRules>(c, part);
}

void Check_DrawingIds(PackageContext& c) {
    std::unordered_map<std::string, std::string> firstPart;  // id -> part of its first use
    for (auto& [n, part] : c.xml) {
        std::vector<PendingFinding> found;
        for (const DrawingId& d : part.drawingIds) {
            if (!IsUnsigned32(d.value))
                found.push_back({Level::StrictFail, "wp:docPr id '" + d.value + "' is not an unsigned 32-bit number",
                                 d.line, d.column});
            auto [it, added] = firstPart.emplace(d.value, n);
            if (!added)
                found.push_back({Level::StrictFail,
                                 "wp:docPr id " + d.value + " is used again" +
                                     (it->second == n ? std::string() : " (first in " + it->second + ")"),
                                 d.line, d.column});
        }
        c.addAll(n, "ids", found);
    }
}

}  // namespace cli
