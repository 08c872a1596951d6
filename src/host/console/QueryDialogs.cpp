#include "QueryDialogs.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "Modal.h"

#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvex {

namespace {

QString cellText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'f', 2);
    return value.toString();
}

} // namespace

QueryTableDialog::QueryTableDialog(QSqlDatabase db, const QString& sql, const QStringList& titles,
                                   const QString& caption, bool picking, QWidget* parent, const QVariantList& values)
    : QDialog(parent)
{
    setWindowTitle(caption);
    QSqlQuery query = selectSql(db, sql, values);
    const int columns = query.record().count();
    while (query.next()) {
        QVariantList row;
        for (int c = 0; c < columns; ++c)
            row << query.value(c);
        m_rows << row;
    }

    m_header = new QLabel(this);
    m_header->hide();
    m_table = new QTableWidget(int(m_rows.size()), columns, this);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    QStringList headers = titles;
    for (int c = int(headers.size()); c < columns; ++c)
        headers << query.record().fieldName(c);
    m_table->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < m_rows.size(); ++r) {
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem(cellText(m_rows[r][c]));
            const int type = m_rows[r][c].typeId();
            if (type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    if (!m_rows.isEmpty())
        m_table->selectRow(0);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    if (picking) {
        auto* ok = new QPushButton(QStringLiteral("&U redu"), this);
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(m_table, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
        buttons->addWidget(ok);
    }
    auto* close = new QPushButton(picking ? QStringLiteral("&Otkaži") : QStringLiteral("&Zatvori"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    resize(560, 380);
}

void QueryTableDialog::setHeaderText(const QString& text)
{
    m_header->setText(text);
    m_header->setVisible(!text.isEmpty());
}

QVariantList QueryTableDialog::chosenRow() const
{
    const int row = m_table->currentRow();
    return row >= 0 && row < m_rows.size() ? m_rows[row] : QVariantList();
}

int QueryTableDialog::rowCount() const
{
    return int(m_rows.size());
}

QVariantList pickRow(QSqlDatabase db, const QString& sql, const QStringList& titles, const QString& caption)
{
    QueryTableDialog dialog(db, sql, titles, caption, true);
    if (execModal(dialog) != QDialog::Accepted)
        return {};
    return dialog.chosenRow();
}

void showRows(QSqlDatabase db, const QString& sql, const QStringList& titles, const QString& caption,
              const QString& header, const QVariantList& values)
{
    QueryTableDialog dialog(db, sql, titles, caption, false, nullptr, values);
    dialog.setHeaderText(header);
    execModal(dialog);
}

} // namespace tarvex
