// A link is a path stored in a record file, which holds windows-1252 text only. A path
// with other characters would be saved with "?" in their place and lead nowhere from
// then on, so every way a path becomes a link refuses it when it is chosen, naming
// the characters, and the window stays as it was.

#include "Input.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "rabbitry/MyRabbitry.h"
#include "rabbitry/RabbitryFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "frame/BigBadParent.h"
#include "shell/DocumentWindow.h"
#include "shell/LinkEditor.h"
#include "shell/SheetWidgets.h"

#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <QToolButton>

namespace {
const QString None = QStringLiteral("None");
// Neither is in windows-1252; "é" is, and must not be named.
const QString Rabbit = QStringLiteral("\u5154");
const QString Check = QStringLiteral("\u2713");
QString unstorableName(const QString &stem, const QString &extension)
{
    return stem + QStringLiteral(" \u00e9") + Rabbit + Check + extension;
}
} // namespace

class TestLinkPaths : public WindowTest
{
    Q_OBJECT


    // One error, naming both characters and only them.
    void takeRefusal()
    {
        const QStringList errors = m_fx->platform().takeErrors();
        QCOMPARE(errors.size(), 1);
        const QString &message = errors.first();
        QVERIFY2(message.contains(QStringLiteral("cannot store the characters %1 %2 ").arg(Rabbit, Check)),
                 qPrintable(message));
    }

    DocumentWindow *newestWindow() const
    {
        return qobject_cast<DocumentWindow *>(m_fx->parent().mdiArea()->subWindowList().constLast());
    }

    // A readable file of the link's kind, so that only its name can be refused.
    QString existingFile(const QString &name) const
    {
        if (name.endsWith(QStringLiteral(".rbty")))
            return TestFiles::writeLines(m_fx->path(name), {"-RabbitryInfo-", "Oak Hutch", "1 Road", "Road", "555"});
        return m_fx->rabbit(name, {{RabbitFile::RabbitName, "Thumper"}});
    }

private slots:

