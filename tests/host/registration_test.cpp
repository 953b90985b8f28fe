// What each kind of host gets registered: the module with its constant,
// enumerations and classes, the classes one by one, or nothing; and the
// tables trimmed for hosts before 2019.02. Each host loads its own copy of
// the plug-in, since trimming happens once per load.
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "module_declarations.h"
#include "own_host.h"
#include "plugin_test.h"

using vexrt::ClassInfo;
using vexrt::HostOptions;
using vexrt::ModuleInfo;

namespace {

// The class list as the module declares it: counts include the hidden
// constructor; `cut*` is what hosts before 2019.02 do not get.
struct ExpectedClass {
    const char* name;
    const char* super;
    size_t properties, methods, shared;
    bool init, dtor;
    size_t cutProperties, cutMethods;
    bool iterator;
};

const ExpectedClass kClasses[] = {
    {"Document", "VexlomarWord.Container", 11, 17, 2, true, true, 2, 0, false},
    {"DocumentItem", "", 0, 8, 0, false, true, 0, 0, false},
    {"WordException", "RuntimeException", 0, 1, 0, false, false, 0, 0, false},
    {"Paragraph", "VexlomarWord.DocumentItem", 12, 28, 0, true, true, 0, 5, false},
    {"ParagraphItem", "", 1, 1, 0, false, true, 0, 0, false},
    {"Run", "ParagraphItem", 33, 10, 0, false, false, 0, 0, false},
    {"Table", "VexlomarWord.DocumentItem", 9, 12, 0, true, true, 0, 0, false},
    {"TableRow", "", 2, 2, 0, false, true, 0, 0, false},
    {"TableBorder", "", 6, 4, 0, true, true, 0, 0, false},
    {"TableCell", "VexlomarWord.Container", 3, 3, 0, true, true, 0, 0, false},
    {"Drawing", "", 8, 1, 0, true, true, 0, 0, false},
    {"Header", "VexlomarWord.Container", 0, 1, 0, true, true, 0, 0, false},
    {"Footer", "VexlomarWord.Container", 0, 1, 0, true, true, 0, 0, false},
    {"Container", "", 3, 12, 0, false, true, 0, 3, false},
    {"Section", "", 2, 9, 0, false, true, 0, 0, false},
    {"ListIndent", "", 3, 1, 0, false, true, 0, 0, false},
    {"Hyperlink", "ParagraphItem", 4, 5, 0, false, false, 0, 1, false},
    {"Bookmark", "", 1, 1, 0, false, true, 0, 0, false},
    {"ShapeBase", "", 0, 5, 0, false, true, 0, 0, false},
    {"Shape", "VexlomarWord.ShapeBase", 17, 2, 0, false, false, 0, 0, false},
    {"ShapeGroup", "VexlomarWord.ShapeBase", 1, 3, 0, false, false, 0, 0, false},
    {"ShapeContainer", "VexlomarWord.Container", 0, 1, 0, true, true, 0, 0, false},
    // The destructor sits with the record it releases, in StylePart, so the
    // document defaults and table styles let their document go too.
    {"StylePart", "", 14, 4, 0, false, true, 0, 0, false},
    {"TableStylePart", "VexlomarWord.StylePart", 3, 3, 0, true, false, 0, 0, false},
    {"Style", "VexlomarWord.StylePart", 3, 1, 0, false, false, 0, 0, false},
    {"CharacterStyle", "VexlomarWord.Style", 1, 1, 0, true, false, 0, 0, false},
    {"ParagraphStyle", "VexlomarWord.Style", 2, 1, 0, true, false, 0, 0, false},
    {"TableStyle", "VexlomarWord.TableStylePart", 3, 2, 0, true, false, 0, 0, false},
    {"ParagraphIterator", "", 0, 4, 0, false, true, 0, 0, true},
    {"TableIterator", "", 0, 4, 0, false, true, 0, 0, true},
    {"RunIterator", "", 0, 4, 0, false, true, 0, 0, true},
    {"ParagraphItemIterator", "", 0, 4, 0, false, true, 0, 0, true},
    {"DocumentItemIterator", "", 0, 4, 0, false, true, 0, 0, true},
};

const ExpectedClass* Expected(const std::string& name) {
    for (const ExpectedClass& c : kClasses)
        if (name == c.name) return &c;
    return nullptr;
}

// Every enumeration in registration order: "NAME=value" words.
const std::pair<const char*, const char*> kEnumerations[] = {
    {"UnderlineStyles",
     "NONE=0 SINGLE_LINE=1 DOUBLE_LINE=2 DOTTED_LINE=3 DASHED_LINE=4 DOT_DASHED_LINE=5 "
     "DOT_DOT_DASHED_LINE=6 WAVE=7 WORDS=8 THICK_LINE=9 WAVE_DOUBLE=10"},
    {"Alignments", "NOTSET=-1 LEFT=0 CENTER=1 RIGHT=2 JUSTIFY=3"},
    {"HighlightColors",
     "None=0 Yellow=1 Green=2 Cyan=3 Magenta=4 Blue=5 Red=6 DarkBlue=7 DarkCyan=8 DarkGreen=9 "
     "DarkMagenta=10 DarkRed=11 DarkYellow=12 DarkGray=13 LightGray=14 Black=15"},
    {"VerticalAlignments", "NONE=0 SUBSCRIPT=1 SUPERSCRIPT=2"},
    {"PictureTypes", "NONE=0 png=1 jpeg=2 UNKNOWN=10"},
    {"HeaderFooterTypes", "DEFAULT=0 FIRST=1 EVEN=2"},
    {"Units", "TWIPS=0 INCHES=1 CM=2"},
    {"PrinterPaperCodes",
     "Letter=1 Letter_Small=2 Tabloid=3 Ledger=4 Legal=5 Statement=6 Executive=7 A3=8 A4=9 "
     "A4_Small=10 A5=11 B4=12 B5=13 Folio=14 Standard_10_By_14=16 Standard_11_By_17=17 Note=18"},
    {"TableWidthModes", "AUTO=0 ABSOLUTE=1 PERCENTAGE=2"},
    {"SectionBreakTypes", "None=0 Continuous=1 EvenPage=2 OddPage=3 NextPage=4 NextColumn=5"},
    {"NumberingType",
     "TypeBullet=0 TypeDecimal=1 TypeLowerLetter=2 TypeUpperLetter=3 TypeLowerRoman=4 "
     "TypeUpperRoman=5 TypeUnknown=20"},
    {"EmuUnits", "EMU=0 INCHES=1 CM=2"},
    {"ShapeVerticalAlignments", "TOP=0 MIDDLE=1 BOTTOM=2"},
    {"ShapeTypes",
     "Unknown=-1 Rectangle=0 RoundedRectangle=1 Ellipse=2 Line=3 Triangle=4 Pentagon=5 "
     "Hexagon=6 Heptagon=7 Octagon=8 Decagon=9 Dodecagon=10 Diamond=11 Trapezoid=12 "
     "Parallelogram=13 RightTriangle=14 Cloud=15 EllipseCallout=16 Teardrop=17"},
    {"LineEndTypes", "None=0 Arrow=1 Oval=2 Triangle=3 Diamond=4 Stealth=5"},
    {"FillTypes", "NoFill=0 SolidFill=1 GradientFill=2 PictureFill=3 PatternFill=4 GroupFill=5"},
    {"ShapeTextWrap", "None=0 Square=1 Through=2 Tight=3 TopAndBottom=4"},
    {"BorderStyle",
     "NoLine=0 SingleLine=1 DashDotStrokedLine=2 DashedLine=3 DashSmallGapLine=4 DotDashLine=5 "
     "DotDotDashLine=6 DottedLine=7 DoubleLine=8 DoubleWaveLine=9 InsetLine=10 OutsetLine=11 "
     "ThickLine=12 ThickThinLargeGapLine=13 ThickThinMediumGapLine=14 ThickThinSmallGapLine=15 "
     "ThinThickLargeGapLine=16 ThinThickMediumGapLine=17 ThinThickSmallGapLine=18 "
     "ThinThickThinLargeGapLine=19 ThinThickThinMediumGapLine=20 ThinThickThinSmallGapLine=21 "
     "ThreeDEmbossLine=22 ThreeDEngraveLine=23 TrippleLine=24 WaveLine=25"},
    {"BorderParts",
     "Left=0 Top=1 Right=2 Bottom=3 InsideHorizontal=4 InsideVertical=5 TopLeftToBottomRight=6 "
     "TopRightToBottomLeft=7"},
    {"LineCompoundTypes", "Simple=0 Doubled=1 ThickThin=2 ThinThick=3 Tripled=4"},
    {"FieldSeparators", "None=-1 BeginField=0 EndField=1 SeparateField=2"},
    {"ComplexRunFieldTypes",
     "Unknown=-2 None=0 DateField=1 TimeField=2 HyperlinkField=3 PageNumberField=4 "
     "PageCountField=5"},
    {"StrikeThroughValues", "NOTSET=-1 NONE=0 SINGLELINE=1 DOUBLELINE=2"},
    {"TextCaps", "None=0 Caps=1 SmallCaps=2"},
    {"StylePartType",
     "EvenRows=0 OddRows=1 EvenColumns=2 OddColumns=3 FirstRow=4 LastRow=5 FirstColumn=6 "
     "LastColumn=7 NorthWestCell=8 NorthEastCell=9 SouthhWestCell=10 SouthEastCell=11"},
    {"BooleanAttribute", "NOTSET=-1 NO=0 YES=1"},
    {"TableCellVerticalAlignments", "NOTSET=-1 TOP=0 CENTER=1 BOTTOM=2"},
};

std::vector<std::pair<std::string, int64_t>> Entries(const char* words) {
    std::vector<std::pair<std::string, int64_t>> entries;
    std::istringstream in(words);
    for (std::string word; in >> word;) {
        size_t eq = word.find('=');
        entries.emplace_back(word.substr(0, eq), std::stoll(word.substr(eq + 1)));
    }
    return entries;
}

std::unique_ptr<vexrt::Runtime> LoadedAt(HostOptions options) {
    auto rt = std::make_unique<vexrt::Runtime>(std::move(options));
    rt->loadPlugin(VEXWORD_PLUGIN_PATH, true);
    return rt;
}

std::unique_ptr<vexrt::Runtime> LoadedAt(double version) { return LoadedAt(Host(version)); }

// Checks one registered class against the list. Tables grow member by
// member as the classes are built, so their sizes are compared between
// hosts (TrimmedLike), not against the finished counts.
void ExpectClass(const ClassInfo& c) {
    SCOPED_TRACE(c.name);
    const ExpectedClass* e = Expected(c.name);
    ASSERT_NE(e, nullptr) << "not a class of the module";
    EXPECT_EQ(c.superName, e->super);
    EXPECT_EQ(c.def->version, kREALPluginVersion);
    EXPECT_EQ(c.flags, 4u);
    EXPECT_EQ(c.hasInitializer, e->init);
    EXPECT_EQ(c.hasDestructor, e->dtor);
    EXPECT_LE(c.properties.size(), e->properties);
    EXPECT_LE(c.methods.size(), e->methods);
    EXPECT_LE(c.sharedMethods.size(), e->shared);
    EXPECT_EQ(c.interfaces, e->iterator ? "Iterator, Iterable" : "");
    ASSERT_FALSE(c.methods.empty());
    EXPECT_EQ(c.methods[0].declaration, "Constructor()");
    EXPECT_EQ(c.methods[0].flags, 0x84u);
    for (const auto& p : c.properties) EXPECT_EQ(p.flags, 4u) << p.name;
}

// The entries of a registered class's tables, and of its declared ones, as
// comparable lines: a property with its type and access, a method with its
// declaration and kind, a constant with its declaration. Flags other than
// those the kinds imply are lines of their own, so they show as mismatches.
struct TableLines {
    std::vector<std::string> properties, methods, shared, constants;
};

std::string PropertyLine(const std::string& name, const std::string& type, bool readOnly) {
    return name + " as " + type + (readOnly ? " (read-only)" : " (read/write)");
}
std::string MethodLine(const std::string& declaration, bool assignable, bool hidden) {
    return declaration + (assignable ? " (assignable)" : "") + (hidden ? " (hidden)" : "");
}

TableLines RegisteredLines(const ClassInfo& c) {
    TableLines lines;
    for (const auto& p : c.properties) {
        lines.properties.push_back(PropertyLine(p.name, p.type, p.readOnly));
        if (p.flags != 4u) lines.properties.push_back(p.name + " with flags " + std::to_string(p.flags));
    }
    auto methods = [](const std::vector<vexrt::MethodInfo>& in, std::vector<std::string>& out) {
        for (const auto& m : in) {
            const bool hidden = m.flags == 0x84u;
            out.push_back(MethodLine(m.declaration, m.assignable, hidden));
            if (!hidden && m.flags != 4u) out.push_back(m.declaration + " with flags " + std::to_string(m.flags));
        }
    };
    methods(c.methods, lines.methods);
    methods(c.sharedMethods, lines.shared);
    for (const auto& k : c.constants) {
        lines.constants.push_back(k.declaration);
        if (k.flags != 0x24u) lines.constants.push_back(k.declaration + " with flags " + std::to_string(k.flags));
    }
    return lines;
}

// The declared tables, less the newer members an old host does not get.
TableLines DeclaredLines(const DeclaredClass& c, const ExpectedClass& e, bool trimmed) {
    TableLines lines;
    for (const auto& p : c.properties) lines.properties.push_back(PropertyLine(p.name, p.type, p.readOnly));
    for (const auto& m : c.methods) lines.methods.push_back(MethodLine(m.declaration, m.assignable, m.hidden));
    for (const auto& m : c.sharedMethods) lines.shared.push_back(MethodLine(m, false, false));
    lines.constants = c.constants;
    if (trimmed) {
        lines.properties.resize(lines.properties.size() - e.cutProperties);
        lines.methods.resize(lines.methods.size() - e.cutMethods);
    }
    return lines;
}

// The first registered line that is not declared, or not in the declared
// order; "" when every registered entry is declared and in order. Members
// still to be built are absent; the others keep their places.
std::string FirstOutOfPlace(const std::vector<std::string>& registered, const std::vector<std::string>& declared) {
    size_t next = 0;
    for (const std::string& line : registered) {
        while (next < declared.size() && declared[next] != line) ++next;
        if (next == declared.size()) return line;
        ++next;
    }
    return "";
}

// Every entry a class registers is declared for it, in the declared order,
// with its exact declaration, type, access and flags.
void ExpectDeclared(const ClassInfo& c, bool trimmed) {
    SCOPED_TRACE(c.name);
    const DeclaredClass* declared = Module_DeclaredClass(c.name);
    const ExpectedClass* e = Expected(c.name);
    ASSERT_NE(declared, nullptr);
    ASSERT_NE(e, nullptr);
    const TableLines has = RegisteredLines(c), wanted = DeclaredLines(*declared, *e, trimmed);
    EXPECT_EQ(FirstOutOfPlace(has.properties, wanted.properties), "") << "property not declared or out of order";
    EXPECT_EQ(FirstOutOfPlace(has.methods, wanted.methods), "") << "method not declared or out of order";
    EXPECT_EQ(FirstOutOfPlace(has.shared, wanted.shared), "") << "shared method not declared or out of order";
    EXPECT_EQ(FirstOutOfPlace(has.constants, wanted.constants), "") << "constant not declared or out of order";
}

// A class's tables are exactly the declared ones.
void ExpectComplete(const ClassInfo& c, bool trimmed) {
    SCOPED_TRACE(c.name);
    const DeclaredClass* declared = Module_DeclaredClass(c.name);
    ASSERT_NE(declared, nullptr);
    const TableLines has = RegisteredLines(c), wanted = DeclaredLines(*declared, *Expected(c.name), trimmed);
    EXPECT_EQ(has.properties, wanted.properties);
    EXPECT_EQ(has.methods, wanted.methods);
    EXPECT_EQ(has.shared, wanted.shared);
    EXPECT_EQ(has.constants, wanted.constants);
}

// Whether a class's tables are finished: only then are the newer members
// the last ones (a class still being built is checked once it is complete).
bool Complete(const ExpectedClass& e, size_t properties, size_t methods) {
    return properties == e.properties && methods == e.methods;
}

// An old host's class shows the modern host's tables less the newer members.
void ExpectTrimmedLike(const ClassInfo& old, const ClassInfo& modern) {
    SCOPED_TRACE(old.name);
    const ExpectedClass* e = Expected(old.name);
    ASSERT_NE(e, nullptr);
    if (!Complete(*e, modern.properties.size(), modern.methods.size())) return;
    EXPECT_EQ(old.properties.size(), modern.properties.size() - e->cutProperties);
    EXPECT_EQ(old.methods.size(), modern.methods.size() - e->cutMethods);
    for (size_t i = 0; i < old.methods.size() && i < modern.methods.size(); ++i)
        EXPECT_EQ(old.methods[i].declaration, modern.methods[i].declaration);
}

// The classes registered follow the module's order, and the iterator
// classes (if any) close it.
void ExpectOrder(const std::vector<ClassInfo>& classes) {
    size_t next = 0;
    bool iterators = false;
    for (const ClassInfo& c : classes) {
        while (next < std::size(kClasses) && c.name != kClasses[next].name) ++next;
        ASSERT_LT(next, std::size(kClasses)) << c.name << " is out of order";
        if (iterators) {
            EXPECT_TRUE(kClasses[next].iterator) << c.name << " after an iterator";
        }
        iterators = kClasses[next].iterator;
    }
}

}  // namespace

