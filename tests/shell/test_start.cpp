// How a breeder starts: the start panel of the empty main window, and the preference
// that gives every new pedigree the breeder's own rabbitry.

#include "Input.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "rabbit/RabbitSheet.h"
#include "rabbitry/RabbitryFormat.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "shell/KindRegistry.h"
#include "shell/Preferences.h"
#include "frame/RecentFiles.h"
#include "shell/SheetWidgets.h"
#include "frame/StartPanel.h"
#include "shell/UserSettings.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using Answer = Platform::Answer;

class TestStart : public WindowTest
{
    Q_OBJECT

    QTemporaryDir m_settingsDir;

    StartPanel *panel() const { return m_fx->parent().startPanel(); }
    QPushButton *button(const char *name) const { return panel()->findChild<QPushButton *>(name); }
    // The one window open now.
    QMdiSubWindow *active() const
    {
        const QList<QMdiSubWindow *> windows = m_fx->parent().mdiArea()->subWindowList();
        return windows.size() == 1 ? windows.constFirst() : nullptr;
    }
    TMainScreen *pedigreeByKey() const
    {
        Input::focus(&m_fx->parent());
        Input::key(Qt::Key_E, Qt::ControlModifier);
        return WindowRegistry::newest<TMainScreen>();
    }
    // File > Preferences, with `answer` done inside the dialog while it runs.
    void preferences(const std::function<void(QDialog *)> &answer)
    {
        const bool shown = Input::whileModal([&] { trigger(&m_fx->parent(), "MMPreferences"); },
                                             [&](QWidget *modal) { answer(qobject_cast<QDialog *>(modal)); });
        QVERIFY(shown);
    }
    static void press(QDialog *dialog, const char *name) { Input::click(dialog->findChild<QPushButton *>(name)); }
    QString rabbitry(const QString &name, const Rabbitry::Details &details) const
    {
        const QString path = m_fx->path(name);
        Rabbitry::write(path, {}, details);
        return path;
    }

private slots:
    void init()
    {
        // Never the breeder's own settings.
        RecentFiles::useSettingsFile(m_settingsDir.filePath(QStringLiteral("%1.ini").arg(QTest::currentTestFunction())));
        WindowTest::init();
        QVERIFY(QTest::qWaitForWindowExposed(&m_fx->parent()));
    }
    void cleanup()
    {
        WindowTest::cleanup();
        UserSettings::stopKeeping();
    }

    void panelRunsEachCommandAndHidesWhileAWindowIsOpen()
    {
        QVERIFY(panel()->isVisible());
        const QList<std::pair<const char *, QString>> buttons = {
            {"StartRabbit", "New Rabbit Record (Ctrl+R)"}, {"StartPedigree", "New Pedigree (Ctrl+E)"},
            {"StartBreeding", "New Breeding Record (Ctrl+B)"}, {"StartShow", "New Show Record (Ctrl+H)"},
            {"StartRabbitry", "My Rabbitry (Ctrl+M)"}, {"StartGenetics", "Color Genetics (Ctrl+G)"},
            {"StartOpen", "Open... (Ctrl+O)"},
        };
        QList<QWidget *> shown;
        for (const auto &[name, text] : buttons) {
            QVERIFY2(button(name) && button(name)->text() == text, name);
            shown.append(button(name));
        }
        // Top to bottom in that order.
        for (int i = 1; i < shown.size(); ++i)
            QVERIFY(shown.at(i - 1)->y() < shown.at(i)->y());

        for (const auto &[name, text] : buttons.mid(0, 6)) {
            Input::click(button(name));
            QVERIFY2(m_fx->windows() == 1 && panel()->isHidden(), name);
            QVERIFY2(text.contains(KindRegistry::instance().find(active()->property(KindRegistry::KindProperty).toString())
                                       ->startCaption),
                     name);
            QVERIFY(Input::closeSubWindow(active()));
            QVERIFY2(m_fx->windows() == 0 && panel()->isVisible(), name);
        }

        // Open...: Cancel leaves the panel; a record opens in its window.
        m_fx->platform().expectFile(std::nullopt);
        Input::click(button("StartOpen"));
        QVERIFY(panel()->isVisible());
        const QString rab = m_fx->copyData("rabbit/filled.rab", "Thumper.rab");
        m_fx->platform().expectFile(rab);
        Input::click(button("StartOpen"));
        QCOMPARE(m_fx->windows(), 1);
        QVERIFY(panel()->isHidden());

        // The find window only hides when closed: the panel comes back all the same.
        QVERIFY(Input::closeSubWindow(active()));
        Input::focus(&m_fx->parent());
        Input::key(Qt::Key_F, Qt::ControlModifier);
        QVERIFY(panel()->isHidden());
        QVERIFY(Input::closeSubWindow(active()));
        QVERIFY(panel()->isVisible());
    }

