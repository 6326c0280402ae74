#include "shell/DocumentWindow.h"

#include "records/LineFile.h"
#include "records/Picture.h"
#include "shell/BigBadParent.h"
#include "shell/CommandGuard.h"
#include "shell/HiddenPrint.h"
#include "shell/SheetWidgets.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QScrollArea>

DocumentWindow::DocumentWindow(QWidget *parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
}

void DocumentWindow::setSheet(QWidget *sheet, QSize windowSize)
{
    m_sheet = sheet;
    sheet->setAutoFillBackground(true);
    QPalette palette = sheet->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    sheet->setPalette(palette);

    // The sheet has a fixed size; a scroll area keeps all of it reachable when the
    // window frame is smaller than the form.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("SheetScroll"));
    scroll->setWidget(sheet);
    scroll->setWidgetResizable(false);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(scroll);
    resize(windowSize);

    // The panels float over the sheet, so printing an open panel prints it too.
    m_textPanel = new TextChangePanel(sheet);
    connect(m_textPanel, &TextChangePanel::accepted, this,
            [this](const QString &typed) { runCommand(this, [&] { textAccepted(typed); }); });
    connect(m_textPanel, &TextChangePanel::cancelled, this, [this] { cancelText(); });
    m_fontPanel = new FontPanel(sheet);
    connect(m_fontPanel, &FontPanel::accepted, this,
            [this](const QString &face, const QString &size) { runCommand(this, [&] { fontAccepted(face, size); }); });
    setWindowTitle(QStringLiteral("Untitled") + captionSuffix());
}

QAction *DocumentWindow::addCommand(QMenu *menu, const QString &name, const QString &caption,
                                    const QKeySequence &shortcut, void (DocumentWindow::*method)())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    connectCommand(action, &QAction::triggered, this, method);
    return action;
}

void DocumentWindow::buildMenus(const QString &saveAsCaption, const QList<QMenu *> &ownMenus, bool withPrint)
{
    auto *file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("File"));
    QAction *fileNew = file->addAction(QStringLiteral("&New"));
    fileNew->setObjectName(QStringLiteral("FileNew"));
    fileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(fileNew, &QAction::triggered, this, [this] { runCommand(this, [this] { newWindowOfKind(); }); });
    addCommand(file, QStringLiteral("FileOpen"), QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O),
               &DocumentWindow::FileOpenClick);
    file->addSeparator();
    QAction *save = file->addAction(QStringLiteral("&Save"));
    save->setObjectName(QStringLiteral("FileSave"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, [this] { runCommand(this, [this] { FileSaveClick(); }); });
    QAction *saveAs = file->addAction(saveAsCaption);
    saveAs->setObjectName(QStringLiteral("FileSaveAs"));
    connect(saveAs, &QAction::triggered, this, [this] { runCommand(this, [this] { FileSaveAsClick(); }); });
    file->addSeparator();
    if (withPrint) {
        addCommand(file, QStringLiteral("FilePrint"), QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P),
                   &DocumentWindow::FilePrintClick);
        file->addSeparator();
    }
    addCommand(file, QStringLiteral("FileQuit"), QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_W),
               &DocumentWindow::FileQuitClick);

    m_menus = {file};
    m_menus += ownMenus;
    if (TBigBadParent *parent = TBigBadParent::instance())
        m_menus += parent->sharedMenus(this);

    // Picture menu, shared by every picture on the sheet.
    m_pictureMenu = new QMenu(this);
    m_pictureMenu->setObjectName(QStringLiteral("PicturePopUp"));
    m_changePicture = addCommand(m_pictureMenu, QStringLiteral("ChangePicture"), QStringLiteral("&Change Picture"), {},
                                 &DocumentWindow::ChangePictureClick);
    addCommand(m_pictureMenu, QStringLiteral("ClearPicture"), QStringLiteral("C&lear Picture"), {},
               &DocumentWindow::ClearPictureClick);
    m_stretchPicture = addCommand(m_pictureMenu, QStringLiteral("StretchPicture"),
                                  QStringLiteral("&Stretch Picture to Fit"), {}, &DocumentWindow::StretchPictureClick);
    m_stretchPicture->setCheckable(true);
    m_pictureMenu->addSeparator();
    QMenu *global = m_pictureMenu->addMenu(QStringLiteral("Change Global Font"));
    global->setObjectName(QStringLiteral("ChangeGlobalFont"));
    QAction *face = global->addAction(QStringLiteral("Change Font Type"));
    face->setObjectName(QStringLiteral("ChangeFontFace"));
    connect(face, &QAction::triggered, this, [this] { openFontPanel(sheetFontTarget()); });
    m_boldAction = addCommand(global, QStringLiteral("Bold"), QStringLiteral("Bold"), {}, &DocumentWindow::BoldClick);
    m_boldAction->setCheckable(true);
}

