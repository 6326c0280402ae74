#include "app/Kinds.h"

#include "breeding/BreedingFormat.h"
#include "breeding/BreedingRecord.h"
#include "find/Find.h"
#include "genetics/ColorCombiner.h"
#include "herd/CalendarWindow.h"
#include "herd/HerdTable.h"
#include "herd/TestMatingWindow.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "rabbitry/MyRabbitry.h"
#include "records/WindowRegistry.h"
#include "shell/Frame.h"
#include "shell/KindRegistry.h"
#include "show/ShowFormat.h"
#include "show/ShowRecord.h"

#include <QMdiArea>

namespace {

template <typename T> std::function<ChildWindow *()> factory()
{
    return [] { return new T; };
}

// A herd tool works on the rabbitry window active last, or on a rabbitry file the
// breeder chooses; none when the choice is cancelled.
std::optional<HerdSource> chooseHerd()
{
    // A rabbitry window that has been closed but not yet freed is hidden.
    const TMyRabbitry *open = WindowRegistry::newest<TMyRabbitry>();
    if (open && !open->isHidden())
        return HerdWindows::herdOf(open->fileName(), open->windowTitle(), open->rabbits());
    Frame *frame = Frame::instance();
    return HerdWindows::askForHerd(frame ? frame->mdiArea() : nullptr,
                                   KindRegistry::dialogOf(TMyRabbitry::KindId, QStringLiteral("Choose a Rabbitry")));
}

template <typename T> std::function<ChildWindow *()> herdFactory()
{
    return []() -> ChildWindow * {
        const std::optional<HerdSource> herd = chooseHerd();
        return herd ? new T(*herd) : nullptr;
    };
}

} // namespace