    void ctrlOOpensFromTheEmptyFrame()
    {
        m_fx->platform().expectFile(std::nullopt);
        Input::focus(button("StartRabbit"));
        Input::key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(m_fx->platform().dialogTitles(), QStringList{"Open"});
        // In a record window the key is still that window's own Open, not a clash.
        TRabbitSheet *sheet = m_fx->newRabbit();
        m_fx->platform().expectFile(std::nullopt);
        Input::focus(sheet->sheet());
        Input::key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(m_fx->platform().dialogTitles().size(), 2);
        QVERIFY(m_fx->platform().allAnswered());
    }

    void recentFilesAreButtonsTooAndAGoneFileLeaves()
    {
        QVERIFY(panel()->recentButtons().isEmpty());
        QVERIFY(panel()->findChild<QLabel *>("StartRecentEmpty")->isVisible());
        const QString rab = m_fx->copyData("rabbit/filled.rab", "Thumper.rab");
        m_fx->platform().expectFile(rab);
        Input::click(button("StartOpen"));
        QVERIFY(Input::closeSubWindow(active()));

        // Shown again, the panel lists what was opened meanwhile.
        QCOMPARE(panel()->recentButtons().size(), 1);
        QPushButton *recent = panel()->recentButtons().constFirst();
        QVERIFY(recent->isVisible() && recent->text().endsWith("Thumper.rab"));
        Input::click(recent);
        QCOMPARE(m_fx->windows(), 1);
        QVERIFY(Input::closeSubWindow(active()));

        QVERIFY(QFile::remove(rab));
        m_fx->platform().expectQuestion(
            QStringLiteral("\"%1\" could not be found. It has been removed from the Recent Files list.").arg(rab),
            Answer::Ok);
        Input::click(panel()->recentButtons().constFirst());
        WindowFixture::deleteClosed();
        QVERIFY(panel()->recentButtons().isEmpty());
        QVERIFY(panel()->findChild<QLabel *>("StartRecentEmpty")->isVisible());
    }

    void myRabbitryFillsEveryNewPedigree()
    {
        // Empty by default: a new pedigree is as it always was.
        QCOMPARE(Preferences::myRabbitryFile(), QString());
        TMainScreen *plain = pedigreeByKey();
        QCOMPARE(plain->record().value(PedigreeFile::BreederLabel), PedigreeFile::newRecord().value(PedigreeFile::BreederLabel));
        QVERIFY(Input::closeSubWindow(plain));

        const QString meadow =
            rabbitry("Meadow, Hart.rbty", {"Meadow Rabbitry", "12 Long Lane, Springfield", "Springfield", "555 0101"});
        preferences([&](QDialog *dialog) {
            m_fx->platform().expectFile(meadow);
            press(dialog, "MyRabbitryFileSet");
            QCOMPARE(dialog->findChild<QLineEdit *>("MyRabbitryFile")->text(), meadow);
            press(dialog, "PreferencesOk");
        });
        QCOMPARE(Preferences::myRabbitryFile(), meadow);

        TMainScreen *chart = pedigreeByKey();
        QVERIFY(chart);
        QCOMPARE(chart->field("BreederLabel")->value(), QStringLiteral("Meadow Rabbitry"));
        QCOMPARE(chart->field("AddressLabel")->value(), QStringLiteral("Springfield"));
        QCOMPARE(chart->linkEditor()->rabbitryLink()->link(), meadow);
        QVERIFY(!chart->isModified());
        // Still "Untitled" and unchanged: File Open loads into it, and a file older than
        // the rabbitry link does not keep the one the window started with.
        const QString old = m_fx->copyData("pedigree/old125.ped", "old.ped");
        m_fx->platform().expectFile(old);
        trigger(chart, "FileOpen");
        m_fx->platform().takeError("blaze.jpg"); // the old file's picture is not in the scratch folder
        QCOMPARE(m_fx->windows(), 1);
        QCOMPARE(chart->fileName(), old);
        QCOMPARE(chart->record().value(PedigreeFile::RabbitryFile), RecordText::None);

        // Cancel keeps the preference; Clear and Ok empty it.
        preferences([&](QDialog *dialog) {
            press(dialog, "MyRabbitryFileClear");
            press(dialog, "PreferencesCancel");
        });
        QCOMPARE(Preferences::myRabbitryFile(), meadow);
        preferences([&](QDialog *dialog) {
            press(dialog, "MyRabbitryFileClear");
            press(dialog, "PreferencesOk");
        });
        QCOMPARE(Preferences::myRabbitryFile(), QString());
        QCOMPARE(pedigreeByKey()->record().value(PedigreeFile::RabbitryFile), RecordText::None);
    }

