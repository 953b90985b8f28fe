// What the runtime makes of a registration: the module as the host reads it,
// the layout of class chains, and registration under different hosts.
#include "toy_test.h"

using vexrt::ClassInfo;
using vexrt::HostOptions;
using vexrt::ModuleInfo;
using vexrt::Object;
using vexrt::UsageError;

namespace {

const vexrt::MethodInfo* Method(const ClassInfo& c, const std::string& declaration) {
    for (const auto& m : c.methods)
        if (m.declaration == declaration) return &m;
    return nullptr;
}

intptr_t Address(const Object& o) { return reinterpret_cast<intptr_t>(o.get()); }

HostOptions Version(double version) {
    HostOptions options;
    options.version = version;
    return options;
}

}  // namespace

TEST_F(ToyTest, ModuleConstantsAndEnumerationsAreParsed) {
    const ModuleInfo* m = rt().module();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->name, "Toy");
    ASSERT_EQ(m->constants.size(), 1u);
    EXPECT_EQ(m->constants[0].name, "Version");
    EXPECT_EQ(m->constants[0].value, "4.62");
    EXPECT_EQ(m->constants[0].flags, 0x24u);

    const vexrt::EnumInfo* kinds = m->findEnum("Toy.Kinds");
    ASSERT_NE(kinds, nullptr);
    EXPECT_EQ(kinds, m->findEnum("kinds"));
    EXPECT_EQ(kinds->type, "Integer");
    const std::vector<std::pair<std::string, int64_t>> expected = {
        {"NONE", 0}, {"Round", 1}, {"NextPage", 4}, {"Minus", -1}, {"Caps", 0}};
    EXPECT_EQ(kinds->entries, expected);
    EXPECT_EQ(kinds->valueOf("nextpage"), 4);
    EXPECT_THROW(kinds->valueOf("Square"), UsageError);
}

TEST_F(ToyTest, ClassesKeepTheirRegistrationOrderAndMembers) {
    const ModuleInfo* m = rt().module();
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->classes.size(), 4u);
    EXPECT_EQ(m->classes[0].fullName, "Toy.Circle");
    EXPECT_EQ(m->classes[1].fullName, "Toy.Shape");
    EXPECT_EQ(m->classes[2].superName, "Circle");
    EXPECT_EQ(m->classes[3].superName, "RuntimeException");

    const ClassInfo* shape = m->findClass("Shape");
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape, m->findClass("Toy.Shape"));
    EXPECT_TRUE(shape->hasInitializer);
    EXPECT_TRUE(shape->hasDestructor);
    EXPECT_EQ(shape->properties.size(), 9u);
    EXPECT_EQ(shape->methods.size(), 25u);
    EXPECT_EQ(shape->sharedMethods.size(), 7u);
    ASSERT_EQ(shape->constants.size(), 1u);
    EXPECT_EQ(shape->constants[0].name, "Flag");
    EXPECT_EQ(shape->constants[0].value, "32");

    for (const auto& p : shape->properties)
        EXPECT_EQ(p.readOnly, p.name == "Serial" || p.name == "TripleWidth") << p.name;

    const auto* resize = Method(*shape, "Resize( width As Double,visible as Boolean )");
    ASSERT_NE(resize, nullptr);
    EXPECT_EQ(resize->name, "Resize");
    ASSERT_EQ(resize->params.size(), 2u);
    EXPECT_EQ(resize->params[1].name, "visible");
    EXPECT_EQ(resize->params[1].type, "Boolean");
    EXPECT_EQ(resize->returnType, "");

    const auto* tag = Method(*shape, "Tag(index as Integer) as String");
    ASSERT_NE(tag, nullptr);
    EXPECT_TRUE(tag->assignable);
    EXPECT_EQ(tag->returnType, "String");

    const auto* constructor = Method(*shape, "Constructor()");
    ASSERT_NE(constructor, nullptr);
    EXPECT_EQ(constructor->flags, 0x84u);

    const auto* children = Method(*shape, "Children(count as Integer) as Toy.Shape()");
    ASSERT_NE(children, nullptr);
    EXPECT_EQ(children->returnType, "Toy.Shape()");
}

TEST_F(ToyTest, ClassPartsFollowTheChainRootFirstAtTheSameOffsetsInEverySubclass) {
    const ModuleInfo* m = rt().module();
    ASSERT_NE(m, nullptr);
    const ClassInfo& shape = *m->findClass("Shape");
    const ClassInfo& circle = *m->findClass("Circle");
    const ClassInfo& dot = *m->findClass("Dot");
    EXPECT_GT(shape.dataOffset, 0);
    EXPECT_GE(circle.dataOffset, shape.dataOffset + intptr_t(shape.dataSize));
    EXPECT_GE(dot.dataOffset, circle.dataOffset + intptr_t(circle.dataSize));
    EXPECT_EQ(circle.dataOffset % intptr_t(alignof(std::max_align_t)), 0);
    EXPECT_EQ(shape.def->forSystemUse, shape.dataOffset);

    // The plug-in finds its parts where the runtime put them.
    Object d = rt().callShared("Dot", "MakeDot").object();
    Object c = rt().callShared("Circle", "MakeCircle").object();
    Object s = rt().callShared("Shape", "Make", {"s"}).object();
    for (const Object* o : {&d, &c, &s})
        EXPECT_EQ(rt().call(*o, "ShapePart").integer() - Address(*o), shape.dataOffset);
    EXPECT_EQ(rt().call(d, "CirclePart").integer() - Address(d), circle.dataOffset);
    EXPECT_EQ(rt().call(c, "CirclePart").integer() - Address(c), circle.dataOffset);
    EXPECT_EQ(rt().call(d, "DotPart").integer(), reinterpret_cast<intptr_t>(rt().classData(d, "Toy.Dot")));
    EXPECT_EQ(rt().get(d, "Pixels").integer(), 1);
    EXPECT_EQ(rt().get(d, "Radius").number(), 1.0);
}

