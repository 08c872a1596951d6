#include "CustomViewerForm.h"

#include "Modal.h"
#include "OkCancelRow.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>

namespace tarvex {

TCustomViewerForm::TCustomViewerForm(QWidget* parent) : QWidget(parent)
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_grid = new DBGrid(this);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_popup = new QMenu(this);
    m_columns = new QAction(QStringLiteral("Kolone..."), this);
    m_columns->setToolTip(QStringLiteral("Izbor kolona koje se prikazuju"));
    connect(m_columns, &QAction::triggered, this, &TCustomViewerForm::ColumnsExecute);
    // The window's own actions go above the column choice.
    m_popupSeparator = m_popup->addSeparator();
    m_popup->addAction(m_columns);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        m_popup->exec(m_grid->viewport()->mapToGlobal(at));
    });
    connect(m_grid, &DBGrid::recordDoubleClicked, this, [this] { DBGDblClick(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_grid);
}

QAction* TCustomViewerForm::addListAction(const QString& caption, const QString& hint, const QKeySequence& shortcut,
                                          bool onToolBar, bool inPopup)
{
    auto* action = new QAction(caption, this);
    action->setToolTip(hint.isEmpty() ? caption : hint);
    action->setStatusTip(hint);
    if (!shortcut.isEmpty()) {
        QList<QKeySequence> keys{shortcut};
        // Enter of the number pad is its own key: it does what Return does.
        const QKeyCombination first = shortcut[0];
        if (shortcut.count() == 1 && first.key() == Qt::Key_Return)
            keys << QKeySequence(QKeyCombination(first.keyboardModifiers() | Qt::KeypadModifier, Qt::Key_Enter));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    if (onToolBar)
        m_toolBar->addAction(action);
    if (inPopup)
        m_popup->insertAction(m_popupSeparator, action);
    m_actions << action;
    return action;
}

void TCustomViewerForm::addListSeparator()
{
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_toolBar->addAction(separator);
    m_actions << separator;
}

void TCustomViewerForm::ColumnsExecute()
{
    DataSet* ds = m_grid->dataSet();
    if (!ds)
        return;
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Kolone"));
    auto* list = new QWidget;
    auto* listLayout = new QVBoxLayout(list);
    QList<QPair<Field*, QCheckBox*>> boxes;
    DataSetModel* model = m_grid->dataModel();
    for (int c = 0; c < model->columnCount(); ++c) {
        Field* field = model->fieldAt(c);
        auto* box = new QCheckBox(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), list);
        box->setChecked(m_grid->isColumnVisible(field->fieldName()));
        listLayout->addWidget(box);
        boxes << qMakePair(field, box);
    }
    auto* scroll = new QScrollArea(&dialog);
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    const OkCancelRow buttons = makeOkCancelRow(&dialog);
    connect(buttons.ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(scroll);
    layout->addLayout(buttons.layout);
    if (execModal(dialog) != QDialog::Accepted)
        return;
    for (const auto& [field, box] : boxes)
        m_grid->setColumnVisible(field->fieldName(), box->isChecked());
}

} // namespace tarvex
