#include "Productattributesunit.h"
#include "Productsave.h"

#include "Attributeunit.h"
#include "BusyCursor.h"
#include "Clock.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "Guarded.h"
#include "Pagegrid.h"
#include "Productdmunit.h"
#include "Productresourcestring.h"
#include "Productsuggestiondelegate.h"
#include "SqlText.h"
#include "WriteRetry.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace products {

namespace {

QueryDataSet& variants()
{
    return *ProductDM->ProductAttributeZQ;
}

qint64 currentProductId()
{
    return ProductDM->ProductZQ->fieldByName(QStringLiteral("productid")).asLargeInt();
}

void setField(const QString& name, const QVariant& value)
{
    variants().fieldByName(name).setValue(value);
}

QPushButton* actionButton(QAction* action, QWidget* parent)
{
    auto* button = new QPushButton(action->text(), parent);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

} // namespace

// --- catalogue form

TProductAttributesPage::TProductAttributesPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AttributesTS"));
    QList<tarvex::DataSetModel::Column> columns;
    for (int slot = 1; slot <= MaxSlots; ++slot) {
        variants().declareField(QStringLiteral("attname%1").arg(slot));
        variants().declareField(QStringLiteral("attvalue%1").arg(slot));
        columns.append({QStringLiteral("attname%1").arg(slot), QStringLiteral("Atribut %1").arg(slot)});
        columns.append({QStringLiteral("attvalue%1").arg(slot), QStringLiteral("Vrednost atr. %1").arg(slot)});
    }
    variants().declareField(QStringLiteral("prodattbarcode"));
    columns.append({QStringLiteral("prodattbarcode"), QStringLiteral("Barkod atributa")});

    // Eleven columns: each as wide as its title or text, so the barcode fits.
    m_grid = newPageGrid(this, QStringLiteral("AttributesDBG"), variants(), columns, 40);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->installEventFilter(this);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    m_navigator = new tarvex::DBNavigator(this);
    m_navigator->setDataSet(&variants());
    m_navigator->setVisibleButtons(tarvex::DBNavigator::First | tarvex::DBNavigator::Prior |
                                   tarvex::DBNavigator::Next | tarvex::DBNavigator::Last);

    m_add = new QAction(QStringLiteral("Dodaj"), this);
    m_remove = new QAction(QStringLiteral("Izbaci"), this);
    connect(m_add, &QAction::triggered, this, tarvex::guardedSlot([this] { AddAttributeExecute(); }));
    connect(m_remove, &QAction::triggered, this, tarvex::guardedSlot([this] { RemoveAttributeExecute(); }));
    QPushButton* addButton = actionButton(m_add, this);
    addButton->setObjectName(QStringLiteral("AddAttributeButton"));
    QPushButton* removeButton = actionButton(m_remove, this);
    removeButton->setObjectName(QStringLiteral("RemoveAttributeButton"));

