// The show record window: its new file, the chosen row, the link panel and the
// commands that follow the rabbit's own file.

#include "TestFiles.h"
#include "WindowFixture.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"
#include "shell/LinkEditor.h"
#include "show/ShowFormat.h"
#include "show/ShowRecord.h"

#include <QComboBox>
#include <QPushButton>
#include <QToolButton>
#include <QTest>

using namespace ShowFile;
using Answer = Platform::Answer;
using TestFiles::readBytes;

namespace {
const QString Overwrite = QStringLiteral("This will overwrite existing values. Continue?");
const QString None = QStringLiteral("None");
} // namespace

class TestShowWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;

    TShowRecord *newShow() const
    {
        return qobject_cast<TShowRecord *>(m_fx->parent().runTool(QString::fromLatin1(TShowRecord::KindId)));
    }
    static QString value(TShowRecord *show, const char *name)
    {
        return show->field(QString::fromLatin1(name))->value();
    }
    static void onField(TShowRecord *show, const char *name, const char *action)
    {
        fromMenu(show, show->field(QString::fromLatin1(name)), action);
    }

private slots:
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

    // Show Records in a rabbit window gives a new record that saves as the 68 lines
    // of a new show file; a load shows the chosen row and link.
    void newRecordLoadAndSave()
    {
        TRabbitSheet *rabbit = m_fx->newRabbit();
        trigger(rabbit, "ShowRecords1");
        TShowRecord *show = WindowRegistry::newest<TShowRecord>();
        QVERIFY(show->backImage()->stretch());
        QVERIFY(showsWithoutScrollBars(show));
        const QString path = m_fx->path("new.shw");
        show->saveFile(path);
        QCOMPARE(readBytes(path), readBytes(TestFiles::dataPath("show/new.shw")));

        const QString full = m_fx->copyData("show/full.shw", "full.shw");
        show->loadFile(full);
        QCOMPARE(show->winningsNum()->currentText(), LineFile::read(full).lines().at(WinningsNum));
        QCOMPARE(show->rabbitLink()->link(), LineFile::read(full).lines().at(MainRabFile));
    }

    // Choosing another row is an edit: Cancel in the link panel keeps it (only the
    // link goes back).
    void chosenRowIsAnEdit()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        const QString rabbit = m_fx->rabbit("r.rab", {{RabbitFile::RabbitName, "Dancer"}});
        trigger(show, "RSRabbitFileSet");
        QVERIFY(changes(show, [&] { show->winningsNum()->setCurrentIndex(4); }));
        platform.expectFile(rabbit);
        show->rabbitLink()->setButton()->click();
        show->linkEditor()->cancelButton()->click();
        QVERIFY(show->linkEditor()->isHidden());
        QCOMPARE(show->rabbitLink()->link(), None);
        QCOMPARE(show->winningsNum()->currentText(), "4");

        show->saveFile(m_fx->path("row.shw"));
        QCOMPARE(LineFile::read(m_fx->path("row.shw")).lines().at(WinningsNum), "4");
    }

    // Update from Links copies the rabbit's identity and retakes the snapshot, so
    // Cancel then keeps the link.
    void updateFromLinks()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();

        trigger(show, "RSRabbitFileSet");
        const QString rabbit = m_fx->rabbit("dancer.rab", {{RabbitFile::RabbitName, "Dancer"}});
        platform.expectFile(rabbit);
        show->rabbitLink()->setButton()->click();
        platform.expectQuestion(Overwrite, Answer::Ok);
        show->updateButton()->click();
        QCOMPARE(value(show, "RabbitName"), "Dancer");
        QVERIFY(!show->linkEditor()->cancelButton()->isEnabled());
        trigger(show, "RSRabbitFileSet"); // Cancel: the snapshot was retaken
        QCOMPARE(show->rabbitLink()->link(), rabbit);
    }

    // Load Saved Rabbit links the file; Open Rabbit File opens
    // the linked file, or a new record carrying the sheet's identity.
    void rabbitCommands()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        typeInto(show, show->field("RabbitName"), "Dancer");
        onField(show, "RabbitName", "OpenRabbitFile");
        TRabbitSheet *fresh = WindowRegistry::newest<TRabbitSheet>();
        QCOMPARE(fresh->windowTitle(), "Untitled - Rabbit Information");
        QVERIFY(!fresh->isModified());
        QCOMPARE(fresh->field("RabbitName")->value(), "Dancer");

        const QString rabbit = m_fx->rabbit("r.rab", {{RabbitFile::RegNumber, "R-1"}});
        platform.expectFile(rabbit);
        QVERIFY(changes(show, [&] { onField(show, "EarNumber", "LoadSavedRabbit"); }));
        QCOMPARE(show->rabbitLink()->link(), rabbit);
        QCOMPARE(value(show, "RegNumber"), "R-1");
        QCOMPARE(value(show, "RabbitName"), "Dancer");
        onField(show, "Color", "OpenRabbitFile");
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(), "r.rab - Rabbit Information");
    }
};

QTEST_MAIN(TestShowWindow)
#include "test_show_window.moc"
