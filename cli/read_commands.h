// vexword's commands that read a document: info, text, links, pictures and
// extract. Each opens the document through the plug-in (so that what the
// library refuses is refused, with its message), then reports what a
// reader sees in every part of the package (document_stories.h), as lines
// of text or, with --json, as one JSON document of the same facts.
#pragma once

#include <vexrt/runtime.h>

#include "command_line.h"

namespace cli {

int Info_Command(vexrt::Runtime& rt, const CommandArgs& args);
int Text_Command(vexrt::Runtime& rt, const CommandArgs& args);
int Links_Command(vexrt::Runtime& rt, const CommandArgs& args);
int Pictures_Command(vexrt::Runtime& rt, const CommandArgs& args);
int Extract_Command(vexrt::Runtime& rt, const CommandArgs& args);

}  // namespace cli
