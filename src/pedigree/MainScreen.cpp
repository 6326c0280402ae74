#include "pedigree/MainScreen.h"

#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "pedigree/PedigreeLinks.h"
#include "records/LineFile.h"
#include "shell/CommandGuard.h"
#include "shell/SheetWidgets.h"

#include <QAction>
#include <QMenu>
#include <QPrinter>

// The pedigree window: its menus, the record lines it keeps besides the chart's
// values, and the view commands. The certificate's layout is in
// CertificateLayout.cpp, the link commands in MainScreenLinks.cpp.

using namespace PedigreeFile;

QFont TMainScreen::titleFont(const QString &face, int points)
{
    QFont font(face);
    font.setPointSize(points);
    font.setBold(true); // the title is always bold; its weight is not stored
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

TMainScreen::TMainScreen(QWidget *parent) : SheetWindow(KindId, PedigreeFile::format(), {}, parent)
{
    setObjectName(QStringLiteral("MainScreen"));
    createSheet();
    createMenus();
    buildSheet();
}

QString TMainScreen::storedEntry(const QString &typed) const
{
    return typed.isEmpty() ? QString(27, u' ') : typed;
}

void TMainScreen::createMenus()
{
    auto *edit = new QMenu(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("Edit1"));
    addCommand(edit, "SetFileLinks", "&Set File Links", &TMainScreen::SetFileLinksClick,
            QKeySequence(Qt::CTRL | Qt::Key_L));

    auto *view = new QMenu(QStringLiteral("&View"), this);
    view->setObjectName(QStringLiteral("View1"));
    m_viewPicture = addCommand(view, "ViewPicture", "View &Picture", &TMainScreen::ViewPictureClick);
    m_viewGridlines = addCommand(view, "ViewGridlines", "View &Gridlines", &TMainScreen::ViewGridlinesClick);
    for (QAction *action : {m_viewPicture, m_viewGridlines}) {
        action->setCheckable(true);
        action->setChecked(true);
    }

    buildMenus(QStringLiteral("S&ave As"), {edit, view, createPedigreeMenu()});

    findChild<QAction *>(QStringLiteral("ChangeFontFace"))->setText(QStringLiteral("Change &Font Type"));
    findChild<QAction *>(QStringLiteral("Bold"))->setText(QStringLiteral("&Bold"));

    const auto changeTextEntry = [this](QMenu *menu, const char *name) {
        addChangeTextEntry(menu, QStringLiteral("Change &Text"), QString::fromLatin1(name));
    };
    m_chartMenu = new QMenu(this);
    m_chartMenu->setObjectName(QStringLiteral("ChartPopUp"));
    changeTextEntry(m_chartMenu, "ChartChangeText");
    addCommand(m_chartMenu, "OpenRabbitFile", "&Open Rabbit File", &TMainScreen::OpenRabbitClick);
    addLoadSavedRabbit(m_chartMenu, &TMainScreen::LoadRabbitClick);

    m_headerMenu = new QMenu(this);
    m_headerMenu->setObjectName(QStringLiteral("HeaderPopUp"));
    changeTextEntry(m_headerMenu, "HeaderChangeText");
    addCommand(m_headerMenu, "OpenRabbitry", "&Open Rabbitry", &TMainScreen::OpenRabbitryClick);
    addCommand(m_headerMenu, "LoadSavedRabbitry", "&Load Saved Rabbitry", &TMainScreen::LoadRabbitryClick);

    m_titleMenu = new QMenu(this);
    m_titleMenu->setObjectName(QStringLiteral("TitlePopUp"));
    QAction *titleFontAction = m_titleMenu->addAction(QStringLiteral("&Change Font"));
    titleFontAction->setObjectName(QStringLiteral("TitleChangeFont"));
    connect(titleFontAction, &QAction::triggered, this, [this] {
        openFontPanel({[this] { return m_title->font(); },
                       [this](const QFont &font) { m_title->setFont(titleFont(font.family(), font.pointSize())); }});
    });
    changeTextEntry(m_titleMenu, "TitleChangeText");
}

ValueLabel *TMainScreen::field(const QString &name) const
{
    return boundLabel(format().lineOf(name));
}

LineRecord TMainScreen::loadedState(const LineRecord &parsed, const LineRecord &before) const
{
    LineRecord state = PedigreeFile::loadedState(parsed, before);
    // A file older than the rabbitry link has none, whatever rabbitry the window was
    // started with.
    if (!parsed.has(RabbitryFile))
        state.setValue(RabbitryFile, RecordText::None);
    return state;
}

void TMainScreen::writeOwnLines(LineRecord &r) const
{
    r.setValue(TitleLeft, fromInteger(m_title->x()));
    r.setValue(TitleTop, fromInteger(m_title->y()));
    r.setValue(TitleFontFace, m_title->font().family());
    r.setValue(TitleFontSize, fromInteger(m_title->font().pointSize()));
    r.setValue(BackStretch, boolText(m_backImage->stretch()));
    r.setValue(MiniStretch, boolText(m_miniPicture->stretch()));
    r.setValue(MiniFrameShown, boolText(m_viewPicture->isChecked()));
    const QFont chart = sheet()->font();
    r.setValue(ChartFontFace, chart.family());
    r.setValue(ChartFontSize, fromInteger(chart.pointSize()));
    r.setValue(ChartFontWeight, weightText(chart.bold()));
    PedigreeLinks::setLinks(r, m_editor->positionLinks());
    r.setValue(Gridlines, gridlinesText(m_viewGridlines->isChecked()));
    r.setValue(RabbitryFile, m_editor->rabbitryLink()->link());
}

void TMainScreen::applyValues(const LineRecord &r)
{
    for (auto it = boundLabels().cbegin(); it != boundLabels().cend(); ++it)
        it.value()->setValue(r.value(it.key()));
    m_editor->setPositionLinks(PedigreeLinks::linksOf(r));
    m_editor->rabbitryLink()->setLink(r.value(RabbitryFile));
}

void TMainScreen::applyOwnLines(const LineRecord &r)
{
    m_editor->setPositionLinks(PedigreeLinks::linksOf(r));
    m_editor->rabbitryLink()->setLink(r.value(RabbitryFile));
    m_title->move(toInteger(r.value(TitleLeft)), toInteger(r.value(TitleTop)));
    m_title->setFont(titleFont(r.value(TitleFontFace), toInteger(r.value(TitleFontSize))));
    m_backImage->setStretch(isStretched(r.value(BackStretch)));
    m_miniPicture->setStretch(isStretched(r.value(MiniStretch)));
    setMiniFrameShown(r.value(MiniFrameShown) == TrueText);
    QFont chart = sheet()->font();
    chart.setFamily(r.value(ChartFontFace));
    chart.setPointSize(toInteger(r.value(ChartFontSize)));
    sheet()->setFont(chart);
    setBoldChecked(r.value(ChartFontWeight) == RecordText::Bold);
    setGridlinesShown(gridlinesShown(r.value(Gridlines)));
}

void TMainScreen::aboutToShowLoad()
{
    // Links set by hand before the load are not what Cancel should bring back.
    if (!m_editor->isHidden())
        m_editor->accept();
}

void TMainScreen::setMiniFrameShown(bool shown)
{
    m_viewPicture->setChecked(shown);
    m_miniPicture->setHidden(!shown);
}

void TMainScreen::setGridlinesShown(bool shown)
{
    m_viewGridlines->setChecked(shown);
    for (QWidget *bar : std::as_const(m_bars))
        bar->setHidden(!shown);
}

void TMainScreen::ViewPictureClick()
{
    recordEdit();
    // The entry has already toggled its own check mark.
    setMiniFrameShown(m_viewPicture->isChecked());
}

void TMainScreen::ViewGridlinesClick()
{
    recordEdit();
    setGridlinesShown(m_viewGridlines->isChecked());
}

void TMainScreen::setUpPrinter(QPrinter &printer) const
{
    // A certificate is wider than high: it prints across the page unless the
    // breeder turns the page in the print dialog.
    printer.setPageOrientation(QPageLayout::Landscape);
}
