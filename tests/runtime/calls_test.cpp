// Calling registered members from C++: properties of every type, overloads
// chosen by the arguments, overrides found from the instance's own class up,
// assignable and shared methods, and the checks that turn a wrong call into
// a UsageError instead of a crash.
#include "toy_test.h"

using vexrt::Color;
using vexrt::HostException;
using vexrt::Object;
using vexrt::String;
using vexrt::UsageError;
using vexrt::Value;

TEST_F(ToyTest, PropertiesOfEveryTypeRoundTrip) {
    Object s = shape("first");
    EXPECT_EQ(rt().get(s, "Name").text(), "first");
    rt().set(s, "Name", "Grüße");
    EXPECT_EQ(rt().get(s, "name").text(), "Grüße");

    rt().set(s, "Width", 2.5);
    EXPECT_EQ(rt().get(s, "Width").number(), 2.5);
    rt().set(s, "Width", 4);  // an Integer is taken for a Double
    EXPECT_EQ(rt().get(s, "Width").number(), 4.0);
    EXPECT_EQ(rt().get(s, "TripleWidth").number(), 12.0);  // the getter gets its parameter

    rt().set(s, "Visible", true);
    EXPECT_TRUE(rt().get(s, "Visible").boolean());
    rt().set(s, "Visible", false);
    EXPECT_FALSE(rt().get(s, "Visible").boolean());

    rt().set(s, "Tint", Color{0x00FF8040});
    EXPECT_EQ(rt().get(s, "Tint").color(), Color{0x00FF8040});

    rt().set(s, "Ratio", 0.25);
    EXPECT_EQ(rt().get(s, "Ratio").number(), 0.25);

    rt().set(s, "Kind", 4);  // Toy.Kinds
    EXPECT_EQ(rt().get(s, "Kind").integer(), 4);

    Object owner = shape("owner");
    rt().set(s, "Owner", owner);
    EXPECT_EQ(rt().get(s, "Owner").object(), owner);
    rt().set(s, "Owner", nullptr);
    EXPECT_TRUE(rt().get(s, "Owner").isNil());
    rt().set(s, "Name", Value());
    EXPECT_TRUE(rt().get(s, "Name").isNil());
}

TEST_F(ToyTest, OverloadsAreChosenByTheKindsOfTheArguments) {
    Object s = shape("s");
    rt().set(s, "Width", 3.0);
    rt().call(s, "Resize", {2.0});
    EXPECT_EQ(rt().get(s, "Width").number(), 6.0);
    rt().call(s, "Resize", {10, true});
    EXPECT_EQ(rt().get(s, "Width").number(), 10.0);
    EXPECT_TRUE(rt().get(s, "Visible").boolean());

    try {
        rt().call(s, "Resize", {"wide"});
        ADD_FAILURE() << "no overload takes a String";
    } catch (const UsageError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("no overload of Toy.Shape.Resize takes (String)"), std::string::npos) << message;
        EXPECT_NE(message.find("Resize(factor as Double)"), std::string::npos) << message;
    }
}

// Names are resolved once and remembered: later calls, in other spellings
// or with other arguments, must still find what the first call would.
TEST_F(ToyTest, RepeatedCallsStillChooseByTheArgumentsAndIgnoreCase) {
    Object s = shape("s");
    for (int round = 0; round < 3; ++round) {
        rt().set(s, "WIDTH", 3.0);
        rt().call(s, "Resize", {2.0});
        EXPECT_EQ(rt().get(s, "width").number(), 6.0);
        rt().call(s, "rESIZE", {10, true});
        EXPECT_EQ(rt().get(s, "Width").number(), 10.0);
        rt().call(s, "resize( factor AS double )", {2.0});
        EXPECT_EQ(rt().get(s, "wIdTh").number(), 20.0);
        rt().set(s, "Owner", shape("owner"));
        EXPECT_EQ(rt().get(s, "Owner").object().isNil(), false);
        rt().set(s, "Owner", nullptr);
        try {
            rt().call(s, "RESIZE", {"wide"});
            ADD_FAILURE() << "no overload takes a String";
        } catch (const UsageError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("no overload of Toy.Shape.RESIZE takes (String)"), std::string::npos) << message;
            EXPECT_NE(message.find("Resize(factor as Double)"), std::string::npos) << message;
        }
        EXPECT_THROW(rt().call(s, "Resize(factor as Double)", {true}), UsageError);
        EXPECT_THROW(rt().get(s, "Widths"), UsageError);
    }
}

TEST_F(ToyTest, ExactDeclarationsAreMatchedWhateverTheirBlanks) {
    Object s = shape("s");
    rt().set(s, "Width", 3.0);
    rt().call(s, "resize( factor AS double )", {2.0});
    EXPECT_EQ(rt().get(s, "Width").number(), 6.0);
    rt().call(s, "Resize(width as Double, visible as Boolean)", {1.0, true});
    EXPECT_EQ(rt().get(s, "Width").number(), 1.0);
    EXPECT_THROW(rt().call(s, "Resize(factor as Integer)", {2}), UsageError);
    EXPECT_THROW(rt().call(s, "Resize(factor as Double)", {true}), UsageError);
    EXPECT_THROW(rt().call(s, "Resize(factor as Double)", {}), UsageError);
}

