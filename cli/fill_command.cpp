#include "fill_command.h"

#include "command_line.h"
#include "file_problems.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

#include <nlohmann/json.hpp>

#include "csv_reader.h"
#include "fill_reports.h"
#include "package_fill.h"

using vexrt::Object;

namespace cli {

const char* const kFillHelp =
    "forms:\n"
    "  vexword fill TEMPLATE.docx OUT.docx NAME=VALUE...   each pair, in order\n"
    "  vexword fill TEMPLATE.docx OUT.docx --json PAIRS.json\n"
    "  vexword fill TEMPLATE.docx --csv DATA.csv --out DIR [--name COLUMN] [--jobs N]\n"
    "Each placeholder (any text: {name}, [[NAME]]...) is filled wherever a reader\n"
    "sees it: body, every section's headers and footers, footnotes, endnotes,\n"
    "content controls, text boxes, links, field results and the core properties;\n"
    "in one pass (a value is never filled again); a line feed in a value becomes\n"
    "a line break, a tab a tab.\n"
    "\n"
    "options:\n"
    "  --json FILE    the pairs of one JSON object, in its order; numbers and truth\n"
    "                 values as JSON writes them, null as empty text; an array of\n"
    "                 objects repeats each table row holding one of its names (or\n"
    "                 the key itself), once per object; an empty array removes it\n"
    "  --csv FILE     one document per data row (a mail merge); the header row names\n"
    "                 the placeholders; quoted fields may hold commas, doubled quotes\n"
    "                 and line breaks\n"
    "  --out DIR      with --csv: the folder the documents go to (made if missing)\n"
    "  --name COLUMN  with --csv: each document is named by the value of this column\n"
    "                 (characters a file name cannot hold become _, a name taken\n"
    "                 twice gets -ROW); without it: row-1.docx, row-2.docx...,\n"
    "                 zero-padded to the digits of the row count (row-001.docx for\n"
    "                 100 to 999 rows)\n"
    "  --jobs N       with --csv: N worker processes (default: one per core)\n"
    "  --across-runs  also fill placeholders a word processor split across runs\n"
    "                 (without it, each such placeholder is warned of)\n"
    "  --pattern REGEX  what a placeholder looks like (ECMAScript; may be repeated;\n"
    "                 default {...} [[...]] <<...>> \xC2\xAB...\xC2\xBB), for the reports below\n"
    "  --strict       a name matching nothing in the template, or a placeholder\n"
    "                 that would be left, is an error found before anything is\n"
    "                 written (exit status 1)\n"
    "  --force        replace output files that exist: each new file is written\n"
    "                 beside the old one and renamed over it; a symbolic link stays\n"
    "                 a link (the file it names is replaced); a directory, device,\n"
    "                 FIFO or socket is never replaced\n"
    "\n"
    "Each name (a CSV column: once) that matches nothing in the template is warned\n"
    "of, and so, once written, is each placeholder a document still holds\n"
    "(\"vexword placeholders\" lists those of a template).\n"
    "\n"
    "Exit status: 0 every document written, 1 one failed (each failed row is\n"
    "reported as \"vexword fill: row N: ...\"), 2 usage error.\n";

namespace {

typedef std::vector<std::pair<std::string, std::string>> Pairs;

struct FillOptions {
    std::string templatePath, outPath;
    Pairs pairs;
    std::vector<FillRows> rows;  // from --json: arrays of objects repeat table rows
    std::string jsonPath, csvPath, outDir, nameColumn;
    bool acrossRuns = false;
    bool force = false;  // an existing output file may be replaced
    int jobs = 0;  // 0: one per core
    FillReportOptions reports;  // unmatched names and placeholders left
};

int Usage(const std::string& why) {
    if (!why.empty()) std::cerr << "vexword fill: " << why << "\n";
    std::cerr << "usage: vexword fill TEMPLATE.docx OUT.docx NAME=VALUE... [--across-runs]\n"
                 "       vexword fill TEMPLATE.docx OUT.docx --json PAIRS.json [--across-runs]\n"
                 "       vexword fill TEMPLATE.docx --csv DATA.csv --out DIR [--name COLUMN] [--jobs N]"
                 " [--across-runs]\n"
                 "       any of them with [--pattern REGEX]... [--strict]\n"
                 "\"vexword help fill\" explains the command and its options.\n";
    return 2;
}

bool ReadFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    out = bytes.str();
    return !in.bad();
}

bool IsUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t more;
        if (c < 0x80)
            more = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            more = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            more = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            more = 3;
        else
            return false;
        if (s.size() - i <= more) return false;
        for (size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += more + 1;
    }
    return true;
}

