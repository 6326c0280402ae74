// The herd table window, driven through clicks and keys: opening it from the
// rabbitry window and the Tools menu, sorting by headings, filtering, opening a
// rabbit, stopping a long read, the CSV it exports, the date order of its View menu
// and test mating on the selected rabbit.

#include "HerdFiles.h"
#include "WindowFixture.h"
#include "herd/HerdModel.h"
#include "herd/HerdTable.h"
#include "herd/TestMatingWindow.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "rabbitry/MyRabbitry.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "frame/PreferencesDialog.h"
#include "shell/KindRegistry.h"
#include "shell/Preferences.h"
#include "shell/UserSettings.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace RabbitFile;

class TestHerdTable : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;
    std::unique_ptr<HerdFiles> m_herd;
    QString m_rabbitry;

    // Four rabbits whose ages, coefficients and names sort differently from each other
    // and from their text; one listed file is missing.
    void writeHerd()
    {
        const QDate today = QDate::currentDate();
        const auto born = [&](int days) { return today.addDays(-days).toString(QStringLiteral("yyyy-MM-dd")); };
        m_herd->rabbit("Blaze", "B1", "Buck", "None", "None",
                       {{Breed, "Rex"}, {BirthDate, born(400)}, {Weight, "9 lb"}});
        m_herd->rabbit("Clover", "C2", "Doe", "None", "None",
                       {{Breed, "Dutch"}, {BirthDate, born(21)}, {Weight, "3 lb"}});
        m_herd->rabbit("Aster", "A3", "Doe", "None", "None", {{Breed, "rex"}, {BirthDate, born(100)}});
        m_herd->rabbit("Dusty", "D4", "Male", "None", "None", {{Breed, "Dutch"}, {BirthDate, "spring"}});
        m_rabbitry = m_herd->rabbitry("Hill.rbty", {m_herd->path("Blaze.rab"), m_herd->path("Clover.rab"),
                                                    m_herd->path("Gone.rab"), m_herd->path("Aster.rab"),
                                                    m_herd->path("Dusty.rab")});
    }

    // Opens the rabbitry file in its window and clicks its Herd Table button.
    THerdTable *clickHerdTable()
    {
        auto *rabbitry = qobject_cast<TMyRabbitry *>(
            KindRegistry::instance().openFile(QString::fromLatin1(TMyRabbitry::KindId), m_rabbitry));
        if (!rabbitry)
            return nullptr;
        Input::click(rabbitry->findChild<QPushButton *>("HerdTable"));
        return WindowRegistry::newest<THerdTable>();
    }
    // ... and waits until every row is read.
    THerdTable *openFromRabbitry() { return loaded(clickHerdTable()); }
    static THerdTable *loaded(THerdTable *table)
    {
        if (table && !QTest::qWaitFor([&] { return table->reading()->isFinished(); }, 20000))
            return nullptr;
        return table;
    }
    static QStringList column(THerdTable *table, int column)
    {
        QStringList texts;
        const QAbstractItemModel *model = table->grid()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->index(row, column).data().toString());
        return texts;
    }
    static void clickHeading(THerdTable *table, int column)
    {
        QHeaderView *header = table->grid()->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    static QString checkedOrder(THerdTable *table)
    {
        QStringList checked;
        for (const char *name : {"DateOrderMonthFirst", "DateOrderDayFirst"})
            if (table->findChild<QAction *>(name)->isChecked())
                checked.append(QString::fromLatin1(name));
        return checked.join(u',');
    }
    // Right-clicks the shown row and chooses the entry of the menu that pops up.
    static void onRow(THerdTable *table, int row, const char *action)
    {
        QVERIFY(Input::activate(table));
        QTableView *grid = table->grid();
        const QModelIndex index = grid->model()->index(row, Herd::Name);
        grid->scrollTo(index);
        Input::clickOn(grid->viewport(), Qt::RightButton, grid->visualRect(index).center());
        Input::chooseFromPopup(action);
    }
    // The test mating window the entry opened, once it has read the herd.
    static TTestMating *openedMating()
    {
        auto *mating = WindowRegistry::newest<TTestMating>();
        if (mating && !QTest::qWaitFor([&] { return mating->reading()->isFinished(); }, 20000))
            return nullptr;
        return mating;
    }

private slots:
    void init()
    {
        m_fx = std::make_unique<WindowFixture>();
        m_herd = std::make_unique<HerdFiles>();
        writeHerd();
    }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_herd.reset();
        m_fx.reset();
    }

    void opensFromRabbitryWithEveryListedRabbit()
    {
        THerdTable *table = openFromRabbitry();
        QVERIFY(table);
        QCOMPARE(table->windowTitle(), QStringLiteral("Hill.rbty - Herd"));
        QStringList headings;
        for (int c = 0; c < table->grid()->model()->columnCount(); ++c)
            headings.append(table->grid()->model()->headerData(c, Qt::Horizontal).toString());
        QCOMPARE(headings, Herd::headings());
        // The rabbitry's order (by file name) until a heading is clicked; the missing
        // file keeps its row, marked.
        QCOMPARE(column(table, Herd::File),
                 QStringList({"Aster.rab", "Blaze.rab", "Clover.rab", "Dusty.rab", "Gone.rab"}));
        const QModelIndex gone = table->grid()->model()->index(4, Herd::Name);
        QVERIFY(gone.data(Qt::ToolTipRole).toString().contains("Gone.rab"));
        QVERIFY(gone.data(Qt::BackgroundRole).isValid());
        QVERIFY(!table->grid()->model()->index(0, Herd::Name).data(Qt::BackgroundRole).isValid());
        QCOMPARE(column(table, Herd::Age).at(2), QStringLiteral("3 weeks"));
    }

    // Each heading sorts by its own order; a second click reverses it with the
    // unknown values still last.
    void headingClicksSort_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("ascending");
        QTest::addColumn<QStringList>("descending");
        QTest::newRow("name") << int(Herd::Name) << QStringList{"Aster", "Blaze", "Clover", "Dusty", ""}
                              << QStringList{"Dusty", "Clover", "Blaze", "Aster", ""};
        // 21 days, 100 days, 400 days as numbers, not as "13 months" < "14 weeks" < "3 weeks".
        QTest::newRow("age") << int(Herd::Age) << QStringList{"Clover", "Aster", "Blaze", "", ""}
                             << QStringList{"Blaze", "Aster", "Clover", "", ""};
        QTest::newRow("born") << int(Herd::Born) << QStringList{"Blaze", "Aster", "Clover", "", ""}
                              << QStringList{"Clover", "Aster", "Blaze", "", ""};
    }
    void headingClicksSort()
    {
        QFETCH(int, column);
        QFETCH(QStringList, ascending);
        QFETCH(QStringList, descending);
        THerdTable *table = openFromRabbitry();
        QVERIFY(table);
        const auto names = [&] {
            QStringList shown = this->column(table, Herd::Name);
            // Dusty's birth date is unreadable: it sorts with the missing file, after the rest.
            if (column != Herd::Name)
                shown.replaceInStrings("Dusty", "");
            return shown;
        };
        clickHeading(table, column);
        QCOMPARE(names(), ascending);
        clickHeading(table, column);
        QCOMPARE(names(), descending);
    }

    // Every column in sight where the frame has the room; a narrow frame keeps the
    // window as it was, with the grid scrolling.
    void columnsFitTheWindow()
    {
        // Breeders write long colours and breeds.
        m_herd->rabbit("Blaze", "B1", "Buck", "None", "None",
                       {{Breed, "Standard Chinchilla (giant line, imported)"},
                        {Color, "Broken Blue Steel with white toenails and Dutch marks"}});
        m_fx->parent().resize(1800, 900);
        THerdTable *table = openFromRabbitry();
        QVERIFY(table);
        QHeaderView *header = table->grid()->horizontalHeader();
        // The last column reaches the edge, all of its values in sight.
        QTRY_COMPARE(header->length(), table->grid()->viewport()->width());
        QVERIFY(table->parentWidget()->rect().contains(table->geometry()));
        table->close();
        m_fx->parent().resize(700, 500);
        table = openFromRabbitry();
        QVERIFY(table);
        QCOMPARE(table->width(), THerdTable::DefaultSize.width());
    }

    // The rabbit chosen before a heading is clicked stays chosen, wherever it goes.
    void sortingKeepsTheChosenRabbit()
    {
        THerdTable *table = openFromRabbitry();
        QVERIFY(table);
        clickHeading(table, Herd::Name);
        Input::clickRow(table->grid(), 1);
        const auto chosen = [&] {
            const QModelIndexList rows = table->grid()->selectionModel()->selectedRows();
            return rows.size() == 1 ? rows.first().data().toString() : QString();
        };
        QCOMPARE(chosen(), QStringLiteral("Blaze"));
        clickHeading(table, Herd::Name);
        QCOMPARE(chosen(), QStringLiteral("Blaze"));
        QCOMPARE(table->grid()->currentIndex().data().toString(), QStringLiteral("Blaze"));
        clickHeading(table, Herd::Age);
        QCOMPARE(chosen(), QStringLiteral("Blaze"));
        // A double-click on it opens that rabbit, not the one now at its old place.
        Input::doubleClickRow(table->grid(), table->grid()->currentIndex().row());
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->fileName(), m_herd->path("Blaze.rab"));
    }

    void filterTypingAndQuickFilters()
    {
        THerdTable *table = openFromRabbitry();
        QVERIFY(table);
        Input::focus(table->filterBox());
        Input::type("dut");
        QCOMPARE(column(table, Herd::Name), QStringList({"Clover", "Dusty"}));
        Input::key(Qt::Key_A, Qt::ControlModifier);
        Input::key(Qt::Key_Backspace);
        QCOMPARE(table->grid()->model()->rowCount(), 5);

        // "Male" reads as a buck; the breed choice ignores case.
        Input::focus(table->sexBox());
        Input::key(Qt::Key_Down);
        QCOMPARE(table->sexBox()->currentText(), QStringLiteral("Bucks"));
        QCOMPARE(column(table, Herd::Name), QStringList({"Blaze", "Dusty"}));
        Input::focus(table->breedBox());
        Input::key(Qt::Key_Down);
        QCOMPARE(table->breedBox()->currentText().toLower(), QStringLiteral("rex"));
        QCOMPARE(column(table, Herd::Name), QStringList({"Blaze"}));
        Input::focus(table->sexBox());
        Input::key(Qt::Key_Down);
        QCOMPARE(column(table, Herd::Name), QStringList({"Aster"}));
    }

    void doubleClickOpensTheRabbit()
    {
        THerdTable *table = openFromRabbitry();
        QVERIFY(table);
        clickHeading(table, Herd::Name);
        Input::doubleClickRow(table->grid(), 1);
        auto *sheet = WindowRegistry::newest<TRabbitSheet>();
        QVERIFY(sheet);
        QCOMPARE(sheet->fileName(), m_herd->path("Blaze.rab"));
        // The missing file's row says why it does not open.
        Input::doubleClickRow(table->grid(), 4);
        m_fx->platform().takeError("Gone.rab");
    }

    void exportsTheRowsShownAsCsv()
    {
        THerdTable *table = openFromRabbitry();
        QVERIFY(table);
        clickHeading(table, Herd::Name);
        Input::focus(table->filterBox());
        Input::type("do");
        const QString out = m_fx->path("herd.csv");
        m_fx->platform().expectFile(out);
        Input::chooseFromMenuBar(table, "File", "FileExportCsv");
        QVERIFY(m_fx->platform().allAnswered());
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // After the byte order mark.
        const QList<QStringList> rows = parseCsv(QString::fromUtf8(file.readAll().mid(3)));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], Herd::headings());
        QCOMPARE(rows[1][Herd::Name], QStringLiteral("Aster"));
        QCOMPARE(rows[2][Herd::Name], QStringLiteral("Clover"));
        QCOMPARE(rows[2][Herd::File], m_herd->path("Clover.rab"));
    }

    // Tools > Herd Table works on the rabbitry active last; with none open it asks for
    // a rabbitry file, offering the one used last first, and makes nothing when cancelled.
    void toolsEntryChoosesTheHerd()
    {
        QTemporaryDir settingsDir;
        UserSettings::useSettingsFile(settingsDir.filePath("settings.ini"));
        TBigBadParent &frame = m_fx->parent();
        m_fx->platform().expectFile(std::nullopt);
        Input::chooseFromMenuBar(&frame, "MMTools", "MMHerdTable");
        QCOMPARE(m_fx->windows(), 0);
        QCOMPARE(m_fx->platform().dialogStarts(), QStringList({QString()}));

        m_fx->platform().expectFile(m_rabbitry);
        Input::chooseFromMenuBar(&frame, "MMTools", "MMHerdTable");
        THerdTable *table = loaded(WindowRegistry::newest<THerdTable>());
        QVERIFY(table);
        QCOMPARE(table->grid()->model()->rowCount(), 5);
        QVERIFY(Input::closeSubWindow(table));

        m_fx->platform().expectFile(std::nullopt);
        Input::chooseFromMenuBar(&frame, "MMTools", "MMHerdTable");
        QCOMPARE(m_fx->platform().dialogStarts().last(), m_rabbitry);

        // An open rabbitry is taken without a question, its list as shown.
        auto *rabbitry = qobject_cast<TMyRabbitry *>(
            KindRegistry::instance().openFile(QString::fromLatin1(TMyRabbitry::KindId), m_rabbitry));
        QVERIFY(rabbitry);
        // Its own Tools menu is on the bar now.
        Input::chooseFromMenuBar(rabbitry, "Tools", "HerdTable1");
        table = loaded(WindowRegistry::newest<THerdTable>());
        QVERIFY(table);
        QCOMPARE(table->windowTitle(), QStringLiteral("Hill.rbty - Herd"));
        UserSettings::stopKeeping();
    }

    // A long read shows its progress and Stop; stopped, the rows read stay.
    void stopEndsALongRead()
    {
        // One rabbit with a pedigree to check, listed many times over.
        m_herd->pedigree("Blaze.ped", {{1, {"Blaze", "B1"}}, {21, {"Sire", "S1"}}, {22, {"Dam", "D1"}}});
        m_herd->rabbit("Blaze", "B1", "Buck", "None", "None", {{PedigreeLink, m_herd->path("Blaze.ped")}});
        const QStringList many(6000, m_herd->path("Blaze.rab"));
        m_rabbitry = m_herd->rabbitry("Many.rbty", many);
        THerdTable *table = clickHerdTable();
        QVERIFY(table);
        HerdReading *reading = table->reading();
        QVERIFY(!reading->stopButton()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(reading->stopButton()->isVisible(), 2000);
        QVERIFY(reading->progressBar()->isVisible());
        Input::click(reading->stopButton());
        QTRY_VERIFY_WITH_TIMEOUT(reading->isFinished(), 20000);
        QVERIFY(reading->wasStopped());
        const int rows = table->grid()->model()->rowCount();
        QVERIFY2(rows < many.size(), qPrintable(QString::number(rows)));
        QVERIFY(!reading->stopButton()->isVisible());
        QVERIFY(reading->status()->text().startsWith("Stopped"));
    }

    // View > Day before Month / Month before Day: the saved setting File > Preferences
    // edits. Every open table reads its born texts again at once (not the files, which
    // may be gone by then), later windows start with it, the dialog shows it.
    void viewMenuSetsTheDateOrder()
    {
        QTemporaryDir settingsDir;
        UserSettings::useSettingsFile(settingsDir.filePath("settings.ini"));
        Preferences::setDateOrder(Preferences::DateOrder::MonthFirst);
        // 2 Jan or 1 Feb; 1 Feb or 2 Jan; a 13th month or 13 Jan.
        const auto writeRabbits = [&] {
            m_herd->rabbit("Early", "E1", "Buck", "None", "None", {{BirthDate, "01/02/2020"}});
            m_herd->rabbit("Late", "L1", "Doe", "None", "None", {{BirthDate, "02/01/2020"}});
            m_herd->rabbit("Odd", "O1", "Doe", "None", "None", {{BirthDate, "13/01/2020"}});
        };
        writeRabbits();
        m_rabbitry = m_herd->rabbitry("Dates.rbty",
                                      {m_herd->path("Early.rab"), m_herd->path("Late.rab"), m_herd->path("Odd.rab")});
        THerdTable *table = openFromRabbitry();
        QVERIFY(table);
        QCOMPARE(checkedOrder(table), QStringLiteral("DateOrderMonthFirst"));
        clickHeading(table, Herd::Born);
        QCOMPARE(column(table, Herd::Name), QStringList({"Early", "Late", "Odd"}));
        QCOMPARE(column(table, Herd::Age).at(2), QString());
        const QStringList monthFirstAges = column(table, Herd::Age);
        const QString oddAge = HerdDate::ageOf(QDate(2020, 1, 13), QDate::currentDate()).text;
        QVERIFY(!oddAge.isEmpty());

        // The files go: what the rows hold is all there is to read from now on.
        for (const char *name : {"Early.rab", "Late.rab", "Odd.rab"})
            QVERIFY(QFile::remove(m_herd->path(name)));
        Input::chooseFromMenuBar(table, "HerdView", "DateOrderDayFirst");
        QCOMPARE(Preferences::dateOrder(), Preferences::DateOrder::DayFirst);
        QCOMPARE(checkedOrder(table), QStringLiteral("DateOrderDayFirst"));
        // Still sorted by Born, on the dates read anew; each row keeps what was typed.
        QCOMPARE(column(table, Herd::Name), QStringList({"Late", "Odd", "Early"}));
        QCOMPARE(column(table, Herd::Born), QStringList({"02/01/2020", "13/01/2020", "01/02/2020"}));
        QCOMPARE(column(table, Herd::Age).at(1), oddAge);
        for (const Herd::Row &row : table->shownRows())
            QVERIFY2(!row.failed(), qPrintable(row.problem()));

        // A table opened later starts in the new order; choosing in it moves the first too.
        writeRabbits();
        THerdTable *later = openFromRabbitry();
        QVERIFY(later && later != table);
        QCOMPARE(checkedOrder(later), QStringLiteral("DateOrderDayFirst"));
        clickHeading(later, Herd::Born);
        QCOMPARE(column(later, Herd::Name), QStringList({"Late", "Odd", "Early"}));
        QCOMPARE(column(later, Herd::Age), column(table, Herd::Age));
        Input::chooseFromMenuBar(later, "HerdView", "DateOrderMonthFirst");
        QCOMPARE(Preferences::dateOrder(), Preferences::DateOrder::MonthFirst);
        QCOMPARE(checkedOrder(table), QStringLiteral("DateOrderMonthFirst"));
        QCOMPARE(column(table, Herd::Name), QStringList({"Early", "Late", "Odd"}));
        QCOMPARE(column(table, Herd::Age), monthFirstAges);

        // File > Preferences of the main window opens on the setting.
        m_fx->parent().mdiArea()->setActiveSubWindow(nullptr);
        int shown = -1;
        QVERIFY(Input::whileModal([&] { Input::chooseFromMenuBar(&m_fx->parent(), "MMFile", "MMPreferences"); },
                                  [&](QWidget *modal) {
                                      auto *dialog = qobject_cast<PreferencesDialog *>(modal);
                                      shown = dialog->dateOrderBox()->currentIndex();
                                      Input::click(dialog->findChild<QPushButton *>("PreferencesCancel"));
                                  }));
        QCOMPARE(shown, int(Preferences::DateOrder::MonthFirst));
        // With a herd table active, its menu bar has them under Tools.
        m_fx->parent().mdiArea()->setActiveSubWindow(later);
        shown = -1;
        QVERIFY(Input::whileModal([&] { Input::chooseFromMenuBar(later, "Tools", "ToolsPreferences"); },
                                  [&](QWidget *modal) {
                                      auto *dialog = qobject_cast<PreferencesDialog *>(modal);
                                      shown = dialog->dateOrderBox()->currentIndex();
                                      Input::click(dialog->findChild<QPushButton *>("PreferencesCancel"));
                                  }));
        QCOMPARE(shown, int(Preferences::DateOrder::MonthFirst));
        UserSettings::stopKeeping();
    }

    // Rows still arriving after the order changed were read in the old one: the model
    // reads them again before it filters and sorts them.
    void rowsArrivingLaterTakeTheNewOrder()
    {
        const QDate today = QDate::currentDate();
        const auto row = [&](const QString &name, const QString &born) {
            Herd::Row r;
            r.name = name;
            r.born = born;
            r.bornDate = HerdDate::read(born, HerdDate::Order::MonthFirst, today);
            r.age = HerdDate::ageOf(r.bornDate, today);
            return r;
        };
        // A day after the 12th a few weeks back: no date month first, weeks old day first.
        QDate recent = today.addDays(-20);
        while (recent.day() <= 12)
            recent = recent.addDays(-1);
        const QString typed = recent.toString(QStringLiteral("dd/MM/yyyy"));
        HerdModel model;
        model.append({row("Early", "01/02/2020")});
        model.readDatesAs(HerdDate::Order::DayFirst, today);
        model.sort(Herd::Born, Qt::AscendingOrder);
        // The filter finds the row by the age read in the new order.
        const QString recentAge = HerdDate::ageOf(recent, today).text;
        QVERIFY(recentAge.endsWith("weeks"));
        model.setFilter({.text = recentAge, .sex = std::nullopt, .breed = QString()});
        model.append({row("Recent", typed)});
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.shown(0).bornDate, recent);
        model.setFilter({});
        model.append({row("Late", "02/01/2020")});
        QStringList names;
        for (const Herd::Row &shown : model.shownRows())
            names.append(shown.name);
        QCOMPARE(names, QStringList({"Late", "Early", "Recent"}));
    }

    // Rabbit > Test Mating and the grid's right-click menu open test mating on this
    // herd: a doe selected is the doe, a buck or a rabbit of no stated sex the buck;
    // with nothing selected, or a row whose file is gone, it just opens.
    void testMatingOnTheSelectedRabbit()
    {
        m_herd->rabbit("Kit", "K1", "");
        m_rabbitry = m_herd->rabbitry("Mates.rbty",
                                      {m_herd->path("Blaze.rab"), m_herd->path("Clover.rab"), m_herd->path("Aster.rab"),
                                       m_herd->path("Kit.rab"), m_herd->path("Gone.rab")});
        THerdTable *table = openFromRabbitry();
        QVERIFY(table);
        QVERIFY(table->grid()->selectionModel()->selectedRows().isEmpty());
        Input::chooseFromMenuBar(table, "HerdRabbit", "HerdTestMating");
        TTestMating *plain = openedMating();
        QVERIFY(plain);
        // The table's herd, not a question: the herd's bucks and does are offered.
        QCOMPARE(plain->buckBox()->count(), 2);
        QCOMPARE(plain->doeBox()->count(), 3);
        QCOMPARE(plain->property(KindRegistry::KindProperty).toString(), QStringLiteral("testmating"));
        QVERIFY(m_fx->parent().mdiArea()->subWindowList().contains(plain));
        QVERIFY(Input::closeSubWindow(plain));

        const int clover = column(table, Herd::Name).indexOf("Clover");
        QVERIFY(Input::activate(table));
        Input::clickRow(table->grid(), clover);
        Input::chooseFromMenuBar(table, "HerdRabbit", "HerdTestMating");
        TTestMating *forDoe = openedMating();
        QVERIFY(forDoe && forDoe != plain);
        QCOMPARE(forDoe->doeBox()->currentText(), QStringLiteral("Clover"));

        // The right-click chooses its row; the other entries need none.
        clickHeading(table, Herd::Name);
        for (const char *name : {"Kit", "Blaze"}) {
            onRow(table, column(table, Herd::Name).indexOf(name), "HerdTestMating");
            TTestMating *mating = openedMating();
            QVERIFY(mating);
            QCOMPARE(mating->buckBox()->currentText(), QString::fromLatin1(name));
            QCOMPARE(mating->doeBox()->currentText(), QStringLiteral("Aster"));
        }
        onRow(table, column(table, Herd::Name).indexOf(""), "HerdTestMating");
        TTestMating *gone = openedMating();
        QVERIFY(gone);
        QCOMPARE(gone->buckBox()->currentText(), QStringLiteral("Blaze"));
    }
};

QTEST_MAIN(TestHerdTable)
#include "test_herd_table.moc"