TEST(Registration, AModernHostGetsTheWholeModule) {
    auto rt = LoadedAt(2024.01);
    EXPECT_EQ(rt->registeredPluginVersion(), 13);
    const ModuleInfo* m = rt->module();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->name, "VexlomarWord");
    EXPECT_TRUE(rt->looseClasses().empty());

    ASSERT_EQ(m->constants.size(), 1u);
    EXPECT_EQ(m->constants[0].name, "Version");
    EXPECT_EQ(m->constants[0].value, "4.62");
    EXPECT_EQ(m->constants[0].flags, 0x24u);

    ASSERT_EQ(m->enums.size(), std::size(kEnumerations));
    for (size_t i = 0; i < m->enums.size(); ++i) {
        const vexrt::EnumInfo& e = m->enums[i];
        EXPECT_EQ(e.name, kEnumerations[i].first);
        EXPECT_EQ(e.type, "Integer");
        EXPECT_EQ(e.flags, 0x20u);
        EXPECT_EQ(e.entries, Entries(kEnumerations[i].second)) << e.name;
    }
    EXPECT_EQ(m->findEnum("SectionBreakTypes")->valueOf("NextPage"), 4);
    EXPECT_EQ(m->findEnum("ComplexRunFieldTypes")->valueOf("Unknown"), -2);
    EXPECT_EQ(m->findEnum("VexlomarWord.TextCaps")->valueOf("SmallCaps"), 2);
    EXPECT_EQ(m->findEnum("Alignments")->valueOf("NOTSET"), -1);

    ASSERT_NE(m->findClass("VexlomarWord.WordException"), nullptr);
    ExpectOrder(m->classes);
    for (const ClassInfo& c : m->classes) {
        ExpectClass(c);
        ExpectDeclared(c, false);
    }
    // The entry's last step asks for the exception class by its full name.
    EXPECT_GE(rt->resolveCount("pluginObjectType"), 1);
}

