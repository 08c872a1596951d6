#include "Attributeunit.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Format.h"
#include "Guarded.h"
#include "HostStrings.h"
#include "PickingLists.h"
#include "PickListDelegate.h"
#include "Productdmunit.h"
#include "Referencedelete.h"
#include "SqlText.h"
#include "WheelToArrowFilter.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <memory>

namespace products {

using tarvex::DBGrid;
using tarvex::DBNavigator;
using tarvex::QueryDataSet;

namespace {

const QString kValuesSql = QStringLiteral("SELECT * FROM attributeprvalue WHERE attributeprid = :attributeprid ORDER BY sort");
const QString kFilteredValuesSql = QStringLiteral(
    "SELECT * FROM attributeprvalue WHERE attributeprid = :attributeprid AND attributevalue LIKE :pattern ORDER BY sort");

void describeFields(QueryDataSet& attributes, QueryDataSet& values)
{
    attributes.declareField(QStringLiteral("attribute")).setDisplayLabel(QStringLiteral("Ime atributa"));
    attributes.declareField(QStringLiteral("required")).setDisplayLabel(QStringLiteral("Obavezan"));
    attributes.declareField(QStringLiteral("sort")).setDisplayLabel(QStringLiteral("R.b."));
    values.declareField(QStringLiteral("attributevalue")).setDisplayLabel(QStringLiteral("Vrednost atributa"));
    values.declareField(QStringLiteral("sort")).setDisplayLabel(QStringLiteral("R.b."));
}

QWidget* panel(QWidget* parent, DBNavigator* navigator, DBGrid* grid)
{
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(navigator);
    layout->addWidget(grid, 1);
    return widget;
}

} // namespace

TAttributeForm::TAttributeForm(QWidget* parent) : tarvex::PickingListWindow(parent)
{
    setWindowTitle(QStringLiteral("Atributi"));
    new tarvex::WheelToArrowFilter(this);

    m_attributeNavigator = new DBNavigator(this);
    m_attributes = new DBGrid(this);
    m_pickLists = new tarvex::PickListDelegate(m_attributes);
    m_valueNavigator = new DBNavigator(this);
    m_values = new DBGrid(this);
    for (DBGrid* grid : {m_attributes, m_values})
        addPickingGrid(grid, false);

    m_filter = new QLineEdit(this);
    m_filter->setMaxLength(100);
    m_filter->setPlaceholderText(QStringLiteral("Početak vrednosti"));
    m_filterAction = new QAction(QStringLiteral("Filter"), this);
    m_clearAction = new QAction(QStringLiteral("Očisti"), this);
    connect(m_filterAction, &QAction::triggered, this, &TAttributeForm::AttributeValueFilterExecute);
    connect(m_clearAction, &QAction::triggered, this, &TAttributeForm::AttributeValueClearExecute);
    auto* filterButton = new QPushButton(m_filterAction->text(), this);
    auto* clearButton = new QPushButton(m_clearAction->text(), this);
    for (QPushButton* button : {filterButton, clearButton})
        button->setAutoDefault(false);
    connect(filterButton, &QPushButton::clicked, m_filterAction, &QAction::trigger);
    connect(clearButton, &QPushButton::clicked, m_clearAction, &QAction::trigger);
    connect(m_clearAction, &QAction::changed, clearButton,
            [this, clearButton] { clearButton->setEnabled(m_clearAction->isEnabled()); });
    m_filter->installEventFilter(this);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(panel(splitter, m_attributeNavigator, m_attributes));
    QWidget* central = panel(splitter, m_valueNavigator, m_values);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(m_filter, 1);
    filterRow->addWidget(filterButton);
    filterRow->addWidget(clearButton);
    static_cast<QVBoxLayout*>(central->layout())->addLayout(filterRow);
    splitter->addWidget(central);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({330, 330});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(newButtonRow());
    resize(700, 420);

    FormCreate();
}

QueryDataSet& TAttributeForm::attributes() const
{
    return *ProductDM->AttributePrZQ;
}

QueryDataSet& TAttributeForm::values() const
{
    return *ProductDM->AttributePrValueZQ;
}

void TAttributeForm::FormCreate()
{
    QueryDataSet& attributeSet = attributes();
    QueryDataSet& valueSet = values();
    describeFields(attributeSet, valueSet);
    attributeSet.close();
    attributeSet.open();
    attributeSet.first();

    m_attributeNavigator->setDataSet(&attributeSet);
    m_attributeNavigator->setDeleteHandler([rows = &attributeSet] { AskAndDeleteReferenceRow(*rows); });
    tarvex::showSortableColumns(m_attributes, attributeSet,
                                {QStringLiteral("sort"), QStringLiteral("attribute"), QStringLiteral("required")});
    m_pickLists->setPickList(QStringLiteral("required"), {tarvex::YES_CAP, tarvex::NO_CAP});

    m_valueNavigator->setDataSet(&valueSet);
    m_valueNavigator->setDeleteHandler([rows = &valueSet] { AskAndDeleteReferenceRow(*rows); });
    tarvex::showSortableColumns(m_values, valueSet, {QStringLiteral("sort"), QStringLiteral("attributevalue")});

    // The data module re-reads the values whenever the attribute row moves.
    for (auto signal : {&tarvex::DataSet::stateChanged, &tarvex::DataSet::modelReset})
        connect(&valueSet, signal, this, &TAttributeForm::AttributeValueClearUpdate);
    AttributeValueClearUpdate();
    m_attributes->setFocus();
    setPicking(false);
}

void TAttributeForm::pickingChanged(bool picking)
{
    // While picking a double-click chooses the value instead of editing a
    // cell; Enter in a grid stays the grid's.
    auto triggers = QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
    for (DBGrid* grid : {m_attributes, m_values})
        grid->setEditTriggers(picking ? triggers : triggers | QAbstractItemView::DoubleClicked);
}

bool TAttributeForm::valuesFiltered() const
{
    return !m_filteredSql.isEmpty() && values().sql() == m_filteredSql;
}

bool TAttributeForm::hasPick() const
{
    return !attributes().isEmpty() && values().isActive() && !values().isEmpty();
}

void TAttributeForm::showValues(const QString& pattern)
{
    QueryDataSet& attributeSet = attributes();
    const qint64 id = attributeSet.isActive() && !attributeSet.isEmpty()
                          ? attributeSet.fieldByName(QStringLiteral("attributeprid")).asLargeInt()
                          : 0;
    QueryDataSet& valueSet = values();
    valueSet.close();
    const QString sql = pattern.isNull() ? kValuesSql : kFilteredValuesSql;
    m_filteredSql = pattern.isNull() ? QString() : sql;
    valueSet.setSql(sql);
    valueSet.setParam(QStringLiteral("attributeprid"), id);
    valueSet.setParam(QStringLiteral("pattern"), pattern);
    valueSet.open();
    valueSet.first();
}

void TAttributeForm::AttributeValueFilterExecute()
{
    if (!values().isActive())
        return;
    tarvex::guarded([&] {
        // "%" and "_" typed in the filter stay wildcards. The server reads a
        // backslash in a LIKE pattern as an escape even with
        // NO_BACKSLASH_ESCAPES, so it is doubled to stand for itself.
        QString pattern = m_filter->text();
        pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        showValues(pattern + QLatin1Char('%'));
    });
    AttributeValueClearUpdate();
}

void TAttributeForm::AttributeValueClearExecute()
{
    if (!values().isActive())
        return;
    tarvex::guarded([&] {
        showValues(QString());
        m_filter->clear();
    });
    AttributeValueClearUpdate();
}

void TAttributeForm::AttributeValueClearUpdate()
{
    m_clearAction->setEnabled(valuesFiltered());
}

bool TAttributeForm::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the filter field filters rather than confirming the window.
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_filterAction->trigger();
            return true;
        }
    }
    return tarvex::DialogWindow::eventFilter(watched, event);
}

