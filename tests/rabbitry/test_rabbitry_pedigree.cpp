// The pedigree's rabbitry link: a rabbitry started from a chart, and one loaded into it.

#include "RabbitryWindowTest.h"

class TestRabbitryPedigree : public RabbitryWindowTest
{
    Q_OBJECT
private slots:
    // A record started from the header hands its file back to that pedigree only.
    void rabbitryStartedFromAPedigree()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TMainScreen *a = m_fx->newChart();
        TMainScreen *b = m_fx->newChart(); // the newest pedigree
        setText(a, "BreederLabel", "Hazel Hill Rabbitry");
        setText(a, "AddressLabel", "12 Warren Lane, Springfield");

        onHeader(a, "OpenRabbitry");
        auto *started = WindowRegistry::newest<TMyRabbitry>();
        QVERIFY(!started->isModified());
        QCOMPARE(started->positionCode(), PedigreeFile::HeaderCode);
        QCOMPARE(started->details(), Rabbitry::Details({"Hazel Hill Rabbitry", "12 Warren Lane, Springfield",
                                                        "12 Warren Lane, Springfield", ""}));

        // The breeder shortens the abbreviated address, saves and closes: A takes it.
        typeDetail(started, "RabbitryAbrev", "Springfield");
        const QString path = m_fx->path("hazel.rbty");
        platform.expectFile(path);
        Input::chooseFromMenuBar(started, nullptr, "FileSaveAs");
        a->setModified(false);
        QVERIFY(Input::closeSubWindow(started));
        QVERIFY(a->isModified());
        QCOMPARE(a->linkEditor()->rabbitryLink()->link(), path);
        QCOMPARE(a->field("AddressLabel")->text(), "Springfield");
        QVERIFY(!b->isModified());

        // Linked now: Open Rabbitry opens the file, and that window hands nothing back.
        onHeader(a, "OpenRabbitry");
        auto *opened = WindowRegistry::newest<TMyRabbitry>();
        QVERIFY(opened->fileName() == path && opened->positionCode() == 0);
        QVERIFY(Input::closeSubWindow(opened));

        // A placeholder breeder line starts a record with an empty name; unsaved, nothing comes back.
        onHeader(b, "OpenRabbitry");
        started = WindowRegistry::newest<TMyRabbitry>();
        QCOMPARE(started->details(), Rabbitry::Details());
        typeDetail(started, "RabbitryPhone", "555-0100");
        platform.expectQuestion(Unsaved, Answer::No);
        QVERIFY(!changes(b, [&] { QVERIFY(Input::closeSubWindow(started)); }));
        QCOMPARE(b->linkEditor()->rabbitryLink()->link(), "None");

        // The starting pedigree closed first: saved, nothing handed back, nothing fails.
        onHeader(b, "OpenRabbitry");
        started = WindowRegistry::newest<TMyRabbitry>();
        platform.expectFile(m_fx->path("orphan.rbty"));
        Input::chooseFromMenuBar(started, nullptr, "FileSaveAs");
        QPointer<TMainScreen> gone(b);
        a->setModified(false);
        QVERIFY(Input::closeSubWindow(b));
        QVERIFY(gone.isNull());
        QVERIFY(Input::closeSubWindow(started));
        QVERIFY(!a->isModified());
        QCOMPARE(a->linkEditor()->rabbitryLink()->link(), path);
    }

    // Load Saved Rabbitry, and the sixteenth row of the related-file editor.
    void loadSavedRabbitryAndTheLinkRow()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TMainScreen *chart = m_fx->newChart();
        setText(chart, "BreederLabel", "Old Breeder");
        setText(chart, "AddressLabel", "Old Address");

        // A file saved without details empties both lines (no placeholder).
        const QString blank = m_fx->path("blank.rbty");
        Rabbitry::write(blank, {}, {});
        platform.expectFile(blank);
        QVERIFY(changes(chart, [&] { onHeader(chart, "LoadSavedRabbitry"); }));
        QCOMPARE(chart->field("BreederLabel")->text(), "");
        QCOMPARE(chart->linkEditor()->rabbitryLink()->link(), blank);

        // An older list without details, even one shorter than five lines: linked, nothing else, no error.
        setText(chart, "BreederLabel", "Kept");
        const QString older = TestFiles::writeLines(m_fx->path("older.rbty"), {"C:\\a.rab"});
        platform.expectFile(older);
        onHeader(chart, "LoadSavedRabbitry");
        QCOMPARE(chart->linkEditor()->rabbitryLink()->link(), older);
        QCOMPARE(chart->field("BreederLabel")->text(), "Kept");
        // A file that cannot be read changes nothing.
        platform.expectFile(m_fx->path("missing.rbty"));
        onHeader(chart, "LoadSavedRabbitry");
        platform.takeError("missing.rbty");
        QCOMPARE(chart->linkEditor()->rabbitryLink()->link(), older);

        // The link row: set and clear turn Cancel on, and Cancel does not undo them.
        PedigreeLinkEditor *editor = chart->linkEditor();
        LinkField *link = editor->rabbitryLink();
        Input::chooseFromMenuBar(chart, nullptr, "SetFileLinks");
        QVERIFY(link->isEnabled());
        m_fx->platform().expectQuestion("This will overwrite existing values. Continue?", Answer::Ok);
        Input::click(editor->updateButton()); // turns Cancel off
        QVERIFY(!editor->cancelButton()->isEnabled());
        platform.expectFile(blank);
        QVERIFY(changes(chart, [&] { Input::click(editor->findChild<QToolButton *>("RabbitryFileSet")); }));
        QVERIFY(link->link() == blank && editor->cancelButton()->isEnabled());
        Input::click(editor->findChild<QToolButton *>("RabbitryFileNew"));
        QCOMPARE(link->link(), "None");
        Input::click(editor->cancelButton());
        QCOMPARE(link->link(), "None");

        // A double click on no link names a new rabbitry's file at once.
        Input::chooseFromMenuBar(chart, nullptr, "SetFileLinks");
        const QString made = m_fx->path("made.rbty");
        platform.expectFile(made);
        QTest::mouseDClick(link->pathEdit(), Qt::LeftButton);
        QCOMPARE(link->link(), made);
        QVERIFY(QFileInfo::exists(made));
    }
};

QTEST_MAIN(TestRabbitryPedigree)
#include "test_rabbitry_pedigree.moc"
