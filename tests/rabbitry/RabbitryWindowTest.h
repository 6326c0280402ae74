#pragma once

// What the rabbitry window tests share: the window, rabbit files in sub-folders and
// the steps a breeder takes on the window and on a pedigree.

#include "Input.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "frame/BigBadParent.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "pedigree/PedigreeLinks.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "rabbitry/MyRabbitry.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "shell/DocumentWindow.h"
#include "shell/SheetWidgets.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using Answer = Platform::Answer;
using namespace RabbitFile;

inline const QString Unsaved = QStringLiteral("Unsaved work will be lost. Save changes?");
inline const QString RemoveQuestion = QStringLiteral("Remove Rabbit from Rabbitry? (File will not be deleted)");
inline const QString AlreadyListed = QStringLiteral("That rabbit is already in the rabbitry");

class RabbitryWindowTest : public WindowTest
{
protected:
    TMyRabbitry *newRabbitry() const
    {
        return qobject_cast<TMyRabbitry *>(m_fx->parent().runTool(QString::fromLatin1(TMyRabbitry::KindId)));
    }
    // A rabbit file in a sub-folder of the scratch folder.
    QString rabbit(const QString &relative, const QMap<int, QString> &values, int keep = -1) const
    {
        const QString path = m_fx->path(relative);
        QDir().mkpath(QFileInfo(path).path());
        return TestFiles::writeRabbit(path, values, keep);
    }
    void add(TMyRabbitry *window, const QString &path)
    {
        m_fx->platform().expectFile(path);
        press(window, "Add");
    }
    static void press(QWidget *window, const char *button) { Input::click(window->findChild<QPushButton *>(button)); }
    // Clicks the entry listed with this path.
    static void choose(TMyRabbitry *window, const QString &path)
    {
        const int row = int(window->rabbits().indexOf(path));
        QVERIFY2(row >= 0, qPrintable(path));
        Input::clickRow(window->rabbitList(), row);
    }
    static QStringList shownNames(TMyRabbitry *window) { return itemTexts(window->rabbitList()); }
    // The preview's texts: name, ear, registration, sex, colour, owner.
    static QStringList preview(TMyRabbitry *window)
    {
        QStringList texts;
        for (const char *name : {"Name", "Ear", "Reg", "Sex", "Color", "RabbitOwner"})
            texts.append(window->previewValue(name)->text());
        return texts;
    }
    static bool previewBlank(TMyRabbitry *window)
    {
        return preview(window) == QStringList(6, QString()) && window->picture()->isBlank();
    }
    // Right-clicks the chart's breeder line and clicks the entry in the menu that pops up.
    static void onHeader(TMainScreen *chart, const char *action)
    {
        QTest::mouseClick(chart->field("BreederLabel"), Qt::RightButton);
        Input::chooseFromPopup(action);
    }
    // Clicks the field, replaces the text panel's text by typing and presses Ok.
    static void setText(TMainScreen *chart, const QString &field, const QString &text)
    {
        QTest::mouseClick(chart->field(field), Qt::LeftButton);
        Input::focus(chart->findChild<QLineEdit *>("TextEdit"));
        Input::key(Qt::Key_A, Qt::ControlModifier);
        Input::type(text);
        press(chart, "TextOk");
    }
    // Replaces a detail field's text by typing.
    static void typeDetail(TMyRabbitry *window, const char *field, const QString &text)
    {
        Input::focus(window->detailField(field));
        Input::key(Qt::Key_A, Qt::ControlModifier);
        Input::type(text);
    }
};
