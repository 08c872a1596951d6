#include "PickingListWindow.h"

#include "DBGrid.h"
#include "HostStrings.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tarvex {

PickingListWindow::PickingListWindow(QWidget* parent) : DialogWindow(parent)
{
    m_ok = new QPushButton(QStringLiteral("&U redu"), this);
    m_ok->setDefault(true);
    m_close = new QPushButton(QStringLiteral("&Zatvori"), this);
    m_close->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &PickingListWindow::OKButtonClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void PickingListWindow::addPickingGrid(DBGrid* grid, bool pickingEdits)
{
    connect(grid, &DBGrid::recordDoubleClicked, this, &PickingListWindow::pickRow);
    if (pickingEdits)
        m_pickingEdits << grid;
}

QHBoxLayout* PickingListWindow::newButtonRow()
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_ok);
    row->addWidget(m_close);
    return row;
}

void PickingListWindow::setPicking(bool picking)
{
    m_ok->setVisible(picking);
    m_close->setText(picking ? CMN_CAPTION_CANCEL : CMN_CAPTION_CLOSE);
    for (DBGrid* grid : m_pickingEdits)
        grid->setPickingEdits(picking);
    pickingChanged(picking);
}

bool PickingListWindow::picking() const
{
    return !m_ok->isHidden();
}

void PickingListWindow::OKButtonClick()
{
    if (!hasPick())
        return;
    m_confirmed = true;
    accept();
}

void PickingListWindow::pickRow()
{
    if (picking())
        OKButtonClick();
}

} // namespace tarvex
