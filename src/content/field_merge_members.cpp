// ApplyFieldData of Container, Paragraph, Table and Run: each unpacks its
// record and runs the merge of its kind over the nodes it views.
#include "content/field_merge_members.h"

#include "content/container.h"
#include "content/paragraph_item.h"
#include "host/bridge.h"
#include "host/exceptions.h"
#include "host/files.h"
#include "host/strings.h"

FieldMergeCall::~FieldMergeCall() {
    if (ownsHostData_) REALUnlockString(hostData_);
}

bool FieldMergeCall::Prepare(REALstring fieldName, REALstring data) {
    if (!StringToUTF8(fieldName, fieldName_) || !StringToUTF8(data, data_)) return false;
    const size_t length = data_.size();
    FieldData_Clean(data_);
    if (!EReplaceAll) {
        merge_ = FieldMerge{&FieldMergeCall::PlainReplace, this, fieldName_};
        return true;
    }
    hostFieldName_ = fieldName;
    hostData_ = data;
    // Cleaning only drops characters or turns bad bytes into U+FFFD, which
    // no valid text holds: an unchanged length with no U+FFFD means clean.
    if (data_.size() != length || data_.find("\xEF\xBF\xBD") != std::string::npos) {
        std::string original;
        if (!StringToUTF8(data, original)) return false;
        if (original != data_) {
            hostData_ = UTF8ToString(data_);
            if (!hostData_) return false;
            ownsHostData_ = true;
        }
    }
    merge_ = FieldMerge{&FieldMergeCall::HostReplace, this, fieldName_};
    return true;
}

bool FieldMergeCall::HostReplace(void* context, std::string_view text, std::string& out) {
    const FieldMergeCall* call = static_cast<const FieldMergeCall*>(context);
    // An empty text stays empty whatever is replaced in it.
    if (text.empty()) return false;
    REALstring source = UTF8ToString(text);
    if (!source) return false;
    REALstring result = EReplaceAll(source, call->hostFieldName_, call->hostData_);
    REALUnlockString(source);
    if (!result) {
        out.clear();
        return true;
    }
    // What the host gives back is the text and the data, both clean, put
    // together; a save cleans host text anyway.
    const bool converted = StringToUTF8(result, out);
    REALUnlockString(result);
    return converted;
}

bool FieldMergeCall::PlainReplace(void* context, std::string_view text, std::string& out) {
    const FieldMergeCall* call = static_cast<const FieldMergeCall*>(context);
    FieldData_PlainReplace(text, call->fieldName_, call->data_, out);
    return true;
}

namespace ContainerMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data) {
    FieldMergeCall call;
    if (call.Prepare(fieldName, data)) Container_ApplyFieldData(ContainerData_Of(instance)->node, call.merge());
}
}  // namespace ContainerMembers

namespace ParagraphMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data) {
    FieldMergeCall call;
    if (call.Prepare(fieldName, data)) Paragraph_ApplyFieldData(DocumentItemData_Of(instance)->node, call.merge());
}
}  // namespace ParagraphMembers

namespace TableMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data) {
    FieldMergeCall call;
    if (call.Prepare(fieldName, data)) Table_ApplyFieldData(DocumentItemData_Of(instance)->node, call.merge());
}
}  // namespace TableMembers

namespace RunMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data) {
    FieldMergeCall call;
    if (!call.Prepare(fieldName, data)) return;
    switch (Run_ApplyFieldData(Run_TextNode(ParagraphItemData_Of(instance)), call.merge())) {
        case RunTextResult::Written: break;
        case RunTextResult::DrawingRun: ThrowWordException("Text cannot be set on drawing Run", -25); break;
        case RunTextResult::ShapeRun: ThrowWordException("Text cannot be set on shape Run", -26); break;
    }
}
}  // namespace RunMembers