TEST(Registration, HostsBefore2019GetTablesWithoutTheNewerMembers) {
    auto modern = LoadedAt(2024.01);
    const ModuleInfo* full = modern->module();
    ASSERT_NE(full, nullptr);
    for (double version : {2013.4, 2015.1, 2019.01}) {
        SCOPED_TRACE(version);
        auto rt = LoadedAt(version);
        const ModuleInfo* m = rt->module();
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->enums.size(), 27u);
        EXPECT_EQ(m->constants.size(), 1u);
        ExpectOrder(m->classes);
        size_t iterators = 0;
        for (const ClassInfo& c : full->classes) iterators += Expected(c.name)->iterator;
        EXPECT_EQ(m->classes.size(), full->classes.size() - iterators);
        for (size_t i = 0; i < m->classes.size(); ++i) {
            if (Complete(*Expected(m->classes[i].name), full->classes[i].properties.size(),
                         full->classes[i].methods.size()))
                ExpectClass(m->classes[i]);
            ExpectTrimmedLike(m->classes[i], full->classes[i]);
            ExpectDeclared(m->classes[i], true);
        }
        ASSERT_NE(m->findClass("WordException"), nullptr);
    }
    auto boundary = LoadedAt(2019.02);
    ASSERT_NE(boundary->module(), nullptr);
    ASSERT_EQ(boundary->module()->classes.size(), full->classes.size());
    for (size_t i = 0; i < full->classes.size(); ++i) {
        EXPECT_EQ(boundary->module()->classes[i].properties.size(), full->classes[i].properties.size());
        EXPECT_EQ(boundary->module()->classes[i].methods.size(), full->classes[i].methods.size());
    }
}

