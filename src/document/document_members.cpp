// The host class Document: opening, creating and saving a package, and its
// core properties. The document is also the container of its own body.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "content/container.h"
#include "content/field_merge_members.h"
#include "document/document_bookmarks.h"
#include "document/document_styles.h"
#include "format/section_breaks.h"
#include "format/section_properties.h"
#include "format/sections.h"
#include "format/header_footer_members.h"
#include "format/headers_footers.h"
#include "format/list_indent.h"
#include "host/class_tables.h"
#include "host/bridge.h"
#include "host/dates.h"
#include "host/exceptions.h"
#include "host/files.h"
#include "host/strings.h"
#include "package/blank_package.h"
#include "document/document_data.h"
#include "package/temporary_path.h"

namespace {

Word::Document* WordDocumentOf(REALobject instance) { return DocumentData_Of(instance)->wordDocument; }

// The root element of the core-properties part; empty when there is none.
pugi::xml_node CoreRoot(Word::Document* doc) { return doc->coreXml.first_child(); }

pugi::xml_node EnsureCoreRoot(Word::Document* doc) {
    if (!doc->coreXml.first_child()) doc->CreateCore();
    return CoreRoot(doc);
}

void RaiseOpenFailure(Word::Document* doc, Word::open_result_code code) {
    RBInteger number = 0;
    const std::string message = doc->GetErrorDescriptionAndCode(code, number);
    ThrowWordException(message.c_str(), number);
}

// ---------------------------------------------------------------- lifecycle

void DocumentInitializer(REALobject instance) { DocumentData_Init(DocumentData_Of(instance)); }

void DocumentDestructor(REALobject instance) { DocumentData_Destroy(DocumentData_Of(instance)); }

void DocumentConstructor(REALobject) {}

// ---------------------------------------------------------------- shared

REALobject OpenDocument(REALobject f) {
    if (!f) {
        ThrowInvalidArgumentException("Parameter f may not be nil", 1);
        return nullptr;
    }
    if (!FolderItemExists(f)) {
        ThrowWordException("File does not exist", -2);
        return nullptr;
    }
    std::string path;
    if (!FolderItemNativePath(f, path)) return nullptr;

    auto doc = std::make_unique<Word::Document>(path);
    const Word::open_result_code code = doc->Open();
    if (code != Word::success) {
        RaiseOpenFailure(doc.get(), code);
        return nullptr;
    }
    REALobject instance = REALnewInstanceOfClass(&DocumentClass);
    if (!instance) return nullptr;
    DocumentData* data = DocumentData_Of(instance);
    REALLockObject(f);
    data->sourceFile = f;
    // The document is the container of its own body, without a count on
    // itself.
    Container_InitBody(instance, doc->documentXml.child("w:document").child("w:body"));
    data->wordDocument = doc.release();
    return instance;
}

REALobject CreateDocument(REALobject f) {
    if (!f) {
        ThrowInvalidArgumentException("Parameter f may not be nil", 1);
        return nullptr;
    }
    if (FolderItemExists(f)) {
        ThrowWordException("File already exist", -12);
        return nullptr;
    }
    std::string path;
    if (!FolderItemNativePath(f, path) || !WriteBlankPackage(path.c_str())) {
        ThrowWordException("Could not create file", -14);
        return nullptr;
    }
    REALobject instance = OpenDocument(f);
    if (instance) DocumentData_Of(instance)->wordDocument->StampCoreDatesNow();
    return instance;
}

// ---------------------------------------------------------------- saving

void Save(REALobject instance) {
    DocumentData* data = DocumentData_Of(instance);
    // The package is made in memory; a temporary file the host makes is
    // only removed again, and a host that cannot make one can still save.
    std::string temporaryPath;
    if (!Document_TemporaryPath(temporaryPath)) temporaryPath.clear();
    if (!data->wordDocument->Save(temporaryPath.c_str(), &data->deletedFiles, &data->pendingImages)) {
        // The pending pictures and deletions stay listed: the file lacks them.
        ThrowWordException(Word::kSaveFailedMessage, Word::kSaveFailedErrorNumber);
        return;
    }
    DeleteImagesMarkedToBeAdded(data);
    data->deletedFiles.clear();
}

void SaveAs(REALobject instance, REALobject f) {
    if (!f) {
        ThrowInvalidArgumentException("Parameter f may not be nil", 1);
        return;
    }
    if (FolderItemExists(f)) {
        ThrowWordException("File already exists", -12);
        return;
    }
    std::string path;
    if (!FolderItemNativePath(f, path)) return;
    DocumentData* data = DocumentData_Of(instance);
    // The pending pictures and deletions stay listed for the document's own
    // file, which still lacks them.
    if (!data->wordDocument->SaveAs(path.c_str(), &data->deletedFiles, &data->pendingImages))
        ThrowWordException(Word::kSaveFailedMessage, Word::kSaveFailedErrorNumber);
}

// ---------------------------------------------------------------- headers and footers

REALobject Header(REALobject instance, RBInteger headerType, RBBoolean createIfNotExists) {
    pugi::xml_node root = HeaderFooter_Find(*WordDocumentOf(instance), HeaderFooterKind::Header, headerType,
                                            createIfNotExists);
    return CreateHeader(instance, root);
}

REALobject Footer(REALobject instance, RBInteger footerType, RBBoolean createIfNotExists) {
    pugi::xml_node root = HeaderFooter_Find(*WordDocumentOf(instance), HeaderFooterKind::Footer, footerType,
                                            createIfNotExists);
    return CreateFooter(instance, root);
}

REALobject CreateListIndent(REALobject instance, RBBoolean bullets) { return ListIndent_Create(instance, bullets); }

// ---------------------------------------------------------------- core properties

REALstring GetCoreText(REALobject instance, const char* element) {
    Word::Document* doc = WordDocumentOf(instance);
    if (!doc->coreXml.first_child()) return nullptr;
    return UTF8ToString(CoreRoot(doc).child(element).text().get());
}

void SetCoreText(REALobject instance, const char* element, REALstring value) {
    std::string text;
    if (!StringToUTF8(value, text)) return;
    Word::Document* doc = WordDocumentOf(instance);
    // Elements are never added: a core part from elsewhere that lacks one
    // keeps lacking it.
    pugi::xml_node node = EnsureCoreRoot(doc).child(element);
    if (node) node.text().set(text.c_str());
}

#define CORE_TEXT_PROPERTY(Name, element)                                                  \
    REALstring Get##Name(REALobject instance, intptr_t) { return GetCoreText(instance, element); } \
    void Set##Name(REALobject instance, intptr_t, REALstring value) {                      \
        SetCoreText(instance, element, value);                                             \
    }

