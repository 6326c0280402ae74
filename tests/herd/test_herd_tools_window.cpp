// The test mating and breeding calendar windows, driven through clicks: choosing a
// buck and a doe, ranking the bucks, opening a calendar event at its mating row,
// exporting, the calendar's day counts from File > Preferences, and the File menu
// the herd windows share.

#include "HerdFiles.h"
#include "WindowFixture.h"
#include "breeding/BreedingRecord.h"
#include "frame/PreferencesDialog.h"
#include "herd/CalendarWindow.h"
#include "herd/TestMatingWindow.h"
#include "rabbit/RabbitFormat.h"
#include "rabbitry/MyRabbitry.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "shell/DocumentWindow.h"
#include "shell/KindRegistry.h"
#include "shell/Preferences.h"
#include "shell/SheetWidgets.h"
#include "shell/UserSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

using Mating = HerdFiles::Mating;

namespace {

// The property lines of an iCalendar file, unfolded: "NAME[;PARAMS]:value".
QStringList icsLines(const QByteArray &bytes)
{
    QStringList lines;
    for (const QString &line : QString::fromUtf8(bytes).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(u' ') && !lines.isEmpty())
            lines.last() += line.mid(1);
        else if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

QStringList valuesOf(const QStringList &lines, const QString &name)
{
    QStringList values;
    for (const QString &line : lines)
        if (line.startsWith(name + u':') || line.startsWith(name + u';'))
            values.append(line.mid(line.indexOf(u':') + 1));
    return values;
}

// What the calendar lists, a line each: "date|event".
QStringList dated(const TBreedingCalendar *calendar)
{
    QStringList lines;
    for (int i = 0; i < calendar->list()->topLevelItemCount(); ++i)
        lines.append(calendar->list()->topLevelItem(i)->text(0) + u'|' + calendar->list()->topLevelItem(i)->text(1));
    return lines;
}

QString day(int fromToday)
{
    return QLocale::c().toString(QDate::currentDate().addDays(fromToday), QStringLiteral("d MMM yyyy"));
}

QStringList texts(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

} // namespace

class TestHerdToolsWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;
    std::unique_ptr<HerdFiles> m_herd;

    // Opens the tool from the Tools menu of this rabbitry's window.
    template <typename T> T *openTool(const QString &rabbitry, const char *entry)
    {
        DocumentWindow *list = KindRegistry::instance().openFile(QString::fromLatin1(TMyRabbitry::KindId), rabbitry);
        if (!list)
            return nullptr;
        Input::chooseFromMenuBar(list, "Tools", entry);
        T *window = WindowRegistry::newest<T>();
        if (window && !QTest::qWaitFor([&] { return window->reading()->isFinished(); }, 20000))
            return nullptr;
        return window;
    }
    // File > Preferences of the main window, chosen with the mouse while no window is
    // active (the bar shows the main window's menus then); `answer` works the dialog.
    void preferences(const std::function<void(PreferencesDialog *)> &answer)
    {
        m_fx->parent().mdiArea()->setActiveSubWindow(nullptr);
        QVERIFY(Input::whileModal([&] { Input::chooseFromMenuBar(&m_fx->parent(), "MMFile", "MMPreferences"); },
                                  [&](QWidget *modal) { answer(qobject_cast<PreferencesDialog *>(modal)); }));
    }
    // Types a number over what the spin box shows.
    static void typeNumber(QSpinBox *box, int value)
    {
        Input::focus(box);
        Input::key(Qt::Key_A, Qt::ControlModifier);
        Input::type(QString::number(value));
    }
    int breedingWindows() const
    {
        int count = 0;
        for (QMdiSubWindow *window : m_fx->parent().mdiArea()->subWindowList())
            count += qobject_cast<TBreedingRecord *>(window) && window->isVisible();
        return count;
    }
    static void choose(QComboBox *box, const QString &text)
    {
        const int at = box->findText(text);
        QVERIFY2(at >= 0, qPrintable(text));
        Input::focus(box);
        while (box->currentIndex() != at)
            Input::key(box->currentIndex() < at ? Qt::Key_Down : Qt::Key_Up);
    }

private slots:
    void init()
    {
        m_fx = std::make_unique<WindowFixture>();
        m_herd = std::make_unique<HerdFiles>();
    }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_herd.reset();
        m_fx.reset();
    }

