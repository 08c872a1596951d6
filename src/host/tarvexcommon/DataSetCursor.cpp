// The data set's cursor: the current row, moving, bookmarks and locate.
// Split from DataSet.cpp along the class's own sections.

#include "DataSet.h"

#include "DataSetErrors.h"
#include "HostStrings.h"

#include <algorithm>

namespace tarvex {

const DataRow* DataSet::currentRowData() const
{
    return m_current >= 0 && size_t(m_current) < m_view.size() ? m_view[size_t(m_current)] : nullptr;
}

DataRow* DataSet::currentRowData()
{
    DataRow* row = m_current >= 0 && size_t(m_current) < m_view.size() ? m_view[size_t(m_current)] : nullptr;
    if (row && row->pending)
        readPending(*row);
    // Whoever may change the row gets its own values.
    if (row && row->values.isEmpty() && row->stored >= 0)
        row->values = rowValues(*row);
    return row;
}

void DataSet::scrollTo(int row, bool bof, bool eof)
{
    const bool moved = row != m_current;
    m_current = row;
    m_bof = bof;
    m_eof = eof;
    if (moved && signalsOn())
        emit currentRowChanged(m_current);
    fire(m_events.afterScroll);
}

void DataSet::first()
{
    checkActive();
    checkBrowseMode();
    scrollTo(m_view.empty() ? -1 : 0, true, m_view.empty());
}

void DataSet::last()
{
    checkActive();
    checkBrowseMode();
    scrollTo(int(m_view.size()) - 1, m_view.empty(), true);
}

void DataSet::next()
{
    checkActive();
    checkBrowseMode();
    if (m_current + 1 < int(m_view.size()))
        scrollTo(m_current + 1, false, false);
    else
        scrollTo(m_current, m_view.empty(), true);
}

void DataSet::prior()
{
    checkActive();
    checkBrowseMode();
    if (m_current > 0)
        scrollTo(m_current - 1, false, false);
    else
        scrollTo(m_current, true, m_view.empty());
}

void DataSet::setRecNo(int recNo)
{
    checkActive();
    if (m_view.empty())
        return;
    checkBrowseMode();
    const int row = qBound(0, recNo - 1, int(m_view.size()) - 1);
    scrollTo(row, false, false);
}

DataSet::Bookmark DataSet::bookmark() const
{
    const DataRow* row = currentRowData();
    return row ? row->id : 0;
}

bool DataSet::bookmarkValid(Bookmark bookmark) const
{
    for (const DataRow* row : m_view) {
        if (row->id == bookmark)
            return true;
    }
    return false;
}

void DataSet::gotoBookmark(Bookmark bookmark)
{
    checkActive();
    checkBrowseMode();
    for (size_t i = 0; i < m_view.size(); ++i) {
        if (m_view[i]->id == bookmark) {
            scrollTo(int(i), false, false);
            return;
        }
    }
    throw DataSetError(ErrorKind::Validation, DS_ROW_GONE_ERR,
                       QStringLiteral("The bookmarked row of %1 no longer exists").arg(objectName()));
}

bool DataSet::locate(const QString& fieldNames, const QVariant& values, int options)
{
    return locateAmong(fieldNames, values, options, {});
}

bool DataSet::locateAmong(const QString& fieldNames, const QVariant& values, int options,
                          const std::function<bool(const DataRow&)>& candidate)
{
    checkActive();
    checkBrowseMode();
    const QStringList names = fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const QVariantList wanted = names.size() == 1 ? QVariantList{values} : values.toList();
    if (names.isEmpty() || wanted.size() != names.size())
        throw DataSetError(ErrorKind::Internal, ERR_INTERNAL_ERR,
                           QStringLiteral("Locate needs one value per field (%1)").arg(fieldNames));

    struct Criterion {
        int column;
        QVariant value;
        bool text;
    };
    std::vector<Criterion> criteria;
    for (int i = 0; i < names.size(); ++i) {
        Field& field = fieldByName(names[i].trimmed());
        if (field.index() < 0)
            throw DataSetError(ErrorKind::Internal, DS_NO_FIELD_ERR.arg(names[i]),
                               QStringLiteral("Field \"%1\" is not among the columns of %2").arg(names[i], objectName()));
        QVariant value;
        try {
            value = field.convert(wanted[i]);
        } catch (const FieldError&) {
            return false;  // a value the field cannot hold matches no row
        }
        const bool text = field.dataType() == FieldType::String || field.dataType() == FieldType::Unknown;
        criteria.push_back({field.index(), value, text});
    }
    const Qt::CaseSensitivity cs = (options & LocateCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const bool partial = options & LocatePartialKey;
    for (size_t r = 0; r < m_view.size(); ++r) {
        if (candidate && !candidate(*m_view[r]))
            continue;
        bool match = true;
        for (const Criterion& c : criteria) {
            const QVariant v = rowValue(*m_view[r], c.column);
            if (c.text && !c.value.isNull() && !v.isNull()) {
                const QString s = v.toString();
                const QString w = c.value.toString();
                match = partial ? s.startsWith(w, cs) : s.compare(w, cs) == 0;
            } else {
                match = sameValue(v, c.value);
            }
            if (!match)
                break;
        }
        if (match) {
            scrollTo(int(r), false, false);
            return true;
        }
    }
    return false;
}

} // namespace tarvex