CORE_TEXT_PROPERTY(Creator, "dc:creator")
CORE_TEXT_PROPERTY(LastModifiedBy, "cp:lastModifiedBy")
CORE_TEXT_PROPERTY(Title, "dc:title")
CORE_TEXT_PROPERTY(Subject, "dc:subject")
CORE_TEXT_PROPERTY(Description, "dc:description")
CORE_TEXT_PROPERTY(KeyWords, "cp:keywords")

RBInteger GetRevision(REALobject instance, intptr_t) {
    Word::Document* doc = WordDocumentOf(instance);
    if (!doc->coreXml.first_child()) return 0;
    return CoreRoot(doc).child("cp:revision").text().as_int(0);
}

void SetRevision(REALobject instance, intptr_t, RBInteger value) {
    pugi::xml_node node = EnsureCoreRoot(WordDocumentOf(instance)).child("cp:revision");
    if (node) node.text().set(std::to_string(static_cast<int32_t>(value)).c_str());
}

REALobject GetCoreDate(REALobject instance, const char* element) {
    Word::Document* doc = WordDocumentOf(instance);
    if (!doc->coreXml.first_child()) return nullptr;
    pugi::xml_node node = CoreRoot(doc).child(element);
    if (!node) return nullptr;
    const char* text = node.text().get();
    return ParseDateTimeFromISO8601(text, std::char_traits<char>::length(text));
}

void SetCoreDate(REALobject instance, const char* element, REALobject value) {
    if (!value) {
        ThrowInvalidArgumentException("Value for Date may not be nil", 0);
        return;
    }
    pugi::xml_node node = EnsureCoreRoot(WordDocumentOf(instance)).child(element);
    char buffer[30];
    FormatDateTimeToISO8601(value, buffer, sizeof buffer, false);
    if (node) node.text().set(buffer);
}

REALobject GetCreatedDate(REALobject instance, intptr_t) { return GetCoreDate(instance, "dcterms:created"); }
void SetCreatedDate(REALobject instance, intptr_t, REALobject value) {
    SetCoreDate(instance, "dcterms:created", value);
}
REALobject GetModifiedDate(REALobject instance, intptr_t) { return GetCoreDate(instance, "dcterms:modified"); }
void SetModifiedDate(REALobject instance, intptr_t, REALobject value) {
    SetCoreDate(instance, "dcterms:modified", value);
}

// ---------------------------------------------------------------- sections and breaks

pugi::xml_node BodyOf(REALobject instance) { return ContainerData_Of(instance)->node; }

REALobject GetDefaultSection(REALobject instance, intptr_t) {
    return CreateSection(instance, Body_FinalSectPr(BodyOf(instance)));
}

