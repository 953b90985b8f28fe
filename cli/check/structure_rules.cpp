// The `order` and `structure` rules of a WordprocessingML part, judged as
// the scan goes: children in the schema's sequence (the same sequences the
// library inserts by), and what the schema requires of tables, cells, text
// boxes, headers, footers, notes, geometry and wraps.
#include <unordered_map>
#include <vector>

#include "check/package_context.h"
#include "format/schema_order.h"

namespace cli {

namespace {

struct Rule {
    std::unordered_map<std::string, int> place;
    std::vector<bool> once;
};

Rule RuleOf(ChildOrder order) {
    Rule rule;
    const ChildSequence sequence = ChildOrder_Sequence(order);
    for (size_t i = 0; i < sequence.count; ++i) {
        std::string place = sequence.places[i];
        const bool once = !place.empty() && place[0] == '!';
        if (once) place.erase(0, 1);
        rule.once.push_back(once);
        size_t at = 0;
        while (at <= place.size()) {
            size_t end = place.find('|', at);
            if (end == std::string::npos) end = place.size();
            rule.place.emplace(place.substr(at, end - at), static_cast<int>(i));
            at = end + 1;
        }
    }
    return rule;
}

// Built once and never changed after.
const std::unordered_map<std::string, Rule>& ParentRules() {
    static const std::unordered_map<std::string, Rule> rules = [] {
        const std::pair<const char*, ChildOrder> parents[] = {
            {"w:rPr", ChildOrder::RunProperties},
            {"w:pPr", ChildOrder::ParagraphProperties},
            {"w:sectPr", ChildOrder::SectionProperties},
            {"w:numPr", ChildOrder::NumberingProperties},
            {"w:tcPr", ChildOrder::CellProperties},
            {"w:tblPr", ChildOrder::TableProperties},
            {"w:tblPrEx", ChildOrder::TablePropertyExceptions},
            {"w:tblBorders", ChildOrder::TableBorders},
            {"w:tcBorders", ChildOrder::CellBorders},
            {"w:pBdr", ChildOrder::ParagraphBorders},
            {"w:tblCellMar", ChildOrder::CellMargins},
            {"w:tcMar", ChildOrder::CellMargins},
            {"w:style", ChildOrder::Style},
            {"w:tblStylePr", ChildOrder::TableStyleProperties},
            {"w:docDefaults", ChildOrder::DocumentDefaults},
            {"w:settings", ChildOrder::Settings},
            {"a:spPr", ChildOrder::ShapeProperties},
            {"wps:spPr", ChildOrder::ShapeProperties},
            {"pic:spPr", ChildOrder::ShapeProperties},
            {"a:ln", ChildOrder::LineProperties},
            {"w:body", ChildOrder::Body},
            {"w:p", ChildOrder::Paragraph},
            {"w:r", ChildOrder::Run},
            {"w:tbl", ChildOrder::Table},
            {"w:tblGrid", ChildOrder::TableGrid},
            {"w:tr", ChildOrder::TableRow},
            {"w:tc", ChildOrder::TableCell},
            {"w:styles", ChildOrder::Styles},
            {"w:numbering", ChildOrder::Numbering},
            {"w:abstractNum", ChildOrder::AbstractNumbering},
            {"w:lvl", ChildOrder::NumberingLevel},
            {"w:num", ChildOrder::NumberingInstance},
            {"w:lvlOverride", ChildOrder::LevelOverride},
            {"wp:inline", ChildOrder::InlineDrawing},
            {"wp:anchor", ChildOrder::AnchoredDrawing},
            {"wp:wrapPolygon", ChildOrder::WrapPolygon},
            {"a:xfrm", ChildOrder::Transform},
            {"a:blipFill", ChildOrder::BlipFill},
            {"pic:blipFill", ChildOrder::BlipFill},
            {"pic:pic", ChildOrder::Picture},
            {"pic:nvPicPr", ChildOrder::PictureNonVisual},
            {"wps:wsp", ChildOrder::WordShape},
            {"wpg:wgp", ChildOrder::ShapeGroup},
            {"wpg:grpSp", ChildOrder::ShapeGroup},
        };
        std::unordered_map<std::string, Rule> byParent;
        for (const auto& [name, order] : parents) byParent.emplace(name, RuleOf(order));
        return byParent;
    }();
    return rules;
}

bool IsBlock(const std::string& known) {
    return known == "w:p" || known == "w:tbl" || known == "w:sdt" || known == "w:customXml" ||
           known == "w:altChunk" || known == "mc:AlternateContent";
}

enum class Holds { Nothing, BlocksRequired, BlocksExpected };

Holds HoldsOf(const std::string& known) {
    if (known == "w:tc" || known == "w:txbxContent") return Holds::BlocksRequired;
    if (known == "w:hdr" || known == "w:ftr" || known == "w:footnote" || known == "w:endnote")
        return Holds::BlocksExpected;
    return Holds::Nothing;
}

struct Frame {
    std::string known;
    std::string qname;
    const Rule* rule = nullptr;
    int top = -1;
    std::string topChild;
    size_t line = 0, column = 0;
    Holds holds = Holds::Nothing;
    size_t blocks = 0;
    std::string lastBlock, lastBlockQname;
    size_t lastBlockLine = 0, lastBlockColumn = 0;
    bool hasTblPr = false, hasTblGrid = false, hasWrapPolygon = false;
};

class StructureRules : public XmlVisitor {
public:
    StructureRules(PackageContext& c, std::string part) : c_(c), part_(std::move(part)), rules_(ParentRules()) {}

