#include "shell/SheetWindow.h"

#include "records/LineFile.h"
#include "records/LinkContext.h"
#include "records/Picture.h"
#include "records/RecordText.h"
#include "shell/CommandGuard.h"
#include "shell/LinkEditor.h"
#include "shell/SheetWidgets.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QScrollArea>

SheetWindow::SheetWindow(const char *kindId, const LineFormat &format, SheetFeatures features, QWidget *parent)
    : DocumentWindow(kindId, parent), m_format(&format), m_features(features)
{}

QWidget *SheetWindow::setSheet(QSize sheetSize, const QFont &font, QSize windowSize)
{
    auto *sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("Sheet"));
    sheet->setFixedSize(sheetSize);
    sheet->setFont(font);
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
    setWidget(withLinkBackBar(scroll));
    resize(windowSize);

    // The panels float over the sheet, so printing an open panel prints it too.
    m_textPanel = new TextChangePanel(sheet);
    connect(m_textPanel, &TextChangePanel::accepted, this,
            [this](const QString &typed) { runCommand(this, [&] { textAccepted(typed); }); });
    connect(m_textPanel, &TextChangePanel::cancelled, this, [this] { cancelText(); });
    if (m_features.fontCommands) {
        m_fontPanel = new FontPanel(sheet);
        connect(m_fontPanel, &FontPanel::accepted, this, [this](const QString &face, const QString &size) {
            runCommand(this, [&] { fontAccepted(face, size); });
        });
    }
    return sheet;
}


void SheetWindow::buildMenus(const QString &saveAsCaption, const QList<QMenu *> &ownMenus)
{
    DocumentWindow::buildMenus(saveAsCaption, ownMenus);
    buildPictureMenu();
}

void SheetWindow::bindLabel(int line, ValueLabel *label, bool clickToEdit)
{
    Q_ASSERT(line >= 0 && line < m_format->lineCount() && !m_labels.contains(line));
    m_labels.insert(line, label);
    if (clickToEdit)
        connectLabel(label);
}

void SheetWindow::bindPicture(int line, PictureBox *box, const QString &changeCaption)
{
    Q_ASSERT(line >= 0 && line < m_format->lineCount() && !m_pictures.contains(line));
    m_pictures.insert(line, box);
    addPicture(box, changeCaption);
}

void SheetWindow::addPicture(PictureBox *box, const QString &changeCaption)
{
    box->setProperty("changeCaption", changeCaption);
    connect(box, &PictureBox::rightClicked, this, &SheetWindow::openPictureMenu);
}

void SheetWindow::connectLabel(ValueLabel *label)
{
    connect(label, &ValueLabel::clicked, this, &SheetWindow::changeText);
}

QAction *SheetWindow::addChangeTextEntry(QMenu *menu, const QString &caption, const QString &name)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this] {
        if (m_currentLabel)
            changeText(m_currentLabel);
    });
    return action;
}

QAction *SheetWindow::addDisabledEntry(QMenu *menu, const QString &caption, const QString &name)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setEnabled(false);
    return action;
}

void SheetWindow::setLabelMenu(ValueLabel *label, QMenu *menu)
{
    connect(label, &ValueLabel::rightClicked, this, [this, menu](ValueLabel *l, const QPoint &pos) {
        m_currentLabel = l;
        menu->popup(pos);
    });
}

LineRecord SheetWindow::record() const
{
    LineRecord r(*m_format);
    for (auto it = m_labels.cbegin(); it != m_labels.cend(); ++it)
        r.setValue(it.key(), it.value()->value());
    for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it)
        r.setValue(it.key(), it.value()->path());
    writeOwnLines(r);
    return r;
}

LineFile SheetWindow::recordLines() const
{
    return record().toLines();
}

LineFile SheetWindow::linesToSave(const QString &path) const
{
    LineRecord r = record();
    m_movedPictures.clear();
    // A picture path without a folder is found beside the record; saved into another
    // folder, the record keeps its pictures by naming them in full.
    const QString oldFolder = fileName().isEmpty() ? QString() : QFileInfo(fileName()).absolutePath();
    if (!oldFolder.isEmpty() && QFileInfo(path).absolutePath() != oldFolder) {
        for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it) {
            const QString &stored = it.value()->path();
            if (RecordText::isNoPicture(stored) || !QDir::isRelativePath(stored))
                continue;
            const QString beside = QDir(oldFolder).filePath(stored);
            if (QFileInfo(beside).isFile()) {
                r.setValue(it.key(), beside);
                m_movedPictures.insert(it.key(), beside);
            }
        }
    }
    return r.toLines();
}

void SheetWindow::saved()
{
    for (auto it = m_movedPictures.cbegin(); it != m_movedPictures.cend(); ++it)
        m_pictures.value(it.key())->setPath(it.value());
    m_movedPictures.clear();
    offerLinkBack();
}

