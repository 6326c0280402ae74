#include "ScriptedPlatform.h"
#include "shell/SheetWidgets.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// The text-change panel refuses what a record file cannot store while the breeder
// can still change it, instead of letting it be saved as "?".
class TestTextEntry : public QObject
{
    Q_OBJECT
private slots:
    void refusesOnlyWhatWindows1252CannotHold()
    {
        ScriptedPlatform::Installed platform;
        QWidget sheet;
        auto *panel = new TextChangePanel(&sheet);
        sheet.show();
        QSignalSpy accepted(panel, &TextChangePanel::accepted);
        panel->open("old");
        const auto ok = [&](const QString &text) {
            panel->edit()->setText(text);
            panel->findChild<QPushButton *>("TextOk")->click();
        };

        const QString typed = QStringLiteral("\u03a9 and \U0001F407, \u03a9 again");
        ok(typed);
        platform->takeError(QStringLiteral("These characters cannot be stored in a record file: "
                                           "\u03a9 \U0001F407. Please type something else."));
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->edit()->text(), typed);
        // Enter goes the same way; a pasted line break would split the record's line.
        panel->edit()->setText("\u0141ine\ntwo");
        QTest::keyClick(panel->edit(), Qt::Key_Return);
        platform->takeError(QStringLiteral("record file: \u0141 (line break)."));
        // Thousands of distinct characters make a message of a line, not of a page.
        QString many;
        for (char16_t c = 0x4e00; c < 0x4e00 + 3000; ++c)
            many.append(QChar(c));
        ok(many);
        const QStringList errors = platform->takeErrors();
        QVERIFY(errors.size() == 1 && errors.first().size() < 250 && errors.first().contains(u'\u2026'));
        QCOMPARE(accepted.count(), 0);

        const QString text =
            QStringLiteral("Z\u00f6e M\u00fcller \u20ac5 \u2013 \u201cBOB\u201d \u0152\u0161\u017e\u2122");
        ok(text);
        QCOMPARE(platform->takeErrors(), QStringList());
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(accepted.first().first().toString(), text);
    }
};

QTEST_MAIN(TestTextEntry)
#include "test_text_entry.moc"
