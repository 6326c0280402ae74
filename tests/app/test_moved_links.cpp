#include "TestFiles.h"
#include "WindowFixture.h"
#include "breeding/BreedingFormat.h"
#include "breeding/BreedingLinks.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "pedigree/PedigreeLinks.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitLinks.h"
#include "rabbit/RabbitSheet.h"
#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/LinkContext.h"
#include "records/RecordError.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "shell/LinkEditor.h"
#include "show/ShowFormat.h"
#include "show/ShowLinks.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using TestFiles::messageOf, TestFiles::writeRabbit;
using Found = QList<std::pair<QString, QString>>;

namespace {

// A herd folder whose files are copied to another folder and then deleted, as when
// a breeder moves to a new computer. Links keep naming the old folder.
struct MovedHerd
{
    QTemporaryDir from;
    QTemporaryDir to;

    QString oldPath(const QString &name) const { return from.filePath(name); }
    QString newPath(const QString &name) const { return to.filePath(name); }
    void move()
    {
        const QDir source(from.path());
        for (const QString &name : source.entryList(QDir::Files))
            QVERIFY(QFile::copy(source.filePath(name), to.filePath(name)));
        QVERIFY(from.remove());
    }
};

Found foundOf(const LinkContext &context)
{
    Found found;
    for (const LinkContext::Found &f : context.found())
        found.append({f.stored, f.path});
    return found;
}

QString status()
{
    return TBigBadParent::instance()->statusBar()->currentMessage();
}

} // namespace

class TestMovedLinks : public WindowTest
{
    Q_OBJECT


private slots:

    // Where a link leads when its file is gone: beside the record that holds it.
    void resolve()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("sub");
        const QString holder = dir.filePath("chart.ped");
        const QString beside = writeRabbit(dir.filePath("Smokey.rab"), {});
        writeRabbit(dir.filePath("sub/Other.rab"), {});
        const auto check = [&](const QString &stored, const QString &holderPath, const QString &path) {
            const FileLink::Resolved r = FileLink::resolve(stored, holderPath);
            QCOMPARE(r.path, path);
            QCOMPARE(r.elsewhere, path != stored);
        };
        // Found by name beside the holder: a Unix or a Windows path, or a bare name.
        check("/gone/herd/Smokey.rab", holder, beside);
        check("Smokey.rab", holder, beside);
        // A bare name is read beside the holder even when the program runs in a folder
        // holding a file of that name.
        {
            QTemporaryDir elsewhere;
            writeRabbit(QDir(elsewhere.path()).filePath("Smokey.rab"), {});
            const QString before = QDir::currentPath();
            QVERIFY(QDir::setCurrent(elsewhere.path()));
            check("Smokey.rab", holder, beside);
            QVERIFY(QDir::setCurrent(before));
        }
        // Where it is stored wins; an untitled holder has no folder to look in.
        check(dir.filePath("sub/Other.rab"), holder, dir.filePath("sub/Other.rab"));
        check("/gone/herd/Smokey.rab", QString(), "/gone/herd/Smokey.rab");
        // Nothing of that name beside the holder, or a name that is no file: as stored.
        for (const QString &stored : QStringList{"/gone/Missing.rab", "/gone/..", "/gone/", ""})
            check(stored, holder, stored);
        // Something at the stored path that is not a file still is what the link names.
        check(dir.filePath("sub"), dir.filePath("sub/x.ped"), dir.filePath("sub"));

