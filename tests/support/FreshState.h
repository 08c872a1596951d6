#pragma once
// What windows remember between sessions goes to a state folder of the test
// run, never the user's, and every test starts with nothing remembered: a
// search made by one test must not be the next one's starting criteria.

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tarvex::test {

class FreshState : public ::testing::EmptyTestEventListener {
public:
    FreshState() { qputenv("XDG_STATE_HOME", m_dir.path().toUtf8()); }
    void OnTestStart(const ::testing::TestInfo&) override { QDir(m_dir.filePath("tarvex")).removeRecursively(); }

private:
    QTemporaryDir m_dir;
};

// Installs it for the run (gtest owns the listener).
inline void useFreshState()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshState);
}

} // namespace tarvex::test
