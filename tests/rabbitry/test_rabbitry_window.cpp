// The rabbitry window: its list, details, preview, open commands and files.

#include "RabbitryWindowTest.h"

class TestRabbitryWindow : public RabbitryWindowTest
{
    Q_OBJECT
private slots:
    // Add, the sorted list, Remove, the details and what Save writes.
    void listDetailsAndSave()
    {
        ScriptedPlatform &platform = m_fx->platform();
        const QString b = rabbit("does/b.rab", {{RabbitName, "Bramble"}});
        const QString a = rabbit("bucks/a.rab", {{RabbitName, "Acorn"}, {EarNumber, "A1"}});
        const QString z = rabbit("adir/Zz.rab", {});
        TMyRabbitry *window = newRabbitry();
        QVERIFY(!window->findChild<QPushButton *>("OpenPedigree")->isEnabled());
        // At the window's first size every button's caption shows whole.
        QVERIFY(QTest::qWaitForWindowExposed(window));
        for (const QPushButton *button : window->findChildren<QPushButton *>())
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));

        // Shown by file name whatever the folder; each entry keeps its path.
        for (const QString &path : {b, z})
            add(window, path);
        QVERIFY(changes(window, [&] { add(window, a); }));
        QCOMPARE(shownNames(window), QStringList({"a.rab", "b.rab", "Zz.rab"}));
        QCOMPARE(window->rabbits(), QStringList({a, b, z}));

        // The same path again is refused, yet the flag is set; a path the file cannot
        // store is refused, not saved as "?".
        platform.expectFile(b);
        platform.expectQuestion(AlreadyListed, Answer::Ok);
        QVERIFY(changes(window, [&] { press(window, "Add"); }));
        QVERIFY(platform.allAnswered());
        add(window, m_fx->path(QString::fromUtf8("\u5154.rab")));
        platform.takeError("cannot store");
        QCOMPARE(window->rabbits().size(), 3);

        // A click in the list turns the entry buttons on. Remove asks first, and No
        // changes nothing; with nothing chosen it does nothing after the question.
        choose(window, a);
        QVERIFY(window->findChild<QPushButton *>("OpenPedigree")->isEnabled());
        platform.expectQuestion(RemoveQuestion, Answer::No);
        QVERIFY(!changes(window, [&] { press(window, "Remove"); }));
        platform.expectQuestion(RemoveQuestion, Answer::Yes);
        QVERIFY(changes(window, [&] { press(window, "Remove"); }));
        QCOMPARE(window->rabbits(), QStringList({b, z}));
        QVERIFY(previewBlank(window));
        QVERIFY(QFileInfo::exists(a)); // the rabbit file itself stays
        platform.expectQuestion(RemoveQuestion, Answer::Yes);
        QVERIFY(!changes(window, [&] { press(window, "Remove"); }));
        QCOMPARE(window->rabbits(), QStringList({b, z}));

        // Typing in a detail field is an edit; Ctrl+S writes paths by full path, the
        // marker, the details.
        QVERIFY(changes(window, [&] { typeDetail(window, "RabbitryName", "Hazel Hill"); }));
        typeDetail(window, "RabbitryPhone", "555-0100");
        const QString saved = m_fx->path("mine.rbty");
        platform.expectFile(saved);
        Input::key(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(platform.allAnswered());
        QCOMPARE(LineFile::read(saved).lines(),
                 QStringList({z, b, "-RabbitryInfo-", "Hazel Hill", "", "", "555-0100"}));

        // Typed characters a file cannot hold stop the save; the file and the flag stay.
        typeDetail(window, "RabbitryAddress", QString::fromUtf8("\u2603 Lane"));
        Input::key(Qt::Key_S, Qt::ControlModifier);
        platform.takeError("Address:");
        QVERIFY(window->isModified());
        QCOMPARE(LineFile::read(saved).at(4), "");
    }

    // One Add takes several files: each is added as a single Add would take it, and
    // what is refused is told once.
    void severalFilesInOneAdd()
    {
        ScriptedPlatform &platform = m_fx->platform();
        const QString a = rabbit("a.rab", {});
        const QString b = rabbit("b.rab", {});
        const QString c = rabbit("c.rab", {});
        const QString d = rabbit("more/d.rab", {});
        TMyRabbitry *window = newRabbitry();
        add(window, b);

        platform.expectFiles({c, b, a});
        platform.expectQuestion(AlreadyListed + QStringLiteral(":\nb.rab"), Answer::Ok);
        QVERIFY(changes(window, [&] { press(window, "Add"); }));
        QCOMPARE(window->rabbits(), QStringList({a, b, c}));

        // Several refused: named together, the others still added; a path the file cannot
        // store is refused as a single Add refuses it.
        const QString foreign = m_fx->path(QString::fromUtf8("\u5154.rab"));
        platform.expectFiles({a, d, foreign, c});
        platform.expectQuestion(QStringLiteral("These rabbits are already in the rabbitry:\na.rab\nc.rab"),
                                Answer::Ok);
        press(window, "Add");
        platform.takeError("cannot store");
        QCOMPARE(window->rabbits(), QStringList({a, b, c, d}));

        // Cancel adds nothing and changes nothing.
        platform.expectFiles({});
        QVERIFY(!changes(window, [&] { press(window, "Add"); }));
        QVERIFY(platform.allAnswered());
    }

    // The preview follows the chosen rabbit by mouse and by keys; a click or a key on
    // the rabbit already chosen shows its file as it is now; a file that cannot be read
    // leaves nothing of the previous rabbit behind. The reading itself is tested with
    // readPreview.
    void previewFollowsTheChosenRabbit()
    {
        const QString png = m_fx->path("photo.png");
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::darkRed);
        image.save(png);
        const QString first = rabbit("a.rab", {{RabbitName, "Acorn"}});
        const QString full = rabbit("b.rab", {{RabbitName, "Hazel"},
                                              {OwnerName, "Ann"},
                                              {EarNumber, "H7"},
                                              {RegNumber, "R12"},
                                              {Sex, "Doe"},
                                              {Color, "Blue"},
                                              {RabbitPicture, png}});
        const QStringList hazel{"Hazel", "H7", "R12", "Doe", "Blue", "Ann"};
        TMyRabbitry *window = newRabbitry();
        for (const QString &path : {first, full, m_fx->path("c.rab")})
            add(window, path);
        window->setModified(false);
        QListWidget *list = window->rabbitList();

        // The mouse: the press makes the entry current before it selects it.
        choose(window, full);
        QCOMPARE(preview(window), hazel);
        QVERIFY(!window->picture()->isBlank());
        // The keys, in the list that has the focus now.
        Input::focus(list);
        Input::key(Qt::Key_Up);
        QCOMPARE(preview(window).first(), "Acorn");
        Input::key(Qt::Key_Down);
        QCOMPARE(preview(window), hazel);

        // The chosen rabbit's file changed meanwhile: a click on it shows the change,
        // and so does a key that moves nothing.
        TestFiles::writeRabbit(full, {{RabbitName, "Hazel II"}});
        choose(window, full);
        QCOMPARE(preview(window).first(), "Hazel II");
        QVERIFY(window->picture()->isBlank());
        choose(window, first);
        TestFiles::writeRabbit(first, {{RabbitName, "Acorn II"}});
        Input::key(Qt::Key_Home);
        QCOMPARE(preview(window).first(), "Acorn II");

        // Ctrl+click takes the choice away: nothing is shown, nothing opens.
        Input::clickItem(list, list->model()->index(0, 0), Qt::LeftButton, Qt::ControlModifier);
        QVERIFY(list->selectedItems().isEmpty());
        QVERIFY(previewBlank(window));
        const int before = m_fx->windows();
        press(window, "OpenRabbitFile");
        QCOMPARE(m_fx->windows(), before);

        choose(window, m_fx->path("c.rab"));
        m_fx->platform().takeError("c.rab");
        QVERIFY(previewBlank(window));
        QVERIFY(!window->isModified()); // previews are not edits
    }

    // The four Open buttons and a double click read the chosen rabbit's file when used.
    void openCommands()
    {
        ScriptedPlatform &platform = m_fx->platform();
        const QString pedigree = m_fx->copyData("pedigree/new.ped", "line.ped");
        const QString old69 = m_fx->copyData("rabbit/old69.rab", "old69.rab");
        const QString old71 = m_fx->copyData("rabbit/old71.rab", "old71.rab");
        TestFiles::writeLines(old71, LineFile::read(old71).lines(), {{PedigreeLink, pedigree}});
        // Two a.rab in different folders: the chosen one opens.
        const QString a1 = rabbit("one/a.rab", {{RabbitName, "First"}});
        const QString a2 = rabbit("two/a.rab", {{RabbitName, "Second"}});
        TMyRabbitry *window = newRabbitry();
        for (const QString &path : {old69, old71, a1, a2})
            add(window, path);

        choose(window, a2);
        press(window, "OpenRabbitFile");
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->record().value(RabbitName), "Second");
        Input::doubleClickRow(window->rabbitList(), int(window->rabbits().indexOf(a1)));
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->record().value(RabbitName), "First");

        const auto noLink = [&](const char *button, Rabbitry::RabbitLink link) {
            platform.expectQuestion(Rabbitry::noLinkMessage(link), Answer::Ok);
            press(window, button);
            QVERIFY2(platform.allAnswered(), button);
        };
        choose(window, old69);
        noLink("OpenBreeding", Rabbitry::RabbitLink::Breeding);

        choose(window, old71);
        const int before = m_fx->windows();
        press(window, "OpenPedigree");
        QCOMPARE(m_fx->windows(), before + 1);
        QCOMPARE(WindowRegistry::newest<TMainScreen>()->fileName(), pedigree);

        // The link is read from the file as it is now, not as it was previewed.
        TestFiles::writeLines(old71, LineFile::read(old71).lines(), {{PedigreeLink, "None"}});
        noLink("OpenPedigree", Rabbitry::RabbitLink::Pedigree);
        // A link to a file that is gone is reported and leaves no window behind.
        TestFiles::writeLines(old71, LineFile::read(old71).lines(), {{PedigreeLink, m_fx->path("gone.ped")}});
        press(window, "OpenPedigree");
        platform.takeError("gone.ped");
        WindowFixture::deleteClosed();
        QCOMPARE(m_fx->windows(), before + 1);
    }

    // A linked file that moved with the rabbit is taken from beside the rabbit's own
    // file, not from beside the rabbitry, which lies in another folder and holds files
    // of the same names.
    void openLinksBesideTheRabbitsOwnFile()
    {
        const struct
        {
            const char *button;
            int line;
            const char *data;
            const char *name;
        } links[] = {{"OpenPedigree", PedigreeLink, "pedigree/new.ped", "line.ped"},
                     {"OpenBreeding", BreedLink, "breeding/new.brd", "line.brd"},
                     {"OpenShow", ShowLink, "show/new.shw", "line.shw"}};
        QMap<int, QString> values{{RabbitName, "Moved"}};
        for (const auto &link : links) {
            for (const char *folder : {"herd/", "lists/"}) {
                QDir().mkpath(m_fx->path(folder));
                m_fx->copyData(link.data, folder + QString::fromLatin1(link.name));
            }
            values.insert(link.line, "/gone/herd/" + QString::fromLatin1(link.name));
        }
        const QString doe = rabbit("herd/doe.rab", values);
        const QString list = m_fx->path("lists/mine.rbty");
        Rabbitry::write(list, {doe}, {});

        TMyRabbitry *window = newRabbitry();
        m_fx->platform().expectFile(list);
        Input::chooseFromMenuBar(window, nullptr, "FileOpen");
        QCOMPARE(window->fileName(), list);
        choose(window, doe);
        QCOMPARE(preview(window).first(), "Moved");
        for (const auto &link : links) {
            press(window, link.button);
            const auto *opened = qobject_cast<DocumentWindow *>(
                m_fx->parent().mdiArea()->subWindowList(QMdiArea::CreationOrder).last());
            QVERIFY2(opened && opened->fileName() == m_fx->path("herd/" + QString::fromLatin1(link.name)),
                     link.button);
        }
        QCOMPARE(m_fx->platform().takeErrors(), QStringList());
    }

    // Blank lines after the phone line, as an editor leaves them: File > Open takes
    // the file, Save writes it without them, and the pedigree takes its details.
    void blankLinesAfterTheTrailer()
    {
        ScriptedPlatform &platform = m_fx->platform();
        const QString a = rabbit("a.rab", {{RabbitName, "Acorn"}});
        const QString path = m_fx->path("edited.rbty");
        const QStringList saved = {a, "-RabbitryInfo-", "Oak Hutch", "1 Road, Elm", "Elm", "555"};
        TestFiles::writeBytes(path, TestFiles::crlf(saved) + "\r\n  \r\n\r\n");
        TMyRabbitry *window = newRabbitry();
        Input::focus(window->rabbitList());
        platform.expectFile(path);
        Input::key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(platform.takeErrors(), QStringList());
        QCOMPARE(window->rabbits(), QStringList{a});
        QCOMPARE(window->details(), (Rabbitry::Details{"Oak Hutch", "1 Road, Elm", "Elm", "555"}));
        QCOMPARE(window->windowTitle(), "edited.rbty - Rabbitry");
        Input::key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(TestFiles::readBytes(path), TestFiles::crlf(saved));

        TestFiles::writeBytes(path, TestFiles::crlf(saved) + "\r\n");
        TMainScreen *chart = m_fx->newChart();
        platform.expectFile(path);
        fromMenu(chart, chart->field("BreederLabel"), "LoadSavedRabbitry");
        QCOMPARE(platform.takeErrors(), QStringList());
        QCOMPARE(chart->field("BreederLabel")->value(), "Oak Hutch");
        QCOMPARE(chart->field("AddressLabel")->value(), "Elm");
    }

    // Every dialog that asks for a rabbitry file says the same: the kind's own filter.
    void rabbitryDialogsShareTheirFilter()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TMainScreen *chart = m_fx->newChart();
        trigger(chart, "SetFileLinks");
        platform.expectFile(std::nullopt);
        Input::click(chart->findChild<QToolButton *>("RabbitryFileSet"));
        platform.expectFile(std::nullopt);
        fromMenu(chart, chart->field("BreederLabel"), "LoadSavedRabbitry");
        TMyRabbitry *window = newRabbitry();
        Input::focus(window->rabbitList());
        platform.expectFile(std::nullopt);
        Input::key(Qt::Key_O, Qt::ControlModifier);
        QVERIFY(platform.allAnswered());
        QCOMPARE(platform.dialogFilters(), QStringList(3, QStringLiteral("Rabbitries (*.rbty)|*.rbty")));
    }
};

QTEST_MAIN(TestRabbitryWindow)
#include "test_rabbitry_window.moc"
