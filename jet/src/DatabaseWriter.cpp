#include "jet/DatabaseWriter.h"

#include "Bytes.h"
#include "Format.h"
#include "Rc4.h"
#include "Text.h"
#include "jet/Csv.h"
#include "jet/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

namespace jet {

namespace {

constexpr std::size_t pageSize = jet4Format.pageSize;
constexpr std::size_t dataHeader = 14;
constexpr std::size_t maxRowsPerPage = 255;
constexpr std::size_t maxTextUnits = 255;
constexpr std::size_t maxColumns = 255;
constexpr std::size_t maxNameUnits = 64;
constexpr std::uint32_t mapPage = 1;
constexpr std::uint32_t systemParentId = 0x0F000000;
constexpr std::uint32_t tablesContainerId = 0x0F000001;
constexpr std::uint8_t userTable = 0x4E;
constexpr std::uint8_t systemTable = 0x53;
constexpr std::uint8_t fixedFlag = 0x01;
constexpr std::uint8_t nullableFlag = 0x02;
constexpr std::uint8_t compressedTextFlag = 0x01;
constexpr std::uint16_t generalSortOrder = 0x0409;

using Page = std::vector<std::uint8_t>;
using Field = std::optional<std::vector<std::uint8_t>>;

struct ColumnLayout {
    std::string name;
    std::uint8_t type;
    std::uint16_t length;
    std::uint16_t number = 0;
    std::uint16_t varIndex = 0; // for fixed columns: the variable columns before it
    std::uint16_t fixedOffset = 0;

    bool isFixed() const {
        return type != column_type::text && type != column_type::memo && type != column_type::ole &&
               type != column_type::binary;
    }
};

struct TableLayout {
    std::string name;
    bool system = false;
    std::vector<ColumnLayout> columns;
    std::vector<std::vector<Field>> rows;
    std::uint16_t varCount = 0;
    std::size_t fixedSize = 0;
    std::uint32_t definitionPage = 0;
    std::vector<std::uint32_t> dataPages;
    std::uint32_t usedMap = 0;
    std::uint32_t freeMap = 0;

    TableLayout(std::string tableName, bool isSystem, std::vector<ColumnLayout> layout)
        : name(std::move(tableName)), system(isSystem), columns(std::move(layout)) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            ColumnLayout& column = columns[i];
            column.number = static_cast<std::uint16_t>(i);
            column.varIndex = varCount;
            if (column.isFixed()) {
                column.fixedOffset = static_cast<std::uint16_t>(fixedSize);
                fixedSize += column.length;
            } else {
                ++varCount;
            }
        }
    }

    std::vector<std::uint8_t> encodeRow(const std::vector<Field>& values) const {
        std::vector<std::uint8_t> row(2 + fixedSize);
        putU16(row.data(), static_cast<std::uint32_t>(columns.size()));
        std::vector<std::uint8_t> nullMask((columns.size() + 7) / 8);
        std::vector<std::uint16_t> offsets;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const ColumnLayout& column = columns[i];
            const Field& value = values[i];
            if (value)
                nullMask[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
            if (column.isFixed()) {
                if (value)
                    std::memcpy(row.data() + 2 + column.fixedOffset, value->data(), column.length);
                continue;
            }
            offsets.push_back(static_cast<std::uint16_t>(row.size()));
            if (value)
                row.insert(row.end(), value->begin(), value->end());
        }
        if (varCount > 0) {
            offsets.push_back(static_cast<std::uint16_t>(row.size()));
            for (auto offset = offsets.rbegin(); offset != offsets.rend(); ++offset) {
                row.push_back(static_cast<std::uint8_t>(*offset));
                row.push_back(static_cast<std::uint8_t>(*offset >> 8));
            }
            row.push_back(static_cast<std::uint8_t>(varCount));
            row.push_back(static_cast<std::uint8_t>(varCount >> 8));
        }
        row.insert(row.end(), nullMask.begin(), nullMask.end());
        return row;
    }
};

ColumnLayout longColumn(const std::string& name) {
    return {name, column_type::longInteger, 4};
}
ColumnLayout textColumn(const std::string& name) {
    return {name, column_type::text, 2 * maxTextUnits};
}

