// After a pedigree, breeding or show record is saved, its rabbit's file is offered a
// link back to it, in a bar inside the window that holds nothing up.

#include "Input.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "breeding/BreedingFormat.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/RecordText.h"
#include "frame/BigBadParent.h"
#include "shell/KindRegistry.h"
#include "shell/SheetWindow.h"
#include "show/ShowFormat.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <sys/stat.h>

using Answer = Platform::Answer;

namespace {

struct Kind
{
    const char *id;
    const char *extension;
    int subjectLine;
    int backLine;
    const char *noun;
    QStringList blank; // a new record's lines
};

QList<Kind> kinds()
{
    return {
        {PedigreeFile::KindId, ".ped", PedigreeFile::MainRabFile, RabbitFile::PedigreeLink, "pedigree",
         PedigreeFile::newRecord().values()},
        {BreedingFile::KindId, ".brd", BreedingFile::MainRabFile, RabbitFile::BreedLink, "breeding record",
         BreedingFile::newRecord().values()},
        {ShowFile::KindId, ".shw", ShowFile::MainRabFile, RabbitFile::ShowLink, "show record",
         ShowFile::newRecord().values()},
    };
}

// A rabbit file as another program or an old editor may have left it: a name with a
// windows-1252 letter, one line ended by a line feed alone, no line end after the
// last line. Only its link line may change.
QByteArray oddRabbit(const QString &name)
{
    QStringList lines = RabbitFile::newRecord().values();
    lines[RabbitFile::RabbitName] = name;
    lines[RabbitFile::OwnerName] = QStringLiteral("Ren\u00e9e Hart");
    QByteArray bytes;
    for (int i = 0; i < lines.size(); ++i) {
        bytes += lines.at(i).toLatin1();
        if (i == RabbitFile::Weight)
            bytes += "\n";
        else if (i + 1 < lines.size())
            bytes += "\r\n";
    }
    return bytes;
}

// `bytes` with the text of line `index` (counted as record files count lines) replaced.
QByteArray replacedLine(const QByteArray &bytes, int index, const QByteArray &text)
{
    QList<QByteArray> lines = bytes.split('\n');
    QByteArray &line = lines[index];
    line = line.endsWith('\r') ? text + '\r' : text;
    return lines.join('\n');
}

} // namespace

class TestLinkBack : public WindowTest
{
    Q_OBJECT


    // The kind's record, its subject linked to `rabbit`, opened in its window.
    SheetWindow *openRecord(const Kind &kind, const QString &rabbit, const QString &name = QStringLiteral("record"))
    {
        const QString path = TestFiles::writeLines(m_fx->path(name + QString::fromLatin1(kind.extension)), kind.blank,
                                                   {{kind.subjectLine, rabbit}});
        return qobject_cast<SheetWindow *>(KindRegistry::instance().openByExtension(path));
    }
    // Saves as the breeder does, with Ctrl+S in the window.
    static void save(SheetWindow *window)
    {
        Input::focus(window->sheet());
        Input::key(Qt::Key_S, Qt::ControlModifier);
    }

private slots:

    void linkItWritesOnlyTheClosedRabbitsLinkLine()
    {
        for (const Kind &kind : kinds()) {
            const QString rabbit = m_fx->path(QStringLiteral("Bluebell-%1.rab").arg(kind.id));
            const QByteArray before = oddRabbit(QStringLiteral("Bluebell"));
            TestFiles::writeBytes(rabbit, before);
            SheetWindow *window = openRecord(kind, rabbit, QString::fromLatin1(kind.id));
            QVERIFY2(window, kind.id);
            LinkBackBar *bar = window->linkBackBar();
            QVERIFY2(bar->isHidden(), kind.id); // a load offers nothing

            save(window);
            QVERIFY2(!window->isModified() && bar->isVisible(), kind.id);
            QCOMPARE(bar->message()->text(),
                     QStringLiteral("Bluebell's rabbit record has no %1 link.").arg(QString::fromLatin1(kind.noun)));
            QCOMPARE(TestFiles::readBytes(rabbit), before); // nothing written before Link It

            Input::click(bar->linkItButton());
            QVERIFY2(bar->isHidden(), kind.id);
            QCOMPARE(TestFiles::readBytes(rabbit), replacedLine(before, kind.backLine, window->fileName().toLatin1()));
            QVERIFY(m_fx->parent().statusBar()->currentMessage().contains("now links to this"));

            // Linked now: the next save offers nothing.
            save(window);
            QVERIFY2(bar->isHidden(), kind.id);
        }
    }

