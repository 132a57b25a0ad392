// The program `quorvane` as an operator meets it: one program per user, and a drawing taken in, output to the
// virtual machine and kept in "lastv901.ctask" over a restart.
#include "tasks/CQuorvaneDoc.h"
#include "tasks/TaskFileResult.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

constexpr int kStartMs = 20000;
constexpr int kJobMs = 60000;

// A program started with its output read line by line.
class Program {
public:
    Program(const QString& path, const QStringList& arguments)
    {
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start(path, arguments);
    }
    ~Program()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    // The first line from now on that matches `pattern`; empty when none came in time or the program ended.
    QString WaitForLine(const QString& pattern, int ms)
    {
        const QRegularExpression re(pattern);
        QDeadlineTimer deadline(ms);
        while (true) {
            while (process_.canReadLine()) {
                const QString line = QString::fromUtf8(process_.readLine()).trimmed();
                seen_ += line + '\n';
                if (re.match(line).hasMatch())
                    return line;
            }
            if (deadline.hasExpired() || (process_.state() == QProcess::NotRunning && !process_.canReadLine()))
                return {};
            process_.waitForReadyRead(100);
        }
    }
    // Ends it as the desktop ends a session (SIGTERM): the window closes as its close button does.
    int Close()
    {
        process_.terminate();
        if (!process_.waitForFinished(kStartMs))
            return -1;
        seen_ += QString::fromUtf8(process_.readAllStandardOutput());
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    bool Finish(int ms) { return process_.waitForFinished(ms); }
    int ExitCode() const { return process_.exitCode(); }
    QString Seen() const { return seen_ + QString::fromUtf8(process_.readAllStandardError()); }

private:
    mutable QProcess process_;
    QString seen_;
};

QString Window()
{
    return QStringLiteral(QV_WINDOW_PROGRAM);
}

std::size_t PagesIn(const QString& taskFile)
{
    qv::CQuorvaneDoc doc;
    if (doc.Open(QFile::encodeName(taskFile).toStdString()) != qv::TaskFileResult::Ok)
        return 0;
    return doc.pages.size();
}

} // namespace

class WindowProgramTest : public QObject {
    Q_OBJECT

private slots:
    void SecondStartHandsOverToTheFirst()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        QDir(work.path()).mkpath("first");
        QDir(work.path()).mkpath("second");
        const QString instance = work.filePath("runtime");
        QDir().mkpath(instance);

        Program first(Window(), {"--dir", work.filePath("first"), "--instance-dir", instance, "--log"});
        QVERIFY2(!first.WaitForLine("^running$", kStartMs).isEmpty(), qPrintable(first.Seen()));

        Program second(Window(), {"--dir", work.filePath("second"), "--instance-dir", instance, "--log"});
        QVERIFY2(second.Finish(kStartMs), qPrintable(second.Seen()));
        QCOMPARE(second.ExitCode(), 0);
        QVERIFY2(!second.WaitForLine("^handed over$", 1000).isEmpty(), qPrintable(second.Seen()));
        QVERIFY2(!first.WaitForLine("^activated$", kStartMs).isEmpty(), qPrintable(first.Seen()));
        // The second start built nothing of its own.
        QVERIFY(!QFile::exists(work.filePath("second/setting.ini")));

        QCOMPARE(first.Close(), 0);
        // Once the first has ended, the next start is the program again.
        Program third(Window(), {"--dir", work.filePath("second"), "--instance-dir", instance, "--log"});
        QVERIFY2(!third.WaitForLine("^running$", kStartMs).isEmpty(), qPrintable(third.Seen()));
        QCOMPARE(third.Close(), 0);
    }

    void DrawingOutputToTheVirtualMachineAndKeptOverARestart()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        QDir dir(work.path());
        dir.mkpath("station/plot");
        dir.mkpath("jobs");
        dir.mkpath("runtime");

        Program sim(QStringLiteral(QV_SIM_PROGRAM), {"--address", "127.0.0.1", "--port", "0", "--pace", "0",
                                                     "--confirm-after", "0", "--out", work.filePath("jobs")});
        const QString listening = sim.WaitForLine("^listening on ", kStartMs);
        QVERIFY2(!listening.isEmpty(), qPrintable(sim.Seen()));
        const QString address = listening.mid(QStringLiteral("listening on ").size());

        QFile ini(work.filePath("station/setting.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Para]\nAutoStartWork=1\nAutoDelFinish=0\n");
        ini.close();
        const QStringList arguments{"--dir",          work.filePath("station"), "--net", address,
                                    "--instance-dir", work.filePath("runtime"), "--log"};
        const QString lastTasks = work.filePath("station/lastv901.ctask");
        {
            Program window(Window(), arguments);
            QVERIFY2(!window.WaitForLine("^running$", kStartMs).isEmpty(), qPrintable(window.Seen()));
            QVERIFY(QFile::copy(QStringLiteral(QV_TEST_DRAWING), work.filePath("station/plot/10x10_HC_FC.plt")));
            QVERIFY2(!window.WaitForLine("^taken .*10x10_HC_FC.plt: 1 pages$", kJobMs).isEmpty(),
                     qPrintable(window.Seen()));
            QVERIFY2(!window.WaitForLine("^page 001: .* -> Done$", kJobMs).isEmpty(), qPrintable(window.Seen()));
            QCOMPARE(window.Close(), 0);
        }
        // The machine received the job whole.
        QDirIterator summaries(work.filePath("jobs"), {"summary.json"}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(summaries.hasNext());
        QCOMPARE(PagesIn(lastTasks), std::size_t{1});

        // The next start reloads it; had it not, closing with an empty list would have removed the file.
        Program again(Window(), arguments);
        QVERIFY2(!again.WaitForLine("^reloaded .*lastv901.ctask: 1 pages$", kStartMs).isEmpty(),
                 qPrintable(again.Seen()));
        QCOMPARE(again.Close(), 0);
        QCOMPARE(PagesIn(lastTasks), std::size_t{1});
    }
};

QTEST_GUILESS_MAIN(WindowProgramTest)
#include "WindowProgramTest.moc"
