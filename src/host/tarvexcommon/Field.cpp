#include "Field.h"

#include "DataSet.h"
#include "DataSetErrors.h"
#include "DatabaseErrorText.h"
#include "DateText.h"
#include "DisplayFormat.h"
#include "HostStrings.h"
#include "NumberText.h"

#include <cmath>

namespace tarvex {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kTimeFormat = QStringLiteral("HH:mm:ss");
// As shown and typed here.
const QString kShownDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kShownDateTimeFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

bool isTextVariant(const QVariant& v)
{
    return v.metaType().id() == QMetaType::QString || v.metaType().id() == QMetaType::QByteArray;
}

// A number typed by a user or stored as text: "." or "," as decimal point.
double readNumber(const QVariant& value, bool* ok)
{
    if (!isTextVariant(value))
        return value.toDouble(ok);
    QString text = value.toString().trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text.toDouble(ok);
}

} // namespace

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

bool readBoolean(const QVariant& value, bool* ok)
{
    *ok = true;
    if (value.metaType().id() == QMetaType::Bool)
        return value.toBool();
    if (!isTextVariant(value)) {
        bool numeric = false;
        const double n = value.toDouble(&numeric);
        *ok = numeric;
        return numeric && n != 0;
    }
    const QString text = value.toString().trimmed().toLower();
    for (const char* yes : {"true", "1", "y", "yes", "da", "t"}) {
        if (text == QLatin1String(yes))
            return true;
    }
    for (const char* no : {"false", "0", "n", "no", "ne", "f"}) {
        if (text == QLatin1String(no))
            return false;
    }
    *ok = false;
    return false;
}

Field::Field(DataSet* dataSet, const QString& name) : m_dataSet(dataSet), m_name(name)
{
}

void Field::setRequired(bool on)
{
    m_required = on;
    m_requiredSet = true;
}

QVariant Field::value() const
{
    return m_index < 0 ? QVariant() : m_dataSet->fieldValue(m_index);
}

bool Field::isNull() const
{
    return value().isNull();
}

void Field::setDisplayLabel(const QString& label)
{
    m_displayLabel = label;
    // Database errors about this column name it by its label.
    if (m_writable)
        rememberFieldLabel(m_tableName, m_name, label);
}

QString Field::asString() const
{
    return plainText(value());
}

qint64 Field::asLargeInt() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0;
    if (m_type == FieldType::Float)
        return qint64(std::llround(v.toDouble()));
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok ? n : qint64(std::llround(readNumber(v, &ok)));
}

int Field::asInteger() const
{
    return int(asLargeInt());
}

double Field::asFloat() const
{
    const QVariant v = value();
    bool ok = false;
    const double n = v.isNull() ? 0.0 : readNumber(v, &ok);
    return ok ? n : 0.0;
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    bool ok = false;
    return !v.isNull() && readBoolean(v, &ok);
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    if (isTextVariant(v))
        return MyDateStrToDate(v.toString());
    return v.toDate();
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate().startOfDay();
    return v.toDateTime();
}

QVariant Field::oldValue() const
{
    return m_index < 0 ? QVariant() : m_dataSet->fieldOldValue(m_index);
}

void Field::setValue(const QVariant& value)
{
    m_dataSet->assignField(*this, value);
}

QString Field::text() const
{
    if (m_onGetText)
        return m_onGetText(*this, false);
    if (isNull())
        return QString();
    switch (m_type) {
    case FieldType::Float:
        // No thousands: the text reads back the one way (1234,5).
        return FloatToEditText(asFloat(), m_precision).replace(QLatin1Char('.'), QLatin1Char(','));
    case FieldType::Date:
    case FieldType::DateTime:
        return formattedText(value());
    default:
        return asString();
    }
}

QString Field::displayText() const
{
    if (m_onGetText)
        return m_onGetText(*this, true);
    return formattedText(value());
}

void Field::setText(const QString& text)
{
    if (m_onSetText) {
        m_onSetText(*this, text);
        return;
    }
    setValue(typedValue(text));
}

