// One line of a record file changed where the file lies: every other byte stays.

#include "TestFiles.h"
#include "records/LineFormat.h"
#include "records/LinePatch.h"
#include "records/RecordError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using TestFiles::messageOf;

namespace {

// A head of three lines, then the groups [3,5) and [5,6), like the rabbit file's
// links and its later link lines.
const LineFormat &format()
{
    static const LineFormat layout({{0, "a", "_"},
                                    {1, "n", "0", FieldCheck::Integer},
                                    {2, "c", "_"},
                                    {3, "d", "None"},
                                    {4, "e", "None"},
                                    {5, "f", "None"}},
                                   {3, 5});
    return layout;
}

const QString Link = QStringLiteral("/herd/Bl\u00e9bell.ped");
const QByteArray LinkBytes = "/herd/Bl\xe9" "bell.ped";

} // namespace

class TestLinePatch : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void oneLineChangesAndEveryOtherByteStays()
    {
        struct Case
        {
            const char *name;
            QByteArray file;
            int index;
            QByteArray expected;
        };
        const QByteArray six = "x\r\n1\r\nc\r\nNone\r\nNone\r\nNone\r\n";
        const QList<Case> cases = {
            {"middle line", six, 3, "x\r\n1\r\nc\r\n" + LinkBytes + "\r\nNone\r\nNone\r\n"},
            {"line feeds only", "x\n1\nc\nNone\nNone\nNone\n", 4, "x\n1\nc\nNone\n" + LinkBytes + "\nNone\n"},
            {"last line without a line end", "x\r\n1\r\nc\r\nNone\r\nNone\r\nNone", 5,
             "x\r\n1\r\nc\r\nNone\r\nNone\r\n" + LinkBytes},
            {"odd bytes elsewhere", "Bl\xe9\x81 \r\n1\r\na\rb\r\nNone\r\nNone\r\nNone\r\n", 3,
             "Bl\xe9\x81 \r\n1\r\na\rb\r\n" + LinkBytes + "\r\nNone\r\nNone\r\n"},
            {"empty line", "x\r\n1\r\nc\r\n\r\nNone\r\nNone\r\n", 3,
             "x\r\n1\r\nc\r\n" + LinkBytes + "\r\nNone\r\nNone\r\n"},
            {"lines past the format", six + "extra\r\n", 3,
             "x\r\n1\r\nc\r\n" + LinkBytes + "\r\nNone\r\nNone\r\nextra\r\n"},
            {"older file gains the line's group", "x\r\n1\r\nc\r\n", 4,
             "x\r\n1\r\nc\r\nNone\r\n" + LinkBytes + "\r\n"},
            {"older file without a last line end", "x\n1\nc", 3, "x\n1\nc\r\n" + LinkBytes + "\r\nNone\r\n"},
            {"older file gains two groups", "x\r\n1\r\nc\r\n", 5,
             "x\r\n1\r\nc\r\nNone\r\nNone\r\n" + LinkBytes + "\r\n"},
        };
        for (const Case &c : cases)
            QVERIFY2(LinePatch::withLine(c.file, format(), c.index, Link) == c.expected, c.name);
    }

    void textAFileCannotStoreIsRefused()
    {
        for (const QString &text : {QStringLiteral("/herd/\u4e00.ped"), QStringLiteral("/herd/a\nb.ped")})
            QVERIFY(messageOf<RecordError>([&] { LinePatch::withLine("x\r\n1\r\nc\r\n", format(), 3, text); })
                        .contains("cannot store"));
    }

    void setLineIfWritesOnlyWhatStillHoldsTheExpectedText()
    {
        struct Case
        {
            const char *name;
            QByteArray file;
            bool written;
            QByteArray after;
        };
        const QList<Case> cases = {
            {"unlinked", "x\n1\nc\nNone\nNone\nNone", true, "x\n1\nc\n" + LinkBytes + "\nNone\nNone"},
            {"linked meanwhile", "x\n1\nc\n/other.ped\nNone\nNone", false, "x\n1\nc\n/other.ped\nNone\nNone"},
            {"older file without the line", "x\r\n1\r\nc\r\n", true, "x\r\n1\r\nc\r\n" + LinkBytes + "\r\nNone\r\n"},
        };
        for (const Case &c : cases) {
            const QString path = m_dir.filePath(QString::fromLatin1(c.name));
            TestFiles::writeBytes(path, c.file);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
            QVERIFY2(LinePatch::setLineIf(path, format(), 3, QStringLiteral("None"), Link) == c.written, c.name);
            QVERIFY2(TestFiles::readBytes(path) == c.after, c.name);
            // The breeder's file keeps who may read it.
            QVERIFY2(QFile::permissions(path) ==
                         (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup),
                     c.name);
        }
    }

    // A rabbit file kept behind a symbolic link stays behind it: the file it leads to
    // takes the line.
    void aSymbolicLinkIsWrittenThrough()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("Bluebell.rab");
        const QString link = dir.filePath("link.rab");
        TestFiles::writeBytes(target, "x\r\n1\r\nc\r\nNone\r\nNone\r\nNone\r\n");
        QVERIFY(QFile::link(target, link));
        QVERIFY(LinePatch::setLineIf(link, format(), 3, QStringLiteral("None"), Link));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(TestFiles::readBytes(target), "x\r\n1\r\nc\r\n" + LinkBytes + "\r\nNone\r\nNone\r\n");
    }

    // Whatever the path names, the call reports it and leaves it as it was.
    void hostileFilesAreReportedAndLeftAlone()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString folder = dir.filePath("folder");
        QDir().mkdir(folder);
        const QString big = dir.filePath("big");
        {
            QFile file(big);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(9 * 1024 * 1024));
        }
        const QString shortFile = dir.filePath("short");
        TestFiles::writeBytes(shortFile, "x\r\n1\r\n");
        const QString notNumber = dir.filePath("notNumber");
        TestFiles::writeBytes(notNumber, "x\r\nten\r\nc\r\nNone\r\nNone\r\nNone\r\n");
        const QString missing = dir.filePath("missing");

        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        for (const QString &path : {fifo, folder, big, shortFile, notNumber, missing}) {
            const QByteArray bytes = QFileInfo(path).isFile() ? TestFiles::readBytes(path) : QByteArray();
            const QString error = messageOf<RecordError>(
                [&] { LinePatch::setLineIf(path, format(), 3, QStringLiteral("None"), Link); });
            QVERIFY2(!error.isEmpty(), qPrintable(path));
            if (QFileInfo(path).isFile() && path != big)
                QVERIFY2(TestFiles::readBytes(path) == bytes, qPrintable(path));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
    }

    void aFolderThatCannotBeWrittenKeepsTheFile()
    {
        if (::geteuid() == 0)
            QSKIP("permissions do not hold for root");
        QTemporaryDir dir;
        const QString path = dir.filePath("Bluebell.rab");
        const QByteArray bytes = "x\r\n1\r\nc\r\nNone\r\nNone\r\nNone\r\n";
        TestFiles::writeBytes(path, bytes);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString error =
            messageOf<FileError>([&] { LinePatch::setLineIf(path, format(), 3, QStringLiteral("None"), Link); });
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(error.contains("Bluebell.rab"));
        QCOMPARE(TestFiles::readBytes(path), bytes);
    }
};

QTEST_GUILESS_MAIN(TestLinePatch)
#include "test_line_patch.moc"
