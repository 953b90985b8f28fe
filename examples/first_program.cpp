// The README's first host program: a letter with a title and a paragraph.
// Builds in the tree, and against an install with pkg-config or CMake's
// find_package(VexlomarWord), which both define VEXLOMARWORD_PLUGIN.
#include <cstdio>
#include <iostream>

#include <vexrt/runtime.h>

int main() {
    try {
        vexrt::Runtime rt;                               // the host
        rt.loadPlugin(VEXLOMARWORD_PLUGIN);              // calls REALPluginMain
        std::remove("letter.docx");                      // Create refuses an existing file
        vexrt::Object doc = rt.callShared("Document", "Create",
                                          {rt.makeFolderItem("letter.docx")}).object();
        rt.set(doc, "Title", "A letter");
        rt.call(doc, "AppendParagraph", {"Dear reader,"});
        rt.call(doc, "Save");
        std::cout << "wrote letter.docx\n";
    } catch (const vexrt::HostException& e) {            // what the plug-in raised
        std::cerr << e.className() << " " << e.errorNumber() << ": " << e.message() << "\n";
        return 1;
    } catch (const std::exception& e) {                  // a plug-in that cannot be loaded
        std::cerr << e.what() << "\n";
        return 1;
    }
}