    // Full siblings mated (25%), half siblings (12.5%), unrelated (0); the ranking
    // puts the unrelated bucks first and says how much each pedigree knows.
    void calculateAndRankThroughClicks()
    {
        HerdFiles &h = *m_herd;
        h.rabbit("Sire", "S1", "Buck");
        h.rabbit("Dam", "D1", "Doe");
        h.rabbit("OtherDam", "D2", "Doe");
        h.rabbit("Brother", "B1", "Buck", "Sire.rab", "Dam.rab");
        h.rabbit("Sister", "S2", "Doe", "Sire.rab", "Dam.rab");
        h.rabbit("HalfBrother", "H1", "buck", "Sire.rab", "OtherDam.rab");
        h.rabbit("Stranger", "X1", "Male");
        h.rabbit("Kit", "K1", "");
        const QString rabbitry = h.rabbitry(
            "Herd.rbty", {h.path("Sire.rab"), h.path("Dam.rab"), h.path("OtherDam.rab"), h.path("Brother.rab"),
                          h.path("Sister.rab"), h.path("HalfBrother.rab"), h.path("Stranger.rab"), h.path("Kit.rab")});
        auto *mating = openTool<TTestMating>(rabbitry, "TestMating1");
        QVERIFY(mating);
        QCOMPARE(mating->windowTitle(), QStringLiteral("Test Mating"));
        // In the rabbitry's order; a rabbit of no stated sex is offered on both sides.
        QCOMPARE(texts(mating->buckBox()), QStringList({"Brother", "HalfBrother", "Kit", "Sire", "Stranger"}));
        QCOMPARE(texts(mating->doeBox()), QStringList({"Dam", "Kit", "OtherDam", "Sister"}));

        const struct
        {
            const char *buck;
            const char *summary;
        } cases[] = {{"Brother", "COI 25.00% over five generations"},
                     {"HalfBrother", "COI 12.50% over five generations"},
                     {"Stranger", "COI 0.00% over five generations"}};
        choose(mating->doeBox(), "Sister");
        for (const auto &c : cases) {
            choose(mating->buckBox(), c.buck);
            Input::click(mating->findChild<QPushButton *>("MatingCalculate"));
            const QStringList shown = mating->result()->toPlainText().split(u'\n');
            QVERIFY2(shown.value(0) == QLatin1String(c.summary), qPrintable(c.buck + (": " + shown.value(0))));
        }
        QVERIFY(mating->result()->toPlainText().contains("of 8 great-grandparents known"));

        Input::click(mating->findChild<QPushButton *>("RankBucks"));
        QTreeWidget *ranking = mating->ranking();
        QStringList ranked;
        for (int i = 0; i < ranking->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = ranking->topLevelItem(i);
            ranked.append(item->text(0) + u' ' + item->text(1));
        }
        // Equal figures: the more complete pedigree first, then by name. Her own sire
        // mated to her is as close as her brother.
        QCOMPARE(ranked, QStringList({"Kit 0.00", "Stranger 0.00", "HalfBrother 12.50", "Brother 25.00",
                                      "Sire 25.00"}));
        QVERIFY(ranking->topLevelItem(0)->text(2).contains("ancestors known"));

        // A ranked buck double-clicked is mated in full.
        Input::doubleClickRow(ranking, 3);
        QCOMPARE(mating->buckBox()->currentText(), QStringLiteral("Brother"));
        QVERIFY(mating->result()->toPlainText().startsWith("COI 25.00%"));
    }

    void calculateWithoutADoeSaysSo()
    {
        const QString rabbitry = m_herd->rabbitry("Herd.rbty", {m_herd->rabbit("Solo", "S1", "Buck")});
        auto *mating = openTool<TTestMating>(rabbitry, "TestMating1");
        QVERIFY(mating);
        Input::click(mating->findChild<QPushButton *>("MatingCalculate"));
        m_fx->platform().takeError("Choose a doe");
    }

    // Due dates from a bred row, weaning from a kindled row, overdue marked; a
    // double-click opens the record; the export's UIDs stay from one export to the next.
    void calendarListsOpensAndExports()
    {
        HerdFiles &h = *m_herd;
        const QDate today = QDate::currentDate();
        const auto iso = [&](int days) { return today.addDays(days).toString(QStringLiteral("yyyy-MM-dd")); };
        const QString record = h.breeding("Daisy.brd", "Daisy", "Doe",
                                          {Mating{"Thumper", iso(-20), QString()}, Mating{"Thumper", iso(-60), iso(-30)}});
        h.rabbit("Daisy", "D1", "Doe", "None", "None", {{RabbitFile::BreedLink, record}});
        const QString rabbitry = h.rabbitry("Herd.rbty", {h.path("Daisy.rab")});
        auto *calendar = openTool<TBreedingCalendar>(rabbitry, "BreedingCalendar1");
        QVERIFY(calendar);
        QTRY_VERIFY(calendar->isReady());
        QTreeWidget *list = calendar->list();
        QStringList shown;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            shown.append(QStringList{item->text(1), item->text(2), item->text(3), item->text(4)}.join(u'|') +
                         (item->text(0).endsWith("(overdue)") ? " overdue" : ""));
        }
        QCOMPARE(shown, QStringList({"Palpate|Daisy|Thumper|Daisy.brd overdue",
                                     "Nest box|Daisy|Thumper|Daisy.brd", "Due to kindle|Daisy|Thumper|Daisy.brd",
                                     "Wean|Daisy|Thumper|Daisy.brd"}));
        QCOMPARE(list->topLevelItem(0)->text(0),
                 QLocale::c().toString(today.addDays(-8), QStringLiteral("d MMM yyyy")) + " (overdue)");

