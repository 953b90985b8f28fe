// Document.ApplyFieldData: the body and every header and footer part.
#include "content/field_merge_members.h"
#include "document/document_data.h"

namespace DocumentMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data) {
    FieldMergeCall call;
    if (FieldMergeCall_Prepare(call, fieldName, data))
        Document_ApplyFieldData(*DocumentData_Of(instance)->wordDocument, call.merge);
}
}  // namespace DocumentMembers
