#include "jet/Csv.h"
#include "jet/Database.h"
#include "jet/DatabaseWriter.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>
#include <sys/resource.h>

// jet_bench [ROWS]: writes a Zipdex-shaped file of ROWS rows (default 200 000) and one a tenth
// of its size, then times jetsql against mdbtools on a full scan to CSV and a LIKE search
// (processor time, the best of three runs each), and the engine's peak memory on a full scan.

namespace {

const char* const fullScan = "SELECT * FROM [zipdex]";
const char* const search = "SELECT * FROM [zipdex] WHERE YZBM LIKE '%1000%'";

void writeZipdex(const std::string& path, std::size_t rows) {
    static const char* const provinces[] = {u8"北京市", u8"上海市", u8"广东省", u8"河北省",
                                            u8"湖北省", u8"四川省", u8"浙江省", u8"江苏省"};
    jet::TableData table;
    table.name = "Zipdex";
    table.columns = {{"PROVINCE"}, {"DC"}, {"YZBM"}, {"DHQH"}};
    char code[16];
    for (std::size_t i = 0; i < rows; ++i) {
        std::snprintf(code, sizeof code, "%06zu", (i * 7919) % 1000000);
        table.rows.push_back({std::string(provinces[i % 8]),
                              std::string(u8"地区") + std::to_string(i), std::string(code),
                              "0" + std::to_string(10 + i % 990)});
    }
    jet::DatabaseWriter writer;
    writer.addTable(std::move(table));
    writer.save(path);
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Child mode: runs one statement, formatting every row as CSV as jetsql does, and prints the
// rows and the peak memory in KB.
int scan(const std::string& path, const std::string& statement) {
    jet::Database database(path);
    auto cursor = database.execute(statement);
    std::size_t rows = 0, bytes = 0;
    std::string line;
    while (cursor->next()) {
        ++rows;
        line.clear();
        jet::csv::appendRecord(line, cursor->values());
        bytes += line.size();
    }
    std::printf("%zu %ld\n", rows, peakKilobytes());
    return bytes > 0 ? 0 : 1;
}

struct Run {
    std::size_t rows = 0;
    long peakKb = 0;
};

Run runChild(const std::string& self, const std::string& path, const std::string& statement) {
    std::string command = "'" + self + "' --scan '" + path + "' \"" + statement + "\"";
    Run run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe || std::fscanf(pipe, "%zu %ld", &run.rows, &run.peakKb) != 2)
        std::cerr << "jet_bench: the scan of " << path << " failed\n";
    if (pipe)
        pclose(pipe);
    return run;
}

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Processor time (user and system) of the command, the best of three runs: on a machine shared
// with other work, elapsed time says more about the neighbours than about the program.
double timeCommand(const std::string& command) {
    double best = 0;
    for (int run = 0; run < 3; ++run) {
        double before = childCpuSeconds();
        if (std::system(command.c_str()) != 0)
            std::cerr << "jet_bench: failed: " << command << '\n';
        double seconds = childCpuSeconds() - before;
        best = run == 0 || seconds < best ? seconds : best;
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--scan")
        return scan(argv[2], argv[3]);
    std::size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200000;
    const std::string big = "jet-bench-zipdex.mdb";
    const std::string small = "jet-bench-zipdex-small.mdb";
    writeZipdex(big, rows);
    writeZipdex(small, rows / 10);

    std::FILE* query = std::fopen("jet-bench-search.sql", "w");
    std::fprintf(query, "%s\n", search);
    std::fclose(query);

    Run ourScan = runChild(argv[0], big, fullScan);
    Run smallScan = runChild(argv[0], small, fullScan);
    const std::string jetsql = std::string("'") + JETSQL_PATH + "' " + big + " \"";
    double scanSeconds = timeCommand(jetsql + fullScan + "\" > /dev/null");
    double searchSeconds = timeCommand(jetsql + search + "\" > /dev/null");
    double exportSeconds = timeCommand("mdb-export " + big + " Zipdex > /dev/null");
    double sqlSeconds =
        timeCommand("mdb-sql -P -H -F -i jet-bench-search.sql " + big + " > /dev/null");

    std::printf("file: %zu rows; times are processor seconds\n", rows);
    std::printf("full scan to CSV  jetsql %.3f s   mdb-export %.3f s   jetsql / mdb-export %.2f "
                "(aim <= 0.4, was 0.60)\n",
                scanSeconds, exportSeconds, scanSeconds / exportSeconds);
    std::printf("LIKE search       jetsql %.3f s   mdb-sql    %.3f s   jetsql / mdb-sql    %.2f "
                "(aim <= 0.4, was about 0.8)\n",
                searchSeconds, sqlSeconds, searchSeconds / sqlSeconds);
    std::printf("peak memory of a full scan: %ld KB for %zu rows, %ld KB for %zu rows\n",
                ourScan.peakKb, ourScan.rows, smallScan.peakKb, smallScan.rows);
    std::remove(big.c_str());
    std::remove(small.c_str());
    std::remove("jet-bench-search.sql");
    return 0;
}
