#include "content/field_merge.h"

#include <cstring>
#include <vector>

#include "content/paragraph_text.h"
#include "content/run_text.h"
#include "package/document.h"
#include "package/utf8_text.h"

namespace {

bool Named(pugi::xml_node node, const char* name) { return std::strcmp(node.name(), name) == 0; }

// Writes a replaced text into its w:t. Blanks at either end need
// xml:space="preserve", or word processors drop them.
void Text_Set(pugi::xml_node t, std::string_view replaced) {
    t.text().set(replaced.data(), replaced.size());
    if (Text_NeedsPreserve(replaced)) {
        pugi::xml_attribute space = t.attribute("xml:space");
        if (!space) space = t.append_attribute("xml:space");
        space.set_value("preserve");
    }
}

// The w:t elements of one merge, replaced a chunk at a time: their texts
// joined by kSeparator go through the replacement once. The separator is a
// character XML forbids, so a loaded text never holds it, cleaned data
// never does, and a match cannot span it unless the name holds it (then,
// and for a text that holds it, each text goes alone). A walk ends with
// TextBatch_Flush.
constexpr char kSeparator = '\x01';
constexpr size_t kChunkBytes = 256 * 1024;

struct TextBatch {
    const FieldMerge& merge;
    bool joinable;
    std::vector<pugi::xml_node> texts;
    std::string joined, replaced;
};

TextBatch TextBatch_Make(const FieldMerge& merge) {
    return TextBatch{merge, merge.fieldName.find(kSeparator) == std::string_view::npos, {}, {}, {}};
}

// Gives each w:t its piece of the replaced text; when the pieces do not
// match the texts one for one, each text is replaced on its own.
void TextBatch_Distribute(TextBatch& batch) {
    std::vector<std::string_view> pieces;
    pieces.reserve(batch.texts.size());
    std::string_view rest = batch.replaced;
    for (;;) {
        const size_t end = rest.find(kSeparator);
        pieces.push_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    if (pieces.size() != batch.texts.size()) {
        for (pugi::xml_node t : batch.texts) Text_ApplyFieldData(t, batch.merge);
        return;
    }
    for (size_t i = 0; i < batch.texts.size(); ++i)
        if (pieces[i] != batch.texts[i].child_value()) Text_Set(batch.texts[i], pieces[i]);
}

void TextBatch_Flush(TextBatch& batch) {
    if (batch.texts.empty()) return;
    if (batch.merge.replace(batch.merge.context, batch.joined, batch.replaced)) TextBatch_Distribute(batch);
    batch.texts.clear();
    batch.joined.clear();
}

void TextBatch_Add(TextBatch& batch, pugi::xml_node t) {
    const char* text = t.child_value();
    if (!*text) return;  // an empty text stays empty
    if (!batch.joinable || std::strchr(text, kSeparator)) {
        Text_ApplyFieldData(t, batch.merge);
        return;
    }
    if (!batch.texts.empty()) batch.joined += kSeparator;
    batch.joined += text;
    batch.texts.push_back(t);
    if (batch.joined.size() >= kChunkBytes) TextBatch_Flush(batch);
}

void Hyperlink_Collect(pugi::xml_node hyperlink, TextBatch& batch) {
    for (pugi::xml_node item = hyperlink.child("w:r"); item; item = item.next_sibling()) {
        if (item.type() != pugi::node_element) continue;
        if (pugi::xml_node t = item.child("w:t")) TextBatch_Add(batch, t);
    }
}

void Paragraph_Collect(pugi::xml_node paragraph, TextBatch& batch) {
    for (pugi::xml_node child = paragraph.first_child(); child; child = child.next_sibling()) {
        if (Named(child, "w:r")) {
            for (pugi::xml_node t = child.child("w:t"); t; t = t.next_sibling("w:t")) TextBatch_Add(batch, t);
        } else if (Named(child, "w:hyperlink")) {
            Hyperlink_Collect(child, batch);
        }
    }
}

// Cells hold paragraphs and tables; tables may nest as deep as a part
// goes, so the walk keeps its own stack instead of recursing.
void Tables_Collect(std::vector<pugi::xml_node>& pending, TextBatch& batch) {
    while (!pending.empty()) {
        pugi::xml_node table = pending.back();
        pending.pop_back();
        for (pugi::xml_node row = table.child("w:tr"); row; row = row.next_sibling("w:tr"))
            for (pugi::xml_node cell = row.child("w:tc"); cell; cell = cell.next_sibling("w:tc"))
                for (pugi::xml_node block = cell.first_child(); block; block = block.next_sibling()) {
                    if (Named(block, "w:p"))
                        Paragraph_Collect(block, batch);
                    else if (Named(block, "w:tbl"))
                        pending.push_back(block);
                }
    }
}

void Container_Collect(pugi::xml_node container, TextBatch& batch) {
    std::vector<pugi::xml_node> tables;
    for (pugi::xml_node item = container.first_child(); item; item = item.next_sibling()) {
        if (Named(item, "w:p")) {
            Paragraph_Collect(item, batch);
        } else if (Named(item, "w:tbl")) {
            tables.push_back(item);
            Tables_Collect(tables, batch);
        }
    }
}

}  // namespace

void FieldData_Clean(std::string& data) {
    size_t kept = 0;
    for (char c : data) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') continue;
        data[kept++] = c;
    }
    data.resize(kept);
    Utf8_Sanitize(data);
}