TEST_F(ToyTest, ASubclassRegistrationOverridesItsParents) {
    Object s = shape("plain");
    Object c = rt().callShared("Toy.Circle", "MakeCircle").object();
    Object d = rt().callShared("Dot", "MakeDot").object();
    EXPECT_EQ(rt().call(s, "Describe").text(), "Shape plain");
    EXPECT_EQ(rt().call(c, "Describe").text(), "Circle r=1");
    EXPECT_EQ(rt().call(c, "Describe() as String").text(), "Circle r=1");
    // Dot registers no Describe: Circle's is the nearest.
    EXPECT_EQ(rt().call(d, "Describe").text(), "Circle r=1");
    // Members of the root class are reached from every subclass.
    rt().set(d, "Name", "dot");
    EXPECT_EQ(rt().call(d, "Label", {"a "}).text(), "a dot");
    EXPECT_EQ(rt().className(d), "Toy.Dot");
    EXPECT_TRUE(rt().isA(d, "Toy.Circle"));
    EXPECT_FALSE(rt().isA(c, "Dot"));
}

TEST_F(ToyTest, AssignableMethodsHaveAReadAndAnAssignmentForm) {
    Object s = shape("s");
    rt().assign(s, "Tag", {1}, "one");
    rt().assign(s, "Tag(index as Integer) as String", {2}, "two");
    EXPECT_EQ(rt().call(s, "Tag", {1}).text(), "one");
    EXPECT_EQ(rt().call(s, "Tag", {2}).text(), "two");
    EXPECT_TRUE(rt().call(s, "Tag", {0}).isNil());
    EXPECT_THROW(rt().assign(s, "Tag", {1}, 5), UsageError);
    EXPECT_THROW(rt().assign(s, "Label", {"x"}, "y"), UsageError);
}

TEST_F(ToyTest, SharedMethodsAreCalledByClassName) {
    Object s = rt().callShared("Toy.Shape", "Make", {"made"}).object();
    EXPECT_EQ(rt().className(s), "Toy.Shape");
    EXPECT_EQ(rt().get(s, "Name").text(), "made");
    EXPECT_THROW(rt().callShared("Shape", "Describe"), UsageError);
    EXPECT_THROW(rt().callShared("Nowhere", "Make", {"x"}), UsageError);
    EXPECT_THROW(rt().callShared("Shape", "Make", {1}), UsageError);
}

TEST_F(ToyTest, ArgumentsOfTheWrongKindOrClassAreUsageErrors) {
    Object s = shape("s");
    Object c = rt().callShared("Circle", "MakeCircle").object();
    EXPECT_THROW(rt().call(s, "Label", {1}), UsageError);
    EXPECT_THROW(rt().call(s, "Label", {"a", "b"}), UsageError);
    EXPECT_THROW(rt().call(s, "Adopt", {rt().makeFolderItem("/tmp")}), UsageError);
    EXPECT_THROW(rt().set(s, "Width", "wide"), UsageError);
    EXPECT_THROW(rt().set(s, "Tint", 5), UsageError);        // a Color is no Integer
    EXPECT_THROW(rt().set(s, "Kind", 1.5), UsageError);      // nor is a Double
    EXPECT_THROW(rt().set(s, "Serial", 5), UsageError);      // read-only
    EXPECT_THROW(rt().get(s, "Nope"), UsageError);
    EXPECT_THROW(rt().call(s, "Nope"), UsageError);
    EXPECT_THROW(rt().get(Object(), "Name"), UsageError);
    EXPECT_THROW(rt().get(s, "Width").integer(), UsageError);

    // A subclass instance, nil, and enumerations as Integer all fit.
    EXPECT_EQ(rt().call(s, "Adopt", {c}).object(), c);
    EXPECT_TRUE(rt().call(s, "Adopt", {nullptr}).isNil());
    EXPECT_EQ(rt().call(s, "Twice", {4}).integer(), 8);
}

TEST_F(ToyTest, NewInstanceRunsInitializersThenTheChosenConstructor) {
    takeLog();
    {
        Object c = rt().newInstance("Toy.Circle");
        EXPECT_EQ(rt().get(c, "Radius").number(), 1.0);
        EXPECT_THROW(rt().newInstance("Toy.Circle", {1}), UsageError);
    }
    EXPECT_EQ(takeLog(), "+Shape +Circle -Circle -Shape");

    Object zone = rt().newInstance("TimeZone", {3600});
    EXPECT_EQ(rt().get(zone, "SecondsFromGMT").integer(), 3600);
    Object e = rt().newInstance("InvalidArgumentException", {"message", 3});
    EXPECT_EQ(rt().get(e, "Message").text(), "message");
    EXPECT_EQ(rt().get(e, "ErrorNumber").integer(), 3);
    EXPECT_THROW(rt().newInstance("Nowhere"), UsageError);
}

TEST_F(ToyTest, ValuesOfAnotherRuntimeAreRefused) {
    Object s = shape("s");
    auto other = ToyRuntime({});
    String foreign = other->makeString("foreign");
    Object foreignShape = other->callShared("Shape", "Make", {foreign}).object();
    EXPECT_THROW(rt().call(s, "Label", {foreign}), UsageError);
    EXPECT_THROW(rt().call(s, "Adopt", {foreignShape}), UsageError);
    EXPECT_THROW(rt().set(s, "Owner", foreignShape), UsageError);
}