    void hostileRabbitryFilesAreRefusedOrReported()
    {
        const QString fifo = m_fx->path("pipe.rbty");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString foreign = rabbitry(QStringLiteral("\u5154.rbty"), {"Hare", "", "", ""});
        // Neither is taken: the field keeps what it had.
        preferences([&](QDialog *dialog) {
            for (const QString &path : {fifo, foreign}) {
                m_fx->platform().expectFile(path);
                press(dialog, "MyRabbitryFileSet");
                QCOMPARE(m_fx->platform().takeErrors().size(), 1);
                QCOMPARE(dialog->findChild<QLineEdit *>("MyRabbitryFile")->text(), QString());
            }
            press(dialog, "PreferencesOk");
        });
        QCOMPARE(Preferences::myRabbitryFile(), QString());

        // A rabbitry file gone since it was chosen: the pedigree opens, blank, and says why.
        const QString gone = rabbitry("gone.rbty", {"Gone", "", "", ""});
        Preferences::setMyRabbitryFile(gone);
        QVERIFY(QFile::remove(gone));
        TMainScreen *chart = pedigreeByKey();
        QVERIFY(chart && !chart->isModified());
        m_fx->platform().takeError("gone.rbty");
        QCOMPARE(chart->record().value(PedigreeFile::RabbitryFile), RecordText::None);
    }

    // File > Preferences > Dates: chosen with the keyboard, kept on Ok only; a value a
    // hand-edited file holds that is no order means the system's.
    void dateOrderPreference()
    {
        QCOMPARE(Preferences::dateOrder(), Preferences::DateOrder::System);
        preferences([&](QDialog *dialog) {
            auto *box = dialog->findChild<QComboBox *>("DateOrder");
            QCOMPARE(box->currentIndex(), 0);
            Input::focus(box);
            Input::key(Qt::Key_Down);
            press(dialog, "PreferencesCancel");
        });
        QCOMPARE(Preferences::dateOrder(), Preferences::DateOrder::System);
        for (const auto order : {Preferences::DateOrder::DayFirst, Preferences::DateOrder::MonthFirst}) {
            preferences([&](QDialog *dialog) {
                auto *box = dialog->findChild<QComboBox *>("DateOrder");
                Input::focus(box);
                while (box->currentIndex() != int(order))
                    Input::key(box->currentIndex() < int(order) ? Qt::Key_Down : Qt::Key_Up);
                press(dialog, "PreferencesOk");
            });
            QCOMPARE(Preferences::dateOrder(), order);
        }
        preferences([&](QDialog *dialog) {
            QCOMPARE(dialog->findChild<QComboBox *>("DateOrder")->currentIndex(), 2);
            press(dialog, "PreferencesCancel");
        });
        UserSettings::open()->setValue("Preferences/DateOrder", QStringLiteral("Sideways"));
        QCOMPARE(Preferences::dateOrder(), Preferences::DateOrder::System);
    }

