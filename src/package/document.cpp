#include "package/document.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "host/bridge.h"
#include "package/archive.h"
#include "package/relationships.h"
#include "package/xml_string_writer.h"

namespace Word {

namespace {

const char* const kMissingEntry = "Could not open internal file in document: ";

// The bytes of one entry, freed unless handed to a DOM.
struct EntryBuffer {
    void* data = nullptr;
    size_t size = 0;
    bool present = false;
    EntryBuffer() = default;
    EntryBuffer(const EntryBuffer&) = delete;
    EntryBuffer& operator=(const EntryBuffer&) = delete;
    ~EntryBuffer() { std::free(data); }
};

// Closes the archive on every way out of the function that opened it.
struct ArchiveCloser {
    Zip::Archive* archive;
    ~ArchiveCloser() {
        if (archive) Zip::zip_close(archive);
    }
};

open_result_code ReadEntry(Zip::Archive* archive, const std::string& name, EntryBuffer& out,
                           bool required, std::string& lastError) {
    if (Zip::zip_entry_open(archive, name.c_str()) != 0) {
        if (!required) return success;
        lastError = kMissingEntry + name;
        return entry_missing;
    }
    out.present = true;
    if (Zip::zip_entry_read(archive, &out.data, &out.size) < 0) {
        Zip::zip_entry_close(archive);
        return entry_read_failed;
    }
    if (Zip::zip_entry_close(archive) != 0) return entry_close_failed;
    return success;
}

// Parses in place: the DOM takes the buffer over instead of copying it.
// zip_entry_read allocates with malloc, and pugixml frees with free as long
// as its memory functions are left at their defaults, which this library
// never changes.
bool ParsePart(pugi::xml_document& xml, EntryBuffer& bytes) {
    void* data = bytes.data;
    bytes.data = nullptr;
    pugi::xml_parse_result parsed =
        xml.load_buffer_inplace_own(data, bytes.size, kParseOptions, pugi::encoding_auto);
    return static_cast<bool>(parsed);
}

}  // namespace

void HeaderFooterList_Append(HeaderFooterList& list, HeaderFooterPart* part) {
    part->next = nullptr;
    if (list.tail)
        list.tail->next = part;
    else
        list.head = part;
    list.tail = part;
}

void HeaderFooterList_Clear(HeaderFooterList& list) {
    HeaderFooterPart* part = list.head;
    while (part) {
        HeaderFooterPart* next = part->next;
        delete part;
        part = next;
    }
    list.head = list.tail = nullptr;
}

Document::Document(std::string path) : filePath(std::move(path)) {}

Document::~Document() {
    HeaderFooterList_Clear(headers);
    HeaderFooterList_Clear(footers);
}

open_result_code Document::Open() {
    ArchiveCloser closer{Zip::zip_open(filePath.c_str(), 6, 'r')};
    Zip::Archive* archive = closer.archive;
    if (!archive) return zip_open_failed;

    EntryBuffer document, core, styles, rels, contentTypes;
    open_result_code result = ReadEntry(archive, "word/document.xml", document, true, lastError);
    if (result == success) result = ReadEntry(archive, "docProps/core.xml", core, false, lastError);
    if (result == success) result = ReadEntry(archive, "word/styles.xml", styles, true, lastError);
    if (result == success)
        result = ReadEntry(archive, "word/_rels/document.xml.rels", rels, true, lastError);
    if (result == success)
        result = ReadEntry(archive, "[Content_Types].xml", contentTypes, true, lastError);
    if (result != success) return result;

    if (!ParsePart(relsXml, rels)) return parse_failed;

    const std::string numberingType = std::string(kRelationshipTypeBase) + "numbering";
    const std::string themeType = std::string(kRelationshipTypeBase) + "theme";
    bool numberingDone = false, themeDone = false;
    for (pugi::xml_node rel : relsXml.document_element().children()) {
        if (numberingDone && themeDone) break;
        const char* type = rel.attribute("Type").value();
        bool isNumbering = !numberingDone && numberingType == type;
        bool isTheme = !themeDone && themeType == type;
        if (!isNumbering && !isTheme) continue;
        const char* target = rel.attribute("Target").value();
        EntryBuffer part;
        result = ReadEntry(archive, std::string("word/") + target, part, true, lastError);
        if (result != success) return result;
        // A malformed numbering or theme part does not stop the opening.
        if (isNumbering) {
            numberingTarget = target;
            ParsePart(numberingXml, part);
            hasNumbering = true;
            numberingDone = true;
        } else {
            ParsePart(themeXml, part);
            themeDone = true;
        }
    }

    result = LoadHeaders(archive);
    if (result != success) return result;
    Zip::zip_close(archive);
    closer.archive = nullptr;

    if (!ParsePart(documentXml, document)) return parse_failed;
    if (core.present && !ParsePart(coreXml, core)) return parse_failed;
    if (!ParsePart(stylesXml, styles)) return parse_failed;
    if (!ParsePart(contentTypesXml, contentTypes)) return parse_failed;
    return success;
}

open_result_code Document::LoadHeaders(Zip::Archive* archive) {
    const std::string headerType = std::string(kRelationshipTypeBase) + "header";
    const std::string footerType = std::string(kRelationshipTypeBase) + "footer";
    for (pugi::xml_node rel : relsXml.document_element().children()) {
        const char* type = rel.attribute("Type").value();
        HeaderFooterList* list;
        if (headerType == type)
            list = &headers;
        else if (footerType == type)
            list = &footers;
        else
            continue;
        const char* target = rel.attribute("Target").value();
        EntryBuffer bytes;
        open_result_code result =
            ReadEntry(archive, std::string("word/") + target, bytes, true, lastError);
        if (result != success) return result;
        HeaderFooterPart* part = new HeaderFooterPart;
        part->target = target;
        part->id = rel.attribute("Id").value();
        HeaderFooterList_Append(*list, part);
        if (!ParsePart(part->xml, bytes)) return parse_failed;
    }
    return success;
}

std::string Document::GetErrorDescriptionAndCode(open_result_code code,
                                                 RBInteger& errorNumber) const {
    switch (code) {
    case success:
        errorNumber = 0;
        return std::string();
    case zip_open_failed:
        errorNumber = -4;
        return "Error opening word document";
    case entry_missing:
        errorNumber = -3;
        return lastError;
    case entry_read_failed:
        errorNumber = -5;
        return "Error reading zip entry";
    case entry_close_failed:
        errorNumber = -6;
        return "Error closing zip entry";
    case parse_failed:
        errorNumber = -7;
        return "Error could not parse document";
    }
    errorNumber = -7;
    return "Error could not parse document";
}

open_result_code Document::GetFileData(const char* entryName, REALstring* out) {
    *out = nullptr;
    ArchiveCloser closer{Zip::zip_open(filePath.c_str(), 6, 'r')};
    if (!closer.archive) return zip_open_failed;
    EntryBuffer bytes;
    open_result_code result = ReadEntry(closer.archive, entryName, bytes, true, lastError);
    if (result != success) return result;
    Zip::zip_close(closer.archive);
    closer.archive = nullptr;
    *out = REALBuildStringWithEncoding(static_cast<const char*>(bytes.data), bytes.size,
                                       kREALTextEncodingNone);
    return success;
}

bool Document::FileIsMarkedForDelete(const char* name, const DeletedFileList* list) {
    if (!list) return false;
    size_t length = std::strlen(name);
    for (const std::string& marked : *list)
        if (marked.size() == length && std::memcmp(marked.data(), name, length) == 0) return true;
    return false;
}

}  // namespace Word
