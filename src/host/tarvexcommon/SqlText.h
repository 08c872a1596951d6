#pragma once
// Small helpers for SQL texts the module builds and rewrites.

#include <QString>

namespace tarvex {

// The text as it goes between single quotes of an SQL literal. Sessions run
// with NO_BACKSLASH_ESCAPES, so doubling single quotes is the whole of it and
// a backslash stays an ordinary character. quoteSqlText(t) is always
// "'" + AddSlashes(t) + "'".
QString AddSlashes(const QString& text);

// The statement with the condition of its top-level WHERE replaced, or a
// WHERE added in front of GROUP BY / HAVING / ORDER BY / LIMIT / UNION /
// FOR UPDATE / LOCK IN SHARE MODE (or at the end) when it has none. Those
// tails, joins and sub-queries stay as they are; keywords inside quoted
// literals, quoted identifiers, comments and parentheses are not looked at.
// A condition that begins with the word WHERE has that word dropped; an empty
// condition removes the WHERE clause.
QString ChangeSQLCondition(const QString& sql, const QString& condition);

// A number as an SQL literal: "." as decimal separator whatever the locale,
// the shortest text that reads back as the same double. Throws
// InternalError for NaN and infinities, which SQL cannot hold.
QString SqlNumber(double value);

} // namespace tarvex