    // The breeding calendar's day counts: kept only as a set that holds together, said
    // to the open windows only when they change; a hand-edited set that does not hold
    // together is no setting at all.
    void breedingDaysPreference()
    {
        using Days = Preferences::BreedingDays;
        QSignalSpy days(Preferences::notifier(), &Preferences::Notifier::breedingDaysChanged);
        QSignalSpy order(Preferences::notifier(), &Preferences::Notifier::dateOrderChanged);
        QCOMPARE(Preferences::breedingDays(), Days{});
        const Days set{.palpateDay = 10, .nestBoxDay = 29, .kindleDay = 32, .weanWeeks = 12};
        QVERIFY(Preferences::setBreedingDays(set));
        QCOMPARE(Preferences::breedingDays(), set);
        QVERIFY(Preferences::setBreedingDays(set));
        QCOMPARE(days.count(), 1);

        // Each count out of its range, the nest box on either side of its place.
        const Days refused[] = {{.palpateDay = 6},
                                {.nestBoxDay = 36},
                                {.kindleDay = 27},
                                {.weanWeeks = 13},
                                {.palpateDay = 20, .nestBoxDay = 20},
                                {.nestBoxDay = 31}};
        for (const Days &r : refused) {
            QVERIFY(!r.problem().isEmpty());
            QVERIFY(!Preferences::setBreedingDays(r));
        }
        QCOMPARE(Days{.weanWeeks = 13}.problem(), QStringLiteral("Wean at 13 weeks: choose from 4 to 12 weeks."));
        // The ends of the ranges are counts like any other.
        QCOMPARE((Days{.palpateDay = 7, .nestBoxDay = 20, .kindleDay = 28, .weanWeeks = 4}).problem(), QString());
        QCOMPARE((Days{.palpateDay = 20, .nestBoxDay = 34, .kindleDay = 35, .weanWeeks = 12}).problem(), QString());
        QCOMPARE(Preferences::breedingDays(), set);
        QCOMPARE(days.count(), 1);

        // Edited by hand: one count that is no number, out of range or out of order
        // undoes the set; the defaults count, with no message at each window.
        const struct
        {
            const char *key;
            QVariant value;
        } edits[] = {{"Preferences/PalpateDay", QStringLiteral("ten")},
                     {"Preferences/WeanWeeks", QStringLiteral("99")},
                     {"Preferences/NestBoxDay", QStringLiteral("33")},
                     {"Preferences/KindleDay", QStringList{"32", "33"}}};
        for (const auto &edit : edits) {
            QVERIFY(Preferences::setBreedingDays(set));
            UserSettings::open()->setValue(edit.key, edit.value);
            QVERIFY2(Preferences::breedingDays() == Days{}, edit.key);
        }
        QVERIFY(Preferences::setBreedingDays(set));
        UserSettings::open()->setValue("Preferences/PalpateDay", QStringLiteral(" 11 "));
        QCOMPARE(Preferences::breedingDays().palpateDay, 11);

        // The date order is said once per change, whoever sets it.
        Preferences::setDateOrder(Preferences::DateOrder::DayFirst);
        Preferences::setDateOrder(Preferences::DateOrder::DayFirst);
        QCOMPARE(order.count(), 1);
        // Nothing kept, nothing changes, nothing is said.
        const int said = days.count();
        UserSettings::stopKeeping();
        QVERIFY(Preferences::setBreedingDays(set));
        Preferences::setDateOrder(Preferences::DateOrder::MonthFirst);
        QCOMPARE(Preferences::breedingDays(), Days{});
        QCOMPARE(days.count(), said);
        QCOMPARE(order.count(), 1);
    }

    void preferenceIsKeptAsTextOnly()
    {
        // The settings file is INI text: a comma must not turn the path into a list.
        const QString path = QStringLiteral("/herd/Hart, Renee/My \"Rabbitry\".rbty");
        Preferences::setMyRabbitryFile(path);
        QCOMPARE(Preferences::myRabbitryFile(), path);
        // What a hand-edited file holds that is no path is no preference.
        UserSettings::open()->setValue("Preferences/MyRabbitryFile", QStringList{"a", "b"});
        QCOMPARE(Preferences::myRabbitryFile(), QString());
        UserSettings::stopKeeping();
        QCOMPARE(Preferences::myRabbitryFile(), QString());
    }
};

QTEST_MAIN(TestStart)
#include "test_start.moc"