TEST(Registration, AHostOfVersion100GetsEachClassAloneAndNoEnumerations) {
    auto rt = LoadedAt(100.0);
    EXPECT_EQ(rt->registeredPluginVersion(), 13);
    EXPECT_EQ(rt->module(), nullptr);
    const std::vector<ClassInfo>& classes = rt->looseClasses();
    ASSERT_FALSE(classes.empty());
    ExpectOrder(classes);

    // The same classes, untrimmed, as a modern host gets in the module.
    auto modern = LoadedAt(2024.01);
    ASSERT_NE(modern->module(), nullptr);
    const std::vector<ClassInfo>& full = modern->module()->classes;
    ASSERT_EQ(classes.size(), full.size());
    for (size_t i = 0; i < classes.size(); ++i) {
        ExpectClass(classes[i]);
        ExpectDeclared(classes[i], false);
        EXPECT_EQ(classes[i].name, full[i].name);
        EXPECT_EQ(classes[i].properties.size(), full[i].properties.size());
        EXPECT_EQ(classes[i].methods.size(), full[i].methods.size());
    }
}

TEST(Registration, OlderHostsGetNothing) {
    for (double version : {2013.3, 2012.0, 99.9, 100.5}) {
        SCOPED_TRACE(version);
        auto rt = LoadedAt(version);
        EXPECT_EQ(rt->module(), nullptr);
        EXPECT_TRUE(rt->looseClasses().empty());
        EXPECT_EQ(rt->registeredPluginVersion(), 13);
    }
}

