// A host program that writes two numbered lists next to each other, each
// made with its own CreateListIndent, and a numbered list in the header:
// what `vexword text` must show as two lists that each count from 1.
//
//   two_lists OUT.docx
#include <iostream>
#include <vector>

#include <vexrt/runtime.h>

using vexrt::Object;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: two_lists OUT.docx\n";
        return 2;
    }
    try {
        vexrt::Runtime rt;
        rt.loadPlugin(vexrt::FindPlugin(VEXLOMARWORD_PLUGIN));
        Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(argv[1])}).object();
        rt.call(doc, "AppendParagraph", {"Packing"});
        const std::vector<std::vector<const char*>> lists = {{"Fold", "Wrap"}, {"Label", "Seal"}};
        for (const auto& list : lists) {
            Object numbers = rt.call(doc, "CreateListIndent", {false}).object();
            for (const char* text : list)
                rt.call(rt.call(doc, "AppendParagraph", {text}).object(), "SetListIndent", {numbers, 0});
        }
        const int kDefault = 0;
        Object header = rt.call(doc, "Header", {kDefault, true}).object();
        Object headerList = rt.call(doc, "CreateListIndent", {false}).object();
        rt.call(rt.call(header, "AppendParagraph", {"Header step"}).object(), "SetListIndent", {headerList, 0});
        rt.call(doc, "Save");
        return 0;
    } catch (const vexrt::HostException& e) {
        std::cerr << "two_lists: " << e.describe() << "\n";
        return 1;
    }
}
