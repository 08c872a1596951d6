#include "CustomNavigatorForm.h"

#include "Dialogs.h"

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
    auto guarded = [this](auto&& work) {
        try {
            work();
        } catch (const std::exception& e) {
            dialogs().showException(e);
        }
    };
    connect(m_find, &QPushButton::clicked, this, [this, guarded] { guarded([this] { FindButtonClick(); }); });
    connect(m_list, &SearchValueList::findRequested, this, [this, guarded] { guarded([this] { FindButtonClick(); }); });
    connect(m_list, &SearchValueList::editButtonClicked, this,
            [this, guarded](const QString& key) { guarded([this, &key] { SearchVLEEditButtonClick(key); }); });

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
