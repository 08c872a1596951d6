#pragma once
// Lists compared entry by entry: a failure names the first entry that
// differs and its two values, not the two lists whole.

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QChar& c, std::ostream* out)
{
    *out << '\'' << QString(c).toStdString() << '\'';
}
QT_END_NAMESPACE

namespace tarvex::test {

// Where two rows of '|'-joined values differ first: the field and both values.
template <class A, class B>
std::string firstField(const A&, const B&)
{
    return {};
}
inline std::string firstField(const QString& actual, const QString& expected)
{
    const QStringList a = actual.split(QLatin1Char('|'));
    const QStringList e = expected.split(QLatin1Char('|'));
    if (a.size() < 2 && e.size() < 2)
        return {};
    qsizetype f = 0;
    while (f < std::max(a.size(), e.size()) && a.value(f) == e.value(f))
        ++f;
    return " (field " + std::to_string(f) + ": \"" + a.value(f).toStdString() + "\" instead of \"" +
           e.value(f).toStdString() + "\")";
}

template <class Actual, class Expected>
testing::AssertionResult sameEntries(const char* actualText, const char* expectedText, const Actual& actual,
                                     const Expected& expected)
{
    const qsizetype common = std::min<qsizetype>(actual.size(), expected.size());
    for (qsizetype i = 0; i < common; ++i)
        if (!(actual[i] == expected[i]))
            return testing::AssertionFailure()
                   << actualText << " differs from " << expectedText << " at entry " << i << ": "
                   << testing::PrintToString(actual[i]) << " instead of " << testing::PrintToString(expected[i])
                   << firstField(actual[i], expected[i]);
    if (actual.size() == expected.size())
        return testing::AssertionSuccess();
    auto failure = testing::AssertionFailure() << actualText << " has " << actual.size() << " entries, "
                                               << expectedText << " " << expected.size() << "; the first extra: ";
    return failure << testing::PrintToString(actual.size() > common ? actual[common] : expected[common]);
}

// The rows a statement reads, each row's values joined by '|' (NULL as "-").
inline QStringList rowsOf(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    QStringList rows;
    if (!query.exec(statement)) {
        ADD_FAILURE() << statement.toStdString() << ": " << query.lastError().text().toStdString();
        return rows;
    }
    while (query.next()) {
        QStringList values;
        for (int c = 0; c < query.record().count(); ++c)
            values << (query.isNull(c) ? QStringLiteral("-") : query.value(c).toString());
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

// Rows of values joined by '|', compared value by value: a failure names
// the row (by its first value), the column and both values.
inline void expectSameTable(const QStringList& actual, const QStringList& expected, const QStringList& columns)
{
    EXPECT_EQ(actual.size(), expected.size()) << "rows: " << actual.join(QLatin1Char('\n')).toStdString();
    for (qsizetype r = 0; r < std::min(actual.size(), expected.size()); ++r) {
        const QStringList a = actual[r].split(QLatin1Char('|'));
        const QStringList e = expected[r].split(QLatin1Char('|'));
        for (qsizetype c = 0; c < std::max(a.size(), e.size()); ++c)
            EXPECT_EQ(a.value(c), e.value(c)) << "row " << r << " (" << e.value(0).toStdString() << "), column "
                                              << columns.value(c).toStdString();
    }
}

} // namespace tarvex::test

#define EXPECT_ROWS(actual, expected) EXPECT_PRED_FORMAT2(::tarvex::test::sameEntries, actual, expected)
#define ASSERT_ROWS(actual, expected) ASSERT_PRED_FORMAT2(::tarvex::test::sameEntries, actual, expected)