TEST(Registration, TheHostPresentsItselfAsTheOptionsSay) {
    HostOptions options;
    options.version = 2019.02;
    options.inRuntime = false;
    auto rt = ToyRuntime(options);
    EXPECT_EQ(rt->callShared("Shape", "HostVersion").number(), 2019.02);
    EXPECT_FALSE(rt->callShared("Shape", "InRuntime").boolean());
    auto defaults = ToyRuntime({});
    EXPECT_EQ(defaults->callShared("Shape", "HostVersion").number(), 2024.01);
    EXPECT_TRUE(defaults->callShared("Shape", "InRuntime").boolean());
}

TEST(Registration, HostsOlderThanModulesGetNothing) {
    auto rt = ToyRuntime(Version(2013.3));
    EXPECT_EQ(rt->module(), nullptr);
    EXPECT_TRUE(rt->looseClasses().empty());
    EXPECT_EQ(rt->registeredPluginVersion(), 13);
}

TEST(Registration, ClassesRegisteredOneByOneAreLaidOutOnFirstUse) {
    auto rt = ToyRuntime(Version(100.0));
    EXPECT_EQ(rt->module(), nullptr);
    const std::vector<ClassInfo>& classes = rt->looseClasses();
    ASSERT_EQ(classes.size(), 4u);
    EXPECT_EQ(classes[0].fullName, "Circle");
    EXPECT_EQ(classes[0].superName, "Toy.Shape");
    EXPECT_GT(classes[0].dataOffset, classes[1].dataOffset);

    // Dot names its super-class "Circle", which names "Toy.Shape": the chain
    // holds together without a module.
    Object dot = rt->callShared("Dot", "MakeDot").object();
    EXPECT_EQ(rt->call(dot, "Describe").text(), "Circle r=1");
    EXPECT_TRUE(rt->isA(dot, "Shape"));
    EXPECT_EQ(rt->className(dot), "Dot");
}

TEST(Registration, WithheldEntriesAreAnsweredNullAndCounted) {
    HostOptions options;
    options.withheld = {"PluginRegisterModule"};
    auto rt = ToyRuntime(options);
    EXPECT_EQ(rt->module(), nullptr);
    EXPECT_EQ(rt->resolveCount("PluginRegisterModule"), 1);
    EXPECT_EQ(rt->resolveCount("REALGetRBVersion"), 1);
    EXPECT_EQ(rt->resolveCount("PluginRegisterClass"), 0);
    EXPECT_EQ(rt->registeredPluginVersion(), 13);

    HostOptions noVersion;
    noVersion.withheld = {"RegisterPluginVersion"};
    auto rt2 = ToyRuntime(noVersion);
    EXPECT_EQ(rt2->registeredPluginVersion(), -1);
    EXPECT_NE(rt2->module(), nullptr);
}

TEST(Registration, WithheldDeclarationsAreNotFoundWhateverTheirSpelling) {
    HostOptions options;
    options.withheld = {"LenB( s as string ) as integer"};
    auto rt = ToyRuntime(options);
    Object s = rt->callShared("Shape", "Make", {"x"}).object();
    // The toy asks for "LenB(s As String) As Integer".
    EXPECT_EQ(rt->call(s, "RawLength", {"abc"}).integer(), -1);
}

TEST(Registration, MalformedRegistrationsAreReportedAndSkipped) {
    auto badVersion = std::make_unique<vexrt::Runtime>(Version(3.0));
    try {
        badVersion->loadPlugin(TOY_PLUGIN_PATH);
        ADD_FAILURE() << "a module with record version 12 was taken";
    } catch (const UsageError& e) {
        EXPECT_NE(std::string(e.what()).find("record version 12"), std::string::npos) << e.what();
    }
    EXPECT_EQ(badVersion->module(), nullptr);
    badVersion.reset();

    auto orphan = std::make_unique<vexrt::Runtime>(Version(4.0));
    try {
        orphan->loadPlugin(TOY_PLUGIN_PATH);
        ADD_FAILURE() << "a class without its super-class was taken";
    } catch (const UsageError& e) {
        EXPECT_NE(std::string(e.what()).find("Toy.Nowhere"), std::string::npos) << e.what();
    }
    // The rest of the module is usable.
    ASSERT_NE(orphan->module(), nullptr);
    Object s = orphan->callShared("Shape", "Make", {"x"}).object();
    EXPECT_EQ(orphan->get(s, "Name").text(), "x");
}

TEST(Registration, AFreshCopyHasGlobalsOfItsOwn) {
    auto first = ToyRuntime({});
    const int64_t loads = first->callShared("Shape", "Loads").integer();
    auto fresh = ToyRuntime({}, true);
    EXPECT_EQ(fresh->callShared("Shape", "Loads").integer(), 1);
    auto again = ToyRuntime({});
    EXPECT_EQ(again->callShared("Shape", "Loads").integer(), loads + 1);
}
