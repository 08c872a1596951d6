#pragma once
// The one retry policy for every write. When the server rolls work back for
// another session's sake (a deadlock, a lock wait that timed out, a Galera
// node's certification conflict, all answered as 1213 or 1205), the work
// runs again after a short random pause, growing from try to try, for as
// long as a time budget lasts: a user sees such a refusal only when the
// budget ran out. Single statements outside a transaction get the same
// treatment inside Connection; work of several statements goes through
// writeTransaction below.
//
// A session lost on the way is opened again (on a cluster, on the next node
// in step) and the work runs again when it surely was not written. A commit
// whose answer was lost with the session may or may not be written: each
// transaction of writeTransaction writes a commit mark of its own (table
// commitmark, one row per session), and the mark read on the new session
// tells which; a written one is taken as done, so nothing is written twice.

#include <QString>
#include <functional>

namespace tarvex {

class Connection;
class DatabaseError;

// An answer that says "the server undid this for another session; try again".
bool isWriteConflict(const DatabaseError& error);

// The time a write may spend on conflicts, and the pauses between its tries.
class RetryBudget {
public:
    RetryBudget();
    // Sleeps before the next try: a random pause that grows with each try.
    // False, without sleeping, when the pause would end past the budget.
    bool pause();
    int tries() const { return m_pauses; }

    // The budget of every write, in ms (about ten seconds; tests shorten it).
    static int budgetMs();
    static void setBudgetMs(int ms);

private:
    qint64 m_deadline;
    int m_pauses = 0;
};

// Runs `work` in one transaction and commits it, under the policy above.
// The work must be ready to run again from the start after a rollback (end
// hooks of Connection::onTransactionEnd put datasets back as they were).
// Inside a transaction already begun, the work joins it and the outermost
// writer retries. Throws the last failure when the budget ran out or the
// failure is none of the above; a lost commit that cannot be looked up yet
// (the server still away) is left in doubt with a resolver reading its mark,
// so the next transaction settles it first. `name` says in the log which
// work was retried, refused or left in doubt (the log names no values).
void writeTransaction(Connection& connection, const std::function<void()>& work,
                      const QString& name = QStringLiteral("Write"));

} // namespace tarvex
