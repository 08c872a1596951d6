#include "DBControls.h"

#include "DataSetErrors.h"
#include "DBGrid.h"
#include "Dialogs.h"
#include "Guarded.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QToolButton>

namespace tarvex {

FieldLink::FieldLink(QWidget* control, std::function<void()> refresh)
    : QObject(control), m_control(control), m_refresh(std::move(refresh))
{
}

void FieldLink::bind(DataSet* dataSet, const QString& fieldName)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    m_fieldName = fieldName;
    m_pending = false;
    for (auto signal : {&DataSet::modelReset, &DataSet::stateChanged})
        connect(dataSet, signal, this, &FieldLink::refresh);
    connect(dataSet, &DataSet::currentRowChanged, this, &FieldLink::refresh);
    connect(dataSet, &DataSet::rowChanged, this, [this](int row) {
        if (m_dataSet && row == m_dataSet->currentRow())
            refresh();
    });
    refresh();
}

Field* FieldLink::field() const
{
    return m_dataSet ? m_dataSet->findField(m_fieldName) : nullptr;
}

void FieldLink::userChanged()
{
    if (m_refreshing || !m_dataSet || !m_dataSet->isActive())
        return;
    m_pending = true;
    if (!m_dataSet->isEditing()) {
        try {
            m_dataSet->edit();
        } catch (const std::exception& e) {
            m_pending = false;
            dialogs().showException(e);
            refresh();
        }
    }
}

void FieldLink::commit(const QString& text)
{
    write([&text](Field& f) { f.setText(text); });
}

void FieldLink::commitValue(const QVariant& value)
{
    write([&value](Field& f) { f.setValue(value); });
}

void FieldLink::write(const std::function<void(Field&)>& assign)
{
    Field* f = m_pending ? field() : nullptr;
    if (!f)
        return;
    if (!m_dataSet->isEditing())
        m_dataSet->edit();
    assign(*f);
    m_pending = false;
    refresh();
}

void FieldLink::refresh()
{
    // A change the user has not finished is kept while the row stays.
    if (m_pending && m_dataSet && m_dataSet->isEditing())
        return;
    m_pending = false;
    m_refreshing = true;
    m_refresh();
    m_refreshing = false;
    m_control->setEnabled(m_dataSet && m_dataSet->isActive());
}

void FieldLink::commitAll(QWidget* root)
{
    for (DBEdit* edit : root->findChildren<DBEdit*>())
        edit->commit();
    for (DBCheckBox* box : root->findChildren<DBCheckBox*>())
        box->commit();
    for (DBComboBox* combo : root->findChildren<DBComboBox*>())
        combo->commit();
    for (DBMemo* memo : root->findChildren<DBMemo*>())
        memo->commit();
    DBGrid::commitEditors(root);
}

namespace {
const char* const kDiscardsEdits = "tarvexDiscardsEdits";
}

void FieldLink::setDiscardsEdits(QWidget* button)
{
    button->setProperty(kDiscardsEdits, true);
}

bool FieldLink::leavingCommits(const QFocusEvent* event)
{
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return false;
    // The widget taking the focus is already the application's focus widget.
    const QWidget* to = QApplication::focusWidget();
    return !(to && to->property(kDiscardsEdits).toBool());
}

namespace {

// Leaving a control writes its text; a refused text is shown and the
// control keeps it for the user to correct.
template <class Commit>
void commitOnLeave(Commit commit)
{
    guarded(commit);
}

bool isNumericField(const Field& f)
{
    const FieldType type = f.dataType();
    return type == FieldType::Float || type == FieldType::Integer || type == FieldType::LargeInt;
}

} // namespace

// --- DBEdit

DBEdit::DBEdit(QWidget* parent)
    : QLineEdit(parent), m_link(this, [this] {
          const Field* f = m_link.field();
          // Numbers show their display format until the user edits them.
          const bool shown = f && !hasFocus() && isNumericField(*f);
          setText(f && m_link.dataSet()->isActive() ? (shown ? f->displayText() : f->text()) : QString());
          // A read-only data set (a session without the right) takes no typing.
          setReadOnly(!f || f->readOnly() || m_link.dataSet()->isReadOnly());
      })
{
    connect(this, &QLineEdit::textEdited, &m_link, &FieldLink::userChanged);
    connect(this, &QLineEdit::returnPressed, this, [this] { commitOnLeave([this] { commit(); }); });
}

void DBEdit::commit()
{
    m_link.commit(text());
}

void DBEdit::focusInEvent(QFocusEvent* event)
{
    m_link.refresh();
    QLineEdit::focusInEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    if (FieldLink::leavingCommits(event)) {
        bool stored = false;
        commitOnLeave([this, &stored] {
            commit();
            stored = true;
        });
        if (stored)
            emit left();
    }
    m_link.refresh();
    QLineEdit::focusOutEvent(event);
}

// --- DBCheckBox

DBCheckBox::DBCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent), m_link(this, [this] {
          const Field* f = m_link.field();
          bool on = false;
          if (f && m_link.dataSet()->isActive() && !f->isNull()) {
              const QString value = f->text();
              on = value.compare(m_checked, Qt::CaseInsensitive) == 0 ||
                   (f->dataType() == FieldType::Boolean && f->asBoolean());
          }
          setChecked(on);
      })
{
    connect(this, &QCheckBox::clicked, &m_link, &FieldLink::userChanged);
}

void DBCheckBox::bind(DataSet* dataSet, const QString& fieldName, const QString& checkedValue,
                      const QString& uncheckedValue)
{
    m_checked = checkedValue;
    m_unchecked = uncheckedValue;
    m_link.bind(dataSet, fieldName);
}

