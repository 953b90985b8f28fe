#include "package_round_trip.h"

#include <stdexcept>
#include <vector>

#include "check/package_check.h"

namespace {

const char kWordException[] = "VexlomarWord.WordException";

std::string Describe(const vexrt::HostException& e) {
    return e.className() + " \"" + e.message() + "\" (" + std::to_string(e.errorNumber()) + ")";
}

vexrt::Object Item(vexrt::Runtime& rt, const vexrt::Object& owner, const char* method, int64_t index) {
    vexrt::Object item = rt.call(owner, method, {index}).object();
    if (!item) throw std::runtime_error(std::string(method) + "(" + std::to_string(index) + ") is nil below its count");
    return item;
}

// Everything a reader of the body sees as text, in order.
std::vector<std::string> BodyText(vexrt::Runtime& rt, const vexrt::Object& doc) {
    std::vector<std::string> texts;
    const int64_t paragraphs = rt.get(doc, "ParagraphCount").integer();
    for (int64_t i = 0; i < paragraphs; ++i) {
        vexrt::Object paragraph = Item(rt, doc, "Paragraph", i);
        texts.push_back(rt.get(paragraph, "Text").text());
        const int64_t runs = rt.get(paragraph, "RunCount").integer();
        for (int64_t j = 0; j < runs; ++j)
            texts.push_back(rt.get(Item(rt, paragraph, "Run", j), "Text").text());
        const int64_t logicalRuns = rt.get(paragraph, "LogicalRunCount").integer();
        for (int64_t j = 0; j < logicalRuns; ++j)
            texts.push_back(rt.get(Item(rt, paragraph, "LogicalRun", j), "Text").text());
    }
    return texts;
}

// What a strict reader refuses in a saved package: its archive, or the XML
// of a part (expat with namespaces). Empty when there is nothing.
std::string UnreadableIn(const std::string& copy) {
    const cli::CheckReport report = cli::Check_PackageFile(copy, cli::CheckOptions());
    for (const cli::Finding& f : report.findings)
        if (f.severity == cli::Severity::Error && (f.rule == "zip" || f.rule == "xml"))
            return "the copy's " + f.part + " is refused by a strict reader: " + f.message;
    return std::string();
}

vexrt::Object Open(vexrt::Runtime& rt, const std::string& path) {
    vexrt::Object doc = rt.callShared("Document", "Open", {rt.makeFolderItem(path)}).object();
    if (!doc) throw std::runtime_error("Open gave nil without an exception");
    return doc;
}

// Well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF) of characters XML allows (no C0 controls but tab, line feed
// and carriage return; no U+FFFE or U+FFFF).
bool IsXmlText(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length;
        unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
            length = 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
        }
        if (c == 0xEF && text.compare(i, 3, "\xEF\xBF\xBE") == 0) return false;
        if (c == 0xEF && text.compare(i, 3, "\xEF\xBF\xBF") == 0) return false;
        i += length;
    }
    return true;
}

// Where the copy reads differently, or empty. Text that XML cannot hold may
// be repaired on saving, so it is not compared.
std::string FirstDifference(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    size_t i = 0;
    while (i < before.size() && i < after.size() && (before[i] == after[i] || !IsXmlText(before[i]))) ++i;
    if (i == before.size() && i == after.size()) return std::string();
    auto text = [](const std::vector<std::string>& texts, size_t at) {
        return at < texts.size() ? "\"" + texts[at] + "\"" : std::string("nothing");
    };
    return "the copy reads " + text(after, i) + " where the package read " + text(before, i) +
           " (text " + std::to_string(i) + ")";
}

}  // namespace

RoundTripOutcome PackageRoundTrip(vexrt::Runtime& rt, const std::string& package, const std::string& copy) {
    RoundTripOutcome outcome;
    const size_t objects = rt.liveObjects(), strings = rt.liveStrings(), stringData = rt.openStringData();
    std::string stage = "Open";
    try {
        std::vector<std::string> before;
        {
            vexrt::Object doc;
            try {
                doc = Open(rt, package);
            } catch (const vexrt::HostException& e) {
                if (e.className() != kWordException) throw;
                outcome.kind = RoundTripOutcome::Refused;
                outcome.errorNumber = e.errorNumber();
            }
            if (doc) {
                stage = "reading";
                before = BodyText(rt, doc);
                stage = "SaveAs";
                rt.call(doc, "SaveAs", {rt.makeFolderItem(copy)});
            }
        }
        if (outcome.kind != RoundTripOutcome::Refused) {
            stage = "checking the copy";
            const std::string unreadable = UnreadableIn(copy);
            if (!unreadable.empty()) throw std::runtime_error(unreadable);
            stage = "opening the copy";
            vexrt::Object saved = Open(rt, copy);
            stage = "reading the copy";
            outcome.failure = FirstDifference(before, BodyText(rt, saved));
            if (outcome.failure.empty()) outcome.kind = RoundTripOutcome::Saved;
        }
    } catch (const vexrt::HostException& e) {
        outcome.failure = stage + " raised " + Describe(e);
    } catch (const std::exception& e) {
        outcome.failure = stage + ": " + e.what();
    }
    if (!outcome.failure.empty()) outcome.kind = RoundTripOutcome::Failed;

    std::string left;
    for (const std::string& fault : rt.takeFaults()) left += "; plug-in fault: " + fault;
    if (auto e = rt.takeRaisedException()) left += "; an exception was never delivered: " + std::string(e->what());
    if (rt.liveObjects() > objects) left += "; " + std::to_string(rt.liveObjects() - objects) + " host objects left alive";
    if (rt.liveStrings() > strings) left += "; " + std::to_string(rt.liveStrings() - strings) + " host strings left alive";
    if (rt.openStringData() > stringData) left += "; string data left undisposed";
    if (!left.empty()) {
        outcome.kind = RoundTripOutcome::Failed;
        outcome.failure += outcome.failure.empty() ? left.substr(2) : left;
    }
    return outcome;
}