// A JSON value as a text: strings as they are, numbers and truth values as
// JSON writes them, null as an empty text; false for objects and arrays.
bool JsonText(const nlohmann::ordered_json& value, std::string& text) {
    if (value.is_string())
        text = value.get<std::string>();
    else if (value.is_null())
        text.clear();
    else if (value.is_primitive())
        text = value.dump();
    else
        return false;
    return true;
}

// The pairs of a JSON object; an array of objects is a list of items, each
// filling a copy of the table rows that hold its names.
bool PairsFromJson(const std::string& path, Pairs& pairs, std::vector<FillRows>& rows, std::string& error) {
    std::string text;
    if (!ReadFile(path, text)) {
        error = path + ": cannot be read";
        return false;
    }
    nlohmann::ordered_json json = nlohmann::ordered_json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        error = path + ": not a JSON object";
        return false;
    }
    for (const auto& [name, value] : json.items()) {
        std::string shown;
        if (JsonText(value, shown)) {
            pairs.emplace_back(name, shown);
            continue;
        }
        if (!value.is_array()) {
            error = path + ": the value of \"" + name + "\" is not a text, number, truth value or array of objects";
            return false;
        }
        FillRows list{name, {}};
        for (const auto& item : value) {
            if (!item.is_object()) {
                error = path + ": \"" + name + "\" holds something other than objects";
                return false;
            }
            Pairs itemPairs;
            for (const auto& [key, field] : item.items()) {
                if (!JsonText(field, shown)) {
                    error = path + ": \"" + name + "\": the value of \"" + key + "\" is not a text, number or truth value";
                    return false;
                }
                itemPairs.emplace_back(key, shown);
            }
            list.items.push_back(std::move(itemPairs));
        }
        rows.push_back(std::move(list));
    }
    return true;
}

// A host exception out of opening names the file and what is wrong with it.
Object Open(vexrt::Runtime& rt, const std::string& path) {
    Object doc;
    cli::FileProblem_Guard(path, cli::FileUse::Read,
                           [&] { doc = rt.callShared("Document", "Open", {rt.makeFolderItem(path)}).object(); });
    return doc;
}

std::string Places(const std::vector<std::string>& places) {
    std::string text;
    for (const std::string& place : places) text += (text.empty() ? "" : ", ") + place;
    return text;
}

std::string Paragraphs(int count) { return std::to_string(count) + (count == 1 ? " paragraph" : " paragraphs"); }

// Warns of each placeholder a word processor split across runs (joined with
// --across-runs), and of each that cannot be filled where it stands, with why.
void WarnOfSplitPlaceholders(const FillReport& report) {
    for (const auto& [name, paragraphs] : report.split)
        std::cerr << "vexword fill: warning: \"" << name << "\" is split across runs in " << Paragraphs(paragraphs)
                  << " (" << Places(report.splitWhere.at(name))
                  << "; a proofing mark or a format change inside it) and is not filled there;"
                     " --across-runs fills it\n";
    for (const auto& [place, paragraphs] : report.unfillable)
        std::cerr << "vexword fill: warning: \"" << place.first << "\" " << place.second << " in "
                  << Paragraphs(paragraphs) << " and cannot be filled there\n";
}

FillRequest RequestOf(const FillOptions& options, const Pairs& pairs) {
    FillRequest request;
    request.pairs = pairs;
    request.rows = options.rows;
    request.acrossRuns = options.acrossRuns;
    request.oneThread = !options.csvPath.empty();
    // A result none of whose parts holds a default pattern's opening mark
    // (as the bytes write it) holds no placeholder: it needs no scan.
    if (options.reports.patterns.defaults) request.markers = {"{", "[[", "&lt;&lt;", "\xC2\xAB"};
    return request;
}

