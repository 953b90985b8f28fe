#include "package/document.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "format/xml_namespaces.h"
#include "host/bridge.h"
#include "package/archive.h"
#include "package/package_paths.h"
#include "package/part_namespaces.h"
#include "package/part_wellformed.h"
#include "package/relationships.h"
#include "package/utf8_text.h"
#include "package/xml_string_writer.h"

namespace Word {

namespace {

const char* const kMissingEntry = "Could not open internal file in document: ";
const char* const kReadFailed = "Error reading zip entry";
const char* const kParseFailed = "Error could not parse document";

// "Error reading zip entry: word/media/a.png": a failure's message naming
// the entry.
std::string NamingEntry(const char* message, const std::string& entry) { return std::string(message) + ": " + entry; }

// The bytes of one entry, freed unless handed to a DOM.
struct EntryBuffer {
    char* data = nullptr;  // malloc'd; handed over to the DOM that parses it
    size_t size = 0;
    bool present = false;
    std::string name;                  // for the message of a part that cannot be parsed
    std::string* lastError = nullptr;  // where that message goes
    EntryBuffer() = default;
    EntryBuffer(const EntryBuffer&) = delete;
    EntryBuffer& operator=(const EntryBuffer&) = delete;
    ~EntryBuffer() { std::free(data); }
};

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    // A directory opens too, and states a size no read gives.
    struct stat st;
    if (::fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(file);
        return false;
    }
    out.clear();
    // One allocation for the whole file where its size is known.
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0) out.reserve(static_cast<size_t>(size));
        std::rewind(file);
    }
    char chunk[1 << 16];
    bool ok = true;
    for (;;) {
        size_t n = std::fread(chunk, 1, sizeof chunk, file);
        out.append(chunk, n);
        if (n < sizeof chunk) {
            ok = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    return ok;
}

open_result_code ReadEntry(Zip::Archive* archive, const std::string& name, EntryBuffer& out,
                           bool required, std::string& lastError) {
    if (Zip::zip_entry_open(archive, name.c_str()) != 0) {
        if (!required) return success;
        lastError = kMissingEntry + name;
        return entry_missing;
    }
    out.present = true;
    out.name = name;
    out.lastError = &lastError;
    if (Zip::zip_entry_read_limited(archive, &out.data, &out.size, Zip::kPartReadLimits) < 0) {
        Zip::zip_entry_close(archive);
        lastError = NamingEntry(kReadFailed, name);
        return entry_read_failed;
    }
    if (Zip::zip_entry_close(archive) != 0) return entry_close_failed;
    return success;
}

// Parses a part and makes its text what a saved part can hold, so that what
// is read is what will be written.
//
// The DOM takes the buffer over instead of copying it: it was allocated
// with malloc, and pugixml frees with free as long as its memory functions
// are left at their defaults, which this library never changes.
bool ParsePart(pugi::xml_document& xml, EntryBuffer& part) {
    // Bytes that are UTF-8 with nothing XML forbids (and no character
    // reference that could make it) give a tree that needs no cleaning.
    const bool clean = Utf8_IsCleanXmlText(part.data, part.size);
    // Sound bytes need no walk of the tree to tell that they are.
    const PartWellFormedness scanned = PartWellFormed_ScanBytes(part.data, part.size);
    char* data = part.data;
    part.data = nullptr;
    // As a fragment, so that what follows the root is kept to be refused.
    pugi::xml_parse_result parsed =
        xml.load_buffer_inplace_own(data, part.size, kParseOptions | pugi::parse_fragment, pugi::encoding_auto);
    const PartWellFormedness form = parsed ? PartWellFormed_Check(xml, &scanned) : PartWellFormedness();
    if (!form.wellFormed) {
        if (part.lastError) *part.lastError = NamingEntry(kParseFailed, part.name);
        return false;
    }
    if (!clean && Xml_SanitizeTree(xml)) PartNamespaces_PruneIgnorable(xml);
    PartNamespaces_Normalize(xml, form.innerDeclarations);
    return true;
}

// A name a package's entry can have: no leading '/', no '\\', no ".."
// segment. Readers refuse a package with any other, and a save would copy it.
bool IsPartEntryName(const std::string& name) {
    if (name.empty() || name[0] == '/' || name.find('\\') != std::string::npos) return false;
    for (size_t start = 0; start <= name.size();) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}

// An entry read as XML: a part named .xml or a relationships part (keys are
// in lower case).
bool IsXmlEntry(const std::string& key) {
    auto endsWith = [&](const char* suffix) {
        const size_t n = std::strlen(suffix);
        return key.size() >= n && key.compare(key.size() - n, n, suffix) == 0;
    };
    return endsWith(".xml") || endsWith(".rels");
}

// Every entry must be one a reader can take: a name used once (part names
// ignore case) that a package may hold, not encrypted, stored or deflated.
// The bytes of each are verified once the parts are read (VerifyEntries).
open_result_code CheckEntries(Zip::Archive* archive) {
    ssize_t count = Zip::zip_total_entries(archive);
    if (count < 0) return zip_open_failed;
    std::unordered_set<std::string> names;
    names.reserve(static_cast<size_t>(count));
    Zip::EntryInfo info;
    for (ssize_t i = 0; i < count; ++i) {
        if (Zip::zip_entry_info(archive, static_cast<size_t>(i), info) != 0) return zip_open_failed;
        if (!names.insert(PackagePath_Key(info.name)).second) return zip_open_failed;
        if (!IsPartEntryName(info.name)) return zip_open_failed;
        if (info.encrypted || !info.methodSupported) return entry_read_failed;
    }
    return success;
}

// Reads every entry's compressed bytes as a copy will, and inflates every
// entry a save copies (not `rewritten`) against its CRC and size, and
// checks the XML of those that hold XML: such an entry goes into every save
// as it is, which must not carry damage on as if it were sound.
open_result_code VerifyEntries(Zip::Archive* archive, const std::unordered_set<std::string>& rewritten,
                               std::string& lastError) {
    const ssize_t count = Zip::zip_total_entries(archive);
    Zip::EntryInfo info;
    for (ssize_t i = 0; i < count; ++i) {
        if (Zip::zip_entry_info(archive, static_cast<size_t>(i), info) != 0) return zip_open_failed;
        const std::string key = PackagePath_Key(info.name);
        const bool inflate = rewritten.count(key) == 0;
        if (Zip::zip_entry_check(archive, static_cast<size_t>(i), inflate) != 0) {
            lastError = NamingEntry(kReadFailed, info.name);
            return entry_read_failed;
        }
        // XML no reader takes would go into every save as it is.
        if (inflate && IsXmlEntry(key)) {
            EntryBuffer bytes;
            open_result_code result = ReadEntry(archive, info.name, bytes, true, lastError);
            if (result != success) return result;
            if (!PartWellFormed_CheckBytes(bytes.data, bytes.size)) {
                lastError = NamingEntry(kParseFailed, info.name);
                return parse_failed;
            }
        }
    }
    return success;
}

bool IsExternal(pugi::xml_node rel) {
    return std::strcmp(rel.attribute("TargetMode").value(), "External") == 0;
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
    if (!ReadWholeFile(filePath, sourceBytes) || sourceBytes.empty()) return zip_open_failed;
    Zip::ArchiveCloser closer{Zip::zip_open_bytes(sourceBytes)};
    Zip::Archive* archive = closer.archive;
    if (!archive) return zip_open_failed;
    open_result_code result = CheckEntries(archive);
    if (result != success) return result;

    result = FindPackageParts(archive);
    if (result != success) return result;
    EntryBuffer document, core, rels, contentTypes;
    result = ReadEntry(archive, mainPartName, document, true, lastError);
    if (result == success) result = ReadEntry(archive, corePartName, core, false, lastError);
    // A main part without relationships may come without their part.
    if (result == success)
        result = ReadEntry(archive, PackagePath_RelationshipsOf(mainPartName), rels, false, lastError);
    if (result == success)
        result = ReadEntry(archive, "[Content_Types].xml", contentTypes, true, lastError);
    if (result != success) return result;

    hadMainRels = rels.present;
    if (rels.present && !ParsePart(relsXml, rels)) return parse_failed;
    if (!relsXml.document_element()) {
        relsXml.reset();
        relsXml.append_child("Relationships").append_attribute("xmlns") = kPackageRelationshipsNamespace;
    }

    // The parts the main document relates to by type. The first relationship
    // of a type wins; a part is loaded once, and one that is held otherwise
    // (the main document, the styles, a relationships part...) is not taken
    // for another kind. The styles and settings come first, so the others
    // can be checked against them.
    const std::string numberingType = std::string(kRelationshipTypeBase) + "numbering";
    const std::string themeType = std::string(kRelationshipTypeBase) + "theme";
    const std::string stylesType = std::string(kRelationshipTypeBase) + "styles";
    const std::string settingsType = std::string(kRelationshipTypeBase) + "settings";
    for (pugi::xml_node rel : relsXml.document_element().children()) {
        if (IsExternal(rel)) continue;
        const char* type = rel.attribute("Type").value();
        const bool isStyles = !hasStyles && stylesType == type;
        const bool isSettings = settingsPartName.empty() && settingsType == type;
        if (!isStyles && !isSettings) continue;
        const std::string partName = PackagePath_Resolve(mainPartName, rel.attribute("Target").value());
        if (partName.empty() || HoldsPart(partName)) continue;
        if (isSettings) {
            // The settings part is parsed only when something edits it.
            settingsPartName = partName;
            continue;
        }
        EntryBuffer part;
        result = ReadEntry(archive, partName, part, true, lastError);
        if (result != success) return result;
        stylesPartName = partName;
        hasStyles = true;
        if (!ParsePart(stylesXml, part)) return parse_failed;
    }
    bool themeDone = false;
    for (pugi::xml_node rel : relsXml.document_element().children()) {
        if (IsExternal(rel)) continue;
        const char* type = rel.attribute("Type").value();
        const bool isNumbering = !hasNumbering && numberingType == type;
        const bool isTheme = !themeDone && themeType == type;
        if (!isNumbering && !isTheme) continue;
        const char* target = rel.attribute("Target").value();
        const std::string partName = PackagePath_Resolve(mainPartName, target);
        if (partName.empty() || (isNumbering && HoldsPart(partName))) continue;
        EntryBuffer part;
        result = ReadEntry(archive, partName, part, true, lastError);
        if (result != success) return result;
        // A malformed numbering or theme part is refused as any part is: a
        // save would copy it, or replace it and lose the lists it holds.
        if (isNumbering) {
            if (!ParsePart(numberingXml, part)) return parse_failed;
            numberingTarget = target;
            numberingPartName = partName;
            hasNumbering = true;
        } else {
            if (!ParsePart(themeXml, part)) return parse_failed;
            themeDone = true;
        }
    }

    result = LoadHeaders(archive);
    if (result != success) return result;

    result = VerifyEntries(archive, RewrittenPartKeys(core.present), lastError);
    if (result != success) return result;

    if (!ParsePart(documentXml, document)) return parse_failed;
    // Whatever else the main part's root is, no reader takes it for a
    // document.
    if (std::strcmp(documentXml.document_element().name(), "w:document") != 0) {
        lastError = NamingEntry(kParseFailed, mainPartName);
        return parse_failed;
    }
    if (core.present && !ParsePart(coreXml, core)) return parse_failed;
    if (!ParsePart(contentTypesXml, contentTypes)) return parse_failed;
    return success;
}

open_result_code Document::FindPackageParts(Zip::Archive* archive) {
    EntryBuffer bytes;
    open_result_code result = ReadEntry(archive, "_rels/.rels", bytes, false, lastError);
    if (result != success || !bytes.present) return result;
    if (!ParsePart(packageRelsXml, bytes)) return parse_failed;
    bool mainFound = false, coreFound = false;
    for (pugi::xml_node rel : packageRelsXml.document_element().children("Relationship")) {
        if (IsExternal(rel)) continue;
        const char* type = rel.attribute("Type").value();
        const bool isMain = !mainFound && (std::strcmp(type, kOfficeDocumentType) == 0 ||
                                           std::strcmp(type, kStrictOfficeDocumentType) == 0);
        const bool isCore = !coreFound && std::strcmp(type, kCorePropertiesType) == 0;
        if (!isMain && !isCore) continue;
        const std::string partName = PackagePath_Resolve("", rel.attribute("Target").value());
        if (partName.empty()) continue;
        if (isMain) {
            mainPartName = partName;
            mainFound = true;
        } else {
            corePartName = partName;
            coreFound = true;
        }
    }
    coreRelated = coreFound;
    return success;
}

open_result_code Document::LoadHeaders(Zip::Archive* archive) {
    const std::string headerType = std::string(kRelationshipTypeBase) + "header";
    const std::string footerType = std::string(kRelationshipTypeBase) + "footer";
    std::unordered_map<std::string, HeaderFooterPart*> loaded;
    for (pugi::xml_node rel : relsXml.document_element().children()) {
        const char* type = rel.attribute("Type").value();
        HeaderFooterList* list;
        if (headerType == type)
            list = &headers;
        else if (footerType == type)
            list = &footers;
        else
            continue;
        if (IsExternal(rel)) continue;
        const char* target = rel.attribute("Target").value();
        const std::string partName = PackagePath_Resolve(mainPartName, target);
        if (partName.empty()) continue;
        const std::string key = PackagePath_Key(partName);
        auto found = loaded.find(key);
        if (found != loaded.end()) {
            found->second->otherIds.push_back(rel.attribute("Id").value());
            continue;
        }
        // A relationship that names the main document, the styles or a
        // relationships part is not a header, whatever its type says.
        if (HoldsPart(partName)) continue;
        EntryBuffer bytes;
        open_result_code result = ReadEntry(archive, partName, bytes, true, lastError);
        if (result != success) return result;
        HeaderFooterPart* part = new HeaderFooterPart;
        part->target = target;
        part->id = rel.attribute("Id").value();
        part->partName = partName;
        HeaderFooterList_Append(*list, part);
        loaded.emplace(key, part);
        if (!ParsePart(part->xml, bytes)) return parse_failed;
        // Edits write w: elements into the part, whatever it was (a part of
        // another kind, or one whose w meant another namespace).
        Xml_DeclarePrefix(part->xml.document_element(), "w", false);

        EntryBuffer rels;
        result = ReadEntry(archive, PackagePath_RelationshipsOf(partName), rels, false, lastError);
        if (result != success) return result;
        if (rels.present) {
            if (!ParsePart(part->relsXml, rels)) return parse_failed;
            part->hasRels = true;
        }
    }
    return success;
}

std::unordered_set<std::string> Document::RewrittenPartKeys(bool withCore) const {
    std::unordered_set<std::string> keys = {PackagePath_Key(mainPartName),
                                            PackagePath_Key(PackagePath_RelationshipsOf(mainPartName)),
                                            "[content_types].xml"};
    if (withCore) keys.insert(PackagePath_Key(corePartName));
    if (hasStyles) keys.insert(PackagePath_Key(stylesPartName));
    if (hasNumbering) keys.insert(PackagePath_Key(numberingPartName));
    if (!themePartName.empty()) keys.insert(PackagePath_Key(themePartName));
    for (const HeaderFooterList* list : {&headers, &footers})
        for (const HeaderFooterPart* part = list->head; part; part = part->next)
            keys.insert(PackagePath_Key(part->partName));
    return keys;
}

bool Document::HoldsPart(const std::string& partName) const {
    const std::string key = PackagePath_Key(partName);
    if (key == PackagePath_Key(mainPartName) || key == "[content_types].xml" || key == PackagePath_Key(corePartName))
        return true;
    if (key.size() >= 5 && key.compare(key.size() - 5, 5, ".rels") == 0) return true;
    if (hasStyles && key == PackagePath_Key(stylesPartName)) return true;
    if (hasNumbering && key == PackagePath_Key(numberingPartName)) return true;
    if (!settingsPartName.empty() && key == PackagePath_Key(settingsPartName)) return true;
    if (!themePartName.empty() && key == PackagePath_Key(themePartName)) return true;
    for (const HeaderFooterList* list : {&headers, &footers})
        for (const HeaderFooterPart* part = list->head; part; part = part->next)
            if (key == PackagePath_Key(part->partName)) return true;
    return false;
}

HeaderFooterPart* Document::PartOfNode(pugi::xml_node node) const {
    const pugi::xml_node root = node.root();
    if (!root) return nullptr;
    for (const HeaderFooterList* list : {&headers, &footers})
        for (HeaderFooterPart* part = list->head; part; part = part->next)
            if (part->xml == root) return part;
    return nullptr;
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
        return lastError.empty() ? kReadFailed : lastError;
    case entry_close_failed:
        errorNumber = -6;
        return "Error closing zip entry";
    case parse_failed:
        errorNumber = -7;
        return lastError.empty() ? kParseFailed : lastError;
    }
    errorNumber = -7;
    return "Error could not parse document";
}