void FieldData_PlainReplace(std::string_view text, std::string_view fieldName, std::string_view data,
                            std::string& out) {
    out.clear();
    if (fieldName.empty()) {
        out.assign(text);
        return;
    }
    size_t start = 0;
    for (size_t at; (at = text.find(fieldName, start)) != std::string_view::npos; start = at + fieldName.size())
        out.append(text, start, at - start).append(data);
    out.append(text, start, std::string_view::npos);
}

void Text_ApplyFieldData(pugi::xml_node t, const FieldMerge& merge) {
    std::string replaced;
    const std::string_view text = t.child_value();
    if (merge.replace(merge.context, text, replaced) && replaced != text) Text_Set(t, replaced);
}

void Paragraph_ApplyFieldData(pugi::xml_node paragraph, const FieldMerge& merge) {
    TextBatch batch = TextBatch_Make(merge);
    Paragraph_Collect(paragraph, batch);
    TextBatch_Flush(batch);
}

void ParagraphItemContainer_ApplyFieldData(pugi::xml_node hyperlink, const FieldMerge& merge) {
    TextBatch batch = TextBatch_Make(merge);
    Hyperlink_Collect(hyperlink, batch);
    TextBatch_Flush(batch);
}

void Table_ApplyFieldData(pugi::xml_node table, const FieldMerge& merge) {
    TextBatch batch = TextBatch_Make(merge);
    std::vector<pugi::xml_node> pending{table};
    Tables_Collect(pending, batch);
    TextBatch_Flush(batch);
}

void Container_ApplyFieldData(pugi::xml_node container, const FieldMerge& merge) {
    TextBatch batch = TextBatch_Make(merge);
    Container_Collect(container, batch);
    TextBatch_Flush(batch);
}

void Document_ApplyFieldData(Word::Document& document, const FieldMerge& merge) {
    TextBatch batch = TextBatch_Make(merge);
    Container_Collect(document.documentXml.child("w:document").child("w:body"), batch);
    // The lists hold each part once, however many sections refer to it.
    for (const Word::HeaderFooterList* list : {&document.headers, &document.footers})
        for (Word::HeaderFooterPart* part = list->head; part; part = part->next)
            Container_Collect(part->xml.document_element(), batch);
    TextBatch_Flush(batch);
}

RunTextResult Run_ApplyFieldData(pugi::xml_node run, const FieldMerge& merge) {
    std::string text, replaced;
    Run_AppendText(run, text);
    // A run whose text stays the same keeps its children as they are (page
    // breaks between its texts, pictures, shapes).
    if (!merge.replace(merge.context, text, replaced) || replaced == text) return RunTextResult::Written;
    return Run_SetText(run, replaced);
}
