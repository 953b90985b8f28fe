// The in-memory package of one open .docx file: the parsed parts the library
// edits, the header and footer parts, and the operations that open, read
// and save the package.
#pragma once

#include <string>
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

// One header or footer part.
struct HeaderFooterPart {
    std::string target;  // the relationship's Target, relative to word/
    std::string id;      // the relationship's Id
    pugi::xml_document xml;
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
    pugi::xml_document themeXml;
    pugi::xml_document documentXml;
    pugi::xml_document coreXml;  // empty when the package has no core part
    pugi::xml_document stylesXml;
    pugi::xml_document relsXml;
    pugi::xml_document contentTypesXml;
    pugi::xml_document numberingXml;
    bool hasNumbering = false;    // numberingXml is saved only when true
    std::string numberingTarget;  // relative to word/
    HeaderFooterList headers;
    HeaderFooterList footers;
    std::string lastError;        // message of result entry_missing

    // Reads and parses the package at filePath. Call once, right after
    // construction; discard the object on any other result than success.
    open_result_code Open();
    // Loads every header and footer part named by relsXml.
    open_result_code LoadHeaders(Zip::Archive* archive);
    // Message and host error number of a failed Open, LoadHeaders or
    // GetFileData, for raising a WordException.
    std::string GetErrorDescriptionAndCode(open_result_code code, RBInteger& errorNumber) const;

    // Replaces coreXml with a fresh core-properties part dated now.
    void CreateCore();
    // Six hex digits of a colour-scheme slot (accent1, dk2, hlink...) of the
    // theme; "" when the theme lacks it. Valid until the theme changes.
    const char* LookupThemeColor(const char* slotName) const;
    // One entry of the file on disk as a host string without encoding;
    // *out is nil on failure.
    open_result_code GetFileData(const char* entryName, REALstring* out);
    static bool FileIsMarkedForDelete(const char* name, const DeletedFileList* list);

    // Writes the rewritten entries: the held parts, the header and footer
    // parts and the pending pictures. Appends each entry name to *written.
    bool WriteData(Zip::Archive* out, const ImagesToBeAdded* pending,
                   std::vector<std::string>* written = nullptr);
    // Writes the package to targetPath, a file that must not be overwritten
    // half-way: the archive is written beside it, read back and renamed into
    // place. False on failure, with nothing left behind.
    bool SaveAs(const char* targetPath, const DeletedFileList* deleted,
                const ImagesToBeAdded* pending);
    // Writes the package to temporaryPath, reads it back, and only then
    // replaces filePath (a copy beside it renamed over it, same file mode).
    // The temporary file is removed. False on failure, with filePath as it was.
    bool Save(const char* temporaryPath, const DeletedFileList* deleted,
              const ImagesToBeAdded* pending);
};

}  // namespace Word