open_result_code Document::GetFileData(const char* entryName, REALstring* out) {
    *out = nullptr;
    Zip::ArchiveCloser closer{Zip::zip_open_bytes(sourceBytes)};
    if (!closer.archive) return zip_open_failed;
    EntryBuffer entry;
    open_result_code result = ReadEntry(closer.archive, entryName, entry, true, lastError);
    if (result != success) return result;
    *out = REALBuildStringWithEncoding(entry.data, entry.size, kREALTextEncodingNone);
    return success;
}

open_result_code Document::LoadSourcePart(const std::string& entryName, pugi::xml_document& xml) {
    Zip::ArchiveCloser closer{Zip::zip_open_bytes(sourceBytes)};
    if (!closer.archive) return zip_open_failed;
    EntryBuffer entry;
    open_result_code result = ReadEntry(closer.archive, entryName, entry, true, lastError);
    if (result != success) return result;
    return ParsePart(xml, entry) ? success : parse_failed;
}

bool Document::FileIsMarkedForDelete(const char* name, const DeletedFileList* list) {
    if (!list) return false;
    size_t length = std::strlen(name);
    for (const std::string& marked : *list)
        if (marked.size() == length && std::memcmp(marked.data(), name, length) == 0) return true;
    return false;
}

}  // namespace Word
