#include "content/field_merge.h"

#include <cstring>
#include <vector>

#include "content/paragraph_text.h"
#include "content/run_text.h"
#include "package/document.h"
#include "package/utf8_text.h"

namespace {

bool Named(pugi::xml_node node, const char* name) { return std::strcmp(node.name(), name) == 0; }

// Cells hold paragraphs and tables; tables may nest as deep as a part
// goes, so the walk keeps its own stack instead of recursing.
void Blocks_ApplyFieldData(std::vector<pugi::xml_node>& pending, const FieldMerge& merge) {
    while (!pending.empty()) {
        pugi::xml_node table = pending.back();
        pending.pop_back();
        for (pugi::xml_node row = table.child("w:tr"); row; row = row.next_sibling("w:tr"))
            for (pugi::xml_node cell = row.child("w:tc"); cell; cell = cell.next_sibling("w:tc"))
                for (pugi::xml_node block = cell.first_child(); block; block = block.next_sibling()) {
                    if (Named(block, "w:p"))
                        Paragraph_ApplyFieldData(block, merge);
                    else if (Named(block, "w:tbl"))
                        pending.push_back(block);
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
    // The scratch strings are kept between calls: a merge touches every
    // w:t of a document, and most texts fit the buffers already there.
    thread_local std::string text, replaced;
    text.assign(t.child_value());
    if (!merge.replace(merge.context, text, replaced) || replaced == text) return;
    t.text().set(replaced.c_str());
    if (Text_NeedsPreserve(replaced)) {
        pugi::xml_attribute space = t.attribute("xml:space");
        if (!space) space = t.append_attribute("xml:space");
        space.set_value("preserve");
    }
}

void Paragraph_ApplyFieldData(pugi::xml_node paragraph, const FieldMerge& merge) {
    for (pugi::xml_node child = paragraph.first_child(); child; child = child.next_sibling()) {
        if (Named(child, "w:r")) {
            for (pugi::xml_node t = child.child("w:t"); t; t = t.next_sibling("w:t")) Text_ApplyFieldData(t, merge);
        } else if (Named(child, "w:hyperlink")) {
            ParagraphItemContainer_ApplyFieldData(child, merge);
        }
    }
}

void ParagraphItemContainer_ApplyFieldData(pugi::xml_node hyperlink, const FieldMerge& merge) {
    for (pugi::xml_node item = hyperlink.child("w:r"); item; item = item.next_sibling()) {
        if (item.type() != pugi::node_element) continue;
        if (pugi::xml_node t = item.child("w:t")) Text_ApplyFieldData(t, merge);
    }
}

void Table_ApplyFieldData(pugi::xml_node table, const FieldMerge& merge) {
    std::vector<pugi::xml_node> pending{table};
    Blocks_ApplyFieldData(pending, merge);
}

void Container_ApplyFieldData(pugi::xml_node container, const FieldMerge& merge) {
    std::vector<pugi::xml_node> tables;
    for (pugi::xml_node item = container.first_child(); item; item = item.next_sibling()) {
        if (Named(item, "w:p")) {
            Paragraph_ApplyFieldData(item, merge);
        } else if (Named(item, "w:tbl")) {
            tables.push_back(item);
            Blocks_ApplyFieldData(tables, merge);
        }
    }
}

void Document_ApplyFieldData(Word::Document& document, const FieldMerge& merge) {
    Container_ApplyFieldData(document.documentXml.child("w:document").child("w:body"), merge);
    // The lists hold each part once, however many sections refer to it.
    for (const Word::HeaderFooterList* list : {&document.headers, &document.footers})
        for (Word::HeaderFooterPart* part = list->head; part; part = part->next)
            Container_ApplyFieldData(part->xml.document_element(), merge);
}

RunTextResult Run_ApplyFieldData(pugi::xml_node run, const FieldMerge& merge) {
    std::string text, replaced;
    Run_AppendText(run, text);
    // A run whose text stays the same keeps its children as they are (page
    // breaks between its texts, pictures, shapes).
    if (!merge.replace(merge.context, text, replaced) || replaced == text) return RunTextResult::Written;
    return Run_SetText(run, replaced);
}
