#include "WindowFixture.h"

#include "Input.h"
#include "TestFiles.h"
#include "app/Kinds.h"
#include "breeding/BreedingRecord.h"
#include "pedigree/MainScreen.h"
#include "rabbit/RabbitSheet.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "shell/DocumentWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

WindowFixture::WindowFixture() : m_parent((registerKinds(), std::make_unique<TBigBadParent>()))
{
    // Qt runs neither command of a key bound twice and only warns: here that fails.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Ambiguous shortcut")));
    m_parent->show();
}

WindowFixture::~WindowFixture()
{
    finish();
}

void WindowTest::initTestCase()
{
    // Data functions run before init() and may list the kinds.
    registerKinds();
}

void WindowTest::init()
{
    m_fx = std::make_unique<WindowFixture>();
}

void WindowTest::cleanup()
{
    // The fixture goes first, so a failing check still leaves the next test a clean start.
    const QStringList errors = m_fx->finish();
    m_fx.reset();
    QCOMPARE(errors, QStringList());
}

QString WindowFixture::copyData(const QString &relative, const QString &name) const
{
    const QString copy = path(name);
    TestFiles::writeBytes(copy, TestFiles::readBytes(TestFiles::dataPath(relative)));
    return copy;
}

QString WindowFixture::rabbit(const QString &name, const QMap<int, QString> &values, int keep) const
{
    return TestFiles::writeRabbit(path(name), values, keep);
}

int WindowFixture::windows() const
{
    return int(m_parent->mdiArea()->subWindowList().size());
}

TRabbitSheet *WindowFixture::newRabbit() const
{
    return qobject_cast<TRabbitSheet *>(m_parent->runTool(QString::fromLatin1(TRabbitSheet::KindId)));
}

TMainScreen *WindowFixture::newChart() const
{
    return qobject_cast<TMainScreen *>(m_parent->runTool(QString::fromLatin1(TMainScreen::KindId)));
}

TBreedingRecord *WindowFixture::newBreeding() const
{
    return qobject_cast<TBreedingRecord *>(m_parent->runTool(QString::fromLatin1(TBreedingRecord::KindId)));
}


void WindowFixture::deleteClosed()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList WindowFixture::finish()
{
    if (m_parent) {
        for (QMdiSubWindow *window : m_parent->mdiArea()->subWindowList())
            if (auto *document = qobject_cast<DocumentWindow *>(window))
                document->setModified(false);
        m_parent.reset();
    }
    return m_platform->takeErrors();
}

QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

bool showsWithoutScrollBars(QWidget *window)
{
    auto *scroll = window->findChild<QScrollArea *>("SheetScroll");
    QApplication::processEvents(); // the scroll area settles after a resize
    return !scroll->horizontalScrollBar()->isVisible() && !scroll->verticalScrollBar()->isVisible();
}

void typeInto(QWidget *window, QWidget *label, const QString &text)
{
    Input::clickOn(label);
    auto *edit = window->findChild<QLineEdit *>("TextEdit");
    QVERIFY2(edit->isVisible() && Input::focused() == edit, "the text panel did not take the keyboard focus");
    Input::key(Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        Input::key(Qt::Key_Delete);
    else
        Input::type(text);
    QCOMPARE(edit->text(), text);
    Input::key(Qt::Key_Return);
}

void fromMenu(QObject *window, QWidget *label, const char *action)
{
    Q_UNUSED(window);
    Input::clickOn(label, Qt::RightButton);
    Input::chooseFromPopup(action);
}

void press(QWidget *window, QKeyCombination key)
{
    QMdiSubWindow *sub = Input::subWindowOf(window);
    Input::keyOn(sub && sub->widget() ? sub->widget() : window, key.key(), key.keyboardModifiers());
}
