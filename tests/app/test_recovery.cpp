// Recovery after a crash: a real program is killed after typing into a record, and the
// next program brings the record back. Copies of a program still running are left
// alone; a copy that cannot be read is reported by name and kept.

#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/Kinds.h"
#include "frame/BigBadParent.h"
#include "frame/RecoveryOffer.h"
#include "rabbit/RabbitSheet.h"
#include "records/RecoveryStore.h"
#include "shell/SheetWidgets.h"

#include <QDir>
#include <QMdiArea>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>

using Answer = Platform::Answer;
using TestFiles::readBytes;

namespace {

const QString OneRecord = QStringLiteral("Hutchlore closed without saving 1 record. Restore it?");

// A program running recovery_child on `record`, stopped at "written".
class Child
{
public:
    Child(const QString &folder, const QString &record, const QString &text)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(RECOVERY_CHILD), {folder, record, text});
    }
    ~Child() { kill(); }
    bool written()
    {
        return QTest::qWaitFor(
                   [&] {
                       m_process.waitForReadyRead(50);
                       m_out += m_process.readAllStandardOutput();
                       return m_out.contains("written\n") || m_process.state() == QProcess::NotRunning;
                   },
                   60000) &&
               m_out.contains("written\n");
    }
    // SIGKILL: nothing of the program's own ending runs.
    void kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
    QByteArray m_out;
};

QStringList filesIn(const QString &folder, const QString &pattern = QStringLiteral("*"))
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::System, QDir::Name);
}

TRabbitSheet *activeRabbit(WindowFixture &fx)
{
    return qobject_cast<TRabbitSheet *>(fx.parent().mdiArea()->activeSubWindow());
}

// The first value a breeder can click on, as recovery_child types into it.
ValueLabel *firstValue(SheetWindow *window)
{
    for (ValueLabel *label : window->sheet()->findChildren<ValueLabel *>())
        if (label->isVisible())
            return label;
    return nullptr;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
    QString m_record;
    QByteArray m_original;

private slots:
    void initTestCase() { registerKinds(); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_folder = m_dir->filePath("recovery");
        m_record = m_dir->filePath("Bluebell.rab");
        TestFiles::writeBytes(m_record, readBytes(TestFiles::dataPath("rabbit/filled.rab")));
        m_original = readBytes(m_record);
    }
    void cleanup() { m_dir.reset(); }

    void aKilledProgramsRecordIsRestored();
    void noDeletesTheCopies();
    void aRunningProgramsCopiesAreLeftAlone();
    void unreadableCopiesAreReportedAndKept();
    void aCleanCloseLeavesNoCopy();
};

// Yes: the record comes back in a rabbit window with its file name, the typed value
// and the flag; the file on disk is untouched until Save.
void TestRecovery::aKilledProgramsRecordIsRestored()
{
    {
        Child child(m_folder, m_record, "Typed before the crash");
        QVERIFY(child.written());
        child.kill();
    }
    QCOMPARE(readBytes(m_record), m_original);

    RecoveryStore store(m_folder);
    QVERIFY(store.start());
    WindowFixture fx;
    fx.platform().expectQuestion(OneRecord, Answer::Yes);
    offerRecovery(&fx.parent());
    QVERIFY(fx.platform().allAnswered());
    TRabbitSheet *window = activeRabbit(fx);
    QVERIFY(window);
    QCOMPARE(window->fileName(), m_record);
    QCOMPARE(window->windowTitle(), "Bluebell.rab" + window->kind().captionSuffix);
    QVERIFY(window->isModified());
    QCOMPARE(firstValue(window)->value(), "Typed before the crash");
    QCOMPARE(readBytes(m_record), m_original);
    store.flush();
    // The dead program's copy is gone; the restored window keeps one of its own.
    QVERIFY(QTest::qWaitFor([&] { return filesIn(m_folder, "*.index").size() == 1; }, 5000));
    for (const QString &file : filesIn(m_folder))
        QVERIFY2(!file.endsWith(".lock") || file.startsWith(QString::number(QCoreApplication::applicationPid())),
                 qPrintable(file));

    // Save writes it; the copy goes.
    press(window, Qt::CTRL | Qt::Key_S);
    QVERIFY(!window->isModified());
    QVERIFY(readBytes(m_record).contains("Typed before the crash"));
    store.flush();
    QCOMPARE(filesIn(m_folder, "*.index"), QStringList());
    QCOMPARE(fx.finish(), QStringList());
}

void TestRecovery::noDeletesTheCopies()
{
    {
        Child child(m_folder, m_record, "Not wanted");
        QVERIFY(child.written());
    }
    RecoveryStore store(m_folder);
    QVERIFY(store.start());
    WindowFixture fx;
    fx.platform().expectQuestion(OneRecord, Answer::No);
    offerRecovery(&fx.parent());
    QVERIFY(fx.platform().allAnswered());
    QCOMPARE(fx.windows(), 0);
    QCOMPARE(filesIn(m_folder, "*.index") + filesIn(m_folder, "*.lines"), QStringList());
    QCOMPARE(readBytes(m_record), m_original);
    // Asked once: a second look finds nothing.
    offerRecovery(&fx.parent());
    QCOMPARE(fx.finish(), QStringList());
}

