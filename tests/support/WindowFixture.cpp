#include "WindowFixture.h"

#include "TestFiles.h"
#include "shell/BigBadParent.h"
#include "shell/DocumentWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>

WindowFixture::WindowFixture() : m_parent(std::make_unique<TBigBadParent>())
{
    m_parent->show();
}

WindowFixture::~WindowFixture()
{
    finish();
}

QString WindowFixture::copyData(const QString &relative, const QString &name) const
{
    const QString copy = path(name);
    TestFiles::writeBytes(copy, TestFiles::readBytes(TestFiles::dataPath(relative)));
    return copy;
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