void DBCheckBox::commit()
{
    m_link.commit(isChecked() ? m_checked : m_unchecked);
}

void DBCheckBox::focusOutEvent(QFocusEvent* event)
{
    if (FieldLink::leavingCommits(event))
        commitOnLeave([this] { commit(); });
    QCheckBox::focusOutEvent(event);
}

// --- DBComboBox

DBComboBox::DBComboBox(QWidget* parent)
    : QComboBox(parent), m_link(this, [this] {
          const Field* f = m_link.field();
          const QString value = f && m_link.dataSet()->isActive() ? f->text() : QString();
          const int at = findText(value);
          if (isEditable())
              setEditText(value);
          else
              setCurrentIndex(at);
      })
{
    connect(this, &QComboBox::activated, this, [this] {
        m_link.userChanged();
        commitOnLeave([this] { commit(); });
    });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (isEditable() && hasFocus())
            m_link.userChanged();
    });
}

void DBComboBox::commit()
{
    m_link.commit(currentText());
}

void DBComboBox::focusOutEvent(QFocusEvent* event)
{
    if (FieldLink::leavingCommits(event))
        commitOnLeave([this] { commit(); });
    QComboBox::focusOutEvent(event);
}

// --- DBMemo

DBMemo::DBMemo(QWidget* parent)
    : QPlainTextEdit(parent), m_link(this, [this] {
          const Field* f = m_link.field();
          setPlainText(f && m_link.dataSet()->isActive() ? f->text() : QString());
          // A read-only data set (a session without the right) takes no typing.
          setReadOnly(!f || f->readOnly() || m_link.dataSet()->isReadOnly());
      })
{
    // Tab goes on to the next field, as in every other control; it is not
    // typed into the text (which would mark the row changed).
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (hasFocus())
            m_link.userChanged();
    });
}

void DBMemo::commit()
{
    m_link.commit(toPlainText());
}

void DBMemo::focusOutEvent(QFocusEvent* event)
{
    if (FieldLink::leavingCommits(event))
        commitOnLeave([this] { commit(); });
    QPlainTextEdit::focusOutEvent(event);
}

// --- DBNavigator

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    const std::pair<Button, const char*> buttons[] = {
        {First, "|◀"}, {Prior, "◀"}, {Next, "▶"}, {Last, "▶|"}, {Insert, "+"}, {Delete, "−"}, {Post, "✓"}, {Cancel, "✗"}};
    const std::pair<Button, const char*> hints[] = {
        {First, "Prvi"},  {Prior, "Prethodni"}, {Next, "Sledeći"}, {Last, "Poslednji"},
        {Insert, "Dodaj"}, {Delete, "Obriši"},   {Post, "Sačuvaj"}, {Cancel, "Otkaži"}};
    for (int i = 0; i < 8; ++i) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromUtf8(buttons[i].second));
        b->setToolTip(QString::fromUtf8(hints[i].second));
        b->setAutoRaise(true);
        const Button which = buttons[i].first;
        connect(b, &QToolButton::clicked, this, [this, which] { press(which); });
        layout->addWidget(b);
        m_buttons << qMakePair(which, b);
    }
    layout->addStretch();
    updateButtons();
}

void DBNavigator::setDataSet(DataSet* dataSet)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    for (auto signal : {&DataSet::stateChanged, &DataSet::modelReset})
        connect(dataSet, signal, this, &DBNavigator::updateButtons);
    connect(dataSet, &DataSet::currentRowChanged, this, &DBNavigator::updateButtons);
    updateButtons();
}

void DBNavigator::setVisibleButtons(int buttons)
{
    for (const auto& [which, b] : m_buttons)
        b->setVisible(buttons & which);
}

QToolButton* DBNavigator::button(Button which) const
{
    for (const auto& [w, b] : m_buttons)
        if (w == which)
            return b;
    return nullptr;
}

void DBNavigator::press(Button which)
{
    if (!m_dataSet)
        return;
    try {
        switch (which) {
        case First: m_dataSet->first(); break;
        case Prior: m_dataSet->prior(); break;
        case Next: m_dataSet->next(); break;
        case Last: m_dataSet->last(); break;
        case Insert: m_dataSet->insert(); break;
        case Delete:
            if (m_deleteHandler)
                m_deleteHandler();
            else if (dialogs().confirmDelete(QStringLiteral("Da li želite da izbrišete izabrani red?")))
                m_dataSet->deleteRecord();
            break;
        case Post:
            FieldLink::commitAll(window());
            m_dataSet->post();
            break;
        case Cancel:
            // A cell still being typed in belongs to the edit being dropped.
            DBGrid::discardEditors(window(), m_dataSet);
            m_dataSet->cancel();
            break;
        default: break;
        }
    } catch (const std::exception& e) {
        dialogs().showException(e);
    }
    updateButtons();
}

void DBNavigator::updateButtons()
{
    const bool active = m_dataSet && m_dataSet->isActive();
    const bool editing = active && m_dataSet->isEditing();
    const bool browsing = active && !editing;
    const bool canModify = active && !m_dataSet->isReadOnly();
    const bool hasRows = active && !m_dataSet->isEmpty();
    for (const auto& [which, b] : m_buttons) {
        bool on = false;
        switch (which) {
        case First:
        case Prior: on = browsing && hasRows && m_dataSet->currentRow() > 0; break;
        case Next:
        case Last: on = browsing && hasRows && m_dataSet->currentRow() < m_dataSet->recordCount() - 1; break;
        case Insert: on = browsing && canModify; break;
        case Delete: on = browsing && canModify && hasRows; break;
        case Post:
        case Cancel: on = editing; break;
        default: break;
        }
        b->setEnabled(on);
    }
}

} // namespace tarvex
