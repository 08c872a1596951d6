#include "WriteRetry.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "LogCategories.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <atomic>

namespace tarvex {

namespace {

std::atomic<int> g_budgetMs{10000};

// The first pause, and the longest: short enough for a quick second try,
// long enough later for a busy cluster to get its other commits through.
constexpr int kFirstPauseMs = 10;
constexpr int kLongestPauseMs = 400;
// A duplicate key on a cluster node may be another node's commit of the
// same new value, applied here after this transaction read: worth a few
// tries, not the whole budget (a value the user typed twice stays refused).
constexpr int kDuplicateTries = 4;

qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

QString newToken()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// The mark goes in with the work: found later, the work is written.
void writeMark(Connection& connection, const QString& token)
{
    connection.execute(QStringLiteral("INSERT INTO commitmark (writer, token) VALUES (?, ?) "
                                      "ON DUPLICATE KEY UPDATE token = VALUES(token)"),
                       {connection.writerKey(), token});
}

bool markFound(Connection& connection, const QString& token)
{
    return connection.value(QStringLiteral("SELECT token FROM commitmark WHERE writer = ?"), {connection.writerKey()})
               .toString() == token;
}

// Opens a lost session again; false when no server answers.
bool reopened(Connection& connection)
{
    try {
        connection.check();
        return connection.isConnected();
    } catch (const DatabaseError&) {
        return false;
    }
}

void runWork(Connection& connection, const std::function<void()>& work)
{
    try {
        work();
    } catch (const DatabaseError&) {
        throw;
    } catch (...) {
        // A check that refused what it read after the node had rolled the
        // transaction back read the others' new rows outside it: the work
        // runs again, reading them inside.
        if (connection.transactionEndedByServer())
            throw DatabaseError(1213, QStringLiteral("The server rolled the transaction back (deadlock)"));
        throw;
    }
}

} // namespace

bool isWriteConflict(const DatabaseError& error)
{
    return error.code() == 1213 || error.code() == 1205;
}

RetryBudget::RetryBudget() : m_deadline(nowMs() + g_budgetMs.load())
{
}

bool RetryBudget::pause()
{
    const int ceiling = std::min(kLongestPauseMs, kFirstPauseMs << std::min(m_pauses, 6));
    // Half fixed, half chance: sessions that collided once do not collide again in step.
    const int ms = ceiling / 2 + int(QRandomGenerator::global()->bounded(ceiling / 2 + 1));
    if (nowMs() + ms > m_deadline)
        return false;
    ++m_pauses;
    QThread::msleep(unsigned(ms));
    return true;
}

int RetryBudget::budgetMs()
{
    return g_budgetMs.load();
}

void RetryBudget::setBudgetMs(int ms)
{
    g_budgetMs.store(ms);
}

const QString& Connection::writerKey()
{
    if (m_writerKey.isEmpty())
        m_writerKey = newToken();
    return m_writerKey;
}

bool Connection::keepsCommitMarks()
{
    if (m_commitMarks < 0)
        m_commitMarks = value(QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE "
                                             "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'commitmark'"))
                                .toInt() > 0
                            ? 1
                            : 0;
    return m_commitMarks == 1;
}

void writeTransaction(Connection& connection, const std::function<void()>& work, const QString& name)
{
    if (connection.inTransaction()) {
        Transaction joined(connection);
        work();
        joined.commit();
        return;
    }
    RetryBudget budget;
    int duplicates = 0;
    for (;;) {
        QString token;
        try {
            Transaction transaction(connection);
            runWork(connection, work);
            // A database made before the marks existed writes without them.
            if (connection.keepsCommitMarks()) {
                token = newToken();
                writeMark(connection, token);
            }
            transaction.commit();
            return;
        } catch (const DatabaseError& e) {
            if (connection.inTransaction())
                throw;  // an outer transaction's work: it is the one to run again
            if (isWriteConflict(e) || (e.code() == 1062 && ++duplicates < kDuplicateTries && connection.onCluster())) {
                if (budget.pause()) {
                    qCInfo(lcSave).noquote()
                        << QStringLiteral("%1: error %2, run again (try %3)").arg(name).arg(e.code()).arg(budget.tries() + 1);
                    continue;
                }
                qCWarning(lcSave).noquote()
                    << QStringLiteral("%1: error %2 after %3 tries, given up").arg(name).arg(e.code()).arg(budget.tries() + 1);
                throw;
            }
            if (!e.isConnectionLost())
                throw;
            const bool inDoubt = connection.transactionInDoubt();
            if (inDoubt && token.isEmpty())
                throw;  // nothing to look it up by: the caller settles it
            if (!reopened(connection)) {
                // Looked up by the next transaction, once the server answers.
                qCWarning(lcSave).noquote() << QStringLiteral("%1: session lost, no server answers%2")
                                                   .arg(name, inDoubt ? QStringLiteral("; commit in doubt") : QString());
                if (inDoubt)
                    connection.setDoubtResolver([&connection, token] { return markFound(connection, token); });
                throw;
            }
            if (inDoubt) {
                bool committed = false;
                try {
                    committed = markFound(connection, token);
                } catch (const DatabaseError&) {
                    connection.setDoubtResolver([&connection, token] { return markFound(connection, token); });
                    throw e;
                }
                connection.settleInDoubt(committed);
                qCInfo(lcSave).noquote() << QStringLiteral("%1: commit answer lost; its mark says %2")
                                                .arg(name, committed ? QStringLiteral("written")
                                                                     : QStringLiteral("not written, run again"));
                if (committed)
                    return;
            } else {
                qCInfo(lcSave).noquote() << QStringLiteral("%1: session lost before the commit, run again").arg(name);
            }
            // Surely not written: the work runs again on the new session.
            if (!budget.pause())
                throw;
        }
    }
}

} // namespace tarvex
