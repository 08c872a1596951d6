#pragma once
// The "&U redu" / "&Otkaži" row under a dialog's content, to its right:
// "U redu" is the default button (Enter), "Otkaži" rejects the dialog (as
// Escape does). The caller connects "U redu" to what it confirms.

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace tarvex {

struct OkCancelRow {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* layout; // for the dialog's own layout to take
};

// The pickers put "Otkaži" first.
enum class CancelPlace { AfterOk, BeforeOk };

OkCancelRow makeOkCancelRow(QDialog* dialog, CancelPlace place = CancelPlace::AfterOk);

} // namespace tarvex