// Fills one document and saves it to `out`. `keep`, when given, is asked
// once the new file is complete and may still refuse it (it throws): the
// file goes, as after any other failure.
FillReport FillOne(const FillOptions& options, const Pairs& pairs, const std::string& out,
                   const std::function<void()>& keep = nullptr) {
    const std::string refusal = OutputFile_Refusal(out, options.force);
    if (!refusal.empty()) throw std::runtime_error(refusal);
    FillReport report;
    // OUT is at every moment the old file or the complete new one.
    try {
        if (!OutputFile_Write(out, true, [&](const std::string& path) {
                PackageFill_Run(options.templatePath, RequestOf(options, pairs), path, report);
                if (!keep) return;
                try {
                    keep();
                } catch (...) {
                    ::unlink(path.c_str());
                    throw;
                }
            }))
            throw std::runtime_error(OutputFile_Refusal(out, true));
    } catch (const FileError&) {
        throw;
    } catch (const std::runtime_error&) {
        // Said in a user's words where the folder is the cause.
        const std::string why = FileProblem_Describe(out, FileUse::Write);
        if (!why.empty()) throw FileError(out + ": " + why);
        throw;
    }
    return report;
}

// The template opened through the plug-in on a thread of its own, while
// the package is filled: what the library refuses is refused, with its
// message, at the cost of neither waiting for the other.
class TemplateCheck {
public:
    TemplateCheck(vexrt::Runtime& rt, const std::string& path)
        : thread_([this, &rt, path] {
              try {
                  Open(rt, path);
              } catch (...) {
                  refused_ = std::current_exception();
              }
          }) {}
    ~TemplateCheck() {
        if (thread_.joinable()) thread_.join();
    }
    // Waits for the check; throws what the plug-in raised.
    void Wait() {
        if (thread_.joinable()) thread_.join();
        if (refused_) std::rethrow_exception(refused_);
    }

private:
    std::exception_ptr refused_;
    std::thread thread_;
};

int FillWithPairs(vexrt::Runtime& rt, FillOptions options) {
    Pairs pairs = options.pairs;
    if (!options.jsonPath.empty()) {
        std::string error;
        if (!PairsFromJson(options.jsonPath, pairs, options.rows, error)) {
            std::cerr << "vexword fill: " << error << "\n";
            return 1;
        }
    }
    for (const auto& [name, value] : pairs)
        if (!IsUtf8(name) || !IsUtf8(value)) {
            std::cerr << "vexword fill: \"" << name << "\": not UTF-8 text\n";
            return 1;
        }
    for (const FillRows& list : options.rows)
        for (const Pairs& item : list.items)
            for (const auto& [name, value] : item)
                if (!IsUtf8(name) || !IsUtf8(value)) {
                    std::cerr << "vexword fill: \"" << list.key << "\": \"" << name << "\": not UTF-8 text\n";
                    return 1;
                }
    std::vector<std::string> names;
    for (const auto& pair : pairs) names.push_back(pair.first);
    for (const FillRows& list : options.rows)
        for (const Pairs& item : list.items)
            for (const auto& pair : item)
                if (std::find(names.begin(), names.end(), pair.first) == names.end()) names.push_back(pair.first);
    // --strict decides before anything is written; otherwise the fill's own
    // pass tells which names it met.
    if (options.reports.strict && !FillReport_BeforePairs(options.templatePath, names, options.reports)) return 1;
    TemplateCheck check(rt, options.templatePath);
    FillReport report;
    try {
        report = FillOne(options, pairs, options.outPath, [&] { check.Wait(); });
    } catch (...) {
        check.Wait();  // the library's refusal, where there is one, says more
        throw;
    }
    if (!options.reports.strict) FillReport_Unmatched(names, report);
    WarnOfSplitPlaceholders(report);
    if (!options.reports.patterns.defaults || report.markerSeen) FillReport_Left(options.outPath, options.reports, "");
    return 0;
}

// ---------------------------------------------------------------- batch