TEST(Registration, TheEnumerationEntriesAreRegisteredAsWritten) {
    auto find = [](const char* name) -> const REALenum* {
        for (const REALenum& e : ModuleEnumerations)
            if (std::string(e.name) == name) return &e;
        return nullptr;
    };
    const REALenum* breaks = find("SectionBreakTypes");
    ASSERT_NE(breaks, nullptr);
    EXPECT_STREQ(breaks->fields[4], "NextPage  = 4");
    const REALenum* caps = find("TextCaps");
    ASSERT_NE(caps, nullptr);
    ASSERT_EQ(caps->fieldCount, 3u);
    EXPECT_STREQ(caps->fields[0], "None = 0");
    EXPECT_STREQ(caps->fields[1], "Caps = 1");
    EXPECT_STREQ(caps->fields[2], "SmallCaps = 2");
    EXPECT_STREQ(find("UnderlineStyles")->fields[0], "NONE= 0");
    EXPECT_STREQ(VexlomarWordModule.constants[0].declaration, "Version = 4.62");
}

// Linked code loaded twice by old hosts in one process trims its tables from
// the full counts each time, never twice.
TEST(Registration, TrimmingIsAppliedOncePerLoad) {
    std::vector<ClassTableCounts> full;
    size_t fullClasses = 0;
    {
        OwnHost modern(Host(2024.01));
        fullClasses = VexlomarWordModule.classCount;
        for (size_t i = 0; i < fullClasses; ++i)
            full.push_back({VexlomarWordModule.classes[i]->propertyCount,
                            VexlomarWordModule.classes[i]->methodCount});
    }
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        OwnHost host(Host(2015.1));
        ASSERT_NE(host.rt().module(), nullptr);
        EXPECT_EQ(host.rt().module()->classes.size(), VexlomarWordModule.classCount);
        for (size_t i = 0; i < VexlomarWordModule.classCount; ++i) {
            const REALclassDefinition* def = VexlomarWordModule.classes[i];
            const ExpectedClass* e = Expected(def->name);
            ASSERT_NE(e, nullptr) << def->name;
            EXPECT_FALSE(e->iterator) << def->name;
            if (!Complete(*e, full[i].properties, full[i].methods)) continue;
            EXPECT_EQ(def->propertyCount, full[i].properties - e->cutProperties) << def->name;
            EXPECT_EQ(def->methodCount, full[i].methods - e->cutMethods) << def->name;
        }
    }
    // A modern host after them gets the full tables back.
    OwnHost modern(Host(2024.01));
    ASSERT_EQ(VexlomarWordModule.classCount, fullClasses);
    for (size_t i = 0; i < fullClasses; ++i)
        EXPECT_EQ(VexlomarWordModule.classes[i]->methodCount, full[i].methods)
            << VexlomarWordModule.classes[i]->name;
}

