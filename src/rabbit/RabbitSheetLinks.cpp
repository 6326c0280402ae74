#include "rabbit/RabbitSheet.h"

#include "breeding/BreedingFormat.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitLinkEditor.h"
#include "rabbit/RabbitLinks.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "show/ShowFormat.h"

#include <QPushButton>

// The rabbit window's link commands: the related-file editor, the documents behind
// its links, the relatives' files, and update from links.

using namespace RabbitFile;

namespace {

// The kind of window a link line opens.
QString kindOfLink(int line)
{
    switch (line) {
    case PedigreeLink:
        return QString::fromLatin1(PedigreeFile::KindId);
    case BreedLink:
        return QString::fromLatin1(BreedingFile::KindId);
    case ShowLink:
        return QString::fromLatin1(ShowFile::KindId);
    default:
        return QString::fromLatin1(RabbitFile::KindId);
    }
}

// Says that the program has no window for the kind yet; true when it has one.
bool kindAvailable(QWidget *window, const QString &kindId)
{
    const WindowKind *kind = KindRegistry::instance().find(kindId);
    if (kind && kind->isAvailable())
        return true;
    const QString what = kind ? kind->filterTitle : kindId;
    Platform::instance().ask(window, QStringLiteral("%1 cannot be opened in this version of Hutchlore.").arg(what),
                             Platform::Buttons::Ok);
    return false;
}

} // namespace

void TRabbitSheet::createLinkEditor()
{
    m_editor = new RabbitLinkEditor(sheet());
    setLinkEditor(m_editor, 8, &TRabbitSheet::LinkDoubleClick);
    connectCommand(m_editor->updateButton(), &QPushButton::clicked, this, &TRabbitSheet::UpdateLinksClick);
    m_editor->hide();
}

void TRabbitSheet::applyValues(const LineRecord &r)
{
    for (auto it = boundLabels().cbegin(); it != boundLabels().cend(); ++it)
        it.value()->setValue(r.value(it.key()));
    m_editor->setLinks(r);
}

bool TRabbitSheet::setOwnLine(int line, const QString &text)
{
    LinkField *field = m_editor->linkOf(line);
    if (field)
        field->setLink(text);
    return field != nullptr;
}

void TRabbitSheet::aboutToShowLoad()
{
    // Links set by hand before the load are not what Cancel should bring back.
    if (!m_editor->isHidden())
        m_editor->accept();
}

void TRabbitSheet::UpdateLinksClick()
{
    updateFromLinks(RabbitLinks::updateFromLinks, [this](const LineRecord &r) { applyValues(r); });
}

void TRabbitSheet::LoadRabbitClick()
{
    const int number = currentLabel() ? currentLabel()->tag() : 0;
    if (!RabbitLinks::relative(number))
        return;
    const std::optional<QString> path = chooseFileOf(KindId);
    if (!path)
        return;
    LineRecord r = record();
    editThrough([&] { RabbitLinks::loadSavedRabbit(r, number, *path); }, [&] { applyValues(r); });
    setCurrentLabel(nullptr);
}

void TRabbitSheet::OpenRabbitClick()
{
    const int number = currentLabel() ? currentLabel()->tag() : 0;
    if (!RabbitLinks::relative(number))
        return;
    const LinkField *link = m_editor->relativeLink(number);
    if (link->isLinked()) {
        openLinked(QString::fromLatin1(KindId), link->link());
        return;
    }
    // A rabbit record filled from the relative's values; nothing comes back here.
    KindRegistry::instance().startRecord(QString::fromLatin1(KindId), RabbitLinks::relativeToRabbit(record(), number),
                                         0, nullptr, {});
}

void TRabbitSheet::openLinked(const QString &kindId, const QString &path)
{
    if (kindAvailable(this, kindId))
        openLink(kindId, path);
}

void TRabbitSheet::LinkDoubleClick(LinkField *field)
{
    int line = -1;
    for (int l = RabbitLinkEditor::FirstLine; l <= ShowLink; ++l)
        if (m_editor->linkOf(l) == field)
            line = l;
    if (line < 0)
        return;
    const QString kindId = kindOfLink(line);
    if (field->isLinked()) {
        openLinked(kindId, field->link());
        return;
    }
    if (!kindAvailable(this, kindId))
        return;
    // No file yet: the breeder names the new record's file at once, and that file
    // becomes the link.
    const QString path = KindRegistry::instance().createFile(kindId);
    if (!path.isEmpty())
        field->setLink(path);
}
