#include "shell/DocumentKinds.h"

#include "genetics/ColorCombiner.h"
#include "pedigree/MainScreen.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "shell/BigBadParent.h"

void registerDocumentKinds(TBigBadParent &parent)
{
    TBigBadParent *frame = &parent;
    parent.registerTool(TBigBadParent::Tool::Pedigree, [frame] {
        auto *chart = new TMainScreen;
        frame->adopt(chart);
        chart->resize(TMainScreen::DefaultSize);
        return chart;
    });
    parent.registerExtension(QStringLiteral(".ped"), [frame](const QString &path) {
        static_cast<TMainScreen *>(frame->runTool(TBigBadParent::Tool::Pedigree))->loadFile(path);
    });
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
    // Every Color Genetics command opens another, empty calculator at its own size.
    parent.registerTool(TBigBadParent::Tool::Genetics, [frame] {
        auto *combiner = new TColorCombiner;
        frame->adopt(combiner);
        combiner->resize(TColorCombiner::DefaultSize);
        return combiner;
    });
}