QString SheetWindow::lineName(int line) const
{
    return line >= 0 && line < m_format->lineCount() ? m_format->field(line).name : DocumentWindow::lineName(line);
}

LineRecord SheetWindow::loadedState(const LineRecord &parsed, const LineRecord &before) const
{
    LineRecord state = before;
    for (int line = 0; line < parsed.present(); ++line)
        state.setValue(line, parsed.value(line));
    return state;
}

SheetWindow::Images SheetWindow::loadPictures(const LineRecord &state, const QString &recordPath,
                                              QStringList &problems) const
{
    Images images;
    for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it) {
        const QString &path = state.value(it.key());
        if (path.isEmpty())
            continue;
        // A path without a folder is taken beside the record (sample records use this).
        const QString resolved =
            QDir::isAbsolutePath(path) || recordPath.isEmpty() ? path : QFileInfo(recordPath).dir().filePath(path);
        try {
            images.insert(it.key(), loadPicture(resolved));
        } catch (const RecordError &e) {
            problems.append(e.message());
        }
    }
    return images;
}

void SheetWindow::applyState(const LineRecord &state, const Images &images)
{
    for (auto it = m_labels.cbegin(); it != m_labels.cend(); ++it)
        it.value()->setValue(state.value(it.key()));
    for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it) {
        PictureBox *box = it.value();
        const QString &path = state.value(it.key());
        if (path.isEmpty()) {
            box->clear();
            continue;
        }
        // A picture that could not be read keeps its path, so saving writes it back.
        box->setImage(images.value(it.key()));
        box->setPath(path);
    }
    applyOwnLines(state);
}

DocumentWindow::PreparedLoad SheetWindow::prepareLoad(const LineFile &file, const QString &path)
{
    const LineRecord state = loadedState(LineRecord::parse(*m_format, file), record());
    PreparedLoad load;
    const Images images = loadPictures(state, path, load.problems);
    load.show = [this, state, images] { applyState(state, images); };
    return load;
}

std::function<void()> SheetWindow::keepState()
{
    Images images;
    for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it)
        images.insert(it.key(), it.value()->image());
    return [this, state = record(), images] { applyState(state, images); };
}

void SheetWindow::fillFrom(const LineRecord &seed)
{
    QStringList problems;
    const LineRecord state = loadedState(seed, record());
    applyState(state, loadPictures(state, fileName(), problems));
    reportPictureProblems(problems);
}

void SheetWindow::placeLinkEditor(LinkEditorPanel *editor, int top)
{
    m_linkEditor = editor;
    m_linkEditorTop = top;
    connectCommand(editor, &LinkEditorPanel::okClicked, this, &SheetWindow::FileEditorOkClick);
}

void SheetWindow::SetFileLinksClick()
{
    if (!m_linkEditor)
        return;
    if (!m_linkEditor->isHidden()) {
        SetFileCancelClick();
        return;
    }
    m_linkEditor->open();
    m_linkEditor->move(std::max(0, (m_sheet->width() - m_linkEditor->width()) / 2), m_linkEditorTop);
}

void SheetWindow::FileEditorOkClick()
{
    recordEdit();
    m_linkEditor->accept();
}

void SheetWindow::SetFileCancelClick()
{
    m_linkEditor->cancel();
}

void SheetWindow::updateFromLinks(void (*update)(LineRecord &, LinkContext &),
                                  const std::function<void(const LineRecord &)> &show)
{
    if (!confirmOverwrite())
        return;
    LineRecord r = record();
    LinkContext context = linkContext();
    editThrough([&] { update(r, context); },
                [&] {
                    show(r);
                    reportLinks(context);
                });
    if (m_linkEditor)
        m_linkEditor->retakeSnapshot();
}

void SheetWindow::changeText(ValueLabel *label)
{
    m_currentLabel = label;
    m_textTarget = label;
    m_textPanel->open(label->value());
    floatNear(m_textPanel, label);
}

void SheetWindow::floatNear(QWidget *panel, QWidget *label)
{
    QPoint at = label->mapTo(m_sheet, QPoint(0, label->height() + 2));
    at.setX(std::clamp(at.x(), 0, std::max(0, m_sheet->width() - panel->width())));
    if (at.y() + panel->height() > m_sheet->height())
        at.setY(std::max(0, label->mapTo(m_sheet, QPoint(0, 0)).y() - panel->height() - 2));
    panel->move(at);
}

void SheetWindow::textAccepted(const QString &typed)
{
    recordEdit();
    if (m_textTarget)
        m_textTarget->setValue(storedEntry(typed));
    m_currentLabel = nullptr;
    hideTextPanel();
}

void SheetWindow::cancelText()
{
    m_currentLabel = nullptr;
    hideTextPanel();
    hideOwnPanels();
}

void SheetWindow::hideTextPanel()
{
    m_textTarget = nullptr;
    m_textPanel->hide();
}