bool GetAttribute(qint32& AttributeID, QString& Attribute, bool& Required, qint32& ValueID, QString& Value,
                  bool ByID)
{
    QueryDataSet& attributeSet = *ProductDM->AttributePrZQ;
    QueryDataSet& valueSet = *ProductDM->AttributePrValueZQ;
    if (ByID) {
        // Locating the attribute brings its values (data module).
        if (!tarvex::locateAfresh(attributeSet, QStringLiteral("attributeprid"), AttributeID) ||
            !valueSet.isActive() || !valueSet.locate(QStringLiteral("attributeprvalueid"), ValueID))
            return false;
    } else {
        if (!tarvex::pickIn<TAttributeForm>() || attributeSet.isEmpty() || valueSet.isEmpty())
            return false;
        AttributeID = qint32(attributeSet.fieldByName(QStringLiteral("attributeprid")).asLargeInt());
        ValueID = qint32(valueSet.fieldByName(QStringLiteral("attributeprvalueid")).asLargeInt());
    }
    Attribute = attributeSet.fieldByName(QStringLiteral("attribute")).asString();
    Required = attributeSet.fieldByName(QStringLiteral("required")).asBoolean();
    Value = valueSet.fieldByName(QStringLiteral("attributevalue")).asString();
    return true;
}

void AttributeManage()
{
    tarvex::administerIn<TAttributeForm>();
}

} // namespace products