    void linkItSetsTheOpenRabbitWindowInstead()
    {
        const Kind pedigree = kinds().at(0);
        const QString rabbit = m_fx->rabbit("Clover.rab", {{RabbitFile::RabbitName, "Clover"}});
        const QByteArray before = TestFiles::readBytes(rabbit);
        auto *sheet = qobject_cast<TRabbitSheet *>(KindRegistry::instance().openByExtension(rabbit));
        QVERIFY(sheet && !sheet->isModified());

        SheetWindow *chart = openRecord(pedigree, rabbit);
        save(chart);
        QCOMPARE(chart->linkBackBar()->message()->text(), QStringLiteral("Clover's rabbit record has no pedigree link."));
        Input::click(chart->linkBackBar()->linkItButton());
        QCOMPARE(sheet->record().value(RabbitFile::PedigreeLink), chart->fileName());
        QVERIFY(sheet->isModified());
        QCOMPARE(TestFiles::readBytes(rabbit), before);

        // The open window decides, also against its file: linked there, unsaved, no bar.
        SheetWindow *other = openRecord(pedigree, rabbit, QStringLiteral("other"));
        save(other);
        QVERIFY(other->linkBackBar()->isHidden());
    }

    void notNowAndLinkedMeanwhileLeaveTheFile()
    {
        const Kind show = kinds().at(2);
        const QString rabbit = m_fx->rabbit("Hazel.rab", {{RabbitFile::RabbitName, "Hazel"}});
        SheetWindow *window = openRecord(show, rabbit);
        save(window);
        Input::click(window->linkBackBar()->notNowButton());
        QVERIFY(window->linkBackBar()->isHidden());

        save(window);
        QVERIFY(window->linkBackBar()->isVisible());
        const QString elsewhere = m_fx->rabbit("Hazel.rab", {{RabbitFile::RabbitName, "Hazel"},
                                                            {RabbitFile::ShowLink, "/shows/other.shw"}});
        const QByteArray linked = TestFiles::readBytes(elsewhere);
        m_fx->platform().expectQuestion(
            QStringLiteral("Hazel's rabbit record has been linked to another show record meanwhile. It was left as it is."),
            Answer::Ok);
        Input::click(window->linkBackBar()->linkItButton());
        QCOMPARE(TestFiles::readBytes(rabbit), linked);
    }

    // A subject that is no readable rabbit, or one linked already, offers nothing and
    // disturbs nothing: the save is done, no message.
    void nothingIsOfferedForSubjectsThatNeedNoLink()
    {
        const QString fifo = m_fx->path("pipe.rab");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString cut = TestFiles::writeLines(m_fx->path("cut.rab"), RabbitFile::newRecord().values(), {}, 20);
        // A rabbit's lines in a file that is no rabbit file: never written to.
        const QString notRabbit = TestFiles::writeLines(m_fx->path("rabbit.txt"), RabbitFile::newRecord().values());
        const QMap<QString, QString> subjects = {
            {"no subject", RecordText::None},
            {"missing file", m_fx->path("gone.rab")},
            {"pipe", fifo},
            {"too short for a rabbit", cut},
            {"folder", m_fx->path(".")},
            {"not a rabbit file", notRabbit},
        };
        const Kind breeding = kinds().at(1);
        int n = 0;
        for (auto it = subjects.cbegin(); it != subjects.cend(); ++it) {
            SheetWindow *window = openRecord(breeding, it.value(), QStringLiteral("b%1").arg(++n));
            save(window);
            QVERIFY2(window->linkBackBar()->isHidden() && !window->isModified(), qPrintable(it.key()));
        }
        // Linked already, to whatever record: left alone.
        const QString linked = m_fx->rabbit("Linked.rab", {{RabbitFile::BreedLink, "/herd/old.brd"}});
        SheetWindow *window = openRecord(breeding, linked, QStringLiteral("linked"));
        save(window);
        QVERIFY(window->linkBackBar()->isHidden());
    }

    // A record saved under a name a rabbit file cannot store is not linked as "?".
    void aPathTheRabbitFileCannotStoreIsRefused()
    {
        const QString rabbit = m_fx->rabbit("Willow.rab", {{RabbitFile::RabbitName, "Willow"}});
        const QByteArray before = TestFiles::readBytes(rabbit);
        SheetWindow *window = openRecord(kinds().at(0), rabbit, QStringLiteral("\u67f3"));
        save(window);
        Input::click(window->linkBackBar()->linkItButton());
        m_fx->platform().takeError("cannot store");
        QCOMPARE(TestFiles::readBytes(rabbit), before);
        QVERIFY(window->linkBackBar()->isVisible());
    }
};

QTEST_MAIN(TestLinkBack)
#include "test_link_back.moc"