TEST(Registration, LoadTimeFunctionsAreResolvedOnlyInsideTheRuntime) {
    {
        OwnHost designTime(Host(2024.01, false));
        EXPECT_EQ(EReplaceAll, nullptr);
        EXPECT_EQ(ETemporaryFile, nullptr);
    }
    {
        OwnHost built(Host(2024.01));
        EXPECT_NE(EReplaceAll, nullptr);
        EXPECT_NE(ETemporaryFile, nullptr);
    }
    // From 2019.02 the temporary file is FolderItem's shared method, before
    // that the framework's global function.
    HostOptions withoutShared = Host(2024.01);
    withoutShared.withheld = {"TemporaryFile() as FolderItem"};
    {
        OwnHost modern(withoutShared);
        EXPECT_EQ(ETemporaryFile, nullptr);
    }
    withoutShared.version = 2018.03;
    {
        OwnHost old(withoutShared);
        EXPECT_NE(ETemporaryFile, nullptr);
    }
    HostOptions withoutGlobal = Host(2018.03);
    withoutGlobal.withheld = {"GetTemporaryFolderItem() as FolderItem"};
    {
        OwnHost old(withoutGlobal);
        EXPECT_EQ(ETemporaryFile, nullptr);
        EXPECT_NE(EReplaceAll, nullptr);
    }
}

