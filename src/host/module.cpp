// The module VexlomarWord: its constant, its class list in registration
// order, and the version gating that trims tables for older hosts.
#include "host/module.h"

#include <cstring>
#include <string>

namespace {

REALconstant ModuleConstants[] = {
    {"Version = 4.62", REALconstantFlagPublic},
};

// Registration order; the gating below applies to the classes by name.
REALclassDefinition* ModuleClasses[] = {
    &DocumentClass,
    &DocumentItemClass,
    &WordExceptionClass,
    &ParagraphClass,
    &ParagraphItemClass,
    &RunClass,
    &TableClass,
    &TableRowClass,
    &TableBorderClass,
    &TableCellClass,
    &DrawingClass,
    &HeaderClass,
    &FooterClass,
    &ContainerClass,
    &SectionClass,
    &ListIndentClass,
    &HyperlinkClass,
    &BookmarkClass,
    &ShapeBaseClass,
    &ShapeClass,
    &ShapeGroupClass,
    &ShapeContainerClass,
    &StylePartClass,
    &TableStylePartClass,
    &StyleClass,
    &CharacterStyleClass,
    &ParagraphStyleClass,
    &TableStyleClass,
    &ParagraphIteratorClass,
    &TableIteratorClass,
    &RunIteratorClass,
    &ParagraphItemIteratorClass,
    &DocumentItemIteratorClass,
};
constexpr size_t kModuleClassCount = sizeof(ModuleClasses) / sizeof(ModuleClasses[0]);

// Members older hosts cannot offer. They close their tables, so hiding them
// means lowering the count by the trailing entries that carry these names.
enum class MemberTable { Properties, Methods };
struct MemberCut {
    const char* className;
    MemberTable table;
    const char* names[6];  // null-terminated
};
const MemberCut kNewerMembers[] = {
    {"Document", MemberTable::Properties, {"CreatedDate", "ModifiedDate", nullptr}},
    {"Container", MemberTable::Methods, {"Items", "Paragraphs", "Tables", nullptr}},
    {"Paragraph", MemberTable::Methods,
     {"Runs", "LogicalRuns", "ParagraphItems", "LogicalParagraphItems", "AppendDateField", nullptr}},
    {"Hyperlink", MemberTable::Methods, {"Runs", nullptr}},
};

// The member name of a table entry: a property's name, or a method
// declaration's text before "(".
std::string MemberName(const REALclassDefinition* def, MemberTable table, size_t index) {
    if (table == MemberTable::Properties) return def->properties[index].name;
    std::string declaration = def->methods[index].declaration;
    declaration = declaration.substr(0, declaration.find('('));
    while (!declaration.empty() && declaration.back() == ' ') declaration.pop_back();
    return declaration;
}

bool IsCutName(const MemberCut& cut, const std::string& name) {
    for (const char* const* n = cut.names; *n; ++n)
        if (name == *n) return true;
    return false;
}

// Classes older hosts cannot offer; they close the class list.
const char* const kNewerClasses[] = {"ParagraphIterator", "TableIterator", "RunIterator",
                                     "ParagraphItemIterator", "DocumentItemIterator"};

// The counts of the module's tables as built, taken before any gating.
ClassTableCounts gFullCounts[kModuleClassCount];
bool gFullCountsTaken = false;

bool IsNewerClass(const REALclassDefinition* def) {
    for (const char* name : kNewerClasses)
        if (std::strcmp(def->name, name) == 0) return true;
    return false;
}

}  // namespace

REALmoduleDefinition VexlomarWordModule = {
    kREALPluginVersion,
    "VexlomarWord",
    nullptr, 0,  // methods
    ModuleConstants, sizeof(ModuleConstants) / sizeof(ModuleConstants[0]),
    nullptr, 0,  // properties
    nullptr, 0,  // structures
    ModuleEnumerations, kModuleEnumerationCount,
    ModuleClasses, kModuleClassCount,
};

size_t ClassList_ApplyVersionGating(REALclassDefinition* const* classes,
                                   const ClassTableCounts* full, size_t count,
                                   bool hideNewerMembers) {
    for (size_t i = 0; i < count; ++i) {
        REALclassDefinition* def = classes[i];
        def->propertyCount = full[i].properties;
        def->methodCount = full[i].methods;
        if (!hideNewerMembers) continue;
        for (const MemberCut& cut : kNewerMembers) {
            if (std::strcmp(def->name, cut.className) != 0) continue;
            size_t& n = cut.table == MemberTable::Properties ? def->propertyCount : def->methodCount;
            while (n > 0 && IsCutName(cut, MemberName(def, cut.table, n - 1))) --n;
        }
    }
    if (hideNewerMembers)
        while (count > 0 && IsNewerClass(classes[count - 1])) --count;
    return count;
}

void Module_ApplyVersionGating(bool hideNewerMembers) {
    if (!gFullCountsTaken) {
        for (size_t i = 0; i < kModuleClassCount; ++i)
            gFullCounts[i] = {ModuleClasses[i]->propertyCount, ModuleClasses[i]->methodCount};
        gFullCountsTaken = true;
    }
    VexlomarWordModule.classCount = ClassList_ApplyVersionGating(
        ModuleClasses, gFullCounts, kModuleClassCount, hideNewerMembers);
}