        // Each file is noted once; the message names where they were found.
        LinkContext one(holder);
        QCOMPARE(one.pathOf("/gone/herd/Smokey.rab"), beside);
        one.pathOf("/gone/herd/Smokey.rab");
        one.pathOf(beside);
        QCOMPARE(foundOf(one), (Found{{"/gone/herd/Smokey.rab", beside}}));
        QCOMPARE(one.message(), "Smokey.rab was not at /gone/herd/Smokey.rab; found it beside chart.ped in " +
                                    QDir::toNativeSeparators(dir.path()) + ".");
    }

    void movedPedigree()
    {
        // Fifteen rabbit files, each linking its parents by full path.
        MovedHerd herd;
        const auto fileOf = [](const PedigreeFile::Position &p) { return QString(p.prefix) + ".rab"; };
        LineRecord chart = PedigreeFile::newRecord();
        PedigreeLinks::PositionLinks filled;
        for (const PedigreeFile::Position &p : PedigreeFile::positions()) {
            QMap<int, QString> values{{RabbitFile::RabbitName, QStringLiteral("Name of ") + p.prefix}};
            if (p.hasParents()) {
                values[RabbitFile::FatherRabFile] = herd.oldPath(fileOf(*PedigreeFile::positionByCode(p.fatherCode)));
                values[RabbitFile::MotherRabFile] = herd.oldPath(fileOf(*PedigreeFile::positionByCode(p.motherCode)));
            }
            filled[std::size_t(p.index())] = writeRabbit(herd.oldPath(fileOf(p)), values);
        }
        chart.setValue(PedigreeFile::MainRabFile, filled[0]);
        chart.toLines().write(herd.oldPath("chart.ped"));
        herd.move();

        TMainScreen *window = m_fx->newChart();
        window->loadFile(herd.newPath("chart.ped"));
        PedigreeLinkEditor *editor = window->linkEditor();
        press(window, Qt::CTRL | Qt::Key_L);
        const QString folder = QDir::toNativeSeparators(herd.to.path());

        // Auto-fill reads the seven files with parents from the copy and fills in the
        // links as those files hold them.
        m_fx->platform().expectQuestion("This will overwrite existing values. Continue?", Platform::Answer::Ok);
        Input::clickOn(editor->autoFillButton());
        QCOMPARE(editor->positionLinks(), filled);
        QCOMPARE(status(),
                 "7 linked files were not at their stored paths; found them beside chart.ped in " + folder + ".");

        m_fx->platform().expectQuestion("This will overwrite existing values. Continue?", Platform::Answer::Ok);
        Input::clickOn(editor->updateButton());
        for (const PedigreeFile::Position &p : PedigreeFile::positions())
            QCOMPARE(window->field(p.fieldName(PedigreeFile::ChartField::Name))->text(),
                     QStringLiteral("Name of ") + p.prefix);

        // The stored links still name the old folder.
        window->saveFile(herd.newPath("chart.ped"));
        const LineRecord saved = PedigreeFile::read(herd.newPath("chart.ped"));
        QCOMPARE(PedigreeLinks::linksOf(saved), filled);

        // Opening a linked file opens the copy.
        Input::doubleClickOn(editor->positionLink(1)->pathEdit());
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->fileName(), herd.newPath("Dad.rab"));
    }

    void fileNowhere()
    {
        // Neither at the stored path nor beside the record: the usual error, naming the
        // stored path, and nothing noted.
        MovedHerd herd;
        const QString stored = herd.oldPath("Gone.rab");
        LineRecord chart = PedigreeFile::newRecord();
        chart.setValue(PedigreeFile::MainRabFile, stored);
        chart.setValue(PedigreeFile::RabbitryFile, "None");
        LinkContext context(herd.newPath("chart.ped"));
        const QString usual = messageOf<FileError>([&] { LineFile::read(stored); });
        QVERIFY(!usual.isEmpty());
        QCOMPARE(messageOf<FileError>([&] { PedigreeLinks::updateFromLinks(chart, context); }), usual);
        QVERIFY(context.found().isEmpty());
        QCOMPARE(chart.value(PedigreeFile::MainRabFile), stored);
    }

    void otherReaders_data()
    {
        QTest::addColumn<QString>("reader");
        for (const char *reader : {"breeding", "offspring", "show", "rabbit"})
            QTest::newRow(reader) << QString(reader);
    }

    void otherReaders()
    {
        // Each reader follows a link into the moved folder from a record saved there,
        // keeps the link as stored, and fails as before for an untitled record.
        QFETCH(QString, reader);
        MovedHerd herd;
        const QString smokey = writeRabbit(herd.oldPath("Smokey.rab"), {{RabbitFile::RabbitName, "Smokey"}});
        const QString dam = writeRabbit(herd.oldPath("Dam.rab"), {{RabbitFile::RabbitName, "Dam"}});
        herd.move();

        // Runs the reader in `context`; returns the name it took from Smokey.rab and
        // the link as it stands afterwards.
        using Result = std::pair<QString, QString>;
        const std::function<Result(LinkContext &)> run = [&](LinkContext &context) -> Result {
            if (reader == "breeding") {
                LineRecord breeding = BreedingFile::newRecord();
                breeding.setValue(BreedingFile::MainRabFile, smokey);
                BreedingLinks::updateFromLinks(breeding, context);
                return {breeding.value(BreedingFile::RabbitName), breeding.value(BreedingFile::MainRabFile)};
            }
            if (reader == "offspring") {
                LineRecord breeding = BreedingFile::newRecord();
                breeding.setValue(BreedingFile::MainRabFile, smokey);
                breeding.setValue(BreedingFile::Sex, "Buck");
                breeding.setValue(BreedingFile::mateRabFile(3), dam);
                const LineRecord kit = BreedingLinks::generateOffspring(breeding, 3, context);
                return {kit.value(RabbitFile::DadName) + "+" + kit.value(RabbitFile::MomName),
                        kit.value(RabbitFile::FatherRabFile)};
            }
            if (reader == "show") {
                LineRecord show = ShowFile::newRecord();
                show.setValue(ShowFile::MainRabFile, smokey);
                ShowLinks::updateFromLinks(show, context);
                return {show.value(ShowFile::RabbitName), show.value(ShowFile::MainRabFile)};
            }
            LineRecord rabbit = RabbitFile::newRecord();
            rabbit.setValue(RabbitFile::FatherRabFile, smokey);
            RabbitLinks::updateFromLinks(rabbit, context);
            return {rabbit.value(RabbitFile::DadName), rabbit.value(RabbitFile::FatherRabFile)};
        };

        LinkContext moved(herd.newPath("holder"));
        QCOMPARE(run(moved), Result(reader == "offspring" ? "Smokey+Dam" : "Smokey", smokey));
        Found expected{{smokey, herd.newPath("Smokey.rab")}};
        if (reader == "offspring")
            expected.append({dam, herd.newPath("Dam.rab")});
        QCOMPARE(foundOf(moved), expected);

        LinkContext untitled;
        QCOMPARE(messageOf<FileError>([&] { run(untitled); }), messageOf<FileError>([&] { LineFile::read(smokey); }));
    }
};

QTEST_MAIN(TestMovedLinks)
#include "test_moved_links.moc"
