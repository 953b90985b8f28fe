#include "api_reference.h"

#include <sstream>

namespace cli {

namespace {

std::string Code(const std::string& text) { return "`" + text + "`"; }

// What a method's flags and setter say beyond its declaration.
std::string MethodNotes(const vexrt::MethodInfo& m) {
    std::string notes;
    if (m.assignable) notes += "assignable";
    if (m.flags & REALmemberFlagHidden) notes += std::string(notes.empty() ? "" : ", ") + "hidden";
    return notes.empty() ? "" : " (" + notes + ")";
}

void WriteMethods(std::ostream& out, const char* heading, const std::vector<vexrt::MethodInfo>& methods) {
    if (methods.empty()) return;
    out << "\n" << heading << ":\n\n";
    for (const vexrt::MethodInfo& m : methods) out << "- " << Code(m.declaration) << MethodNotes(m) << "\n";
}

void WriteClass(std::ostream& out, const vexrt::ClassInfo& c) {
    out << "\n### " << c.name << "\n\n";
    out << "Super-class: " << (c.superName.empty() ? "none" : Code(c.superName)) << ".";
    if (!c.interfaces.empty()) out << " Interfaces: " << Code(c.interfaces) << ".";
    out << "\n";
    if (!c.constants.empty()) {
        out << "\nConstants:\n\n";
        for (const vexrt::ConstantInfo& k : c.constants) out << "- " << Code(k.declaration) << "\n";
    }
    if (!c.properties.empty()) {
        out << "\nProperties:\n\n| Name | Type | Access |\n|---|---|---|\n";
        for (const vexrt::PropertyInfo& p : c.properties)
            out << "| " << Code(p.name) << " | " << Code(p.type) << " | "
                << (p.readOnly ? "read-only" : "read/write") << " |\n";
    }
    WriteMethods(out, "Methods", c.methods);
    WriteMethods(out, "Shared methods", c.sharedMethods);
}

void WriteEnumeration(std::ostream& out, const vexrt::EnumInfo& e) {
    out << "\n### " << e.name << "\n\nType " << Code(e.type) << ".\n\n| Entry | Value |\n|---|---|\n";
    for (const auto& [name, value] : e.entries) out << "| " << Code(name) << " | " << value << " |\n";
}

}  // namespace

std::string ApiReference_Markdown(const vexrt::ModuleInfo& module) {
    std::ostringstream out;
    out << "# " << module.name << " API reference\n\n"
        << "Made by `vexword api` from the tables the plug-in registers with a current host; "
           "do not edit it by hand. After changing a table, regenerate it with\n"
           "`build/vexword api > docs/api.md`.\n\n"
        << "Module " << Code(module.name) << ": " << module.classes.size() << " classes, " << module.enums.size()
        << " enumerations.";
    if (!module.constants.empty()) {
        out << " Constants:";
        for (size_t i = 0; i < module.constants.size(); ++i)
            out << (i ? ", " : " ") << Code(module.constants[i].declaration);
        out << ".";
    }
    out << "\n\nHidden members are called by the host itself (constructors, the for-each protocol), not by "
           "host programs. An assignable method also takes a value: `m(args) = value`.\n";
    out << "\n## Classes\n";
    for (const vexrt::ClassInfo& c : module.classes) WriteClass(out, c);
    out << "\n## Enumerations\n";
    for (const vexrt::EnumInfo& e : module.enums) WriteEnumeration(out, e);
    return out.str();
}

}  // namespace cli
