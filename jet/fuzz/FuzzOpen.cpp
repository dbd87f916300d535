#include "jet/Database.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

// The engine opens files by name, so each input goes through a file of this process.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/jet-fuzz-" + std::to_string(getpid()) + ".mdb";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        jet::Database database(path);
        for (const std::string& table : database.tableNames()) {
            auto scan = database.execute("SELECT * FROM [" + table + "]");
            const std::vector<std::string>& columns = scan->columnNames();
            while (scan->next())
                for (std::size_t i = 0; i < columns.size(); ++i)
                    scan->value(i);
            if (columns.empty())
                continue;
            auto distinct = database.execute(
                "SELECT DISTINCT [" + columns.front() + "] FROM [" + table + "] WHERE [" +
                columns.back() + "] LIKE '%[a-c]_%' OR NOT [" + columns.front() + "] = 'x'");
            while (distinct->next())
                distinct->value(0);
        }
    } catch (const jet::Error&) {
    }
    return 0;
}
