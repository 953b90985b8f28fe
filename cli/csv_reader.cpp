#include "csv_reader.h"

namespace cli {

CsvTable Csv_Parse(std::string_view text) {
    CsvTable table;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    size_t line = 1;
    size_t at = 0;
    const size_t end = text.size();
    while (at < end) {
        CsvRecord record;
        record.line = line;
        // An empty line: no record.
        if (text[at] == '\n' || (text[at] == '\r' && at + 1 < end && text[at + 1] == '\n')) {
            at += text[at] == '\r' ? 2 : 1;
            ++line;
            continue;
        }
        for (;;) {
            std::string field;
            if (at < end && text[at] == '"') {
                const size_t opened = line;
                ++at;
                for (;;) {
                    if (at >= end) {
                        table.error = "line " + std::to_string(opened) + ": a quoted field is not closed";
                        return table;
                    }
                    const char c = text[at++];
                    if (c == '"') {
                        if (at < end && text[at] == '"') {
                            field += '"';
                            ++at;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n') ++line;
                    field += c;
                }
                if (at < end && text[at] != ',' && text[at] != '\n' && !(text[at] == '\r')) {
                    table.error = "line " + std::to_string(line) + ": text after a closing quote";
                    return table;
                }
            } else {
                while (at < end && text[at] != ',' && text[at] != '\n' &&
                       !(text[at] == '\r' && at + 1 < end && text[at + 1] == '\n'))
                    field += text[at++];
            }
            record.fields.push_back(std::move(field));
            if (at < end && text[at] == ',') {
                ++at;
                continue;
            }
            if (at < end && text[at] == '\r') ++at;
            if (at < end && text[at] == '\n') {
                ++at;
                ++line;
            }
            break;
        }
        table.records.push_back(std::move(record));
    }
    return table;
}

}  // namespace cli