// A file name from a cell's text: path separators, control characters and
// leading dots go; at most 100 bytes (cut before a UTF-8 sequence).
std::string FileNameFrom(const std::string& text) {
    std::string name;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            name += '_';
        else
            name += c;
    }
    while (!name.empty() && (name.front() == '.' || name.front() == ' ')) name.erase(0, 1);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.size() > 100) {
        size_t cut = 100;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return name;
}

struct BatchRow {
    size_t number;  // 1 for the first row after the header
    Pairs pairs;
    std::string out;
    std::string error;  // set before filling: the row is not filled
};

// What one row came to, as a worker reports it, one a line: "NUMBER ok"
// ("NUMBER ok marked" when a part written still holds a placeholder's
// opening mark) or "NUMBER fail MESSAGE".
std::string FillRow(const FillOptions& options, const BatchRow& row) {
    std::string message = row.error;
    bool marked = false;
    if (message.empty()) {
        try {
            marked = FillOne(options, row.pairs, row.out).markerSeen;
        } catch (const vexrt::HostException& e) {
            message = e.describe();
        } catch (const std::exception& e) {
            message = e.what();
        }
    }
    std::replace(message.begin(), message.end(), '\n', ' ');
    return std::to_string(row.number) + (message.empty() ? (marked ? " ok marked" : " ok") : " fail " + message) +
           "\n";
}

class Progress {
public:
    Progress(size_t total) : total_(total), start_(Clock::now()), terminal_(isatty(STDERR_FILENO)) {}

    void Done(size_t done) {
        done_ = done;
        if (!terminal_) return;
        const auto now = Clock::now();
        if (done != total_ && now - shown_ < std::chrono::milliseconds(100)) return;
        shown_ = now;
        const double seconds = Seconds();
        const double rate = seconds > 0 ? done / seconds : 0;
        const int width = 30, filled = total_ ? int(width * done / total_) : width;
        char line[160];
        std::snprintf(line, sizeof line, "\r[%s%s] %zu/%zu rows  %.0f rows/s  %s left ",
                      std::string(size_t(filled), '#').c_str(), std::string(size_t(width - filled), ' ').c_str(),
                      done, total_, rate,
                      rate > 0 ? (std::to_string(int((total_ - done) / rate + 0.5)) + " s").c_str() : "?");
        std::cerr << line << std::flush;
    }

    void Finish(size_t failed, const std::string& dir) {
        if (terminal_) std::cerr << "\n";
        const double seconds = Seconds();
        char line[200];
        std::snprintf(line, sizeof line, "vexword fill: %zu of %zu documents written to %s in %.1f s (%.0f rows/s)",
                      done_ - failed, total_, dir.c_str(), seconds, seconds > 0 ? done_ / seconds : 0.0);
        std::cerr << line << (failed ? ", " + std::to_string(failed) + " failed" : std::string()) << "\n";
    }

private:
    typedef std::chrono::steady_clock Clock;
    double Seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }
    size_t total_, done_ = 0;
    Clock::time_point start_, shown_{};
    bool terminal_;
};

bool PrepareRows(const FillOptions& options, std::vector<BatchRow>& rows, std::vector<std::string>& names,
                 std::string& error) {
    std::string text;
    if (!ReadFile(options.csvPath, text)) {
        error = options.csvPath + ": cannot be read";
        return false;
    }
    CsvTable table = Csv_Parse(text);
    if (!table.error.empty()) {
        error = options.csvPath + ": " + table.error;
        return false;
    }
    if (table.records.empty()) {
        error = options.csvPath + ": no header row";
        return false;
    }
    names = table.records[0].fields;
    size_t nameColumn = names.size();
    if (!options.nameColumn.empty()) {
        nameColumn = size_t(std::find(names.begin(), names.end(), options.nameColumn) - names.begin());
        if (nameColumn == names.size()) {
            error = options.csvPath + ": no column \"" + options.nameColumn + "\"";
            return false;
        }
    }
    const size_t count = table.records.size() - 1;
    const int digits = int(std::to_string(count).size());
    std::set<std::string> taken;
    for (size_t i = 1; i <= count; ++i) {
        const CsvRecord& record = table.records[i];
        BatchRow row;
        row.number = i;
        if (record.fields.size() != names.size()) {
            row.error = "line " + std::to_string(record.line) + ": " + std::to_string(record.fields.size()) +
                        " fields, the header has " + std::to_string(names.size());
        } else {
            for (size_t c = 0; c < names.size(); ++c) {
                if (!IsUtf8(record.fields[c]) && row.error.empty())
                    row.error = "the value of \"" + names[c] + "\" is not UTF-8 text";
                row.pairs.emplace_back(names[c], record.fields[c]);
            }
        }
        std::string base;
        if (nameColumn < names.size() && nameColumn < record.fields.size())
            base = FileNameFrom(record.fields[nameColumn]);
        if (base.empty()) {
            char number[32];
            std::snprintf(number, sizeof number, "row-%0*zu", digits, i);
            base = number;
        }
        if (!taken.insert(base).second) {
            base += "-" + std::to_string(i);
            taken.insert(base);
        }
        row.out = (std::filesystem::path(options.outDir) / (base + ".docx")).string();
        rows.push_back(std::move(row));
    }
    return true;
}