// The declared tables hold what the class list says of each class: its
// place and its counts.
TEST(Registration, TheDeclaredTablesFitTheClassList) {
    const std::vector<DeclaredClass>& declared = Module_DeclaredClasses();
    ASSERT_EQ(declared.size(), std::size(kClasses));
    for (size_t i = 0; i < declared.size(); ++i) {
        SCOPED_TRACE(declared[i].name);
        EXPECT_EQ(declared[i].name, kClasses[i].name);
        EXPECT_EQ(declared[i].properties.size(), kClasses[i].properties);
        EXPECT_EQ(declared[i].methods.size(), kClasses[i].methods);
        EXPECT_EQ(declared[i].sharedMethods.size(), kClasses[i].shared);
        EXPECT_EQ(declared[i].constants.size(), declared[i].name == "Table" ? 6u : 0u);
    }
}

// The finished module: every class with exactly its declared tables, for a
// current host, for a host of 2013.4 to 2019.01 (Document 9 properties,
// Container 9 methods, Paragraph 23, Hyperlink 4, and 28 classes), and for a
// host of 100.0 (each class alone, untrimmed). Enabled once every class of
// the module is registered.
TEST(Registration, TheWholeModuleIsRegisteredAsDeclared) {
    auto modern = LoadedAt(2024.01);
    ASSERT_NE(modern->module(), nullptr);
    ASSERT_EQ(modern->module()->classes.size(), 33u);
    for (const ClassInfo& c : modern->module()->classes) ExpectComplete(c, false);

    auto old = LoadedAt(2015.1);
    const ModuleInfo* m = old->module();
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->classes.size(), 28u);
    for (const ClassInfo& c : m->classes) ExpectComplete(c, true);
    EXPECT_EQ(m->findClass("Document")->properties.size(), 9u);
    EXPECT_EQ(m->findClass("Container")->methods.size(), 9u);
    EXPECT_EQ(m->findClass("Paragraph")->methods.size(), 23u);
    EXPECT_EQ(m->findClass("Hyperlink")->methods.size(), 4u);
    EXPECT_EQ(m->enums.size(), 27u);
    EXPECT_EQ(m->constants.size(), 1u);

    auto loose = LoadedAt(100.0);
    ASSERT_EQ(loose->looseClasses().size(), 33u);
    for (const ClassInfo& c : loose->looseClasses()) ExpectComplete(c, false);
}