class FileImage {
public:
    std::uint32_t newPage() {
        pages_.emplace_back(pageSize);
        return static_cast<std::uint32_t>(pages_.size() - 1);
    }
    std::uint8_t* page(std::uint32_t number) { return pages_[number].data(); }
    const std::vector<Page>& pages() const { return pages_; }

private:
    std::vector<Page> pages_;
};

// Fills data pages of one owner: slot offsets grow from the header, rows from the page end.
class RowPacker {
public:
    RowPacker(FileImage& image, std::uint32_t owner, std::uint32_t firstPage = 0)
        : image_(image), owner_(owner), page_(firstPage) {
        if (firstPage)
            startPage(firstPage);
    }

    // Returns the row's row-and-page pointer.
    std::uint32_t add(const std::vector<std::uint8_t>& row) {
        if (row.size() + 2 > pageSize - dataHeader)
            throw Error("a row of " + std::to_string(row.size()) +
                        " bytes does not fit on a page; use fewer or shorter columns");
        if (!page_ || rows_ == maxRowsPerPage || row.size() + dataHeader + 2 * (rows_ + 1) > top_)
            startPage(image_.newPage());
        std::uint8_t* page = image_.page(page_);
        top_ -= row.size();
        std::memcpy(page + top_, row.data(), row.size());
        putU16(page + dataHeader + 2 * rows_, static_cast<std::uint32_t>(top_));
        ++rows_;
        putU16(page + 12, rows_);
        putU16(page + 2, static_cast<std::uint32_t>(top_ - dataHeader - 2 * rows_));
        return page_ << 8 | (rows_ - 1);
    }

    const std::vector<std::uint32_t>& pages() const { return pages_; }

private:
    void startPage(std::uint32_t number) {
        page_ = number;
        rows_ = 0;
        top_ = pageSize;
        pages_.push_back(number);
        std::uint8_t* page = image_.page(number);
        page[0] = page_type::data;
        page[1] = 0x01;
        putU16(page + 2, pageSize - dataHeader);
        putU32(page + 4, owner_);
    }

    FileImage& image_;
    std::uint32_t owner_;
    std::uint32_t page_;
    unsigned rows_ = 0;
    std::size_t top_ = pageSize;
    std::vector<std::uint32_t> pages_;
};

