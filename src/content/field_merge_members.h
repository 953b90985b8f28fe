// The host-facing ApplyFieldData of each class that has its own, for the
// registration tables of those classes (DocumentItem's does nothing and
// lives with its class).
#pragma once

#include "content/field_merge.h"
#include "host/plugin_sdk.h"

// What a member needs for one merge: the data as UTF-8 cleaned of what XML
// forbids, and the host's ReplaceAll when it has one, else our own plain
// replacement. Prepare is false when a host string cannot be converted:
// the member then does nothing.
class FieldMergeCall {
public:
    FieldMergeCall() = default;
    ~FieldMergeCall();
    FieldMergeCall(const FieldMergeCall&) = delete;
    FieldMergeCall& operator=(const FieldMergeCall&) = delete;

    bool Prepare(REALstring fieldName, REALstring data);
    const FieldMerge& merge() const { return merge_; }

private:
    static bool HostReplace(void* context, std::string_view text, std::string& out);
    static bool PlainReplace(void* context, std::string_view text, std::string& out);

    FieldMerge merge_{};
    REALstring hostFieldName_ = nullptr;  // the caller's, not counted
    REALstring hostData_ = nullptr;       // the caller's, or our cleaned copy (ownsHostData_)
    bool ownsHostData_ = false;
    std::string fieldName_, data_;
};

namespace DocumentMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data);
}
namespace ContainerMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data);
}
namespace ParagraphMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data);
}
namespace TableMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data);
}
namespace RunMembers {
void ApplyFieldData(REALobject instance, REALstring fieldName, REALstring data);
}
