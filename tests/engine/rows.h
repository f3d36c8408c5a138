#pragma once

#include "sim.h"

#include <QTest>

// Rows of cells separated by '|', each row its own tag; a leading cell beyond the columns
// names the row.
inline void AddRows(std::initializer_list<const char*> columns,
                    std::initializer_list<const char*> rows) {
    for (const char* column : columns) // the test keeps the pointer: string literals only
        QTest::addColumn<QString>(column);
    for (const char* row : rows) {
        const QStringList cells = QString(row).split('|');
        auto& data = QTest::newRow(row);
        for (const QString& cell : cells.mid(cells.size() - qsizetype(columns.size())))
            data << cell;
    }
}

// Rows "name|script|offsets": the script, played in a new world, gives beeps at those
// offsets, whole seconds after its first step, acknowledgements included.
inline void PlayScenario() {
    QFETCH(QString, script);
    QFETCH(QString, offsets);
    QStringList beeps;
    for (const long long offset : sim::World().play(script.toStdString()))
        beeps << QString::number(offset);
    QCOMPARE(beeps.join(' '), offsets);
}