std::vector<std::uint8_t> utf16Bytes(const std::u16string& units) {
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// Latin-1 text goes in Jet4's compressed form, the rest as plain UTF-16.
std::vector<std::uint8_t> textBytes(const std::u16string& units) {
    for (char16_t unit : units)
        if (unit == 0 || unit > 0xFF)
            return utf16Bytes(units);
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    bytes.insert(bytes.end(), units.begin(), units.end());
    return bytes;
}

std::vector<std::uint8_t> int32Bytes(std::uint32_t value) {
    std::vector<std::uint8_t> bytes(4);
    putU32(bytes.data(), value);
    return bytes;
}

std::vector<std::uint8_t> doubleBytes(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::vector<std::uint8_t> bytes(8);
    putU32(bytes.data(), static_cast<std::uint32_t>(bits));
    putU32(bytes.data() + 4, static_cast<std::uint32_t>(bits >> 32));
    return bytes;
}

bool parseLong(const std::string& text, std::int32_t& value) {
    std::size_t at = text.size() > 1 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (at == text.size())
        return false;
    long long magnitude = 0;
    for (std::size_t i = at; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > 2147483648LL)
            return false;
    }
    long long signedValue = text[0] == '-' ? -magnitude : magnitude;
    if (signedValue > 2147483647LL)
        return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

void checkName(const std::string& name, const std::string& what) {
    std::u16string units = text::toUtf16(name);
    if (units.empty() || units.size() > maxNameUnits)
        throw Error(what + " '" + name + "' must have 1 to 64 characters");
    for (char16_t unit : units)
        if (unit < 0x20 || unit == '[' || unit == ']' || unit == '.' || unit == '!' || unit == '`')
            throw Error(what + " '" + name + "' holds a character that names cannot have");
}

// Jet time: days since 1899-12-30.
double jetNow() {
    return 25569.0 + static_cast<double>(std::time(nullptr)) / 86400.0;
}

struct CatalogRow {
    std::uint32_t id;
    std::uint32_t parentId;
    std::string name;
    std::uint16_t type;
    std::uint32_t flags;
};

std::vector<ColumnLayout> catalogColumns() {
    return {longColumn("Id"),
            longColumn("ParentId"),
            textColumn("Name"),
            {"Type", column_type::integer, 2},
            {"DateCreate", column_type::dateTime, 8},
            {"DateUpdate", column_type::dateTime, 8},
            {"Owner", column_type::binary, 255},
            longColumn("Flags"),
            {"Database", column_type::memo, 0},
            {"Connect", column_type::memo, 0},
            textColumn("ForeignName"),
            {"RmtInfoShort", column_type::binary, 255},
            {"RmtInfoLong", column_type::ole, 0},
            {"Lv", column_type::ole, 0},
            {"LvProp", column_type::ole, 0},
            {"LvModule", column_type::ole, 0},
            {"LvExtra", column_type::ole, 0}};
}

// The other system tables that Access and Jackcess expect, left empty.
std::vector<TableLayout> emptySystemTables() {
    std::vector<TableLayout> tables;
    tables.emplace_back("MSysACEs", true,
                        std::vector<ColumnLayout>{longColumn("ACM"),
                                                  {"FInheritable", column_type::yesNo, 0},
                                                  longColumn("ObjectId"),
                                                  {"SID", column_type::binary, 255}});
    tables.emplace_back("MSysQueries", true,
                        std::vector<ColumnLayout>{{"Attribute", column_type::byte, 1},
                                                  {"Expression", column_type::memo, 0},
                                                  {"Flag", column_type::integer, 2},
                                                  {"LvExtra", column_type::ole, 0},
                                                  textColumn("Name1"),
                                                  textColumn("Name2"),
                                                  longColumn("ObjectId"),
                                                  {"Order", column_type::binary, 255}});
    tables.emplace_back(
        "MSysRelationships", true,
        std::vector<ColumnLayout>{longColumn("ccolumn"), longColumn("grbit"), longColumn("icolumn"),
                                  textColumn("szColumn"), textColumn("szObject"),
                                  textColumn("szReferencedColumn"),
                                  textColumn("szReferencedObject"), textColumn("szRelationship")});
    return tables;
}

TableLayout userLayout(const TableData& data) {
    std::vector<ColumnLayout> columns;
    for (const ColumnSpec& column : data.columns)
        columns.push_back(column.type == ColumnType::LongInteger ? longColumn(column.name)
                                                                 : textColumn(column.name));
    TableLayout layout(data.name, false, std::move(columns));
    for (std::size_t r = 0; r < data.rows.size(); ++r) {
        std::vector<Field> row;
        for (std::size_t c = 0; c < data.columns.size(); ++c) {
            const std::optional<std::string>& value = data.rows[r][c];
            if (!value) {
                row.emplace_back();
            } else if (data.columns[c].type == ColumnType::LongInteger) {
                std::int32_t number = 0;
                parseLong(*value, number);
                row.emplace_back(int32Bytes(static_cast<std::uint32_t>(number)));
            } else {
                row.emplace_back(textBytes(text::toUtf16(*value)));
            }
        }
        layout.rows.push_back(std::move(row));
    }
    return layout;
}

std::vector<std::uint8_t> usageMap(const std::vector<std::uint32_t>& pages) {
    std::uint32_t first = pages.empty() ? 0 : pages.front();
    std::uint32_t span = pages.empty() ? 1 : pages.back() - first + 1;
    std::vector<std::uint8_t> map(5 + (span + 7) / 8);
    putU32(map.data() + 1, first);
    for (std::uint32_t page : pages)
        map[5 + (page - first) / 8] |= static_cast<std::uint8_t>(1u << ((page - first) % 8));
    return map;
}

void writeDefinition(FileImage& image, const TableLayout& table) {
    std::vector<std::uint8_t> def(jet4Format.tdefIndexEntries);
    def[0] = page_type::tableDefinition;
    def[1] = 0x01;
    putU32(&def[16], static_cast<std::uint32_t>(table.rows.size()));
    def[40] = table.system ? systemTable : userTable;
    putU16(&def[41], static_cast<std::uint32_t>(table.columns.size()));
    putU16(&def[43], table.varCount);
    putU16(&def[45], static_cast<std::uint32_t>(table.columns.size()));
    putU32(&def[55], table.usedMap);
    putU32(&def[59], table.freeMap);
    for (const ColumnLayout& column : table.columns) {
        std::uint8_t record[25] = {};
        record[0] = column.type;
        putU16(record + 5, column.number);
        putU16(record + 7, column.varIndex);
        putU16(record + 9, column.number + 1u);
        putU16(record + 11, generalSortOrder);
        record[15] = static_cast<std::uint8_t>(nullableFlag | (column.isFixed() ? fixedFlag : 0));
        record[16] = column.type == column_type::text ? compressedTextFlag : 0;
        putU16(record + 21, column.fixedOffset);
        putU16(record + 23, column.length);
        def.insert(def.end(), record, record + sizeof record);
    }
    for (const ColumnLayout& column : table.columns) {
        std::vector<std::uint8_t> name = utf16Bytes(text::toUtf16(column.name));
        def.push_back(static_cast<std::uint8_t>(name.size()));
        def.push_back(static_cast<std::uint8_t>(name.size() >> 8));
        def.insert(def.end(), name.begin(), name.end());
    }
    if (def.size() > pageSize)
        throw Error("table '" + table.name + "' has too many columns for one definition page");
    putU16(&def[2], static_cast<std::uint32_t>(pageSize - def.size()));
    putU32(&def[8], static_cast<std::uint32_t>(def.size() - 8));
    std::memcpy(image.page(table.definitionPage), def.data(), def.size());
}

void writeHeader(FileImage& image, double created) {
    std::uint8_t* page = image.page(0);
    page[1] = 0x01;
    std::memcpy(page + 4, "Standard Jet DB", 15);
    page[0x14] = 0x01;
    std::uint8_t* scrambled = page + 0x18;
    // Constants every Jet4 header carries at the start of its scrambled part.
    static const std::uint8_t start[24] = {0, 1, 0, 0, 1, 1, 0, 0, 2, 0, 0, 0,
                                           3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0};
    std::memcpy(scrambled, start, sizeof start);
    putU16(page + 0x3C, 1252);
    putU16(page + 0x6E, generalSortOrder);
    std::vector<std::uint8_t> date = doubleBytes(created);
    std::memcpy(page + 0x72, date.data(), date.size());
    rc4(headerKey, sizeof headerKey, scrambled, jet4Format.headerScrambled);
}

} // namespace

