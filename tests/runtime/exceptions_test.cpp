// Raised exceptions: delivered as HostException when the plug-in returns to
// C++, caught by the host's handler when plug-in code asks for it, and
// released either way.
#include "entries.h"
#include "toy_test.h"

using vexrt::HostException;
using vexrt::Object;
using vexrt::RuntimeAccess;
using vexrt::detail::Activation;

TEST_F(ToyTest, AnExceptionRaisedByPlugInCodeReachesTheCaller) {
    Object s = shape("s");
    const HostException e = raised([&] { rt().call(s, "Fail", {"bad value", 7}); });
    EXPECT_EQ(e.className(), "InvalidArgumentException");
    EXPECT_EQ(e.message(), "bad value");
    EXPECT_EQ(e.errorNumber(), 7);
    EXPECT_STREQ(e.what(), "InvalidArgumentException 7: bad value");
    // The next call starts clean.
    EXPECT_EQ(rt().call(s, "Describe").text(), "Shape s");
}

TEST_F(ToyTest, APlugInExceptionClassFindsTheHostConstructorUpItsChain) {
    Object s = shape("s");
    EXPECT_RAISED(rt().call(s, "Boom", {5}), "Toy.ToyError", "toy error", 5);
    // A host program's error line names the class without its module.
    EXPECT_EQ(raised([&] { rt().call(s, "Boom", {5}); }).describe(), "ToyError 5: toy error");
}

TEST_F(ToyTest, TheExceptionHandlerHandsTheExceptionToPlugInCode) {
    Object s = shape("s");
    // Raised inside the handler, caught there, read and released by the toy;
    // nothing reaches C++.
    EXPECT_EQ(rt().call(s, "Survive", {42}).integer(), 42);
}

TEST_F(ToyTest, AnExceptionRaisedOutsideACallWaitsToBeTaken) {
    Activation active(RuntimeAccess::impl(rt()));
    {
        Object e = rt().newInstance("OutOfBoundsException", {"out", 2});
        vexrt::detail::Entry_RaiseException(e.get());
    }
    auto taken = rt().takeRaisedException();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->className(), "OutOfBoundsException");
    EXPECT_EQ(taken->message(), "out");
    EXPECT_FALSE(rt().takeRaisedException().has_value());
}

TEST_F(ToyTest, ASecondRaiseReplacesTheFirst) {
    Activation active(RuntimeAccess::impl(rt()));
    for (const char* message : {"first", "second"}) {
        Object e = rt().newInstance("RuntimeException", {message, 1});
        vexrt::detail::Entry_RaiseException(e.get());
    }
    auto taken = rt().takeRaisedException();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->message(), "second");
}

TEST_F(ToyTest, OnlyExceptionsCanBeRaised) {
    Activation active(RuntimeAccess::impl(rt()));
    Object s = shape("s");
    vexrt::detail::Entry_RaiseException(s.get());
    EXPECT_FALSE(rt().takeRaisedException().has_value());
    const std::vector<std::string> faults = rt().takeFaults();
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("is no RuntimeException"), std::string::npos) << faults[0];
}
