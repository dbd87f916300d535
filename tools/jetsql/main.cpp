#include "CommandLine.h"
#include "jet/Csv.h"
#include "jet/Database.h"

#include <cstdio>
#include <iostream>

// jetsql DATABASE [STATEMENT]: runs one SELECT and prints its rows as UTF-8 CSV with a
// header line; without a statement lists the user tables, one a line.
int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: jetsql DATABASE [STATEMENT]\n";
        return 2;
    }
    try {
        jet::Database database(argv[1]);
        if (argc == 2) {
            for (const std::string& name : database.tableNames())
                std::cout << name << '\n';
            return 0;
        }
        useBinaryStandardOutput();
        auto cursor = database.execute(utf8Arguments(argc, argv)[2]);
        std::string out = jet::csv::formatRecord(cursor->columnNames());
        while (cursor->next()) {
            jet::csv::appendRecord(out, cursor->values());
            if (out.size() > 1 << 16) {
                std::cout << out;
                out.clear();
            }
        }
        std::cout << out << std::flush;
        return 0;
    } catch (const jet::Error& error) {
        std::cout << std::flush;
        std::cerr << "jetsql: " << error.what() << '\n';
        return 1;
    }
}