void DatabaseWriter::addTable(TableData table) {
    checkName(table.name, "table name");
    if (table.name.compare(0, 4, "MSys") == 0)
        throw Error("table name '" + table.name + "' is reserved for system tables");
    for (const TableData& other : tables_)
        if (text::equalIgnoringCase(other.name, table.name))
            throw Error("table '" + table.name + "' is given twice");
    if (table.columns.empty() || table.columns.size() > maxColumns)
        throw Error("table '" + table.name + "' must have 1 to 255 columns");
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        checkName(table.columns[c].name, "column name");
        for (std::size_t d = 0; d < c; ++d)
            if (text::equalIgnoringCase(table.columns[d].name, table.columns[c].name))
                throw Error("table '" + table.name + "' has two columns named '" +
                            table.columns[c].name + "'");
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        std::string where = "table '" + table.name + "', row " + std::to_string(r + 1);
        if (row.size() != table.columns.size())
            throw Error(where + " has " + std::to_string(row.size()) + " values for " +
                        std::to_string(table.columns.size()) + " columns");
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (!row[c])
                continue;
            const ColumnSpec& column = table.columns[c];
            std::int32_t number;
            if (column.type == ColumnType::LongInteger && !parseLong(*row[c], number))
                throw Error(where + ", column '" + column.name + "': '" + *row[c] +
                            "' is not a long integer");
            if (column.type == ColumnType::Text && text::toUtf16(*row[c]).size() > maxTextUnits)
                throw Error(where + ", column '" + column.name +
                            "': the text is longer than 255 characters");
        }
    }
    tables_.push_back(std::move(table));
}

