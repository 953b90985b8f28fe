// The module the plug-in registers: its definition, the class list in
// registration order, the enumerations, and the entry that registers them.
#pragma once

#include <cstddef>

#include "host/plugin_sdk.h"

// Every class of the module, under <ClassName>Class. Each is defined, with
// its member tables, in the file of its subsystem (DocumentClass in
// src/package/, ParagraphClass in src/content/, ...) and listed in
// module.cpp in registration order.
extern REALclassDefinition DocumentClass;
extern REALclassDefinition DocumentItemClass;
extern REALclassDefinition WordExceptionClass;
extern REALclassDefinition ParagraphClass;
extern REALclassDefinition ParagraphItemClass;
extern REALclassDefinition RunClass;
extern REALclassDefinition TableClass;
extern REALclassDefinition TableRowClass;
extern REALclassDefinition TableBorderClass;
extern REALclassDefinition TableCellClass;
extern REALclassDefinition DrawingClass;
extern REALclassDefinition HeaderClass;
extern REALclassDefinition FooterClass;
extern REALclassDefinition ContainerClass;
extern REALclassDefinition SectionClass;
extern REALclassDefinition ListIndentClass;
extern REALclassDefinition HyperlinkClass;
extern REALclassDefinition BookmarkClass;
extern REALclassDefinition ShapeBaseClass;
extern REALclassDefinition ShapeClass;
extern REALclassDefinition ShapeGroupClass;
extern REALclassDefinition ShapeContainerClass;
extern REALclassDefinition StylePartClass;
extern REALclassDefinition TableStylePartClass;
extern REALclassDefinition StyleClass;
extern REALclassDefinition CharacterStyleClass;
extern REALclassDefinition ParagraphStyleClass;
extern REALclassDefinition TableStyleClass;
extern REALclassDefinition ParagraphIteratorClass;
extern REALclassDefinition TableIteratorClass;
extern REALclassDefinition RunIteratorClass;
extern REALclassDefinition ParagraphItemIteratorClass;
extern REALclassDefinition DocumentItemIteratorClass;

constexpr size_t kModuleEnumerationCount = 27;
extern REALenum ModuleEnumerations[kModuleEnumerationCount];

extern REALmoduleDefinition VexlomarWordModule;

// Hosts before 2019.02 lack DateTime and the iterator interfaces: they get
// neither the members that need them (the last entries of the tables of
// Document, Container, Paragraph and Hyperlink, found by class name) nor the
// iterator classes (the last classes of the list). The counts are set from
// the full ones every time, so a second load in one process never trims
// twice, and a modern host after an old one gets the full tables back.
struct ClassTableCounts {
    size_t properties, methods;
};
// Sets the counts of `classes` from `full` (one per class, the counts as
// built), trimmed when `hideNewerMembers`; the number of leading classes of
// the list the host gets.
size_t ClassList_ApplyVersionGating(REALclassDefinition* const* classes,
                                   const ClassTableCounts* full, size_t count,
                                   bool hideNewerMembers);
// The same for the module's own class list (its full counts are taken at the
// first call); sets the module's class count.
void Module_ApplyVersionGating(bool hideNewerMembers);

// The host version read by the last load.
double Plugin_HostVersion();

// Registers everything with the host (after the resolver is stored).
void PluginEntry();

// The plug-in's only exported entry.
extern "C" __attribute__((visibility("default"))) void REALPluginMain(REALResolverProc resolver);