        // Weaning is of the second mating row: the record opens there.
        Input::doubleClickRow(list, 3);
        auto *opened = WindowRegistry::newest<TBreedingRecord>();
        QVERIFY(opened);
        QCOMPARE(opened->fileName(), record);
        QCOMPARE(m_fx->parent().mdiArea()->activeSubWindow(), opened);
        QCOMPARE(QApplication::focusWidget(), opened->field(2, BreedingFile::RowField::Parent));
        QCOMPARE(opened->chosenRow(), 2);

        // Open already, the record comes to the front at the next event's row, scrolled to it.
        opened->resize(260, 120);
        QVERIFY(Input::activate(calendar));
        Input::doubleClickRow(list, 0);
        QCOMPARE(breedingWindows(), 1);
        QCOMPARE(m_fx->parent().mdiArea()->activeSubWindow(), opened);
        ValueLabel *first = opened->field(1, BreedingFile::RowField::Parent);
        QCOMPARE(QApplication::focusWidget(), first);
        QCOMPARE(opened->chosenRow(), 1);
        QVERIFY(Input::activate(calendar));
        opened->findChild<QScrollArea *>("SheetScroll")->verticalScrollBar()->setValue(0);
        opened->findChild<QScrollArea *>("SheetScroll")->horizontalScrollBar()->setValue(500);
        Input::doubleClickRow(list, 0);
        const QWidget *viewport = opened->findChild<QScrollArea *>("SheetScroll")->viewport();
        QVERIFY(viewport->rect().contains(QRect(first->mapTo(viewport, QPoint(0, 0)), first->size())));