void AppendPageBreak(REALobject instance) {
    pugi::xml_node body = BodyOf(instance);
    Paragraph_MakePageBreak(Body_NewParagraphNode(instance, body, Body_FinalSectPr(body)));
}

// The new paragraph ends the current last section with its properties so
// far; the body's own then describe the new last section.
void AppendSectionBreak(REALobject instance, RBInteger type) {
    pugi::xml_node body = BodyOf(instance);
    pugi::xml_node sectPr = Body_FinalSectPr(body);
    if (!sectPr) return;
    Paragraph_EndSectionWith(Body_NewParagraphNode(instance, body, sectPr), sectPr);
    Section_StartAfterBreak(sectPr, type);
}

// ---------------------------------------------------------------- tables

#define PROPERTY(Name, Type) VEX_PROPERTY(#Name, Type, Get##Name, Set##Name)

REALproperty DocumentProperties[] = {
    PROPERTY(Creator, "String"),
    PROPERTY(LastModifiedBy, "String"),
    PROPERTY(Title, "String"),
    PROPERTY(Subject, "String"),
    PROPERTY(Description, "String"),
    PROPERTY(KeyWords, "String"),
    PROPERTY(Revision, "Integer"),
    VEX_READONLY_PROPERTY("DefaultSection", "VexlomarWord.Section", GetDefaultSection),
    VEX_READONLY_PROPERTY("DocumentDefaults", "VexlomarWord.StylePart", GetDocumentDefaults),
    // Hosts before 2019.02 lack DateTime: these two close the table.
    PROPERTY(CreatedDate, "DateTime"),
    PROPERTY(ModifiedDate, "DateTime"),
};

REALmethodDefinition DocumentMethods[] = {
    VEX_HIDDEN_CONSTRUCTOR(DocumentConstructor),
    VEX_METHOD(Save, "Save()"),
    VEX_METHOD(SaveAs, "SaveAs(f as FolderItem)"),
    VEX_METHOD(DocumentMembers::ApplyFieldData, "ApplyFieldData(fieldName as String, data as String)"),
    VEX_METHOD(AppendPageBreak, "AppendPageBreak()"),
    VEX_METHOD(AppendSectionBreak, "AppendSectionBreak(breakType as VexlomarWord.SectionBreakTypes)"),
    VEX_METHOD(Header, "Header(headerType as VexlomarWord.HeaderFooterTypes, createIfNotExists as Boolean) as "
                       "VexlomarWord.Header"),
    VEX_METHOD(Footer, "Footer(footerType as VexlomarWord.HeaderFooterTypes, createIfNotExists as Boolean) as "
                       "VexlomarWord.Footer"),
    VEX_METHOD(CreateListIndent, "CreateListIndent(bullets as Boolean) as VexlomarWord.ListIndent"),
    VEX_METHOD(GetBookmarks, "GetBookmarks() as VexlomarWord.Bookmark()"),
    VEX_METHOD(RemoveBookmark, "RemoveBookmark(bookmark as VexlomarWord.Bookmark)"),
    VEX_METHOD(CharacterStyles, "CharacterStyles() as VexlomarWord.CharacterStyle()"),
    VEX_METHOD(ParagraphStyles, "ParagraphStyles() as VexlomarWord.ParagraphStyle()"),
    VEX_METHOD(TableStyles, "TableStyles(ensureBaseStyleExists as Boolean) as VexlomarWord.TableStyle()"),
    VEX_METHOD(AddNewCharacterStyle,
               "AddNewCharacterStyle(id as String, name as String, basedOn as VexlomarWord.CharacterStyle) as "
               "VexlomarWord.CharacterStyle"),
    VEX_METHOD(AddNewParagraphStyle,
               "AddNewParagraphStyle(id as String, name as String, basedOn as VexlomarWord.ParagraphStyle) as "
               "VexlomarWord.ParagraphStyle"),
    VEX_METHOD(AddNewTabletyle,
               "AddNewTabletyle(id as String, name as String, basedOn as VexlomarWord.TableStyle) as "
               "VexlomarWord.TableStyle"),
};

REALmethodDefinition DocumentSharedMethods[] = {
    VEX_METHOD(OpenDocument, "Open(f as FolderItem) as VexlomarWord.Document"),
    VEX_METHOD(CreateDocument, "Create(f as FolderItem) as VexlomarWord.Document"),
};

}  // namespace

REALclassDefinition DocumentClass =
    ClassDefinition("Document", "VexlomarWord.Container", sizeof(DocumentData), DocumentInitializer,
                    DocumentDestructor, DocumentProperties, VEX_COUNT(DocumentProperties), DocumentMethods,
                    VEX_COUNT(DocumentMethods), DocumentSharedMethods, VEX_COUNT(DocumentSharedMethods));
