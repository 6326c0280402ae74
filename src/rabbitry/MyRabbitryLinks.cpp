#include "rabbitry/MyRabbitry.h"

#include "breeding/BreedingFormat.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitFormat.h"
#include "rabbitry/RabbitryFormat.h"
#include "records/LinkContext.h"
#include "shell/KindRegistry.h"
#include "shell/Platform.h"
#include "show/ShowFormat.h"

#include <QListWidget>

// The rabbitry's Open buttons: the chosen rabbit's own file and the records it links.

using Rabbitry::RabbitLink;

namespace {

// The kind of window each Open button opens.
QString kindOf(RabbitLink link)
{
    switch (link) {
    case RabbitLink::Pedigree:
        return QString::fromLatin1(PedigreeFile::KindId);
    case RabbitLink::Breeding:
        return QString::fromLatin1(BreedingFile::KindId);
    case RabbitLink::Show:
        return QString::fromLatin1(ShowFile::KindId);
    }
    return {};
}

} // namespace

void TMyRabbitry::OpenRabbitClick()
{
    const QString path = selectedPath();
    if (!path.isEmpty())
        openLink(QString::fromLatin1(RabbitFile::KindId), path);
}

void TMyRabbitry::OpenLinkClick(RabbitLink link)
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    // The file as it is now, not as it was when the entry was selected.
    LinkContext entry = linkContext();
    const QString rabbitPath = entry.pathOf(path);
    const Rabbitry::RabbitPreview preview = Rabbitry::readPreview(rabbitPath, entry);
    reportLinks(entry);
    if (!preview.hasLink(link)) {
        Platform::instance().ask(this, Rabbitry::noLinkMessage(link), Platform::Buttons::Ok);
        return;
    }
    // The link is the rabbit file's own: a moved file is looked for beside it.
    LinkContext fromRabbit(rabbitPath);
    KindRegistry::instance().openFile(kindOf(link), fromRabbit.pathOf(preview.link(link)));
    reportLinks(fromRabbit);
}