        QStringList uids;
        for (const char *name : {"first.ics", "second.ics"}) {
            const QString out = m_fx->path(name);
            m_fx->platform().expectFile(out);
            Input::chooseFromMenuBar(calendar, "File", "FileExportICalendar");
            QVERIFY(m_fx->platform().allAnswered());
            QFile file(out);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QStringList lines = icsLines(file.readAll());
            QCOMPARE(valuesOf(lines, "DTSTART").size(), 4);
            QCOMPARE(valuesOf(lines, "DTSTART").at(3), today.addDays(26).toString(QStringLiteral("yyyyMMdd")));
            if (uids.isEmpty())
                uids = valuesOf(lines, "UID");
            else
                QCOMPARE(valuesOf(lines, "UID"), uids);
        }
        QCOMPARE(QSet<QString>(uids.cbegin(), uids.cend()).size(), 4);
    }

    // History is out of the way: events more than a month past are listed on request
    // only, and exported always.
    void olderEventsListedOnRequest()
    {
        HerdFiles &h = *m_herd;
        const QDate today = QDate::currentDate();
        const auto iso = [&](int days) { return today.addDays(days).toString(QStringLiteral("yyyy-MM-dd")); };
        // Weaned 114 days ago; palpated 8 days ago, due in 11.
        const QString record = h.breeding("Daisy.brd", "Daisy", "Doe",
                                          {Mating{"Thumper", iso(-200), iso(-170)}, Mating{"Thumper", iso(-20), {}}});
        h.rabbit("Daisy", "D1", "Doe", "None", "None", {{RabbitFile::BreedLink, record}});
        auto *calendar = openTool<TBreedingCalendar>(h.rabbitry("Herd.rbty", {h.path("Daisy.rab")}), "BreedingCalendar1");
        QVERIFY(calendar);
        QTRY_VERIFY(calendar->isReady());
        QTreeWidget *list = calendar->list();
        const auto listed = [&] {
            QStringList events;
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                if (!list->topLevelItem(i)->isHidden())
                    events.append(list->topLevelItem(i)->text(1));
            return events;
        };
        QCOMPARE(listed(), QStringList({"Palpate", "Nest box", "Due to kindle"}));
        QVERIFY(calendar->olderNote()->isVisibleTo(calendar));
        QVERIFY2(calendar->olderNote()->text().startsWith("1 event more than 30 days past is not listed"),
                 qPrintable(calendar->olderNote()->text()));
        const QString out = m_fx->path("all.ics");
        m_fx->platform().expectFile(out);
        Input::chooseFromMenuBar(calendar, "File", "FileExportICalendar");
        QVERIFY(m_fx->platform().allAnswered());
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(valuesOf(icsLines(file.readAll()), "DTSTART").size(), 4);

        Input::chooseFromMenuBar(calendar, "CalendarView", "CalendarShowOlder");
        QCOMPARE(listed(), QStringList({"Wean", "Palpate", "Nest box", "Due to kindle"}));
        QVERIFY(!calendar->olderNote()->isVisibleTo(calendar));
        // Shown, it opens like any other: the weaning is of the first row.
        Input::doubleClickRow(list, 0);
        auto *opened = WindowRegistry::newest<TBreedingRecord>();
        QVERIFY(opened);
        QCOMPARE(opened->chosenRow(), 1);
        QVERIFY(Input::activate(calendar));
        Input::chooseFromMenuBar(calendar, "CalendarView", "CalendarShowOlder");
        QCOMPARE(listed().size(), 3);
    }

    // The day counts are set in File > Preferences: spin boxes within their ranges, the
    // nest box refused unless it comes between palpation and kindling. An open
    // calendar lists its dates again at once; the dialog opens on what is set.
    void calendarFollowsTheDayCounts()
    {
        QTemporaryDir settingsDir;
        UserSettings::useSettingsFile(settingsDir.filePath("settings.ini"));
        HerdFiles &h = *m_herd;
        const QDate today = QDate::currentDate();
        const auto iso = [&](int days) { return today.addDays(days).toString(QStringLiteral("yyyy-MM-dd")); };
        const QString record =
            h.breeding("Daisy.brd", "Daisy", "Doe",
                       {Mating{"Thumper", iso(-20), QString()}, Mating{"Thumper", iso(-60), iso(-30)}});
        h.rabbit("Daisy", "D1", "Doe", "None", "None", {{RabbitFile::BreedLink, record}});
        auto *calendar =
            openTool<TBreedingCalendar>(h.rabbitry("Herd.rbty", {h.path("Daisy.rab")}), "BreedingCalendar1");
        QVERIFY(calendar);
        QTRY_VERIFY(calendar->isReady());
        QCOMPARE(dated(calendar), QStringList({day(-8) + " (overdue)|Palpate", day(8) + "|Nest box",
                                               day(11) + "|Due to kindle", day(26) + "|Wean"}));
        const QStringList before = dated(calendar);

        preferences([&](PreferencesDialog *dialog) {
            QCOMPARE(dialog->palpateBox()->value(), 12);
            QCOMPARE(dialog->nestBoxBox()->value(), 28);
            QCOMPARE(dialog->kindleBox()->value(), 31);
            QCOMPARE(dialog->weanBox()->value(), 8);
            // Out of order: said, nothing kept, the dialog stays.
            typeNumber(dialog->nestBoxBox(), 33);
            Input::click(dialog->findChild<QPushButton *>("PreferencesOk"));
            m_fx->platform().takeError("must come before kindling (day 31)");
            QVERIFY(dialog->isVisible());
            QCOMPARE(dated(calendar), before);
            typeNumber(dialog->palpateBox(), 20);
            typeNumber(dialog->nestBoxBox(), 20);
            Input::click(dialog->findChild<QPushButton *>("PreferencesOk"));
            m_fx->platform().takeError("must come after palpation (day 20)");
            QVERIFY(dialog->isVisible());
            Input::focus(dialog->palpateBox());
            for (int i = 0; i < 6; ++i)
                Input::key(Qt::Key_Down);
            typeNumber(dialog->nestBoxBox(), 25);
            typeNumber(dialog->kindleBox(), 30);
            typeNumber(dialog->weanBox(), 6);
            Input::click(dialog->findChild<QPushButton *>("PreferencesOk"));
        });
        QCOMPARE(Preferences::breedingDays(),
                 (Preferences::BreedingDays{.palpateDay = 14, .nestBoxDay = 25, .kindleDay = 30, .weanWeeks = 6}));
        QCOMPARE(dated(calendar), QStringList({day(-6) + " (overdue)|Palpate", day(5) + "|Nest box",
                                               day(10) + "|Due to kindle", day(12) + "|Wean"}));

        // A calendar opened now uses them; the dialog shows them; Cancel keeps them.
        auto *later = openTool<TBreedingCalendar>(h.path("Herd.rbty"), "BreedingCalendar1");
        QVERIFY(later && later != calendar);
        QTRY_VERIFY(later->isReady());
        QCOMPARE(dated(later), dated(calendar));
        preferences([&](PreferencesDialog *dialog) {
            QCOMPARE(dialog->palpateBox()->value(), 14);
            QCOMPARE(dialog->weanBox()->value(), 6);
            typeNumber(dialog->weanBox(), 10);
            Input::click(dialog->findChild<QPushButton *>("PreferencesCancel"));
        });
        QCOMPARE(Preferences::breedingDays().weanWeeks, 6);
        UserSettings::stopKeeping();
    }

    // The three windows' File menus: their exports, then Close, which Ctrl+W presses.
    void fileMenusEndWithClose()
    {
        const QString rabbitry = m_herd->rabbitry("Herd.rbty", {m_herd->rabbit("Solo", "S1", "Buck")});
        const struct
        {
            const char *entry;
            QStringList menu;
        } tools[] = {{"HerdTable1", {"FileExportCsv", "", "FileQuit"}},
                     {"TestMating1", {"FileQuit"}},
                     {"BreedingCalendar1", {"FileExportICalendar", "", "FileQuit"}}};
        for (const auto &tool : tools) {
            DocumentWindow *list =
                KindRegistry::instance().openFile(QString::fromLatin1(TMyRabbitry::KindId), rabbitry);
            QVERIFY(list);
            Input::chooseFromMenuBar(list, "Tools", tool.entry);
            auto *window = qobject_cast<ChildWindow *>(m_fx->parent().mdiArea()->activeSubWindow());
            QVERIFY2(window && window != list, tool.entry);
            QStringList entries;
            for (const QAction *action : window->menus().constFirst()->actions())
                entries.append(action->isSeparator() ? QString() : action->objectName());
            QCOMPARE(entries, tool.menu);
            QCOMPARE(window->menus().constFirst()->objectName(), QStringLiteral("File"));
            Input::keyOn(window->widget(), Qt::Key_W, Qt::ControlModifier);
            WindowFixture::deleteClosed();
            QVERIFY2(!m_fx->parent().mdiArea()->subWindowList().contains(window), tool.entry);
            QVERIFY(Input::closeSubWindow(list));
        }
    }

    // The sample herd shows something in each window: rows with legs and a
    // coefficient, a related and an unrelated buck for Blue Moon, a calendar.
    void sampleHerdShowsEachFeature()
    {
        const QString rabbitry = QStringLiteral(HUTCHLORE_TEST_DATA "/../../examples/HazelHill/HazelHill.rbty");
        auto *mating = openTool<TTestMating>(rabbitry, "TestMating1");
        QVERIFY(mating);
        choose(mating->doeBox(), "Blue Moon of Hazel Hill");
        Input::click(mating->findChild<QPushButton *>("RankBucks"));
        QStringList ranked;
        for (int i = 0; i < mating->ranking()->topLevelItemCount(); ++i)
            ranked.append(mating->ranking()->topLevelItem(i)->text(0) + u' ' +
                          mating->ranking()->topLevelItem(i)->text(1));
        QCOMPARE(ranked, QStringList({"Meadowsweet Rowan 0.00", "Hazel Hill Sorrel 25.00", "Hazel Hill Smokey 25.00"}));

        const QList<Herd::Row> rows =
            Herd::readRows(Herd::listedRabbits(rabbitry), rabbitry, {HerdDate::Order::MonthFirst, QDate(2026, 12, 7)});
        QCOMPARE(rows.size(), 5);
        for (const Herd::Row &row : rows)
            QVERIFY2(!row.failed() && row.notes.isEmpty(), qPrintable(row.listed + ": " + row.problem()));
        QCOMPARE(rows[0].legs, QStringLiteral("2"));
        QVERIFY(rows[0].coi.has_value());

        const BreedingCalendar::Calendar calendar = BreedingCalendar::gather(
            BreedingCalendar::sourcesOf(rows), {}, HerdDate::Order::MonthFirst, QDate(2026, 12, 7));
        QVERIFY2(calendar.problems.isEmpty(), qPrintable(calendar.problems.join(u'\n')));
        QCOMPARE(calendar.events.size(), 8);
    }
};

QTEST_MAIN(TestHerdToolsWindow)
#include "test_herd_tools_window.moc"