// While the other program runs, its copy is neither offered (an unexpected question
// fails the test) nor deleted; once it is killed, it is.
void TestRecovery::aRunningProgramsCopiesAreLeftAlone()
{
    Child running(m_folder, m_record, "Still being typed");
    QVERIFY(running.written());
    const QStringList before = filesIn(m_folder);

    RecoveryStore store(m_folder);
    QVERIFY(store.start());
    WindowFixture fx;
    offerRecovery(&fx.parent());
    QCOMPARE(fx.windows(), 0);
    for (const QString &file : before)
        QVERIFY2(filesIn(m_folder).contains(file), qPrintable(file));

    running.kill();
    fx.platform().expectQuestion(OneRecord, Answer::No);
    offerRecovery(&fx.parent());
    QVERIFY(fx.platform().allAnswered());
    QCOMPARE(fx.finish(), QStringList());
}

// Copies of a program that is gone but cannot be read: an index that is no index,
// lines that are a pipe, lines whose index never came. Each is named, none deleted;
// the good one beside them is still offered.
void TestRecovery::unreadableCopiesAreReportedAndKept()
{
    QVERIFY(QDir().mkpath(m_folder));
    const QDir folder(m_folder);
    const QString dead = "4000000-17"; // no program holds its lock
    TestFiles::writeBytes(folder.filePath(dead + "-1.index"), "\x01not an index");
    TestFiles::writeBytes(folder.filePath(dead + "-1.lines"), "a\r\n");
    TestFiles::writeBytes(folder.filePath(dead + "-2.index"), R"({"kind":"rabbit","file":""})");
    QCOMPARE(mkfifo(QFile::encodeName(folder.filePath(dead + "-2.lines")).constData(), 0600), 0);
    TestFiles::writeBytes(folder.filePath(dead + "-3.lines"), "orphan\r\n");
    TestFiles::writeBytes(folder.filePath(dead + "-4.index"), R"({"kind":"no such kind","file":""})");
    TestFiles::writeBytes(folder.filePath(dead + "-4.lines"), "x\r\n");
    TestFiles::writeBytes(folder.filePath(dead + "-5.index"), R"({"kind":"rabbit","file":""})");
    TestFiles::writeBytes(folder.filePath(dead + "-5.lines"), readBytes(m_record));

    RecoveryStore store(m_folder);
    QVERIFY(store.start());
    WindowFixture fx;
    fx.platform().expectQuestion("Hutchlore closed without saving 2 records. Restore them?", Answer::Yes);
    QElapsedTimer took;
    took.start();
    offerRecovery(&fx.parent());
    QVERIFY2(took.elapsed() < 5000, "a pipe was waited on");
    const QStringList errors = fx.platform().takeErrors();
    QCOMPARE(errors.size(), 1);
    for (const char *name : {"-1.lines", "-2.lines", "-3.lines", "untitled record"})
        QVERIFY2(errors.first().contains(name), name);
    // The untitled rabbit came back; the rest are kept aside, not offered again.
    QVERIFY(activeRabbit(fx) && activeRabbit(fx)->fileName().isEmpty() && activeRabbit(fx)->isModified());
    for (const char *kept : {"-1.index", "-1.lines", "-2.lines", "-3.lines", "-4.index", "-4.lines"})
        QVERIFY2(QFileInfo::exists(folder.filePath(dead + kept + ".unreadable")) ||
                     QFileInfo(folder.filePath(dead + kept + ".unreadable")).isSymLink(),
                 kept);
    offerRecovery(&fx.parent());
    QCOMPARE(fx.platform().takeErrors(), QStringList());
    activeRabbit(fx)->setModified(false);
    QCOMPARE(fx.finish(), QStringList());
}

// Closing a window (No) or saving removes its copy; a program that ends leaves no
// copy and no lock behind.
void TestRecovery::aCleanCloseLeavesNoCopy()
{
    {
        RecoveryStore store(m_folder);
        QVERIFY(store.start());
        WindowFixture fx;
        TRabbitSheet *window = fx.newRabbit();
        typeInto(window, firstValue(window), "Kept for a moment");
        QVERIFY(QTest::qWaitFor([&] { return filesIn(m_folder, "*.index").size() == 1; }, 5000));
        fx.platform().expectQuestion("Unsaved work will be lost. Save changes?", Answer::No);
        QVERIFY(Input::closeSubWindow(window));
        store.flush();
        QCOMPARE(filesIn(m_folder, "*.index") + filesIn(m_folder, "*.lines"), QStringList());
        QCOMPARE(fx.finish(), QStringList());
    }
    QCOMPARE(filesIn(m_folder), QStringList());
}

QTEST_MAIN(TestRecovery)
#include "test_recovery.moc"
