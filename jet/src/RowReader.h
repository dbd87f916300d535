#pragma once

#include "PageFile.h"
#include "TableDef.h"

#include <string>
#include <vector>

namespace jet {

// Splits a stored row into its columns' bytes and renders values as text.
class RowReader {
public:
    RowReader(const PageFile& file, const TableDef& table);

    // Locates every column of `row`; the bytes stay valid while the row's page is held.
    void split(Bytes row) {
        if (file_.format().jet4())
            splitJet4(row);
        else
            splitJet3(row);
        if (!calculatedColumns_.empty())
            unwrapCalculated();
    }

    bool isNull(std::size_t column) const { return !fields_[column].present; }
    // The value of a column of the last split row as UTF-8 text (see Database.h); NULL is "".
    std::string text(std::size_t column) const;

private:
    struct Field {
        bool present = false;
        bool yes = false;
        Bytes bytes;
    };

    void splitJet4(Bytes row);
    void splitJet3(Bytes row);
    void unwrapCalculated();
    void placeColumns(Bytes row, std::size_t columnsInRow, std::size_t fixedStart,
                      const std::vector<std::size_t>& varOffsets, Bytes nullMask);
    std::vector<std::uint8_t> longValue(Bytes field) const;
    std::string decodeText(const std::uint8_t* data, std::size_t size) const;

    const PageFile& file_;
    const TableDef& table_;
    std::vector<Field> fields_;
    std::vector<std::size_t> varOffsets_;
    std::vector<std::size_t> calculatedColumns_;
};

} // namespace jet
