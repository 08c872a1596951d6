#include "CustomNavigatorForm.h"

#include "Dialogs.h"
#include "Guarded.h"

#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvex {

TCustomNavigatorForm::TCustomNavigatorForm(QWidget* parent) : QWidget(parent)
{
    m_list = new SearchValueList(this);
    m_find = new QPushButton(QStringLiteral("&Pronađi"), this);
    m_find->setDefault(true);
    // Errors of a search go to the host's handling, never out of the event loop.
    connect(m_find, &QPushButton::clicked, this, guardedSlot([this] { FindButtonClick(); }));
    connect(m_list, &SearchValueList::findRequested, this, guardedSlot([this] { FindButtonClick(); }));
    connect(m_list, &SearchValueList::editButtonClicked, this,
            [this](const QString& key) { guarded([this, &key] { SearchVLEEditButtonClick(key); }); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_list);
    layout->addWidget(m_find);
}

void TCustomNavigatorForm::SetSearchProps()
{
    m_list->resizeColumnToContents(0);
}

void TCustomNavigatorForm::FindButtonClick()
{
    m_list->commitPending();
}

} // namespace tarvex
