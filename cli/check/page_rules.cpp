// The `page` rule: the page size and margins of every section are what a
// page can be: sides of at most 22 inches, and margins that leave room for
// text.
#include <cmath>
#include <optional>

#include "check/package_context.h"

namespace cli {

namespace {

constexpr double kLargestSide = 31680;  // twips: 22 inches

// A twips measure: an integer, or a decimal number with a unit ("2.5cm"),
// as the schema's patterns write them: no exponent, hexadecimal, '+' or
// spaces (which strtod takes), and a '.' whatever the locale.
std::optional<double> Twips(std::string_view v) {
    const bool negative = !v.empty() && v[0] == '-';
    double n = 0, scale = 1;
    size_t at = negative, digits = 0, decimals = 0;
    bool point = false;
    for (; at < v.size(); ++at) {
        if (v[at] >= '0' && v[at] <= '9') {
            n = n * 10 + (v[at] - '0');
            ++(point ? decimals : digits);
            if (point) scale *= 10;
        } else if (v[at] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0 || (point && decimals == 0) || !std::isfinite(n)) return std::nullopt;
    n = (negative ? -n : n) / scale;
    const std::string unit(v.substr(at));
    if (unit.empty()) {
        if (point) return std::nullopt;
        return n;
    }
    if (unit == "in") return n * 1440;
    if (unit == "cm") return n * 1440 / 2.54;
    if (unit == "mm") return n * 144 / 2.54;
    if (unit == "pt") return n * 20;
    if (unit == "pc" || unit == "pi") return n * 240;
    return std::nullopt;
}

class PageRules : public XmlVisitor {
public:
    PageRules(PackageContext& c, std::string part) : c_(c), part_(std::move(part)) {}

    void start(const XmlElement& e) override {
        ++depth_;
        if (e.tag == Tag::SectionProperties) {
            Section s;
            s.depth = depth_;
            sections_.push_back(s);
            return;
        }
        if (sections_.empty() || sections_.back().depth != depth_ - 1) return;
        Section& s = sections_.back();
        if (e.tag == Tag::PageSize) {
            s.width = Side(e, "w", s);
            s.height = Side(e, "h", s);
            s.sizeLine = e.line;
            s.sizeColumn = e.column;
        } else if (e.tag == Tag::PageMargins) {
            // Only the top and bottom margins are signed (text over the
            // header or footer).
            s.top = Margin(e, "top", true);
            s.bottom = Margin(e, "bottom", true);
            s.left = Margin(e, "left", false);
            s.right = Margin(e, "right", false);
            s.gutter = Margin(e, "gutter", false);
            s.marginLine = e.line;
            s.marginColumn = e.column;
        }
    }

    void end() override {
        if (!sections_.empty() && sections_.back().depth == depth_) {
            Judge(sections_.back());
            sections_.pop_back();
        }
        --depth_;
    }

    void finish(const XmlScan&) override { c_.addAll(part_, "page", found_); }

private:
    struct Section {
        int depth = 0;
        std::optional<double> width, height, top, bottom, left, right, gutter;
        size_t sizeLine = 0, sizeColumn = 0, marginLine = 0, marginColumn = 0;
    };

    std::optional<double> Side(const XmlElement& e, const char* name, Section&) {
        const std::string_view* v = e.attribute("w", name);
        if (!v) return std::nullopt;
        const std::optional<double> t = Twips(*v);
        if (!t) {
            found_.push_back({Level::Fail, "w:pgSz w:" + std::string(name) + "=\"" + std::string(*v) + "\" is not a measure",
                              e.line, e.column});
        } else if (*t < 1 || *t > kLargestSide) {
            found_.push_back({Level::Fail,
                              "page " + std::string(*name == 'w' ? "width" : "height") + " " + std::string(*v) +
                                  " is not from 1 to 31680 twips (22 inches)",
                              e.line, e.column});
            return std::nullopt;
        }
        return t;
    }

    std::optional<double> Margin(const XmlElement& e, const char* name, bool signedMeasure) {
        const std::string_view* v = e.attribute("w", name);
        if (!v) return std::nullopt;
        const std::optional<double> t = Twips(*v);
        if (!t) {
            found_.push_back({Level::Fail, "w:pgMar w:" + std::string(name) + "=\"" + std::string(*v) + "\" is not a measure",
                              e.line, e.column});
        } else if (*t < 0 && !signedMeasure) {
            found_.push_back({Level::Fail, "w:pgMar w:" + std::string(name) + "=\"" + std::string(*v) + "\" is negative",
                              e.line, e.column});
            return std::nullopt;
        } else if (std::fabs(*t) > kLargestSide) {
            found_.push_back({Level::Fail, "margin w:" + std::string(name) + " " + std::string(*v) + " is larger than any page",
                              e.line, e.column});
            return std::nullopt;
        }
        return t;
    }

    void Judge(const Section& s) {
        if (s.width && (s.left || s.right)) {
            const double used = std::fabs(s.left.value_or(0)) + std::fabs(s.right.value_or(0)) + s.gutter.value_or(0);
            if (used >= *s.width)
                found_.push_back({Level::Fail,
                                  "left and right margins (and gutter) of " + std::to_string(long(used)) +
                                      " twips leave no room for text on a page " + std::to_string(long(*s.width)) +
                                      " twips wide",
                                  s.marginLine, s.marginColumn});
        }
        if (s.height && (s.top || s.bottom)) {
            const double used = std::fabs(s.top.value_or(0)) + std::fabs(s.bottom.value_or(0));
            if (used >= *s.height)
                found_.push_back({Level::Fail,
                                  "top and bottom margins of " + std::to_string(long(used)) +
                                      " twips leave no room for text on a page " + std::to_string(long(*s.height)) +
                                      " twips high",
                                  s.marginLine, s.marginColumn});
        }
    }

    PackageContext& c_;
    std::string part_;
    int depth_ = 0;
    std::vector<Section> sections_;
    std::vector<PendingFinding> found_;
};

}  // namespace

std::unique_ptr<XmlVisitor> PageRules_Create(PackageContext& c, const std::string& part) {
    return std::make_unique<PageRules>(c, part);
}

}  // namespace cli
