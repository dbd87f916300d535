#include "jet/Csv.h"

#include "jet/Error.h"

namespace jet::csv {

std::vector<std::vector<std::string>> parse(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::size_t line = 1;
    while (at < text.size()) {
        std::vector<std::string> record;
        for (;;) {
            std::string field;
            if (at < text.size() && text[at] == '"') {
                std::size_t openLine = line;
                for (++at;; ++at) {
                    if (at >= text.size())
                        throw Error("CSV line " + std::to_string(openLine) +
                                    ": a quoted field is not closed");
                    if (text[at] == '"') {
                        if (at + 1 < text.size() && text[at + 1] == '"') {
                            field += '"';
                            ++at;
                            continue;
                        }
                        ++at;
                        break;
                    }
                    if (text[at] == '\n')
                        ++line;
                    field += text[at];
                }
                if (at < text.size() && text[at] != ',' && text[at] != '\n' && text[at] != '\r')
                    throw Error("CSV line " + std::to_string(line) +
                                ": text follows a closing quote");
            } else {
                while (at < text.size() && text[at] != ',' && text[at] != '\n' && text[at] != '\r')
                    field += text[at++];
            }
            record.push_back(std::move(field));
            if (at < text.size() && text[at] == ',') {
                ++at;
                continue;
            }
            break;
        }
        if (at < text.size() && text[at] == '\r')
            ++at;
        if (at < text.size() && text[at] == '\n')
            ++at;
        ++line;
        records.push_back(std::move(record));
    }
    return records;
}

std::string formatRecord(const std::vector<std::string>& fields) {
    std::string line;
    appendRecord(line, fields);
    return line;
}

void appendRecord(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        const std::string& field = fields[i];
        bool plain = true;
        for (char c : field)
            plain = plain && c != ',' && c != '"' && c != '\r' && c != '\n';
        if (plain) {
            out += field;
            continue;
        }
        out += '"';
        for (char c : field) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
}

} // namespace jet::csv
