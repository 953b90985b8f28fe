// The module's classes as the host is to see them: every property (name,
// type, whether it can be set), every method and shared method (declaration,
// whether it is assignable or hidden) and every class constant, in table
// order, for all classes of the module. Registration tests compare what the
// plug-in registers with this; a class joins by being registered, not by
// changing this data.
#pragma once

#include <string>
#include <vector>

struct DeclaredProperty {
    std::string name, type;
    bool readOnly;
};

struct DeclaredMethod {
    std::string declaration;
    bool assignable;  // has a setter: "m(args) = value"
    bool hidden;      // flags 0x84: the constructor and the for-each protocol
};

struct DeclaredClass {
    std::string name;
    std::vector<DeclaredProperty> properties;
    std::vector<DeclaredMethod> methods;
    std::vector<std::string> sharedMethods;
    std::vector<std::string> constants;
};

// All classes of the module, in registration order.
const std::vector<DeclaredClass>& Module_DeclaredClasses();
const DeclaredClass* Module_DeclaredClass(const std::string& name);