    void refusedWhereverChosen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("editorAction"); // shows the related-file editor
        QTest::addColumn<QString>("link");         // the link field's name
        QTest::addColumn<QString>("extension");    // of the files it links to
        QTest::addColumn<QString>("label");        // whose menu has the load command
        QTest::addColumn<QString>("loadAction");   // empty: the link has none
        // clang-format off
        QTest::newRow("rabbit: father") << "rabbit" << "RSRabbitFileSet" << "FatherRabFile" << ".rab" << "DadName" << "LoadSavedRabbit";
        QTest::newRow("rabbit: sibling 10") << "rabbit" << "RSRabbitFileSet" << "Sibling10RabFile" << ".rab" << "Sibling10Name" << "LoadSavedRabbit";
        QTest::newRow("rabbit: show record") << "rabbit" << "RSRabbitFileSet" << "ShowLink" << ".shw" << "" << "";
        QTest::newRow("pedigree: sire") << "pedigree" << "SetFileLinks" << "FatherRabFile" << ".rab" << "DadName" << "LoadSavedRabbit";
        QTest::newRow("pedigree: rabbitry") << "pedigree" << "SetFileLinks" << "RabbitryFile" << ".rbty" << "BreederLabel" << "LoadSavedRabbitry";
        QTest::newRow("breeding: subject") << "breeding" << "SetFileLinks" << "MainRabFile" << ".rab" << "RabbitName" << "LoadSavedRabbit";
        QTest::newRow("breeding: mate 15") << "breeding" << "SetFileLinks" << "Parent15RabFile" << ".rab" << "Parent15" << "LoadSavedRabbit";
        QTest::newRow("show: rabbit") << "show" << "RSRabbitFileSet" << "MainRabFile" << ".rab" << "RabbitName" << "LoadSavedRabbit";
        // clang-format on
    }

    // "Chooses a Link File", the double-click that creates the linked record, and the
    // load command of the link's label: each refuses the path, and the link, the
    // label and the unsaved-changes flag stay as they were.
    void refusedWhereverChosen()
    {
        QFETCH(QString, kind);
        QFETCH(QString, editorAction);
        QFETCH(QString, link);
        QFETCH(QString, extension);
        QFETCH(QString, label);
        QFETCH(QString, loadAction);
        ScriptedPlatform &platform = m_fx->platform();
        auto *window = qobject_cast<DocumentWindow *>(m_fx->parent().runTool(kind));
        QVERIFY(window);
        Input::activate(window);
        trigger(window, qPrintable(editorAction));
        auto *field = window->findChild<LinkField *>(link + QStringLiteral("Field"));
        QVERIFY(field && field->isVisible());
        window->setModified(false);
        const QString chosen = existingFile(unstorableName(QStringLiteral("chosen"), extension));

        platform.expectFile(chosen);
        Input::click(field->setButton());
        takeRefusal();
        QCOMPARE(field->link(), None);
        QVERIFY(!window->isModified());

        // The new record's Save As refuses the name before anything is written; its
        // window stays open, untitled, as when the dialog is cancelled.
        const int windows = m_fx->windows();
        const QString created = m_fx->path(unstorableName(QStringLiteral("created"), extension));
        platform.expectFile(created);
        QTest::mouseDClick(field->pathEdit(), Qt::LeftButton);
        takeRefusal();
        QCOMPARE(field->link(), None);
        QVERIFY(!QFile::exists(created));
        QVERIFY(!window->isModified());
        QCOMPARE(m_fx->windows(), windows + 1);
        QVERIFY(newestWindow() != window && newestWindow()->fileName().isEmpty());

        if (loadAction.isEmpty())
            return;
        auto *value = window->findChild<ValueLabel *>(label);
        QVERIFY(value);
        const QString shown = value->value();
        // Back in the first window, the breeder leaves the editor with Esc and
        // right-clicks the value.
        Input::activate(window);
        Input::focus(field->pathEdit());
        Input::key(Qt::Key_Escape);
        QVERIFY(!field->isVisible());
        platform.expectFile(chosen);
        fromMenu(window, value, qPrintable(loadAction));
        takeRefusal();
        QCOMPARE(field->link(), None);
        QCOMPARE(value->value(), shown);
        QVERIFY(!window->isModified());
    }

    // A record started from the pedigree (a chart position, the breeder lines) is
    // saved where the breeder likes, but comes back as a link only when a pedigree
    // file can store its path.
    void handOffsRefuseWhatNoLinkCanHold()
    {
        struct Case
        {
            const char *label, *action, *link, *extension;
        };
        const Case cases[] = {
            {"DadName", "OpenRabbitFile", "FatherRabFile", ".rab"},
            {"BreederLabel", "OpenRabbitry", "RabbitryFile", ".rbty"},
        };
        for (const Case &c : cases) {
            const QString name = QString::fromLatin1(c.label);
            TMainScreen *chart = m_fx->newChart();
            fromMenu(chart, chart->field(name), c.action);
            DocumentWindow *started = newestWindow();
            QVERIFY2(started && started != chart, c.action);
            chart->setModified(false);

            const QString saved = m_fx->path(unstorableName(name, QString::fromLatin1(c.extension)));
            m_fx->platform().expectFile(saved);
            Input::focus(started);
            Input::key(Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(started->fileName(), saved);
            QVERIFY(Input::closeSubWindow(Input::subWindowOf(started)));
            takeRefusal();
            QCOMPARE(chart->findChild<LinkField *>(QString::fromLatin1(c.link) + QStringLiteral("Field"))->link(),
                     None);
            QVERIFY2(!chart->isModified(), c.action);
        }
    }

    // What a link can hold is still taken: characters of windows-1252 beyond ASCII.
    void storableLinksAreTaken()
    {
        TRabbitSheet *rabbit = m_fx->newRabbit();
        trigger(rabbit, "RSRabbitFileSet");
        const QString sire =
            m_fx->rabbit(QStringLiteral("Ch\u00e2teau \u20ac.rab"), {{RabbitFile::RabbitName, "Sire"}});
        m_fx->platform().expectFile(sire);
        Input::click(rabbit->findChild<QToolButton *>("FatherRabFileSet"));
        QCOMPARE(rabbit->findChild<LinkField *>("FatherRabFileField")->link(), sire);
        const QString saved = m_fx->path("kit.rab");
        rabbit->saveFile(saved);
        QCOMPARE(LineFile::read(saved).at(RabbitFile::FatherRabFile), sire);
    }

    void messageNamesEachCharacterOnce()
    {
        const QString path = QStringLiteral("/herd/a\u5154b\u5154\nc\U0001F407.rab");
        QCOMPARE(
            TestFiles::messageOf<RecordError>([&] { requireStorableLink(path); }),
            QStringLiteral("\"%1\" cannot be a link: a record file cannot store the characters \u5154 (line break) "
                           "\U0001F407 of its path. Rename the file or its folder and choose it again.")
                .arg(path));
        for (const QString &fine : {QStringLiteral("C:\\Rabbits\\caf\u00e9 \u20ac.rab"), QString(), None})
            QCOMPARE(TestFiles::messageOf<RecordError>([&] { requireStorableLink(fine); }), QString());
    }
};

QTEST_MAIN(TestLinkPaths)
#include "test_link_paths.moc"
