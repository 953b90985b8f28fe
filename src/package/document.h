// The in-memory package of one open .docx file: the parsed parts the library
// edits, the header and footer parts, and the operations that open, read
// and save the package.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <pugixml.hpp>

#include "host/plugin_sdk.h"

namespace Zip {
struct Archive;
}
struct ImagesToBeAdded;

namespace Word {

enum open_result_code {
    success = 0,
    zip_open_failed = 1,
    entry_missing = 2,
    entry_read_failed = 3,
    entry_close_failed = 4,
    parse_failed = 5,
};

// A failed Save or SaveAs: the target file is left as it was.
constexpr const char* kSaveFailedMessage = "Could not save document";
constexpr RBInteger kSaveFailedErrorNumber = -15;

// What one part's relationships hold, so that many links added or looked up
// in a row stay linear: the first Relationship of each Id and the largest
// "rIdN" number. Built on first use and kept up to date by Rel_AddID and
// Rel_DeleteID, the only places that edit relationships once opened.
struct RelationshipIndex {
    bool built = false;
    bool duplicates = false;  // some Id appeared twice when built
    long long largest = 0;
    std::unordered_map<std::string, pugi::xml_node> byId;
};

// How many elements of one part refer to each relationship Id
// (package/relationship_uses.h). Counted on first use.
struct RelationshipUses {
    bool counted = false;
    std::unordered_map<std::string, long long> byId;
};

// How many relationships of all parts target each entry
// (package/relationship_targets.h). Counted on first use.
struct RelationshipTargets {
    bool counted = false;
    std::unordered_map<std::string, long long> byEntry;
};

// One header or footer part.
struct HeaderFooterPart {
    std::string target;    // the relationship's Target, as written
    std::string id;        // the relationship's Id
    std::string partName;  // the entry the Target resolves to (word/header1.xml)
    // Ids of further relationships of the main part to the same part: the
    // part is loaded and written once.
    std::vector<std::string> otherIds;
    pugi::xml_document xml;
    // The part's own relationships (word/_rels/header1.xml.rels). Written
    // back only once changed; until then the entry is copied as it was.
    pugi::xml_document relsXml;
    bool hasRels = false;
    bool relsChanged = false;
    RelationshipIndex relsIndex;
    RelationshipUses relsUses;
    HeaderFooterPart* next = nullptr;
};

// Singly linked list of parts, appended at the tail; owns its records.
struct HeaderFooterList {
    HeaderFooterPart* head = nullptr;
    HeaderFooterPart* tail = nullptr;
};
void HeaderFooterList_Append(HeaderFooterList& list, HeaderFooterPart* part);
void HeaderFooterList_Clear(HeaderFooterList& list);

// Full entry names the next save leaves out.
typedef std::vector<std::string> DeletedFileList;

class Document {
public:
    explicit Document(std::string path);
    virtual ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    std::string filePath;
    // The package as opened (and after each Save, as saved). Entries the
    // library does not parse are copied from here, so a save always copies
    // the package that was opened, whatever happens to the file meanwhile.
    std::string sourceBytes;
    pugi::xml_document themeXml;
    // The entry of a theme part the document added (EnsureTheme); empty
    // while the theme, if any, is the package's own, copied as it was.
    std::string themePartName;
    pugi::xml_document documentXml;
    pugi::xml_document coreXml;  // empty when the package has no core part
    // The core part, named by the package's relationships (_rels/.rels);
    // when they name none, a core part made later is related there.
    std::string corePartName = "docProps/core.xml";
    bool coreRelated = false;           // the package's relationships name it
    pugi::xml_document packageRelsXml;  // empty when the package has none
    bool packageRelsChanged = false;    // written at saving when true
    pugi::xml_document stylesXml;  // empty while the package has no styles part
    bool hasStyles = false;        // stylesXml is saved only when true
    std::string stylesPartName;    // entry of the styles part (word/styles.xml)
    // The main part: the target of the package's officeDocument
    // relationship (word/document.xml when the package names none).
    std::string mainPartName = "word/document.xml";
    // Its relationships; a package may have none, and then the part is
    // written only once a relationship is added.
    pugi::xml_document relsXml;
    bool hadMainRels = false;
    RelationshipIndex relsIndex;  // of relsXml
    RelationshipUses relsUses;    // of documentXml's elements
    RelationshipTargets relsTargets;  // of every part's relationships
    pugi::xml_document contentTypesXml;
    pugi::xml_document numberingXml;
    bool hasNumbering = false;    // numberingXml is saved only when true
    std::string numberingTarget;  // the relationship's Target, as written
    std::string numberingPartName;  // the entry it resolves to
    // The settings part, loaded only when something edits it (EnsureSettings);
    // until then it is copied as it was.
    pugi::xml_document settingsXml;
    bool hasSettings = false;
    std::string settingsPartName;  // named at opening; empty when there is none
    HeaderFooterList headers;
    HeaderFooterList footers;
    std::string lastError;        // message of results entry_missing, entry_read_failed and parse_failed