void DocumentWindow::connectLabel(ValueLabel *label)
{
    connect(label, &ValueLabel::clicked, this, &DocumentWindow::changeText);
}

QAction *DocumentWindow::addChangeTextEntry(QMenu *menu, const QString &caption, const QString &name)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this] {
        if (m_currentLabel)
            changeText(m_currentLabel);
    });
    return action;
}

QAction *DocumentWindow::addDisabledEntry(QMenu *menu, const QString &caption, const QString &name)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setEnabled(false);
    return action;
}

void DocumentWindow::setLabelMenu(ValueLabel *label, QMenu *menu)
{
    connect(label, &ValueLabel::rightClicked, this, [this, menu](ValueLabel *l, const QPoint &pos) {
        m_currentLabel = l;
        menu->popup(pos);
    });
}

void DocumentWindow::addPicture(PictureBox *box, const QString &changeCaption)
{
    box->setProperty("changeCaption", changeCaption);
    connect(box, &PictureBox::rightClicked, this, &DocumentWindow::openPictureMenu);
}

void DocumentWindow::changeText(ValueLabel *label)
{
    m_currentLabel = label;
    m_textTarget = label;
    m_textPanel->open(label->text());
    floatNear(m_textPanel, label);
}

void DocumentWindow::floatNear(QWidget *panel, QWidget *label)
{
    QPoint at = label->mapTo(m_sheet, QPoint(0, label->height() + 2));
    at.setX(std::clamp(at.x(), 0, std::max(0, m_sheet->width() - panel->width())));
    if (at.y() + panel->height() > m_sheet->height())
        at.setY(std::max(0, label->mapTo(m_sheet, QPoint(0, 0)).y() - panel->height() - 2));
    panel->move(at);
}

void DocumentWindow::textAccepted(const QString &typed)
{
    m_modified = true;
    if (m_textTarget)
        m_textTarget->setValue(storedEntry(typed));
    m_currentLabel = nullptr;
    hideTextPanel();
}

void DocumentWindow::cancelText()
{
    m_currentLabel = nullptr;
    hideTextPanel();
    hideOwnPanels();
}

void DocumentWindow::hideTextPanel()
{
    m_textTarget = nullptr;
    m_textPanel->hide();
}

void DocumentWindow::bindTo(const QString &path)
{
    m_fileName = path;
    setWindowTitle(fileNamePart(path) + captionSuffix());
}

void DocumentWindow::saveFile(const QString &path)
{
    recordLines().write(path);
    bindTo(path);
    m_modified = false;
}

void DocumentWindow::FileOpenClick()
{
    FileDialogSpec request = fileDialogSpec();
    request.title = QStringLiteral("Open");
    const std::optional<QString> path = Platform::instance().openFileName(this, request);
    if (!path)
        return;
    const bool reuse = windowTitle() == QStringLiteral("Untitled") + captionSuffix() && !m_modified;
    DocumentWindow *target = reuse ? this : newWindowOfKind();
    target->loadFile(*path);
}

bool DocumentWindow::FileSaveClick()
{
    if (m_fileName.isEmpty())
        return FileSaveAsClick();
    saveFile(m_fileName);
    return true;
}

bool DocumentWindow::FileSaveAsClick()
{
    FileDialogSpec request = fileDialogSpec();
    request.title = QStringLiteral("Save As");
    for (;;) {
        const std::optional<QString> path = Platform::instance().saveFileName(this, request);
        if (!path)
            return false;
        if (fileExists(*path)) {
            switch (Platform::instance().ask(this, QStringLiteral("That file already exists. Overwrite?"),
                                             Platform::Buttons::YesNoCancel)) {
            case Platform::Answer::Yes:
                break;
            case Platform::Answer::No:
                continue;
            default:
                return false;
            }
        }
        saveFile(*path);
        return true;
    }
}

