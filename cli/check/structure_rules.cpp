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

bool IsBlock(Tag t) {
    return t == Tag::Paragraph || t == Tag::Table || t == Tag::StructuredTag || t == Tag::CustomXml ||
           t == Tag::AltChunk || t == Tag::AlternateContent;
}

enum class Holds { Nothing, BlocksRequired, BlocksExpected };

// A note is a w:footnote in w:footnotes; in the settings' w:footnotePr the
// same name only refers to one.
Holds HoldsOf(Tag t, Tag parent) {
    if (t == Tag::Cell || t == Tag::TextBox) return Holds::BlocksRequired;
    if (t == Tag::Header || t == Tag::Footer || (t == Tag::Footnote && parent == Tag::Footnotes) ||
        (t == Tag::Endnote && parent == Tag::Endnotes))
        return Holds::BlocksExpected;
    return Holds::Nothing;
}

// Findings name elements by the prefixes this checker gives their
// namespaces ("w:tc"), whatever prefix the part binds.
struct Frame {
    std::string known;
    Tag tag = Tag::Other;
    const Rule* rule = nullptr;
    int top = -1;
    std::string topChild;
    size_t line = 0, column = 0;
    Holds holds = Holds::Nothing;
    size_t blocks = 0;
    Tag lastBlock = Tag::Other;
    size_t lastBlockLine = 0, lastBlockColumn = 0;
    bool hasTblPr = false, hasTblGrid = false, hasWrapPolygon = false;
};

class StructureRules : public XmlVisitor {
public:
    StructureRules(PackageContext& c, std::string part) : c_(c), part_(std::move(part)), rules_(ParentRules()) {}

    void start(const XmlElement& e) override {
        if (!stack_.empty()) child(stack_.back(), e);
        stack_.emplace_back();
        Frame& f = stack_.back();
        if (e.known.empty()) return;
        f.known = e.known;
        f.tag = e.tag;
        f.line = e.line;
        f.column = e.column;
        auto r = rules_.find(e.known);
        if (r != rules_.end()) f.rule = &r->second;
        f.holds = HoldsOf(e.tag, stack_.size() > 1 ? stack_[stack_.size() - 2].tag : Tag::Other);
        if (e.tag == Tag::PresetGeometry && !e.attribute("prst"))
            structure_.push_back({Level::Fail, "a:prstGeom has no prst attribute (it is required)", e.line, e.column});
        if ((e.tag == Tag::WrapSquare || e.tag == Tag::WrapTight || e.tag == Tag::WrapThrough) &&
            !e.attribute("wrapText"))
            structure_.push_back({Level::Fail, e.known + " has no wrapText attribute (it is required)", e.line, e.column});
    }

    void end() override {
        Frame& f = stack_.back();
        if (f.holds != Holds::Nothing && f.blocks == 0) {
            structure_.push_back({f.holds == Holds::BlocksRequired ? Level::Fail : Level::StrictFail,
                                  f.known + " holds no block (it needs at least one w:p)", f.line, f.column});
        } else if (f.tag == Tag::Cell && f.lastBlock == Tag::Table) {
            structure_.push_back({Level::Fail, "w:tc ends with w:tbl (the last block of a cell must be a w:p)",
                                  f.lastBlockLine, f.lastBlockColumn});
        }
        if (f.tag == Tag::Table) {
            if (!f.hasTblPr) structure_.push_back({Level::Fail, "w:tbl has no w:tblPr (it is required)", f.line, f.column});
            if (!f.hasTblGrid) structure_.push_back({Level::Fail, "w:tbl has no w:tblGrid (it is required)", f.line, f.column});
        }
        if ((f.tag == Tag::WrapTight || f.tag == Tag::WrapThrough) && !f.hasWrapPolygon)
            structure_.push_back({Level::Fail, f.known + " has no wp:wrapPolygon (it is required)", f.line, f.column});
        stack_.pop_back();
    }

    void finish(const XmlScan&) override {
        c_.addAll(part_, "order", order_);
        c_.addAll(part_, "structure", structure_);
    }

private:
    void child(Frame& parent, const XmlElement& e) {
        if (e.known.empty() || parent.known.empty()) return;
        if (parent.rule) {
            auto p = parent.rule->place.find(e.known);
            if (p != parent.rule->place.end()) {
                const int place = p->second;
                if (place < parent.top || (place == parent.top && parent.rule->once[place])) {
                    // Run properties are a free choice in the transitional
                    // schema; only a paragraph mark's revision marks have a place.
                    const bool free = parent.tag == Tag::RunProperties && e.tag != Tag::Insertion &&
                                      e.tag != Tag::Deletion && e.tag != Tag::MoveFrom && e.tag != Tag::MoveTo;
                    order_.push_back({free ? Level::Warn : Level::StrictFail,
                                      parent.known + " child " + e.known + " after " + parent.topChild, e.line,
                                      e.column});
                } else {
                    parent.top = place;
                    parent.topChild = e.known;
                }
            }
        }
        if (parent.holds != Holds::Nothing && IsBlock(e.tag)) {
            ++parent.blocks;
            parent.lastBlock = e.tag;
            parent.lastBlockLine = e.line;
            parent.lastBlockColumn = e.column;
        }
        if (parent.tag == Tag::Table) {
            parent.hasTblPr |= e.tag == Tag::TableProperties;
            parent.hasTblGrid |= e.tag == Tag::TableGrid;
        }
        if (parent.tag == Tag::WrapTight || parent.tag == Tag::WrapThrough)
            parent.hasWrapPolygon |= e.tag == Tag::WrapPolygon;
        if (parent.tag == Tag::TableBorders && (e.tag == Tag::DiagonalDown || e.tag == Tag::DiagonalUp))
            structure_.push_back({Level::Fail, "w:tblBorders child " + e.known +
                                  " is not allowed (only cell borders have diagonals)", e.line, e.column});
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
