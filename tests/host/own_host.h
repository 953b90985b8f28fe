// A host of a test's own, next to the shared one: a runtime with particular
// options into which the linked plug-in code is loaded. The linked code's
// process-wide state (resolved entries, class references, load-time
// functions, trimmed tables) then belongs to this host; when it goes, that
// state is handed back to a modern host in the process, as the shared
// runtime expects it.
//
// A test may load its own wrapper of the entry instead, one that hands
// REALPluginMain a resolver of its own making; when the host goes, the
// linked code is loaded once more through the plain entry, so that the
// wrapper is no longer reached.
#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <vexrt/runtime.h>

#include "host/dates.h"
#include "host/files.h"
#include "host/module.h"

class OwnHost {
public:
    explicit OwnHost(vexrt::HostOptions options, REALPluginMainProc pluginMain = &REALPluginMain)
        : replaceAll_(EReplaceAll), temporaryFile_(ETemporaryFile),
          wrapped_(pluginMain != &REALPluginMain),
          rt_(std::make_unique<vexrt::Runtime>(std::move(options))) {
        rt_->loadLinked(pluginMain);
    }

    ~OwnHost() {
        if (rt_) {
            for (const std::string& fault : rt_->takeFaults())
                ADD_FAILURE() << "plug-in fault: " << fault;
            if (auto e = rt_->takeRaisedException())
                ADD_FAILURE() << "an exception was raised and never delivered: " << e->what();
            EXPECT_EQ(rt_->liveStrings(), 0u) << "host strings left alive";
            EXPECT_EQ(rt_->openStringData(), 0u) << "string data left undisposed";
            EXPECT_EQ(rt_->liveObjects(), 0u) << "host objects left alive";
        }
        rt_.reset();
        if (wrapped_) vexrt::Runtime().loadLinked(&REALPluginMain);
        // Class references name classes of the runtime just gone.
        DatesResetClassCache();
        EReplaceAll = replaceAll_;
        ETemporaryFile = temporaryFile_;
        Module_ApplyVersionGating(false);
    }

    OwnHost(const OwnHost&) = delete;
    OwnHost& operator=(const OwnHost&) = delete;

    vexrt::Runtime& rt() { return *rt_; }

private:
    ReplaceAllProc replaceAll_;
    TemporaryFileProc temporaryFile_;
    bool wrapped_;
    std::unique_ptr<vexrt::Runtime> rt_;
};

inline vexrt::HostOptions Host(double version, bool inRuntime = true) {
    vexrt::HostOptions options;
    options.version = version;
    options.inRuntime = inRuntime;
    return options;
}

inline vexrt::HostOptions Withholding(std::set<std::string> entries) {
    vexrt::HostOptions options;
    options.withheld = std::move(entries);
    return options;
}
