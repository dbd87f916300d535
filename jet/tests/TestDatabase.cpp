#include "TestDatabase.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace jet_test {

TempFile::TempFile(const std::string& name) : path_("jet-test-" + name) {
    std::remove(path_.c_str());
}

TempFile::~TempFile() {
    std::remove(path_.c_str());
}

Rows query(const jet::Database& database, const std::string& statement,
           const jet::Collation& collation) {
    auto cursor = database.execute(statement, collation);
    Rows rows;
    while (cursor->next()) {
        std::vector<std::string> row;
        for (std::size_t i = 0; i < cursor->columnNames().size(); ++i)
            row.push_back(cursor->value(i));
        rows.push_back(row);
    }
    return rows;
}

jet::TableData zipdexTable() {
    jet::TableData table;
    table.name = "Zipdex";
    table.columns = {{"PROVINCE"}, {"DC"}, {"YZBM"}, {"DHQH"}};
    table.rows = {
        {u8"北京市", u8"北京", "100000", "010"},        {u8"上海市", u8"上海", "200000", "021"},
        {u8"河北省", u8"石家庄", "050000", "0311"},     {u8"北京市", u8"海淀区", "100080", "010"},
        {u8"广东省", u8"广州", "510000", "020"},        {u8"河北省", u8"保定", "071000", "0312"},
        {u8"湖北省", u8"武汉", "430000", std::nullopt},
    };
    return table;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace jet_test
