#include "format/xml_helpers.h"

#include <string>

namespace {

constexpr const char* kVal = "w:val";

pugi::xml_attribute AttributeIfNeeded(pugi::xml_node node, const char* name) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) attribute = node.append_attribute(name);
    return attribute;
}

// The first child named `childName` (created first or last when missing)
// with its "w:val" set to the bytes.
pugi::xml_node ChildWith_wVal(pugi::xml_node node, const char* childName, std::string_view text,
                              bool prepend) {
    pugi::xml_node child = node.child(childName);
    if (!child) child = prepend ? node.prepend_child(childName) : node.append_child(childName);
    SetStringAttribute(AttributeIfNeeded(child, kVal), text);
    return child;
}

}  // namespace

std::optional<std::string> ChildNode_GetStringAttribute(pugi::xml_node node, const char* childName,
                                                        const char* attributeName) {
    pugi::xml_node child = node.child(childName);
    if (!child) return std::nullopt;
    return std::string(child.attribute(attributeName).value());
}

void ChildNode_SetStringAttribute(pugi::xml_node node, const char* childName, const char* attributeName,
                                  std::string_view value) {
    pugi::xml_node child = node.child(childName);
    if (value.empty()) {
        if (child) node.remove_child(child);
        return;
    }
    if (!child) child = node.append_child(childName);
    SetStringAttribute(AttributeIfNeeded(child, attributeName), value);
}

void Node_SetStringAttribute(pugi::xml_node node, const char* attributeName, std::string_view value) {
    if (value.empty()) {
        node.remove_attribute(attributeName);
        return;
    }
    SetStringAttribute(AttributeIfNeeded(node, attributeName), value);
}

void SetStringAttribute(pugi::xml_attribute attribute, std::string_view value) {
    if (value.data() == nullptr) {
        attribute.set_value("");
        return;
    }
    attribute.set_value(value.data(), value.size());
}

pugi::xml_attribute WriteAttribute(pugi::xml_node node, const char* name, std::string_view text) {
    pugi::xml_attribute attribute = AttributeIfNeeded(node, name);
    SetStringAttribute(attribute, text);
    return attribute;
}

void WriteAttribute(pugi::xml_node node, const char* name, std::string_view text, bool write) {
    if (write) {
        WriteAttribute(node, name, text);
    } else {
        node.remove_attribute(name);
    }
}

pugi::xml_attribute WriteAttribute(pugi::xml_node node, const char* name, int32_t value) {
    pugi::xml_attribute attribute = AttributeIfNeeded(node, name);
    attribute.set_value(static_cast<long long>(value));
    return attribute;
}

pugi::xml_node PrependChildWith_wVal(pugi::xml_node node, const char* childName, std::string_view text) {
    return ChildWith_wVal(node, childName, text, true);
}

pugi::xml_node PrependChildWith_wVal(pugi::xml_node node, const char* childName, const char* bytes,
                                     size_t length) {
    return ChildWith_wVal(node, childName, bytes ? std::string_view(bytes, length) : std::string_view(),
                          true);
}

pugi::xml_node PrependChildWith_wVal(pugi::xml_node node, const char* childName, int32_t value) {
    return ChildWith_wVal(node, childName, std::to_string(value), true);
}

pugi::xml_node AppendChildWith_wVal(pugi::xml_node node, const char* childName, int32_t value) {
    return ChildWith_wVal(node, childName, std::to_string(value), false);
}

pugi::xml_node PrependChildIfNeeded(pugi::xml_node node, const char* childName) {
    pugi::xml_node child = node.child(childName);
    if (!child) child = node.prepend_child(childName);
    return child;
}

pugi::xml_node AppendChildIfNeeded(pugi::xml_node node, const char* childName) {
    pugi::xml_node child = node.child(childName);
    if (!child) child = node.append_child(childName);
    return child;
}

void ReOrderChildren(pugi::xml_node node, const char* const* names, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        pugi::xml_node child = node.child(names[i]);
        if (child) node.append_move(child);
    }
}

bool ResolveST_OnOff(pugi::xml_attribute attribute) {
    if (!attribute) return true;
    std::string_view value = attribute.value();
    return value == "1" || value == "true" || value == "on";
}
