// The demo host program: loads the plug-in through the runtime, shows what
// it registered, writes a short letter as a .docx, reopens it and prints it.
//
//   demo [OUT.docx]
#include <cstdio>
#include <iostream>
#include <string>

#include <vexrt/runtime.h>

#include "host_program.h"

using vexrt::Object;
using vexrt::Value;

static void PrintModule(const vexrt::Runtime& rt) {
    const vexrt::ModuleInfo* m = rt.module();
    if (!m) {
        std::cout << "no module registered\n";
        return;
    }
    std::cout << "module " << m->name << "\n";
    for (const auto& c : m->constants) std::cout << "  const " << c.name << " = " << c.value << "\n";
    std::cout << "  " << m->enums.size() << " enumerations:";
    for (const auto& e : m->enums) std::cout << " " << e.name << "(" << e.entries.size() << ")";
    std::cout << "\n  " << m->classes.size() << " classes:\n";
    for (const auto& c : m->classes) {
        std::cout << "    " << c.name;
        if (!c.superName.empty()) std::cout << " : " << c.superName;
        std::cout << "  (" << c.properties.size() << " properties, " << c.methods.size() << " methods, "
                  << c.sharedMethods.size() << " shared)\n";
    }
}

static const char* FieldKind(int64_t type) {
    switch (type) {
    case 1: return "date";
    case 2: return "time";
    case 3: return "hyperlink";
    case 4: return "page number";
    case 5: return "page count";
    case 0: return "none";
    default: return "unknown";
    }
}

// Every field of the body: its kind, its data and what it shows.
static void PrintFields(vexrt::Runtime& rt, const Object& doc) {
    std::cout << "fields:\n";
    const int64_t paragraphs = rt.get(doc, "ParagraphCount").integer();
    for (int64_t i = 0; i < paragraphs; ++i) {
        Object p = rt.call(doc, "Paragraph", {i}).object();
        const int64_t runs = rt.get(p, "LogicalRunCount").integer();
        for (int64_t r = 0; r < runs; ++r) {
            Object run = rt.call(p, "LogicalRun", {r}).object();
            if (!rt.get(run, "IsPartOfComplexRun").boolean()) continue;
            std::cout << "  " << FieldKind(rt.get(run, "ComplexRunFieldType").integer()) << ": data \""
                      << rt.get(run, "ComplexRunFieldData").text() << "\", shows \"" << rt.get(run, "Text").text()
                      << "\"\n";
        }
    }
}

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "build/out/demo.docx";
    try {
        vexrt::Runtime rt;
        rt.loadPlugin(example::PluginPath());
        PrintModule(rt);

        std::remove(out.c_str());
        {
            Object doc = rt.callShared("Document", "Create", {rt.makeFolderItem(out)}).object();
            rt.set(doc, "Title", "A letter from the demo");
            rt.set(doc, "Creator", "demo host program");
            for (const char* line : {"Dear Ms. Grüße,",
                                     "Thank you for your order of 12 March.\tIt ships today.",
                                     "Total:\t€ 1,250.00",
                                     "Kind regards,\nThe demo team"}) {
                rt.call(doc, "AppendParagraph", {line});
            }
            // Fields: the reader's word processor fills in their results.
            Object dated = rt.call(doc, "AppendParagraph", {"Written on "}).object();
            rt.call(dated, "AppendDateField", {rt.makeDateTime(2026, 12, 8, 9, 30, 0)});
            rt.call(dated, "AppendRun", {" at "});
            rt.call(dated, "AppendTimeField", {9, 30, 0});
            Object linked = rt.call(doc, "AppendParagraph", {"Track it on "}).object();
            rt.call(linked, "AppendHyperlinkField", {"our website", "https://example.org/orders"});
            rt.call(doc, "Save");
        }

        Object doc = rt.callShared("Document", "Open", {rt.makeFolderItem(out)}).object();
        std::cout << "\nwrote " << out << "\n";
        for (const char* p : {"Title", "Creator", "LastModifiedBy", "Revision"}) {
            Value v = rt.get(doc, p);
            std::cout << "  " << p << ": " << (v.isInteger() ? std::to_string(v.integer()) : v.text()) << "\n";
        }
        std::cout << "paragraphs:\n";
        for (const auto& t : example::ParagraphTexts(rt, doc)) std::cout << "  | " << t << "\n";
        PrintFields(rt, doc);
    } catch (const vexrt::HostException& e) {
        std::cerr << "demo: " << example::Describe(e) << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "demo: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