int FillBatch(vexrt::Runtime& rt, const FillOptions& options) {
    std::vector<BatchRow> rows;
    std::vector<std::string> names;
    std::string error;
    if (!PrepareRows(options, rows, names, error)) {
        std::cerr << "vexword fill: " << error << "\n";
        return 1;
    }
    if (!FillReport_BeforeBatch(options.templatePath, options.csvPath, names, options.nameColumn, options.reports))
        return 1;
    std::error_code made;
    std::filesystem::create_directories(options.outDir, made);
    if (made) {
        std::cerr << "vexword fill: " << options.outDir << ": " << made.message() << "\n";
        return 1;
    }
    // The template through the plug-in once, then what every row will meet.
    Open(rt, options.templatePath);
    {
        Pairs placeholders;
        for (const std::string& name : names) placeholders.emplace_back(name, "");
        FillReport report;
        PackageFill_Run(options.templatePath, RequestOf(options, placeholders), "", report);
        WarnOfSplitPlaceholders(report);
    }

    long cores = sysconf(_SC_NPROCESSORS_ONLN);
    size_t workers = options.jobs > 0 ? size_t(options.jobs) : size_t(cores > 0 ? cores : 1);
    workers = std::max<size_t>(1, std::min(workers, rows.size()));

    Progress progress(rows.size());
    std::map<size_t, std::string> failures;  // row number -> message
    std::set<size_t> reported, marked;
    auto record = [&](const std::string& line) {
        std::istringstream in(line);
        size_t number = 0;
        std::string status;
        in >> number >> status;
        reported.insert(number);
        if (status == "ok") {
            std::string mark;
            if (in >> mark && mark == "marked") marked.insert(number);
        } else {
            std::string message;
            std::getline(in, message);
            failures[number] = message.empty() ? "failed" : message.substr(1);
        }
        progress.Done(reported.size());
    };

    if (workers == 1) {
        for (const BatchRow& row : rows) record(FillRow(options, row));
    } else {
        // One process per worker, each with its own copy of the loaded
        // plug-in; worker w fills rows w, w + workers, ... and reports each
        // on its pipe.
        std::cout.flush();
        std::cerr.flush();
        std::vector<pid_t> pids;
        std::vector<pollfd> pipes;
        for (size_t w = 0; w < workers; ++w) {
            int fds[2];
            if (pipe(fds) != 0) break;
            const pid_t pid = fork();
            if (pid < 0) {
                close(fds[0]);
                close(fds[1]);
                break;
            }
            if (pid == 0) {
                close(fds[0]);
                for (size_t i = w; i < rows.size(); i += workers) {
                    const std::string line = FillRow(options, rows[i]);
                    for (size_t written = 0; written < line.size();) {
                        const ssize_t n = write(fds[1], line.data() + written, line.size() - written);
                        if (n < 0 && errno == EINTR) continue;
                        if (n <= 0) _exit(3);
                        written += size_t(n);
                    }
                }
                _exit(0);
            }
            close(fds[1]);
            pids.push_back(pid);
            pipes.push_back(pollfd{fds[0], POLLIN, 0});
        }
        const size_t started = pids.size();
        std::vector<std::string> pending(pipes.size());
        size_t open = pipes.size();
        while (open > 0) {
            if (poll(pipes.data(), pipes.size(), -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            for (size_t p = 0; p < pipes.size(); ++p) {
                if (pipes[p].fd < 0 || !pipes[p].revents) continue;
                char buffer[4096];
                const ssize_t n = read(pipes[p].fd, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) {
                    close(pipes[p].fd);
                    pipes[p].fd = -1;
                    --open;
                    continue;
                }
                pending[p].append(buffer, size_t(n));
                for (size_t end; (end = pending[p].find('\n')) != std::string::npos;) {
                    record(pending[p].substr(0, end));
                    pending[p].erase(0, end + 1);
                }
            }
        }
        for (pid_t pid : pids) waitpid(pid, nullptr, 0);
        // Rows of a worker that stopped early, or that never started.
        for (size_t i = 0; i < rows.size(); ++i)
            if (!reported.count(rows[i].number)) {
                failures[rows[i].number] = i % workers < started ? "the worker filling it stopped"
                                                                 : "no worker could be started";
                reported.insert(rows[i].number);
            }
    }
    progress.Done(reported.size());
    progress.Finish(failures.size(), options.outDir);
    for (const auto& [number, message] : failures)
        std::cerr << "vexword fill: row " << number << ": " << message << "\n";
    // Only a document that still holds a pattern's opening mark can hold a
    // placeholder left.
    for (const BatchRow& row : rows)
        if (!failures.count(row.number) && (!options.reports.patterns.defaults || marked.count(row.number)))
            FillReport_Left(row.out, options.reports, "row " + std::to_string(row.number) + ": ");
    return failures.empty() ? 0 : 1;
}

}  // namespace

int FillCommand(vexrt::Runtime& rt, const std::vector<std::string>& args, bool force) {
    FillOptions options;
    options.force = force;
    std::vector<std::string> positional, patterns;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (a == "--across-runs") {
            options.acrossRuns = true;
        } else if (a == "--strict") {
            options.reports.strict = true;
        } else if (a == "--pattern") {
            patterns.emplace_back();
            if (!value(patterns.back())) return Usage(a + " needs a value");
        } else if (a == "--json" || a == "--csv" || a == "--out" || a == "--name" || a == "--jobs") {
            std::string v;
            if (!value(v)) return Usage(a + " needs a value");
            if (a == "--json") options.jsonPath = v;
            if (a == "--csv") options.csvPath = v;
            if (a == "--out") options.outDir = v;
            if (a == "--name") options.nameColumn = v;
            if (a == "--jobs") {
                options.jobs = std::atoi(v.c_str());
                if (options.jobs <= 0) return Usage("--jobs takes a number above 0");
            }
        } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            return Usage("unknown option " + a);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.empty()) return Usage("");
    std::string error;
    if (!PlaceholderPatterns_Make(patterns, options.reports.patterns, error)) return Usage("--pattern " + error);
    options.reports.acrossRuns = options.acrossRuns;
    options.templatePath = positional[0];
    if (!options.csvPath.empty()) {
        if (positional.size() != 1 || options.outDir.empty() || !options.jsonPath.empty())
            return Usage("--csv takes the template, --out DIR and no pairs");
        return FillBatch(rt, options);
    }
    if (!options.outDir.empty() || !options.nameColumn.empty() || options.jobs)
        return Usage("--out, --name and --jobs go with --csv");
    if (positional.size() < 2) return Usage("");
    options.outPath = positional[1];
    for (size_t i = 2; i < positional.size(); ++i) {
        const size_t eq = positional[i].find('=');
        if (eq == std::string::npos || eq == 0) return Usage("not a NAME=VALUE pair: " + positional[i]);
        options.pairs.emplace_back(positional[i].substr(0, eq), positional[i].substr(eq + 1));
    }
    if (options.pairs.empty() && options.jsonPath.empty())
        return Usage("nothing to fill: give NAME=VALUE pairs or --json");
    return FillWithPairs(rt, options);
}

}  // namespace cli