void registerKinds()
{
    KindRegistry &kinds = KindRegistry::instance();
    kinds.add({.id = QString::fromLatin1(TMainScreen::KindId),
               .toolCaption = QStringLiteral("&Hutchlore"),
               .mainToolName = QStringLiteral("MMPedigree"),
               .documentToolName = QStringLiteral("RunHutchlore"),
               .toolKey = Qt::Key_E,
               .startCaption = QStringLiteral("New Pedigree"),
               .startRank = 2,
               .extension = QStringLiteral(".ped"),
               .filterTitle = QStringLiteral("Pedigrees"),
               .openFilterTitle = QStringLiteral("Pedigree Files"),
               .captionSuffix = QStringLiteral(" - Rabbit Pedigree"),
               .defaultSize = TMainScreen::DefaultSize,
               .helpPage = QStringLiteral("pedigree.html"),
               .mimeType = QStringLiteral("application/x-hutchlore-pedigree"),
               .findTitle = QStringLiteral("Pedigree Files"),
               .format = &PedigreeFile::format(),
               .create = factory<TMainScreen>()});
    kinds.add({.id = QString::fromLatin1(TRabbitSheet::KindId),
               .toolCaption = QStringLiteral("&Rabbit Editor"),
               .mainToolName = QStringLiteral("MMRabbitEditor"),
               .documentToolName = QStringLiteral("RabbitEditor"),
               .toolKey = Qt::Key_R,
               .startCaption = QStringLiteral("New Rabbit Record"),
               .startRank = 1,
               .extension = QStringLiteral(".rab"),
               .filterTitle = QStringLiteral("Rabbit Files"),
               .openFilterTitle = QStringLiteral("Rabbit Editor Files"),
               .captionSuffix = QStringLiteral(" - Rabbit Information"),
               .helpPage = QStringLiteral("rabbit.html"),
               .mimeType = QStringLiteral("application/x-hutchlore-rabbit"),
               .findTitle = QStringLiteral("Rabbit Files"),
               .format = &RabbitFile::format(),
               .create = factory<TRabbitSheet>(),
               // Opened from the main window, a rabbit is captioned with its name.
               .openedFromMenu = [](DocumentWindow *window) {
                   auto *sheet = static_cast<TRabbitSheet *>(window);
                   sheet->setWindowTitle(sheet->record().value(RabbitFile::RabbitName) + sheet->kind().captionSuffix);
               }});
    kinds.add({.id = QString::fromLatin1(TBreedingRecord::KindId),
               .toolCaption = QStringLiteral("&Breeding Records"),
               .mainToolName = QStringLiteral("MMBreeding"),
               .documentToolName = QStringLiteral("BreedingRecord1"),
               .toolKey = Qt::Key_B,
               .startCaption = QStringLiteral("New Breeding Record"),
               .startRank = 3,
               .extension = QStringLiteral(".brd"),
               .filterTitle = QStringLiteral("Breeding Records"),
               .openFilterTitle = QStringLiteral("Breeding Record Files"),
               .captionSuffix = QStringLiteral(" - Breeding Record"),
               .defaultSize = TBreedingRecord::DefaultSize,
               .helpPage = QStringLiteral("breeding.html"),
               .mimeType = QStringLiteral("application/x-hutchlore-breeding"),
               .findTitle = QStringLiteral("Breeding Records"),
               .format = &BreedingFile::format(),
               .create = factory<TBreedingRecord>(),
               // The breeding calendar opens a record at an event's mating row.
               .showPosition = [](DocumentWindow *window, int row) {
                   static_cast<TBreedingRecord *>(window)->focusRow(row);
               }});
    kinds.add({.id = QString::fromLatin1(TShowRecord::KindId),
               .toolCaption = QStringLiteral("&Show Records"),
               .mainToolName = QStringLiteral("MMShowRecord"),
               .documentToolName = QStringLiteral("ShowRecords1"),
               .toolKey = Qt::Key_H,
               .startCaption = QStringLiteral("New Show Record"),
               .startRank = 4,
               .extension = QStringLiteral(".shw"),
               .filterTitle = QStringLiteral("Show Records"),
               .openFilterTitle = QStringLiteral("Show Record Files"),
               .captionSuffix = QStringLiteral(" - Show Record"),
               .defaultSize = TShowRecord::DefaultSize,
               .helpPage = QStringLiteral("show.html"),
               .mimeType = QStringLiteral("application/x-hutchlore-show"),
               .findTitle = QStringLiteral("Show Records"),
               .format = &ShowFile::format(),
               .create = factory<TShowRecord>()});
    // Every Color Genetics command opens another, empty calculator at its own size.
    kinds.add({.id = QString::fromLatin1(TColorCombiner::KindId),
               .toolCaption = QStringLiteral("&Color Genetics"),
               .mainToolName = QStringLiteral("MMGenetics"),
               .documentToolName = QStringLiteral("ColorGenetics1"),
               .toolKey = Qt::Key_G,
               .startCaption = QStringLiteral("Color Genetics"),
               .startRank = 6,
               .defaultSize = TColorCombiner::DefaultSize,
               .helpPage = QStringLiteral("genetics.html"),
               .create = factory<TColorCombiner>()});
    // One find window for the whole run: Ctrl+F shows it again with its folder and results.
    kinds.add({.id = QString::fromLatin1(TFind::KindId),
               .toolCaption = QStringLiteral("&Find in Files"),
               .mainToolName = QStringLiteral("FindFiles"),
               .documentToolName = QStringLiteral("FindInFiles"),
               .toolKey = Qt::Key_F,
               .separatorBefore = true,
               .defaultSize = TFind::DefaultSize,
               .helpPage = QStringLiteral("find.html"),
               .oneWindow = true,
               .create = factory<TFind>()});
    kinds.add({.id = QString::fromLatin1(TMyRabbitry::KindId),
               .toolCaption = QStringLiteral("&My Rabbitry"),
               .mainToolName = QStringLiteral("MMMyRabbitry"),
               .documentToolName = QStringLiteral("MyRabbitry1"),
               .toolKey = Qt::Key_M,
               .startCaption = QStringLiteral("My Rabbitry"),
               .startRank = 5,
               .extension = QStringLiteral(".rbty"),
               .filterTitle = QStringLiteral("Rabbitries"),
               .openFilterTitle = QStringLiteral("Rabbitry Files"),
               .namedInOpenTitle = false,
               .captionSuffix = QStringLiteral(" - Rabbitry"),
               .defaultSize = TMyRabbitry::DefaultSize,
               .helpPage = QStringLiteral("rabbitry.html"),
               .mimeType = QStringLiteral("application/x-hutchlore-rabbitry"),
               .create = factory<TMyRabbitry>()});
    // The herd tools, each a new window over the herd read afresh.
    kinds.add({.id = QString::fromLatin1(THerdTable::KindId),
               .toolCaption = QStringLiteral("&Herd Table"),
               .mainToolName = QStringLiteral("MMHerdTable"),
               .documentToolName = QStringLiteral("HerdTable1"),
               .separatorBefore = true,
               .defaultSize = THerdTable::DefaultSize,
               .helpPage = QStringLiteral("herdtable.html"),
               .create = herdFactory<THerdTable>()});
    kinds.add({.id = QString::fromLatin1(TTestMating::KindId),
               .toolCaption = QStringLiteral("&Test Mating"),
               .mainToolName = QStringLiteral("MMTestMating"),
               .documentToolName = QStringLiteral("TestMating1"),
               .defaultSize = TTestMating::DefaultSize,
               .helpPage = QStringLiteral("testmating.html"),
               .create = herdFactory<TTestMating>()});
    kinds.add({.id = QString::fromLatin1(TBreedingCalendar::KindId),
               .toolCaption = QStringLiteral("Breeding &Calendar"),
               .mainToolName = QStringLiteral("MMBreedingCalendar"),
               .documentToolName = QStringLiteral("BreedingCalendar1"),
               .defaultSize = TBreedingCalendar::DefaultSize,
               .helpPage = QStringLiteral("calendar.html"),
               .create = herdFactory<TBreedingCalendar>()});
}
