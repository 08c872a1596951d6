#pragma once
// What the program remembers for its user between sessions: window sizes
// and places, column layouts, the last search criteria. It lives in a state
// file of its own (stateFilePath(): $XDG_STATE_HOME/tarvex/state.ini), never
// in a settings file: settings are what a shop writes, state is what the
// program notes, and a file the program writes must not shadow the user's.
//
// One section per window or grid. Reads give the default when nothing was
// remembered; writes create the folder and the file. Remembering is a
// convenience: a write that fails is lost, and reports false, but never
// stops the window that closes.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tarvex {

class RememberedState {
public:
    // `section` names the window or grid ("ProductDetailForm"); `file` is
    // the state file, by default the user's.
    explicit RememberedState(const QString& section, const QString& file = QString());

    const QString& fileName() const { return m_file; }

    QString text(const QString& key, const QString& defaultValue = QString()) const;
    int number(const QString& key, int defaultValue) const;
    // Binary values (QWidget::saveGeometry), kept as base64; empty when none.
    QByteArray bytes(const QString& key) const;
    // Keys remembered in the section, in file order.
    QStringList keys() const;

    bool setText(const QString& key, const QString& value);
    bool setNumber(const QString& key, int value);
    bool setBytes(const QString& key, const QByteArray& value);
    // Replaces the whole section with these entries in one write (a grid's
    // columns, a search's criteria).
    bool replaceAll(const QList<QPair<QString, QString>>& entries);

private:
    bool write(const QList<QPair<QString, QString>>& entries, bool replace);

    QString m_section;
    QString m_file;
};

} // namespace tarvex
