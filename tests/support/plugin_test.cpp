#include "plugin_test.h"

#include <cerrno>
#include <filesystem>
#include <memory>

namespace {

// The one runtime shared by the tests of a binary, and its kind.
struct SharedRuntime {
    std::unique_ptr<vexrt::Runtime> runtime;
    std::string kind;
};

SharedRuntime& Shared() {
    static SharedRuntime shared;
    return shared;
}

std::string FileNamePart(std::string s) {
    for (char& c : s)
        if (c == '/' || c == '\\' || c == ' ') c = '_';
    return s;
}

std::string TestFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(VEXWORD_OUT_DIR) + "/" + FileNamePart(program_invocation_short_name) + "/" +
           FileNamePart(std::string(test->test_suite_name()) + "." + test->name());
}

std::string CensusDifference(const std::map<std::string, size_t>& before,
                             const std::map<std::string, size_t>& after) {
    std::string out;
    for (const auto& [name, count] : after) {
        auto was = before.find(name);
        size_t previous = was == before.end() ? 0 : was->second;
        if (count > previous) out += " " + name + " x" + std::to_string(count - previous) + ";";
    }
    return out;
}

}  // namespace

void PluginTest::loadPlugin(vexrt::Runtime& rt) const { rt.loadPlugin(VEXWORD_PLUGIN_PATH); }

void PluginTest::SetUp() {
    SharedRuntime& shared = Shared();
    if (!shared.runtime || shared.kind != runtimeKind()) {
        shared.runtime.reset();
        auto runtime = std::make_unique<vexrt::Runtime>();
        loadPlugin(*runtime);
        shared.runtime = std::move(runtime);
        shared.kind = runtimeKind();
    }
    rt_ = shared.runtime.get();

    outDir_ = TestFolder();
    std::error_code error;
    std::filesystem::remove_all(outDir_, error);
    std::filesystem::create_directories(outDir_, error);
    ASSERT_FALSE(error) << "cannot create " << outDir_ << ": " << error.message();

    // Whatever an earlier test left is its own failure, already reported.
    rt_->takeFaults();
    rt_->takeRaisedException();
    objectsAtStart_ = rt_->liveObjects();
    stringsAtStart_ = rt_->liveStrings();
    stringDataAtStart_ = rt_->openStringData();
    censusAtStart_ = rt_->liveObjectCensus();
}

void PluginTest::TearDown() {
    if (!rt_) return;
    for (const std::string& fault : rt_->takeFaults()) ADD_FAILURE() << "plug-in fault: " << fault;
    if (auto e = rt_->takeRaisedException())
        ADD_FAILURE() << "an exception was raised and never delivered: " << e->what();
    if (rt_->liveStrings() > stringsAtStart_)
        ADD_FAILURE() << "the test leaves " << rt_->liveStrings() - stringsAtStart_
                      << " host strings alive";
    if (rt_->openStringData() > stringDataAtStart_)
        ADD_FAILURE() << "the test leaves " << rt_->openStringData() - stringDataAtStart_
                      << " string data records undisposed";
    if (rt_->liveObjects() > objectsAtStart_)
        ADD_FAILURE() << "the test leaves " << rt_->liveObjects() - objectsAtStart_
                      << " host objects alive:"
                      << CensusDifference(censusAtStart_, rt_->liveObjectCensus());
}

std::string PluginTest::path(const std::string& name) const { return outDir_ + "/" + name; }

vexrt::Object PluginTest::folderItem(const std::string& nativePath) {
    return rt().makeFolderItem(nativePath);
}
