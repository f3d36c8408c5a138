#pragma once

#include <QTest>

// Rows of cells separated by '|', each row its own tag; a leading cell beyond the columns
// names the row. The test keeps the column names' pointers: string literals only.
inline void AddRows(std::initializer_list<const char*> columns,
                    std::initializer_list<const char*> rows) {
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const char* row : rows) {
        const QStringList cells = QString(row).split('|');
        auto& data = QTest::newRow(row);
        for (const QString& cell : cells.mid(cells.size() - qsizetype(columns.size())))
            data << cell;
    }
}