    void start(const XmlElement& e) override {
        const std::string qname =
            e.prefix.empty() ? std::string(e.local) : std::string(e.prefix) + ":" + std::string(e.local);
        if (!stack_.empty()) child(stack_.back(), e, qname);
        Frame f;
        f.known = e.known;
        f.line = e.line;
        f.column = e.column;
        if (!e.known.empty()) {
            auto r = rules_.find(e.known);
            if (r != rules_.end()) f.rule = &r->second;
            f.holds = HoldsOf(e.known);
            if (e.known == "a:prstGeom" && !e.attribute("prst"))
                structure_.push_back({Level::Fail, qname + " has no prst attribute (it is required)", e.line, e.column});
            if ((e.known == "wp:wrapSquare" || e.known == "wp:wrapTight" || e.known == "wp:wrapThrough") &&
                !e.attribute("wrapText"))
                structure_.push_back({Level::Fail, qname + " has no wrapText attribute (it is required)", e.line, e.column});
        }
        if (f.rule || f.holds != Holds::Nothing || e.known == "w:tbl" || e.known == "wp:wrapTight" ||
            e.known == "wp:wrapThrough" || e.known == "w:tblBorders")
            f.qname = qname;
        stack_.push_back(std::move(f));
    }

    void end() override {
        Frame& f = stack_.back();
        const std::string prefix = f.qname.find(':') == std::string::npos ? "" : f.qname.substr(0, f.qname.find(':') + 1);
        if (f.holds != Holds::Nothing && f.blocks == 0) {
            structure_.push_back({f.holds == Holds::BlocksRequired ? Level::Fail : Level::StrictFail,
                                  f.qname + " holds no block (it needs at least one " + prefix + "p)", f.line,
                                  f.column});
        } else if (f.known == "w:tc" && f.lastBlock == "w:tbl") {
            structure_.push_back({Level::Fail,
                                  f.qname + " ends with " + f.lastBlockQname + " (the last block of a cell must be a " +
                                      prefix + "p)",
                                  f.lastBlockLine, f.lastBlockColumn});
        }
        if (f.known == "w:tbl") {
            if (!f.hasTblPr) structure_.push_back({Level::Fail, f.qname + " has no " + prefix + "tblPr (it is required)", f.line, f.column});
            if (!f.hasTblGrid) structure_.push_back({Level::Fail, f.qname + " has no " + prefix + "tblGrid (it is required)", f.line, f.column});
        }
        if ((f.known == "wp:wrapTight" || f.known == "wp:wrapThrough") && !f.hasWrapPolygon)
            structure_.push_back({Level::Fail, f.qname + " has no " + prefix + "wrapPolygon (it is required)", f.line, f.column});
        stack_.pop_back();
    }

    void finish(const XmlScan&) override {
        c_.addAll(part_, "order", order_);
        c_.addAll(part_, "structure", structure_);
    }

private:
    void child(Frame& parent, const XmlElement& e, const std::string& qname) {
        if (e.known.empty()) return;
        if (parent.rule) {
            auto p = parent.rule->place.find(e.known);
            if (p != parent.rule->place.end()) {
                const int place = p->second;
                if (place < parent.top || (place == parent.top && parent.rule->once[place])) {
                    // Run properties are a free choice in the transitional
                    // schema; only a paragraph mark's revision marks have a place.
                    const bool free = parent.known == "w:rPr" && e.known != "w:ins" && e.known != "w:del" &&
                                      e.known != "w:moveFrom" && e.known != "w:moveTo";
                    order_.push_back({free ? Level::Warn : Level::StrictFail,
                                      parent.qname + " child " + qname + " after " + parent.topChild, e.line, e.column});
                } else {
                    parent.top = place;
                    parent.topChild = qname;
                }
            }
        }
        if (parent.holds != Holds::Nothing && IsBlock(e.known)) {
            ++parent.blocks;
            parent.lastBlock = e.known;
            parent.lastBlockQname = qname;
            parent.lastBlockLine = e.line;
            parent.lastBlockColumn = e.column;
        }
        if (parent.known == "w:tbl") {
            parent.hasTblPr |= e.known == "w:tblPr";
            parent.hasTblGrid |= e.known == "w:tblGrid";
        }
        if (parent.known == "wp:wrapTight" || parent.known == "wp:wrapThrough") parent.hasWrapPolygon |= e.known == "wp:wrapPolygon";
        if (parent.known == "w:tblBorders" && (e.known == "w:tl2br" || e.known == "w:tr2bl"))
            structure_.push_back({Level::Fail, parent.qname + " child " + qname + " is not allowed (only cell borders have diagonals)",
                                  e.line, e.column});
    }

    PackageContext& c_;
    std::string part_;
    const std::unordered_map<std::string, Rule>& rules_;
    std::vector<Frame> stack_;
    std::vector<PendingFinding> order_, structure_;
};

}  // namespace

std::unique_ptr<XmlVisitor> StructureRules_Create(PackageContext& c, const std::string& part) {
    return std::make_unique<StructureRules>(c, part);
}

}  // namespace cli
