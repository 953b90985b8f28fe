// The API reference of the plug-in, as Markdown, made from what it
// registers with the host (the runtime's view of the module): never written
// by hand, so it cannot drift from the tables.
#pragma once

#include <string>

#include <vexrt/runtime.h>

namespace cli {

// Every class in registration order (super-class, interfaces, constants,
// properties with type and access, methods and shared methods with their
// declarations), then every enumeration with its entries.
std::string ApiReference_Markdown(const vexrt::ModuleInfo& module);

}  // namespace cli
