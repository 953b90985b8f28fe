// Kept apart from plugin_test.cpp: only binaries that use LinkedTest pull in
// the linked plug-in's entry.
#include "plugin_test.h"

extern "C" void REALPluginMain(REALResolverProc resolver);

void LinkedTest::loadPlugin(vexrt::Runtime& rt) const { rt.loadLinked(&REALPluginMain); }
