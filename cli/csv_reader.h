// Reading comma-separated data as spreadsheets write it (RFC 4180): fields
// in double quotes may hold commas, line breaks and doubled quotes; a UTF-8
// byte-order mark at the start is dropped; records end with CRLF or LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct CsvRecord {
    std::vector<std::string> fields;
    size_t line = 0;  // the line the record starts on, from 1
};

struct CsvTable {
    std::vector<CsvRecord> records;  // the header row first
    std::string error;               // empty when the whole text was read
};

// Splits `text` into records. A quote inside an unquoted field is kept as
// it is; text after a closing quote up to the next comma is an error, as
// is a quoted field left open at the end. An empty line is no record.
CsvTable Csv_Parse(std::string_view text);

}  // namespace cli
