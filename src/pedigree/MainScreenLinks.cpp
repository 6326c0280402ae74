#include "pedigree/MainScreen.h"

#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "pedigree/PedigreeLinks.h"
#include "rabbit/RabbitFormat.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "shell/SheetWidgets.h"

// The pedigree window's link commands: the related-file editor, auto-fill, update
// from links, the rabbit files behind the chart positions, and the hand-off of a
// rabbit record started from a position.

using namespace PedigreeFile;

int TMainScreen::currentPosition() const
{
    return currentLabel() ? currentLabel()->tag() : 0;
}

bool TMainScreen::confirmOverwrite()
{
    return Platform::instance().ask(this, QStringLiteral("This will overwrite existing values. Continue?"),
                                    Platform::Buttons::OkCancel) == Platform::Answer::Ok;
}

void TMainScreen::SetFileLinksClick()
{
    if (!m_editor->isHidden()) {
        SetFileCancelClick();
        return;
    }
    m_editor->open();
    m_editor->move(std::max(0, (sheet()->width() - m_editor->width()) / 2), 40);
}

void TMainScreen::FileEditorOkClick()
{
    recordEdit();
    m_editor->accept();
}

void TMainScreen::SetFileCancelClick()
{
    m_editor->cancel();
}

void TMainScreen::UpdateLinksClick()
{
    if (!confirmOverwrite())
        return;
    LineRecord r = record();
    editThrough([&] { PedigreeLinks::updateFromLinks(r); }, [&] { applyValues(r); });
    m_editor->retakeSnapshot();
}

void TMainScreen::AutoFillClick()
{
    if (!confirmOverwrite())
        return;
    PedigreeLinks::PositionLinks links = m_editor->positionLinks();
    editThrough([&] { PedigreeLinks::autoFill(links); }, [&] { m_editor->setPositionLinks(links); });
}

void TMainScreen::LoadRabbitClick()
{
    const int code = currentPosition();
    if (!positionByCode(code))
        return;
    const WindowKind *rabbits = KindRegistry::instance().find(QString::fromLatin1(RabbitFile::KindId));
    const std::optional<QString> path =
        Platform::instance().openFileName(this, rabbits->dialog(QStringLiteral("Open")));
    if (!path)
        return;
    LineRecord r = record();
    editThrough([&] { PedigreeLinks::loadSavedRabbit(r, code, *path); }, [&] { applyValues(r); });
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
    KindRegistry::instance().openFile(QString::fromLatin1(RabbitFile::KindId), path);
}

void TMainScreen::ReturnRabbitToPedigree(const QString &rabbitPath, int positionCode)
{
    runCommand(this, [&] {
        LineRecord r = record();
        editThrough([&] { PedigreeLinks::handOff(r, positionCode, rabbitPath); }, [&] { applyValues(r); });
    });
}

void TMainScreen::LinkDoubleClick(LinkField *field)
{
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
