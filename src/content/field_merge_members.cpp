// ApplyFieldData of Container, Paragraph, Table and Run: each unpacks its
// record and runs the merge of its kind over the nodes it views.
#include "content/field_merge_members.h"

#include "content/container.h"
#include "content/paragraph_item.h"
#include "host/bridge.h"
#include "host/exceptions.h"
#include "host/files.h"
#include "host/strings.h"

namespace {

bool HostReplace(void* context, std::string_view text, std::string& out) {
    const FieldMergeCall* call = static_cast<const FieldMergeCall*>(context);
    // An empty text stays empty whatever is replaced in it.
    if (text.empty()) return false;
    REALstring source = UTF8ToString(text);
    if (!source) return false;
    REALstring result = EReplaceAll(source, call->hostFieldName, call->hostData);
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

bool PlainReplace(void* context, std::string_view text, std::string& out) {
    const FieldMergeCall* call = static_cast<const FieldMergeCall*>(context);
    FieldData_PlainReplace(text, call->fieldName, call->data, out);
    return true;
}

}  // namespace

FieldMergeCall::~FieldMergeCall() {
    if (ownsHostData) REALUnlockString(hostData);
}

bool FieldMergeCall_Prepare(FieldMergeCall& call, REALstring fieldName, REALstring data) {
    if (!StringToUTF8(fieldName, call.fieldName) || !StringToUTF8(data, call.data)) return false;
    const size_t length = call.data.size();
    FieldData_Clean(call.data);
    if (!EReplaceAll) {
        call.merge = FieldMerge{&PlainReplace, &call, call.fieldName};
        return true;
    }
    call.hostFieldName = fieldName;
    call.hostData = data;
    // Cleaning only drops characters or turns bad bytes into U+FFFD: an
    // unchanged length without U+FFFD means the data was clean already.
    if (call.data.size() != length || call.data.find("\xEF\xBF\xBD") != std::string::npos) {
        std::string original;
        if (!StringToUTF8(data, original)) return false;
        if (original != call.data) {
            call.hostData = UTF8ToString(call.data);
            if (!call.hostData) return false;
            call.ownsHostData = true;
        }
    }
    call.merge = FieldMerge{&HostReplace, &call, call.fieldName};
    return true;
}

namespace ContainerMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data) {
    FieldMergeCall call;
    if (FieldMergeCall_Prepare(call, fieldName, data))
        Container_ApplyFieldData(ContainerData_Of(instance)->node, call.merge);
}
}  // namespace ContainerMembers

namespace ParagraphMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data) {
    FieldMergeCall call;
    if (FieldMergeCall_Prepare(call, fieldName, data))
        Paragraph_ApplyFieldData(DocumentItemData_Of(instance)->node, call.merge);
}
}  // namespace ParagraphMembers

namespace TableMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data) {
    FieldMergeCall call;
    if (FieldMergeCall_Prepare(call, fieldName, data))
        Table_ApplyFieldData(DocumentItemData_Of(instance)->node, call.merge);
}
}  // namespace TableMembers

namespace RunMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data) {
    FieldMergeCall call;
    if (!FieldMergeCall_Prepare(call, fieldName, data)) return;
    switch (Run_ApplyFieldData(Run_TextNode(ParagraphItemData_Of(instance)), call.merge)) {
        case RunTextResult::Written: break;
        case RunTextResult::DrawingRun: ThrowWordException("Text cannot be set on drawing Run", -25); break;
        case RunTextResult::ShapeRun: ThrowWordException("Text cannot be set on shape Run", -26); break;
    }
}
}  // namespace RunMembers
