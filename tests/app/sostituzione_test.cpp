#include "app/Sostituzione.h"

#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace velmora {
namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

bool waitFor(const std::function<bool()>& condition, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

// A running program file (a copy of sleep), a new program file waiting beside it.
class SostituzioneTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_program = m_dir.filePath(QStringLiteral("Velmora"));
        ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), m_program));
        writeFile(m_dir.filePath(QStringLiteral("Velmora_New")), "#!/bin/sh\necho nuova versione\n");
        writeFile(m_dir.filePath(QStringLiteral("libfbclient.so.2")), "client");
    }

    QTemporaryDir m_dir;
    QString m_program;
    ScriptedBoxes m_boxes;
    ScriptedShell m_shell;
    SystemClock m_clock;
};

TEST_F(SostituzioneTest, ScriptReplacesTheProgramOnceItHasEnded) {
    writeFile(m_dir.filePath(QStringLiteral("FB2.zip")), "new client");
    QProcess running;
    running.start(m_program, {QStringLiteral("1.5")});
    ASSERT_TRUE(running.waitForStarted());

    Sessione sessione{InstallFolder(m_dir.path()), m_boxes, m_shell, m_clock};
    Sostituzione::FormClose(sessione, m_program, running.processId());
    EXPECT_TRUE(sessione.Sostituzione_Pronta);
    EXPECT_TRUE(m_boxes.errors().isEmpty()) << m_boxes.errors().join(QLatin1Char('\n')).toStdString();

    // While the program runs its file stays.
    QThread::msleep(400);
    EXPECT_EQ(running.state(), QProcess::Running);
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("Velmora_New"))));

    ASSERT_TRUE(running.waitForFinished(5000));
    const QString script = m_dir.filePath(QStringLiteral("delapp.sh"));
    // The script deletes itself before its last step, the client library.
    ASSERT_TRUE(waitFor([&] {
        return !QFile::exists(script) && !QFile::exists(m_dir.filePath(QStringLiteral("libfbclient.so.2")));
    })) << "the script did not finish";
    EXPECT_EQ(readFile(m_program), QByteArray("#!/bin/sh\necho nuova versione\n"));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("Velmora_New"))));
    // A new client library waits in FB2.zip: the old one goes.
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("libfbclient.so.2"))));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("FB2.zip"))));
}

TEST_F(SostituzioneTest, WrittenOnlyOncePerRunAndNotWithoutANewProgram) {
    Sessione sessione{InstallFolder(m_dir.path()), m_boxes, m_shell, m_clock};
    QFile::rename(m_dir.filePath(QStringLiteral("Velmora_New")), m_dir.filePath(QStringLiteral("parked")));
    Sostituzione::FormClose(sessione, m_program, 999999);
    EXPECT_FALSE(sessione.Sostituzione_Pronta);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("delapp.sh"))));

    QFile::rename(m_dir.filePath(QStringLiteral("parked")), m_dir.filePath(QStringLiteral("Velmora_New")));
    // A process id that has already ended: the script runs through at once.
    QProcess ended;
    ended.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(ended.waitForFinished());
    const qint64 pid = ended.processId() > 0 ? ended.processId() : 999999;
    Sostituzione::FormClose(sessione, m_program, pid);
    ASSERT_TRUE(sessione.Sostituzione_Pronta);
    ASSERT_TRUE(waitFor([&] { return !QFile::exists(m_dir.filePath(QStringLiteral("delapp.sh"))); }));
    // The client library stays: no FB2.zip waits.
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("libfbclient.so.2"))));

    // Another new program file in the same run: no second script.
    writeFile(m_dir.filePath(QStringLiteral("Velmora_New")), "third");
    Sostituzione::FormClose(sessione, m_program, pid);
    QThread::msleep(300);
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("Velmora_New"))));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("delapp.sh"))));
}

TEST_F(SostituzioneTest, ScriptThatCannotBeWrittenIsReported) {
    const QString locked = m_dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    Sessione sessione{InstallFolder(m_dir.path()), m_boxes, m_shell, m_clock};
    if (::getuid() == 0) {
        // root writes anywhere: a folder that does not exist stands in.
        Sostituzione::FormClose(sessione, m_dir.filePath(QStringLiteral("missing/Velmora")), 999999);
    } else {
        Sostituzione::FormClose(sessione, locked + QStringLiteral("/Velmora"), 999999);
    }
    EXPECT_FALSE(sessione.Sostituzione_Pronta);
    ASSERT_EQ(m_boxes.errors().size(), 1);
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("Velmora_New"))));
}

}  // namespace
}  // namespace velmora
