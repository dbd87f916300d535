#include "CommandLine.h"
#include "jet/DatabaseWriter.h"
#include "jet/Error.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string readFile(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file)
        throw jet::Error("cannot open '" + path + "'");
    std::string content;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        content.append(buffer, got);
    if (std::ferror(file.get()))
        throw jet::Error("cannot read '" + path + "'");
    return content;
}

} // namespace

// mkmdb OUTPUT.mdb TABLE=FILE.csv [TABLE=FILE.csv ...]: one table per CSV file.
int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: mkmdb OUTPUT.mdb TABLE=FILE.csv [TABLE=FILE.csv ...]\n";
        return 2;
    }
    try {
        jet::DatabaseWriter writer;
        std::vector<std::string> text = utf8Arguments(argc, argv);
        for (int i = 2; i < argc; ++i) {
            std::string argument = argv[i];
            std::size_t equals = argument.find('=');
            std::size_t textEquals = text[i].find('=');
            if (equals == std::string::npos || equals == 0 || equals + 1 == argument.size())
                throw jet::Error("'" + text[i] + "' is not TABLE=FILE.csv");
            writer.addTable(jet::tableFromCsv(text[i].substr(0, textEquals),
                                              readFile(argument.substr(equals + 1))));
        }
        writer.save(argv[1]);
        return 0;
    } catch (const jet::Error& error) {
        std::cerr << "mkmdb: " << error.what() << '\n';
        return 1;
    }
}
