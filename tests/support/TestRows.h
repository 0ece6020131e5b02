#pragma once

#include <QTest>

// Adds a named row to the current data-driven test: addRow("name", a, b) is
// QTest::newRow("name") << a << b, written as one call so that a table stays one line a row.
template <typename... Values> void addRow(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}
