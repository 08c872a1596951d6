#include "Productworkoperationspage.h"

#include "DBControls.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "Guarded.h"
#include "Pagegrid.h"
#include "Productcachedlists.h"
#include "Productdmunit.h"
#include "Productsuggestiondelegate.h"
#include "Pwodesceditorunit.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace products {

namespace {

const QString kSort = QStringLiteral("sort");
const QString kDescription = QStringLiteral("description");

QueryDataSet& operations()
{
    return *ProductDM->ProductWorkingOperationZQ;
}

tarvex::Field& operationField(const QString& name)
{
    return operations().fieldByName(name);
}

} // namespace

// Machine type and number offer the values already used; the description is
// not typed in the cell but edited through its ellipsis.
class WorkOperationDelegate : public SuggestionDelegate {
public:
    WorkOperationDelegate(tarvex::DBGrid* grid, TProductWorkOperationsPage* page)
        : SuggestionDelegate(grid), m_grid(grid), m_page(page)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!isDescription(index))
            return SuggestionDelegate::createEditor(parent, option, index);
        auto* cell = new QWidget(parent);
        cell->setAutoFillBackground(true);
        auto* row = new QHBoxLayout(cell);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        auto* text = new QLineEdit(cell);
        text->setReadOnly(true);
        auto* ellipsis = new QToolButton(cell);
        ellipsis->setObjectName(QStringLiteral("DescriptionEllipsis"));
        ellipsis->setText(QStringLiteral("..."));
        ellipsis->setEnabled(m_page->hasDescriptionEditor());
        row->addWidget(text, 1);
        row->addWidget(ellipsis);
        TProductWorkOperationsPage* page = m_page;
        tarvex::DBGrid* grid = m_grid;
        // The cell closes before the description window opens; the edited
        // text reaches the cell through the field.
        QObject::connect(ellipsis, &QToolButton::clicked, cell, [grid, page] {
            grid->runCellButton([page] { page->WorkingOperationDBGEditButtonClick(); });
        });
        return cell;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (!isDescription(index)) {
            SuggestionDelegate::setEditorData(editor, index);
            return;
        }
        if (auto* text = editor->findChild<QLineEdit*>())
            text->setText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        // The ellipsis has stored the description already.
        if (!isDescription(index))
            SuggestionDelegate::setModelData(editor, model, index);
    }

private:
    bool isDescription(const QModelIndex& index) const
    {
        const tarvex::Field* field = m_grid->fieldOfSection(index.column());
        return field && field->fieldName().compare(kDescription, Qt::CaseInsensitive) == 0;
    }

    tarvex::DBGrid* m_grid;
    TProductWorkOperationsPage* m_page;
};

TProductWorkOperationsPage::TProductWorkOperationsPage(QWidget* parent)
    : QWidget(parent),
      m_newRows(std::make_unique<NewRowsOfProduct>(*ProductDM->ProductWorkingOperationZQ)),
      m_describe(EditPWODesc)
{
    setObjectName(QStringLiteral("WorkOperationsTS"));
    QueryDataSet& rows = operations();
    const auto columns = tarvex::declareColumns(rows, {{"sort", "R.b."},
                                                   {"machinetype", "Tip mašine"},
                                                   {"machinenumber", "Broj mašine"},
                                                   {"description", "Opis"},
                                                   {"preparationtime", "Vreme pripreme (min)"},
                                                   {"productiontime", "Vreme izrade (min)"}});
    m_grid = newPageGrid(this, QStringLiteral("WorkingOperationDBG"), rows, columns, 80);
    m_delegate = new WorkOperationDelegate(m_grid, this);

    m_navigator = new tarvex::DBNavigator(this);
    m_navigator->setObjectName(QStringLiteral("WorkingOperationNavigator"));
    m_navigator->setDataSet(&rows);
    m_navigator->setVisibleButtons(tarvex::DBNavigator::All);

    m_moveUp = new QAction(QStringLiteral("Na gore"), this);
    m_moveDown = new QAction(QStringLiteral("Na dole"), this);
    connect(m_moveUp, &QAction::triggered, this, tarvex::guardedSlot([this] { WOItemMoveUpExecute(); }));
    connect(m_moveDown, &QAction::triggered, this, tarvex::guardedSlot([this] { WOItemMoveDownExecute(); }));
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_grid->addAction(m_moveUp);
    m_grid->addAction(m_moveDown);
    auto update = [this] {
        WOItemMoveUpUpdate();
        WOItemMoveDownUpdate();
    };
    for (auto signal : {&tarvex::DataSet::stateChanged, &tarvex::DataSet::modelReset})
        connect(&rows, signal, this, update);
    connect(&rows, &tarvex::DataSet::currentRowChanged, this, update);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_navigator, 0, Qt::AlignLeft);
    layout->addWidget(m_grid, 1);
    update();
}

void TProductWorkOperationsPage::OpenWorkingOperations(qint64 productId)
{
    OpenCachedList(operations(), productId, kSort);
    for (const char* column : {"machinetype", "machinenumber"}) {
        QStringList values;
        ProductDM->GetFieldValues(QString::fromUtf8(column), QStringLiteral("productworkingoperation"), values, true,
                                  {}, {});
        m_delegate->setList(QString::fromUtf8(column), values);
    }
}

QStringList TProductWorkOperationsPage::machineTypes() const
{
    return m_delegate->list(QStringLiteral("machinetype"));
}

QStringList TProductWorkOperationsPage::machineNumbers() const
{
    return m_delegate->list(QStringLiteral("machinenumber"));
}

void TProductWorkOperationsPage::setDescriptionEditor(DescriptionEditor editor)
{
    m_describe = std::move(editor);
}

void TProductWorkOperationsPage::WorkingOperationDBGEditButtonClick()
{
    QueryDataSet& rows = operations();
    if (!m_describe || !rows.isActive() || rows.isEmpty())
        return;
    tarvex::Field& description = operationField(kDescription);
    QString text = description.asString();
    if (!m_describe(text))
        return;
    if (rows.state() == tarvex::DataSetState::Browse)
        rows.edit();
    description.setValue(text);
}

void TProductWorkOperationsPage::MoveWOItem(bool up)
{
    QueryDataSet& rows = operations();
    if (!rows.isActive() || rows.isEmpty())
        return;
    tarvex::Field& sort = operationField(kSort);
    const auto mark = rows.bookmark();
    const QVariant own = sort.value();
    rows.disableControls();
    try {
        if (up)
            rows.prior();
        else
            rows.next();
        if (!(up ? rows.bof() : rows.eof())) {
            const QVariant neighbour = sort.value();
            rows.edit();
            sort.setValue(own);
            rows.post();
            rows.gotoBookmark(mark);
            rows.edit();
            sort.setValue(neighbour);
            rows.post();
            rows.setSortedFields(QString());
            rows.setSortedFields(kSort);
        }
        rows.gotoBookmark(mark);
    } catch (...) {
        rows.enableControls();
        throw;
    }
    rows.enableControls();
}

bool TProductWorkOperationsPage::movable() const
{
    const QueryDataSet& rows = operations();
    return rows.isActive() && rows.state() == tarvex::DataSetState::Browse &&
           rows.sortedFields().trimmed().compare(kSort, Qt::CaseInsensitive) == 0;
}

void TProductWorkOperationsPage::WOItemMoveUpUpdate()
{
    m_moveUp->setEnabled(movable() && !operations().bof());
}

void TProductWorkOperationsPage::WOItemMoveDownUpdate()
{
    m_moveDown->setEnabled(movable() && !operations().eof());
}

TProductWorkOperationsPage::~TProductWorkOperationsPage() = default;

} // namespace products