    auto* top = new QHBoxLayout;
    top->addWidget(m_navigator);
    top->addStretch();
    top->addWidget(addButton);
    top->addWidget(removeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
}

bool TProductAttributesPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The grid only shows: rows change through "Dodaj" and "Izbaci".
        if (key->key() == Qt::Key_Delete)
            return key->modifiers() != Qt::ControlModifier;
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TProductAttributesPage::fillSlot(int slot, qint32 attributeId, const QString& attribute, bool required,
                                      qint32 valueId, const QString& value)
{
    const QString n = QString::number(slot);
    setField(QStringLiteral("attributeprid") + n, attributeId);
    setField(QStringLiteral("prodattrequired") + n, required);
    setField(QStringLiteral("attributeprvalueid") + n, valueId);
    setField(QStringLiteral("attname") + n, attribute);
    setField(QStringLiteral("attvalue") + n, value);
}

void TProductAttributesPage::AddAttributeExecute()
{
    QueryDataSet& rows = variants();
    int slot = 1;
    tarvex::DataSet::Bookmark variant = 0;
    for (;;) {
        qint32 attributeId = 0;
        qint32 valueId = 0;
        QString attribute;
        QString value;
        bool required = false;
        if (GetAttribute(attributeId, attribute, required, valueId, value, false)) {
            if (slot == 1) {
                rows.append();
                setField(QStringLiteral("productid"), currentProductId());
                fillSlot(1, attributeId, attribute, required, valueId, value);
                setField(QStringLiteral("prodattribute"), attribute);
                setField(QStringLiteral("prodattributevalue"), value);
                {
                    tarvex::BusyCursor busy;
                    setField(QStringLiteral("prodattbarcode"),
                             ProductDM->GenerateAttributeBarcode(tarvex::hostClock().now(), attributeId));
                }
                rows.post();
                variant = rows.bookmark();
            } else {
                // The picker may have left the cursor elsewhere.
                if (rows.bookmarkValid(variant))
                    rows.gotoBookmark(variant);
                rows.edit();
                fillSlot(slot, attributeId, attribute, required, valueId, value);
                rows.post();
            }
            ++slot;
        }
        if (slot > MaxSlots) {
            tarvex::dialogs().error(CAT_MAX_ATTRIBUTE_ERR);
            return;
        }
        if (!tarvex::dialogs().confirm(PROD_ADD_ATTRIBUTE_CNF))
            return;
    }
}

void TProductAttributesPage::RemoveAttributeExecute()
{
    variants().deleteRecord();
}

// --- descriptive form

TProductAttributesDescPage::TProductAttributesDescPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AttributesDescTS"));
    variants().declareField(QStringLiteral("prodattribute"));
    variants().declareField(QStringLiteral("prodattributevalue"));
    // Rows typed here get the product's id when the editor applies them.
    variants().declareField(QStringLiteral("productid")).setRequired(false);
    m_grid = newPageGrid(this, QStringLiteral("AttributesDescDBG"), variants(),
                         {{QStringLiteral("prodattribute"), QStringLiteral("Atribut")},
                          {QStringLiteral("prodattributevalue"), QStringLiteral("Vrednost atributa")}},
                         80);
    m_grid->horizontalHeader()->setDefaultSectionSize(220);
    m_suggestions = new SuggestionDelegate(m_grid);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                const tarvex::Field* left = m_grid->fieldOfSection(previous.column());
                if (previous.isValid() && current.column() != previous.column() && left &&
                    left->fieldName().compare(QLatin1String("prodattribute"), Qt::CaseInsensitive) == 0)
                    tarvex::guarded([this] { AttributesDescDBGColExit(); });
            });

    m_navigator = new tarvex::DBNavigator(this);
    m_navigator->setDataSet(&variants());
    m_navigator->setVisibleButtons(tarvex::DBNavigator::All);

    auto* top = new QHBoxLayout;
    top->addWidget(m_navigator);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
}

void TProductAttributesDescPage::setAttributeSuggestions(const QStringList& names)
{
    m_suggestions->setList(QStringLiteral("prodattribute"), names);
}

QStringList TProductAttributesDescPage::attributeSuggestions() const
{
    return m_suggestions->list(QStringLiteral("prodattribute"));
}

QStringList TProductAttributesDescPage::valueSuggestions() const
{
    return m_suggestions->list(QStringLiteral("prodattributevalue"));
}

void TProductAttributesDescPage::AttributesDescDBGColExit()
{
    QStringList values;
    const QString name =
        variants().isEmpty() ? QString() : variants().fieldByName(QStringLiteral("prodattribute")).asString();
    ProductDM->GetFieldValues(QStringLiteral("prodattributevalue"), QStringLiteral("productattribute"), values, true,
                              QStringLiteral("WHERE prodattribute = ?"), QString(), {name});
    m_suggestions->setList(QStringLiteral("prodattributevalue"), values);
}

// --- loading and saving

void OpenAttributes(qint64 productId)
{
    QueryDataSet& rows = variants();
    rows.disableControls();
    try {
        rows.close();
        rows.setParam(QStringLiteral("idproduct"), productId);
        rows.open();
        rows.first();
    } catch (...) {
        rows.enableControls();
        throw;
    }
    rows.enableControls();
}

void AttributesApply(qint64 productId)
{
    // The variants go in together, under the write policy.
    tarvex::writeTransaction(*ProductDM->ZConnection(), [&] { Productsave::applyCachedList(variants(), productId); },
                             QStringLiteral("Product variants"));
}

} // namespace products
