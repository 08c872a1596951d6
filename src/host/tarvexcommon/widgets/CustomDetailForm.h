#pragma once
// Base of the editor windows: pages (the first is GeneralTS), a bottom panel
// with Cancel, Apply and OK behind the actions CustomCancel, CustomApply and
// CustomOK, and a close check every way of closing goes through.

#include <QDialog>

class QAction;
class QPushButton;
class QTabWidget;
class QWidget;

namespace tarvex {

class TCustomDetailForm : public QDialog {
    Q_OBJECT
public:
    explicit TCustomDetailForm(QWidget* parent = nullptr);

    QTabWidget* PageControl() const { return m_pages; }
    QWidget* GeneralTS() const { return m_general; }
    QWidget* BottomPanel() const { return m_bottom; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* ApplyButton() const { return m_applyButton; }
    QPushButton* OKButton() const { return m_okButton; }
    QAction* CustomCancel() const { return m_cancel; }
    QAction* CustomApply() const { return m_apply; }
    QAction* CustomOK() const { return m_ok; }

    // Runs the apply action when it is enabled (something is unsaved), after
    // refreshing its state; errors go to the host's handling. True when the
    // apply ran and succeeded (or there was nothing to apply): an action that
    // applies first goes on only then.
    [[nodiscard]] bool runApply();
    // Refreshes the enabled state of the actions.
    void updateActions();
    // For an account that may only read: every field shows its value and
    // takes no input, Apply and OK go, Cancel closes. Buttons that only read
    // (printing) stay when they carry the property kReadsOnly.
    void setReadOnlyView();
    bool isReadOnlyView() const { return m_readOnlyView; }
    static constexpr const char* kReadsOnly = "tarvexReadsOnly";

protected:
    virtual void CustomCancelExecute() { close(); }
    // False when a check refused the apply (its message shown).
    virtual bool CustomApplyExecute() { return true; }
    // Whether anything is unsaved (enables Apply).
    virtual bool CustomApplyUpdate() { return false; }
    virtual void CustomOKExecute();
    // The close check: false keeps the window open.
    virtual bool FormCloseQuery() { return true; }

    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QTabWidget* m_pages = nullptr;
    QWidget* m_general = nullptr;
    QWidget* m_bottom = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QAction* m_cancel = nullptr;
    QAction* m_apply = nullptr;
    QAction* m_ok = nullptr;
    bool m_readOnlyView = false;
};

} // namespace tarvex