void DatabaseWriter::save(const std::string& path) const {
    FileImage image;
    image.newPage();
    image.newPage();
    image.newPage();
    double now = jetNow();

    TableLayout catalog("MSysObjects", true, catalogColumns());
    catalog.definitionPage = catalogPage;
    std::vector<TableLayout> tables = emptySystemTables();
    for (const TableData& data : tables_)
        tables.push_back(userLayout(data));

    for (TableLayout& table : tables) {
        table.definitionPage = image.newPage();
        RowPacker packer(image, table.definitionPage);
        for (const auto& row : table.rows)
            packer.add(table.encodeRow(row));
        table.dataPages = packer.pages();
    }

    std::vector<CatalogRow> entries = {
        {tablesContainerId, systemParentId, "Tables", 3, 0x80000000},
        {tablesContainerId + 1, systemParentId, "Databases", 3, 0x80000000},
        {tablesContainerId + 2, systemParentId, "Relationships", 3, 0x80000000},
        {catalogPage, tablesContainerId, catalog.name, 1, 0x80000002}};
    for (const TableLayout& table : tables)
        entries.push_back({table.definitionPage, tablesContainerId, table.name, 1,
                           table.system ? 0x80000002u : 0u});
    for (const CatalogRow& entry : entries) {
        std::vector<Field> row(catalog.columns.size());
        row[0] = int32Bytes(entry.id);
        row[1] = int32Bytes(entry.parentId);
        row[2] = textBytes(text::toUtf16(entry.name));
        row[3] = std::vector<std::uint8_t>{static_cast<std::uint8_t>(entry.type),
                                           static_cast<std::uint8_t>(entry.type >> 8)};
        row[4] = doubleBytes(now);
        row[5] = doubleBytes(now);
        row[7] = int32Bytes(entry.flags);
        catalog.rows.push_back(std::move(row));
    }
    RowPacker catalogPacker(image, catalogPage);
    for (const auto& row : catalog.rows)
        catalogPacker.add(catalog.encodeRow(row));
    catalog.dataPages = catalogPacker.pages();
    tables.insert(tables.begin(), std::move(catalog));

    RowPacker maps(image, 0, mapPage);
    for (TableLayout& table : tables) {
        table.usedMap = maps.add(usageMap(table.dataPages));
        table.freeMap = maps.add(usageMap({}));
        writeDefinition(image, table);
    }
    writeHeader(image, now);

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file)
        throw Error("cannot create '" + path + "': " + std::strerror(errno));
    for (const Page& page : image.pages())
        if (std::fwrite(page.data(), 1, page.size(), file.get()) != page.size())
            throw Error("cannot write '" + path + "'");
    if (std::fclose(file.release()) != 0)
        throw Error("cannot write '" + path + "'");
}

TableData tableFromCsv(const std::string& tableName, const std::string& csvText) {
    std::vector<std::vector<std::string>> records = csv::parse(csvText);
    if (records.empty())
        throw Error("CSV for table '" + tableName + "' has no header line");
    TableData table;
    table.name = tableName;
    static const std::string longSuffix = ":long";
    for (const std::string& header : records[0]) {
        ColumnSpec column{header, ColumnType::Text};
        if (header.size() > longSuffix.size() &&
            header.compare(header.size() - longSuffix.size(), longSuffix.size(), longSuffix) == 0) {
            column.name = header.substr(0, header.size() - longSuffix.size());
            column.type = ColumnType::LongInteger;
        }
        table.columns.push_back(column);
    }
    for (std::size_t r = 1; r < records.size(); ++r) {
        if (records[r].size() == 1 && records[r][0].empty())
            continue;
        if (records[r].size() != table.columns.size())
            throw Error("CSV for table '" + tableName + "', record " + std::to_string(r + 1) +
                        ": " + std::to_string(records[r].size()) + " fields where the header has " +
                        std::to_string(table.columns.size()));
        std::vector<std::optional<std::string>> row;
        for (const std::string& field : records[r])
            row.push_back(field.empty() ? std::nullopt : std::optional<std::string>(field));
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace jet
