#pragma once
// The dialogs service on Qt's own dialogs, parented to the active window.

#include "Dialogs.h"

namespace tarvex {

class QtDialogs : public Dialogs {
public:
    int message(MessageKind kind, const QString& text, int buttons) override;
    bool inputQuery(const QString& title, const QString& prompt, QString& value) override;
    bool getDate(QDate& date) override;
    QString browseFolder(const QString& title, const QString& startFolder) override;
    QString openFileName(const QString& title, const QString& startPath, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& startPath, const QString& filter) override;
    int changeOptions() override;
    void errorWithDetails(const QString& text, const QString& details) override;

private:
    QString m_details; // for the box message() shows next
};

} // namespace tarvex
