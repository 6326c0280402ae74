#include "pedigree/MainScreen.h"

#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "pedigree/PedigreeLinks.h"
#include "rabbit/RabbitFormat.h"
#include "rabbitry/RabbitryFormat.h"
#include "records/LineFile.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "shell/Preferences.h"
#include "shell/SheetWidgets.h"

// The pedigree window's link commands: the related-file editor, auto-fill, update
// from links, the rabbit files behind the chart positions, the rabbitry behind the
// header, and the hand-offs of records started from a position or the header.

using namespace PedigreeFile;

int TMainScreen::currentPosition() const
{
    return currentLabel() ? currentLabel()->tag() : 0;
}

void TMainScreen::UpdateLinksClick()
{
    updateFromLinks(PedigreeLinks::updateFromLinks, [this](const LineRecord &r) { applyValues(r); });
}

void TMainScreen::AutoFillClick()
{
    if (!confirmOverwrite())
        return;
    PedigreeLinks::PositionLinks links = m_editor->positionLinks();
    LinkContext context = linkContext();
    editThrough(
        QStringLiteral("Auto-Fill"), [&] { PedigreeLinks::autoFill(links, context); },
        [&] {
            m_editor->setPositionLinks(links);
            reportLinks(context);
        });
}

void TMainScreen::LoadRabbitClick()
{
    const int code = currentPosition();
    if (!positionByCode(code))
        return;
    const std::optional<QString> path = chooseFileOf(RabbitFile::KindId);
    if (!path)
        return;
    LineRecord r = record();
    editThrough(
        QStringLiteral("Load Saved Rabbit"), [&] { PedigreeLinks::loadSavedRabbit(r, code, *path); },
        [&] { applyValues(r); });
    setCurrentLabel(nullptr);
}

void TMainScreen::OpenRabbitClick()
{
    const int code = currentPosition();
    const Position *position = positionByCode(code);
    if (!position)
        return;
    const QString link = m_editor->positionLink(position->index())->link();
    if (link != RecordText::None) {
        openLinkedRabbit(link);
        return;
    }
    // A new rabbit record for this place of the chart; once it is saved and its
    // window closed, it comes back here, to this certificate only (the record calls
    // nobody once this window is gone).
    KindRegistry::instance().startRecord(
        QString::fromLatin1(RabbitFile::KindId), PedigreeLinks::chartToRabbit(record(), code), code, this,
        [this](const QString &path, int positionCode) { ReturnRabbitToPedigree(path, positionCode); });
}

void TMainScreen::openLinkedRabbit(const QString &path)
{
    openLink(QString::fromLatin1(RabbitFile::KindId), path);
}

void TMainScreen::ReturnRabbitToPedigree(const QString &rabbitPath, int positionCode)
{
    runCommand(this, [&] {
        requireStorableLink(rabbitPath);
        LineRecord r = record();
        editThrough(
            QStringLiteral("Rabbit from Its Record"), [&] { PedigreeLinks::handOff(r, positionCode, rabbitPath); },
            [&] { applyValues(r); });
    });
}

void TMainScreen::OpenRabbitryClick()
{
    const QString id = QString::fromLatin1(Rabbitry::KindId);
    if (m_editor->rabbitryLink()->isLinked()) {
        openLink(id, m_editor->rabbitryLink()->link());
        return;
    }
    // A new rabbitry started from the breeder lines; once saved and closed it is
    // linked here, to this certificate only (the record calls nobody once this window
    // is gone).
    KindRegistry::instance().startRecord(
        id, PedigreeLinks::headerToRabbitry(record()), HeaderCode, this,
        [this](const QString &path, int positionCode) { ReturnRabbitryToPedigree(path, positionCode); });
}

void TMainScreen::LoadRabbitryClick()
{
    const std::optional<QString> path = chooseFileOf(Rabbitry::KindId);
    if (!path)
        return;
    LineRecord r = record();
    editThrough(
        QStringLiteral("Load Saved Rabbitry"), [&] { PedigreeLinks::loadSavedRabbitry(r, *path); },
        [&] { applyValues(r); });
}

void TMainScreen::ReturnRabbitryToPedigree(const QString &rabbitryPath, int positionCode)
{
    runCommand(this, [&] {
        requireStorableLink(rabbitryPath);
        LineRecord r = record();
        editThrough(
            QStringLiteral("Rabbitry from Its Record"),
            [&] { PedigreeLinks::handOffRabbitry(r, positionCode, rabbitryPath); }, [&] { applyValues(r); });
    });
}

void TMainScreen::startEmpty()
{
    const QString rabbitry = Preferences::myRabbitryFile();
    if (rabbitry.isEmpty())
        return;
    LineRecord r = record();
    try {
        PedigreeLinks::loadSavedRabbitry(r, rabbitry);
    } catch (const RecordError &e) {
        // The pedigree is there all the same, with blank breeder lines.
        Platform::instance().showError(this, QStringLiteral("The new pedigree could not take your rabbitry's details "
                                                            "(File > Preferences, \"My rabbitry file\").\n\n%1")
                                                 .arg(e.message()));
        return;
    }
    applyValues(r);
    setModified(false);
}

void TMainScreen::createLinkedRabbitry(LinkField *field)
{
    auto *rabbitry =
        qobject_cast<DocumentWindow *>(KindRegistry::instance().newWindow(QString::fromLatin1(Rabbitry::KindId)));
    if (!rabbitry)
        return;
    QPointer<TMainScreen> self(this);
    QPointer<LinkField> target(field);
    QPointer<DocumentWindow> created(rabbitry);
    rabbitry->saveAsLinkTarget();
    if (self && target && created && !created->fileName().isEmpty())
        target->setLink(created->fileName());
}

void TMainScreen::LinkDoubleClick(LinkField *field)
{
    if (field == m_editor->rabbitryLink()) {
        if (field->isLinked())
            openLink(QString::fromLatin1(Rabbitry::KindId), field->link());
        else
            createLinkedRabbitry(field);
        return;
    }
    if (field->isLinked()) {
        openLinkedRabbit(field->link());
        return;
    }
    // No file yet: the breeder names the new rabbit's file at once, and that file
    // becomes the link.
    const QString path = KindRegistry::instance().createFile(QString::fromLatin1(RabbitFile::KindId));
    if (!path.isEmpty())
        field->setLink(path);
}

std::optional<LinkBackTarget> TMainScreen::linkBackTarget() const
{
    return LinkBackTarget{.subjectLine = MainRabFile,
                        .subjectKind = QString::fromLatin1(RabbitFile::KindId),
                        .subjectFormat = &RabbitFile::format(),
                        .backLine = RabbitFile::PedigreeLink,
                        .nameLine = RabbitFile::RabbitName,
                        .subjectNoun = QStringLiteral("rabbit record"),
                        .noun = QStringLiteral("pedigree")};
}
