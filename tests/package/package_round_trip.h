// What a host program does with any package it is handed: open it, read the
// text of every paragraph, run and logical run, save a copy with SaveAs and
// open and read that copy, which must read the same. Shared by the mutation
// test and the fuzz target (so no test framework here), which judge a
// package the same way: it is refused with a WordException, or it goes all
// the way round, and a strict reader takes the copy's archive and XML.
#pragma once

#include <cstdint>
#include <string>

#include <vexrt/runtime.h>

struct RoundTripOutcome {
    enum Kind { Refused, Saved, Failed };
    Kind kind = Failed;
    int64_t errorNumber = 0;  // of the WordException that refused the package
    std::string failure;      // what went wrong, when Failed
};

// `copy` must not exist yet; it is left behind when SaveAs wrote it. Host
// objects, strings or faults the round trip leaves in the runtime make it
// Failed.
RoundTripOutcome PackageRoundTrip(vexrt::Runtime& rt, const std::string& package, const std::string& copy);
