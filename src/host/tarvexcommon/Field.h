#pragma once
// One column of a dataset: its description, its value in the current row and
// the handlers the data module hangs on it. Field objects belong to their
// dataset and outlive closing and reopening it (a field declared or
// configured before opening keeps its label, format, type and handlers when
// the dataset's text changes and it opens again), so validations and
// handlers may keep pointers to them.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <functional>

namespace tarvex {

class DataSet;

enum class FieldType { Unknown, String, Integer, LargeInt, Float, Boolean, Date, DateTime, Time, Blob };

class Field {
public:
    using ChangeHandler = std::function<void(Field&)>;
    // display: true for the text shown in a grid or a label, false for the
    // text put into an edit control.
    using GetTextHandler = std::function<QString(const Field&, bool display)>;
    using SetTextHandler = std::function<void(Field&, const QString&)>;

    Field(DataSet* dataSet, const QString& name);

    DataSet* dataSet() const { return m_dataSet; }
    const QString& fieldName() const { return m_name; }
    // The table the column comes from; empty for computed columns.
    const QString& tableName() const { return m_tableName; }
    FieldType dataType() const { return m_type; }
    // Characters of a text column; 0 for other types.
    int size() const { return m_size; }
    // Place among the dataset's columns; -1 while the dataset is closed or
    // does not return this column.
    int index() const { return m_index; }
    // Written back to the dataset's own table on post.
    bool isWritable() const { return m_writable; }

    QString displayLabel() const { return m_displayLabel.isEmpty() ? m_name : m_displayLabel; }
    void setDisplayLabel(const QString& label);
    const QString& displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString& format) { m_displayFormat = format; }
    // Posting refuses a null (or empty text) value.
    bool required() const { return m_required; }
    void setRequired(bool on);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool on) { m_readOnly = on; }
    bool visible() const { return m_visible; }
    void setVisible(bool on) { m_visible = on; }

    void setOnChange(ChangeHandler handler) { m_onChange = std::move(handler); }
    void setOnGetText(GetTextHandler handler) { m_onGetText = std::move(handler); }
    void setOnSetText(SetTextHandler handler) { m_onSetText = std::move(handler); }

    // The value in the current row (the edited value while editing); null
    // when there is no current row.
    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    qint64 asLargeInt() const;
    int asInteger() const;
    double asFloat() const;
    bool asBoolean() const;
    QDate asDate() const;
    QDateTime asDateTime() const;
    // The value as read from the database, before this edit and before any
    // pending cached change; null for a new row.
    QVariant oldValue() const;

    // Needs the dataset in edit or insert state. Converts to the field's type
    // (throws FieldError when the value does not read as one) and calls the
    // change handler at once.
    void setValue(const QVariant& value);
    void clear() { setValue(QVariant()); }

    // Significant digits a number is edited with (a double carries 15).
    int precision() const { return m_precision; }
    void setPrecision(int digits) { m_precision = digits; }

    // The text for editing: the get-text handler's, or the value as typed
    // here (numbers at the field's precision with a decimal comma and no
    // thousands, dates "31.12.2024").
    QString text() const;
    // The text for showing: the get-text handler's, or the value through the
    // display format (numbers, "1.234,56"), "31.12.2024" (dates) or the
    // plain text.
    QString displayText() const;
    // The set-text handler, or the text read as the field's type: numbers
    // as ReadNumberText reads them (a whole number for whole-number
    // fields), dates in the forms MyDateStrToDate reads, Booleans as
    // true/false, yes/no, da/ne, y/n, 1/0. An empty text sets null. A text
    // that does not read throws FieldError naming the field and the form
    // expected. Both texts above read back unchanged.
    void setText(const QString& text);

    // The value converted to this field's type; throws FieldError with
    // CMN_FIELD_INVALIDE_ERR when it does not read as one. Null stays null.
    QVariant convert(const QVariant& value) const;
    // A value of this field's type as plain text ("." decimals, dates
    // "yyyy-mm-dd", Booleans "True"/"False"), and through the display format.
    QString plainText(const QVariant& value) const;
    QString formattedText(const QVariant& value) const;

private:
    QVariant typedValue(const QString& text) const;

    friend class DataSet;
    friend class QueryDataSet;
    friend class MemoryTable;

    DataSet* m_dataSet;
    QString m_name;
    QString m_tableName;
    FieldType m_type = FieldType::Unknown;
    FieldType m_declaredType = FieldType::Unknown;  // set by the owner; wins over the column's type
    int m_size = 0;
    int m_precision = 15;
    int m_index = -1;
    bool m_writable = false;
    bool m_boolAsText = false;  // a Boolean stored in a character column as 'y'/'n'
    QString m_displayLabel;
    QString m_displayFormat;
    bool m_required = false;
    bool m_requiredSet = false;  // set by the owner; the column's NOT NULL no longer decides
    bool m_readOnly = false;
    bool m_visible = true;
    ChangeHandler m_onChange;
    GetTextHandler m_onGetText;
    SetTextHandler m_onSetText;
};

// True when both are null, or both hold the same value.
bool sameValue(const QVariant& a, const QVariant& b);

// Reads a yes/no text or value: true, 1, y, yes, da, t (any letter case) are
// true; false, 0, n, no, ne, f are false; ok is false for anything else.
bool readBoolean(const QVariant& value, bool* ok);

} // namespace tarvex
