#include "shell/LinkBackBar.h"

#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/LinePatch.h"
#include "records/LinkContext.h"
#include "records/RecordError.h"
#include "records/RecordText.h"
#include "shell/CommandGuard.h"
#include "shell/Frame.h"
#include "shell/KindRegistry.h"
#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace {

// The subject as the bar names it: its name, or its file's name while the name is blank.
QString shownName(const QString &name, const QString &placeholder, const QString &path)
{
    const QString shown = RecordText::isBlank(name, placeholder) ? QFileInfo(path).completeBaseName() : name;
    return excerpt(shown.simplified(), 60);
}

} // namespace

LinkBackBar::LinkBackBar(SheetWindow *window) : QFrame(window), m_window(window)
{
    setObjectName(QStringLiteral("LinkBackBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 246, 196));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("LinkBackMessage"));
    // A rabbit's name is the breeder's text, never markup.
    m_message->setTextFormat(Qt::PlainText);
    row->addWidget(m_message, 1);
    m_linkIt = new QPushButton(QStringLiteral("Link It"), this);
    m_linkIt->setObjectName(QStringLiteral("LinkBackLinkIt"));
    m_notNow = new QPushButton(QStringLiteral("Not Now"), this);
    m_notNow->setObjectName(QStringLiteral("LinkBackNotNow"));
    row->addWidget(m_linkIt);
    row->addWidget(m_notNow);
    connectCommand(m_linkIt, &QPushButton::clicked, this, &LinkBackBar::LinkItClick);
    connect(m_notNow, &QPushButton::clicked, this, &LinkBackBar::NotNowClick);
    hide();
}

QList<SheetWindow *> LinkBackBar::openSubjects() const
{
    QList<SheetWindow *> open;
    for (DocumentWindow *document : DocumentWindow::showing(m_subjectPath)) {
        auto *window = qobject_cast<SheetWindow *>(document);
        if (window && window != m_window && window->kind().id == m_target.subjectKind)
            open.append(window);
    }
    return open;
}

void LinkBackBar::offer(const LinkBackTarget &target)
{
    hide();
    m_target = target;
    Q_ASSERT(target.subjectFormat);
    const QString &none = RecordText::None;
    try {
        const QString stored = m_window->record().value(target.subjectLine);
        if (!FileLink::isLink(stored) || m_window->fileName().isEmpty())
            return;
        LinkContext context = m_window->linkContext();
        m_subjectPath = context.pathOf(stored);
        m_recordPath = m_window->fileName();
        // Only a file of the subject's kind is written to, whatever a hand-edited link
        // names (another record's lines may well parse as a rabbit's).
        const WindowKind *subjectKind = KindRegistry::instance().find(target.subjectKind);
        if (!subjectKind || extensionOf(m_subjectPath) != subjectKind->extension)
            return;
        const QString &placeholder = target.subjectFormat->field(target.nameLine).placeholder;
        bool unlinked = false;
        QString name;
        const QList<SheetWindow *> open = openSubjects();
        if (!open.isEmpty()) {
            // The open window is what will be saved over the file: it decides.
            for (const SheetWindow *window : open)
                unlinked = unlinked || window->record().value(target.backLine) == none;
            name = open.constFirst()->record().value(target.nameLine);
        } else {
            const LineRecord subject = LineRecord::parse(*target.subjectFormat, LineFile::read(m_subjectPath));
            // An older file that ends before the line has no link of this kind.
            unlinked = !subject.has(target.backLine) || subject.value(target.backLine) == none;
            name = subject.value(target.nameLine);
        }
        if (!unlinked)
            return;
        m_subjectName = shownName(name, placeholder, m_subjectPath);
        m_message->setText(
            QStringLiteral("%1's %2 has no %3 link.").arg(m_subjectName, target.subjectNoun, target.noun));
        show();
    } catch (const RecordError &) {
        // A subject that cannot be read is not offered; following the link says why.
    }
}

void LinkBackBar::LinkItClick()
{
    const QString &none = RecordText::None;
    if (!isStorable(m_recordPath))
        throw RecordError(QStringLiteral("The path \"%1\" holds characters a record file cannot store, so %2's %3 "
                                         "was not linked to it.")
                              .arg(shownPath(m_recordPath), m_subjectName, m_target.subjectNoun));
    bool linked = false;
    const QList<SheetWindow *> open = openSubjects();
    if (!open.isEmpty()) {
        for (SheetWindow *window : open) {
            if (window->record().value(m_target.backLine) == none) {
                window->setLine(m_target.backLine, m_recordPath);
                linked = true;
            }
        }
    } else {
        linked = LinePatch::setLineIf(m_subjectPath, *m_target.subjectFormat, m_target.backLine, none, m_recordPath);
    }
    hide();
    if (!linked) {
        Platform::instance().ask(
            m_window,
            QStringLiteral("%1's %2 has been linked to another %3 meanwhile. It was left as it is.")
                .arg(m_subjectName, m_target.subjectNoun, m_target.noun),
            Platform::Buttons::Ok);
        return;
    }
    if (Frame *frame = Frame::instance()) {
        constexpr int ShownMs = 10000;
        frame->showStatus(
            QStringLiteral("%1's %2 now links to this %3.").arg(m_subjectName, m_target.subjectNoun, m_target.noun),
            ShownMs);
    }
}
