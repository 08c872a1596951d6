#pragma once
// Reading a statement's result into QueryRows, for the query dataset's whole
// lists and its pages alike.

#include "QueryDataSet.h"

#include <QSqlQuery>
#include <functional>

namespace tarvex {

// Appends the query's rows (and takes its columns); `progress` hears the
// count every 10 000 rows.
void fetchQueryRows(QSqlQuery& query, QueryRows& rows, const std::function<void(int)>& progress = {});

} // namespace tarvex