    // Reads and parses the package at filePath. Call once, right after
    // construction; discard the object on any other result than success.
    open_result_code Open();
    // Names the main and the core part from the package's relationships.
    open_result_code FindPackageParts(Zip::Archive* archive);
    // Loads every header and footer part named by relsXml.
    open_result_code LoadHeaders(Zip::Archive* archive);
    // Message and host error number of a failed Open, LoadHeaders or
    // GetFileData, for raising a WordException.
    std::string GetErrorDescriptionAndCode(open_result_code code, RBInteger& errorNumber) const;

    // Replaces coreXml with a fresh core-properties part dated now.
    void CreateCore();
    // Relates the core part in the package's relationships, with its
    // content type, when they do not name it yet.
    void RelateCore();
    // Dates the core properties created and modified now (a new document
    // is not as old as the blank package it comes from).
    void StampCoreDatesNow();
    // Six hex digits of a colour-scheme slot (accent1, dk2, hlink...) of the
    // theme; "" when the theme lacks it. Valid until the theme changes.
    const char* LookupThemeColor(const char* slotName) const;
    // One entry of the package as last opened or saved, as a host string
    // without encoding; *out is nil on failure.
    open_result_code GetFileData(const char* entryName, REALstring* out);
    // Parses one entry of the package as last opened or saved into `xml`, as
    // the parts read at opening are (same limits, same cleaning).
    open_result_code LoadSourcePart(const std::string& entryName, pugi::xml_document& xml);
    static bool FileIsMarkedForDelete(const char* name, const DeletedFileList* list);

    // Writes the rewritten entries: the held parts, the header and footer
    // parts and the pending pictures. Appends each entry name to *written.
    // True when `partName` (an entry name; case does not matter) is a part
    // the document holds in a tree of its own or names itself: the main
    // document, content types, core properties, any relationships part,
    // styles, numbering, settings, a theme it added, a header or a footer. No other kind may
    // take such a part, and no new part may take its name.
    bool HoldsPart(const std::string& partName) const;
    // Keys (PackagePath_Key) of the entries every save writes afresh from
    // their trees; the core part's with `withCore`.
    std::unordered_set<std::string> RewrittenPartKeys(bool withCore) const;
    // The header or footer part whose tree holds `node`; null for the main
    // document and any other tree.
    HeaderFooterPart* PartOfNode(pugi::xml_node node) const;

    // Names the main part's styles part (creating it, its relationship and
    // its content type when the package has none) for something that needs
    // styles. False when no relationship can be added.
    bool EnsureStyles();
    // Gives a package without a theme the blank package's theme part, with
    // its relationship and content type; it is saved from then on. False
    // when the package has none and none can be added.
    bool EnsureTheme();
    // The w:settings element of the settings part, loaded from the package
    // (or made, with its relationship and content type, when there is
    // none); it is saved from then on. Empty when it cannot be read.
    pugi::xml_node EnsureSettings();

    bool WriteData(Zip::Archive* out, const ImagesToBeAdded* pending,
                   std::vector<std::string>* written = nullptr);
    // Writes the package to targetPath, a file that must not be overwritten
    // half-way: the archive is made in memory, checked, written beside the
    // target and renamed into place. False on failure, with nothing left
    // behind.
    bool SaveAs(const char* targetPath, const DeletedFileList* deleted,
                const ImagesToBeAdded* pending);
    // Replaces filePath with the package (written beside it and renamed over
    // it, same file mode) and makes it the new source. temporaryPath, a
    // file the host may have made for the save, is removed. False on
    // failure, with filePath as it was.
    bool Save(const char* temporaryPath, const DeletedFileList* deleted,
              const ImagesToBeAdded* pending);
};

}  // namespace Word