void DocumentWindow::FilePrintClick()
{
    QPrinter printer(QPrinter::ScreenResolution);
    setUpPrinter(printer);
    if (!Platform::instance().choosePrinter(this, printer))
        return;
    THiddenPrint::instance()->printSheet(m_sheet, printer);
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    if (m_modified) {
        const auto answer = Platform::instance().ask(this, QStringLiteral("Unsaved work will be lost. Save changes?"),
                                                     Platform::Buttons::YesNoCancel);
        if (answer == Platform::Answer::Cancel) {
            event->ignore();
            return;
        }
        if (answer == Platform::Answer::Yes) {
            // A save that was cancelled or failed keeps the window and its changes.
            bool saved = false;
            runCommand(this, [&] { saved = FileSaveClick(); });
            if (!saved) {
                event->ignore();
                return;
            }
        }
    }
    runCommand(this, [this] { formClose(); });
    QMdiSubWindow::closeEvent(event);
}

void DocumentWindow::openPictureMenu(PictureBox *box, const QPoint &globalPos)
{
    m_pictureUnderMenu = box;
    m_changePicture->setText(box->property("changeCaption").toString());
    m_stretchPicture->setChecked(box->stretch());
    m_pictureMenu->popup(globalPos);
}

void DocumentWindow::ChangePictureClick()
{
    if (!m_pictureUnderMenu)
        return;
    const std::optional<QString> path = Platform::instance().pictureFileName(this);
    if (!path)
        return;
    m_modified = true;
    const QImage image = loadPicture(*path);
    m_pictureUnderMenu->setImage(image);
    m_pictureUnderMenu->setPath(*path);
}

void DocumentWindow::ClearPictureClick()
{
    if (!m_pictureUnderMenu)
        return;
    m_modified = true;
    m_pictureUnderMenu->clear();
}

void DocumentWindow::StretchPictureClick()
{
    if (!m_pictureUnderMenu)
        return;
    m_modified = true;
    m_pictureUnderMenu->setStretch(!m_pictureUnderMenu->stretch());
    m_stretchPicture->setChecked(m_pictureUnderMenu->stretch());
}

void DocumentWindow::BoldClick()
{
    m_modified = true;
    applyBold(m_boldAction->isChecked());
}

void DocumentWindow::setBoldChecked(bool bold)
{
    m_boldAction->setChecked(bold);
    applyBold(bold);
}

void DocumentWindow::applyBold(bool bold)
{
    QFont font = m_sheet->font();
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    m_sheet->setFont(font);
}

DocumentWindow::FontTarget DocumentWindow::sheetFontTarget()
{
    return {[this] { return m_sheet->font(); }, [this](const QFont &font) { m_sheet->setFont(font); }};
}

void DocumentWindow::openFontPanel(const FontTarget &target)
{
    m_fontTarget = target;
    const QFont font = target.get();
    m_fontPanel->open(font.family(), font.pointSize());
    m_fontPanel->move((m_sheet->width() - m_fontPanel->width()) / 2, 40);
}

void DocumentWindow::fontAccepted(const QString &face, const QString &sizeText)
{
    m_modified = true;
    QFont font = m_fontTarget.get();
    if (!face.isEmpty())
        font.setFamily(face);
    m_fontTarget.set(font);
    // A size that is not a number is reported; the face stays applied and the panel open.
    const int size = toInteger(sizeText);
    if (size <= 0)
        throw ConversionError(QStringLiteral("'%1' is not a valid font size").arg(sizeText));
    font.setPointSize(size);
    m_fontTarget.set(font);
    m_fontPanel->hide();
}

void DocumentWindow::loadPictureForRecord(PictureBox *box, const QString &path, QStringList &problems)
{
    box->setPath(path);
    try {
        // A path without a folder is taken beside the record (sample records use this).
        const QString resolved =
            QDir::isAbsolutePath(path) || m_fileName.isEmpty() ? path : QFileInfo(m_fileName).dir().filePath(path);
        box->setImage(loadPicture(resolved));
    } catch (const RecordError &e) {
        box->setImage(QImage());
        problems.append(e.message());
    }
}

void DocumentWindow::reportPictureProblems(const QStringList &problems)
{
    if (problems.isEmpty())
        return;
    Platform::instance().showError(this,
                                   QStringLiteral("The record was loaded, but a picture could not be shown:\n\n%1\n\n"
                                                  "Its file path is kept and will be saved unchanged.")
                                       .arg(problems.join(u'\n')));
}
