// The host-facing ApplyFieldData of each class that has its own, for the
// registration tables of those classes (DocumentItem's does nothing and
// lives with its class).
#pragma once

#include "content/field_merge.h"
#include "host/plugin_sdk.h"

// What a member needs for one merge: the data as UTF-8 cleaned of what XML
// forbids, and the host's ReplaceAll when it has one, else our own plain
// replacement. The record unlocks the host string it made.
struct FieldMergeCall {
    FieldMerge merge{};
    REALstring hostFieldName = nullptr;  // the caller's, not counted
    REALstring hostData = nullptr;       // the caller's, or our cleaned copy (ownsHostData)
    bool ownsHostData = false;
    std::string fieldName, data;

    FieldMergeCall() = default;
    ~FieldMergeCall();
    FieldMergeCall(const FieldMergeCall&) = delete;
    FieldMergeCall& operator=(const FieldMergeCall&) = delete;
};

// False when a host string cannot be converted: the member then does
// nothing.
bool FieldMergeCall_Prepare(FieldMergeCall& call, REALstring fieldName, REALstring data);

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
