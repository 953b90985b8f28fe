// The three exception raisers: what reaches the host, and that raising
// leaves no host object or string behind.
#include "host/bridge.h"
#include "host/exceptions.h"
#include "own_host.h"
#include "plugin_test.h"

namespace {

class ExceptionsTest : public LinkedTest {
protected:
    // The exception the last raise left for the host to deliver.
    vexrt::HostException taken() {
        auto e = rt().takeRaisedException();
        if (!e) {
            ADD_FAILURE() << "nothing was raised";
            return vexrt::HostException("", "", 0);
        }
        return *e;
    }
};

}  // namespace

TEST_F(ExceptionsTest, EachClassArrivesWithItsMessageAndNumber) {
    ThrowInvalidArgumentException("Parameter f may not be nil", 1);
    vexrt::HostException e = taken();
    EXPECT_EQ(e.className(), "InvalidArgumentException");
    EXPECT_EQ(e.message(), "Parameter f may not be nil");
    EXPECT_EQ(e.errorNumber(), 1);

    ThrowOutOfBoundsException("Column index was out of bounds", -55);
    e = taken();
    EXPECT_EQ(e.className(), "OutOfBoundsException");
    EXPECT_EQ(e.message(), "Column index was out of bounds");
    EXPECT_EQ(e.errorNumber(), -55);

    ThrowWordException("Main document w:sectPr section was not found", 5001);
    e = taken();
    EXPECT_EQ(e.className(), "VexlomarWord.WordException");
    EXPECT_EQ(e.message(), "Main document w:sectPr section was not found");
    EXPECT_EQ(e.errorNumber(), 5001);
}

TEST_F(ExceptionsTest, MessagesKeepTheirUTF8AndAnyClassCanBeRaisedByReference) {
    ThrowWordException("Datei \xC3\xBC" "berschrieben", -12);
    vexrt::HostException e = taken();
    EXPECT_EQ(e.message(), "Datei \xC3\xBC" "berschrieben");

    InternalThrowException(REALGetClassRef("RuntimeException"), "plain", 7);
    e = taken();
    EXPECT_EQ(e.className(), "RuntimeException");
    EXPECT_EQ(e.errorNumber(), 7);

    // A class the host does not know: nothing to raise, nothing made.
    InternalThrowException(REALGetClassRef("NoSuchException"), "lost", 1);
    EXPECT_FALSE(rt().takeRaisedException().has_value());
}

TEST_F(ExceptionsTest, TheRegisteredClassIsARuntimeExceptionHostProgramsCanMake) {
    vexrt::Object e = rt().newInstance("VexlomarWord.WordException");
    ASSERT_FALSE(e.isNil());
    EXPECT_TRUE(rt().isA(e, "RuntimeException"));
    EXPECT_EQ(rt().className(e), "VexlomarWord.WordException");
}

TEST(ExceptionsOnABareHost, AHostThatCannotMakeTheObjectRaisesNothing) {
    OwnHost host(Withholding({"CreateInstance", "PluginNewInstanceOfClass"}));
    ThrowInvalidArgumentException("Parameter f may not be nil", 1);
    ThrowWordException("File does not exist", -2);
    EXPECT_FALSE(host.rt().takeRaisedException().has_value());
}

TEST(ExceptionsOnABareHost, WithoutTheConstructorTheExceptionIsStillRaised) {
    OwnHost host(Withholding({"Constructor(message as String, errorCode as Integer)"}));
    ThrowOutOfBoundsException("Index is out of bounds", 1);
    auto e = host.rt().takeRaisedException();
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->className(), "OutOfBoundsException");
}