QVariant Field::typedValue(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return QVariant();
    switch (m_type) {
    case FieldType::Float:
    case FieldType::Integer:
    case FieldType::LargeInt: {
        const NumberRead read = ReadNumberText(text);
        if (!read.ok)
            throw FieldError(QStringLiteral("Polje \"%1\": %2").arg(displayLabel(), read.error), const_cast<Field*>(this));
        if (m_type != FieldType::Float && read.plain.contains(QLatin1Char('.')))
            throw FieldError(QStringLiteral("Polje \"%1\": \"%2\" nije ceo broj. Upišite ga bez decimala, kao 1234.")
                                 .arg(displayLabel(), text.trimmed()),
                             const_cast<Field*>(this));
        return m_type == FieldType::Float ? QVariant(read.value) : QVariant(read.plain);
    }
    case FieldType::Date:
    case FieldType::DateTime: {
        QDateTime typed = QDateTime::fromString(text.trimmed(), kShownDateTimeFormat);
        if (!typed.isValid())
            typed = QDateTime::fromString(text.trimmed(), kDateTimeFormat);
        if (!typed.isValid())
            typed = MyDateStrToDate(text).startOfDay();
        if (!typed.isValid() || (m_type == FieldType::Date && typed.time() != QTime(0, 0)))
            throw FieldError(DateTextError(displayLabel(), text), const_cast<Field*>(this));
        return m_type == FieldType::Date ? QVariant(typed.date()) : QVariant(typed);
    }
    default:
        return QVariant(text);
    }
}

QString Field::formattedText(const QVariant& value) const
{
    if (value.isNull())
        return QString();
    switch (m_type) {
    case FieldType::Float:
    case FieldType::Integer:
    case FieldType::LargeInt:
        if (!m_displayFormat.isEmpty())
            return FormatFloat(m_displayFormat, value.toDouble());
        return plainText(value).replace(QLatin1Char('.'), QLatin1Char(','));
    case FieldType::Date:
        return value.toDate().toString(kShownDateFormat);
    case FieldType::DateTime:
        return value.toDateTime().toString(kShownDateTimeFormat);
    default:
        return plainText(value);
    }
}

QString Field::plainText(const QVariant& value) const
{
    if (value.isNull())
        return QString();
    switch (m_type) {
    case FieldType::Float:
        return FloatToText(value.toDouble());
    case FieldType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Date:
        return value.toDate().toString(kDateFormat);
    case FieldType::DateTime:
        return value.toDateTime().toString(kDateTimeFormat);
    case FieldType::Time:
        return value.toTime().toString(kTimeFormat);
    default:
        return value.toString();
    }
}

QVariant Field::convert(const QVariant& value) const
{
    if (value.isNull())
        return QVariant();
    bool ok = true;
    QVariant result;
    switch (m_type) {
    case FieldType::Unknown:
        return value;
    case FieldType::String: {
        const QString text = value.metaType().id() == QMetaType::Double ? FloatToText(value.toDouble()) : value.toString();
        // Refused rather than cut by the server (or by a control) without a word.
        if (m_writable && m_size > 0 && text.size() > m_size) {
            const qsizetype length = text.toUcs4().size();
            if (length > m_size)
                throw FieldError(CMN_FIELD_TOO_LONG_ERR.arg(displayLabel()).arg(m_size).arg(length),
                                 const_cast<Field*>(this));
        }
        result = text;
        break;
    }
    case FieldType::Integer:
    case FieldType::LargeInt: {
        qint64 n = 0;
        if (isTextVariant(value)) {
            n = value.toString().trimmed().toLongLong(&ok);
        } else if (value.metaType().id() == QMetaType::Double) {
            const double d = value.toDouble();
            ok = std::isfinite(d);
            n = ok ? qint64(std::llround(d)) : 0;
        } else {
            n = value.toLongLong(&ok);
        }
        result = m_type == FieldType::Integer ? QVariant(int(n)) : QVariant(n);
        break;
    }
    case FieldType::Float: {
        const double d = readNumber(value, &ok);
        ok = ok && std::isfinite(d);
        result = d;
        break;
    }
    case FieldType::Boolean:
        result = readBoolean(value, &ok);
        break;
    case FieldType::Date: {
        QDate d;
        if (isTextVariant(value))
            d = MyDateStrToDate(value.toString());
        else if (value.metaType().id() == QMetaType::QDateTime)
            d = value.toDateTime().date();
        else
            d = value.toDate();
        ok = d.isValid();
        result = d;
        break;
    }
    case FieldType::DateTime: {
        QDateTime dt;
        if (isTextVariant(value)) {
            const QString text = value.toString().trimmed();
            dt = QDateTime::fromString(text, kDateTimeFormat);
            if (!dt.isValid())
                dt = MyDateStrToDate(text).startOfDay();
        } else if (value.metaType().id() == QMetaType::QDate) {
            dt = value.toDate().startOfDay();
        } else {
            dt = value.toDateTime();
        }
        ok = dt.isValid();
        result = dt;
        break;
    }
    case FieldType::Time: {
        const QTime t = isTextVariant(value) ? QTime::fromString(value.toString().trimmed(), kTimeFormat) : value.toTime();
        ok = t.isValid();
        result = t;
        break;
    }
    case FieldType::Blob:
        result = value.toByteArray();
        break;
    }
    if (!ok)
        throw FieldError(CMN_FIELD_INVALIDE_ERR.arg(displayLabel()), const_cast<Field*>(this));
    return result;
}

} // namespace tarvex
