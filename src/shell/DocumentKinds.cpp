#include "shell/DocumentKinds.h"

#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "shell/BigBadParent.h"

void registerDocumentKinds(TBigBadParent &parent)
{
    TBigBadParent *frame = &parent;
    parent.registerTool(TBigBadParent::Tool::RabbitEditor, [frame] {
        auto *sheet = new TRabbitSheet;
        frame->adopt(sheet);
        return sheet;
    });
    // Opened from the main window, a rabbit is captioned with its name.
    parent.registerExtension(QStringLiteral(".rab"), [frame](const QString &path) {
        auto *sheet = static_cast<TRabbitSheet *>(frame->runTool(TBigBadParent::Tool::RabbitEditor));
        sheet->loadFile(path);
        sheet->setWindowTitle(sheet->record().value(RabbitFile::RabbitName) + QLatin1String(TRabbitSheet::Suffix));
    });
}
