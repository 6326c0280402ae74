#include "shell/SheetWindow.h"

#include "records/LineFile.h"
#include "records/Picture.h"
#include "records/RecordError.h"
#include "shell/SheetWidgets.h"

#include <QMenu>

// The picture menu, shared by every picture on the sheet, and the font commands on
// it: Change Global Font for the sheet, and the font panel a kind opens on a part of
// its own (the pedigree's title).

void SheetWindow::buildPictureMenu()
{
    m_pictureMenu = new QMenu(this);
    m_pictureMenu->setObjectName(QStringLiteral("PicturePopUp"));
    m_changePicture = addCommand(m_pictureMenu, "ChangePicture", "&Change Picture", &SheetWindow::ChangePictureClick);
    addCommand(m_pictureMenu, "ClearPicture", "C&lear Picture", &SheetWindow::ClearPictureClick);
    m_stretchPicture =
        addCommand(m_pictureMenu, "StretchPicture", "&Stretch Picture to Fit", &SheetWindow::StretchPictureClick);
    m_stretchPicture->setCheckable(true);
    if (!m_features.fontCommands)
        return;
    m_pictureMenu->addSeparator();
    QMenu *global = m_pictureMenu->addMenu(QStringLiteral("Change Global Font"));
    global->setObjectName(QStringLiteral("ChangeGlobalFont"));
    QAction *face = global->addAction(QStringLiteral("Change Font Type"));
    face->setObjectName(QStringLiteral("ChangeFontFace"));
    connect(face, &QAction::triggered, this, [this] { openFontPanel(sheetFontTarget()); });
    m_boldAction = addCommand(global, "Bold", "Bold", &SheetWindow::BoldClick);
    m_boldAction->setCheckable(true);
}

void SheetWindow::openPictureMenu(PictureBox *box, const QPoint &globalPos)
{
    m_pictureUnderMenu = box;
    m_changePicture->setText(box->property("changeCaption").toString());
    m_stretchPicture->setChecked(box->stretch());
    m_pictureMenu->popup(globalPos);
}

void SheetWindow::ChangePictureClick()
{
    if (!m_pictureUnderMenu)
        return;
    const std::optional<QString> path = Platform::instance().pictureFileName(this);
    if (!path)
        return;
    recordEdit();
    const QImage image = loadPicture(*path);
    m_pictureUnderMenu->setImage(image);
    m_pictureUnderMenu->setPath(*path);
}

void SheetWindow::ClearPictureClick()
{
    if (!m_pictureUnderMenu)
        return;
    recordEdit();
    m_pictureUnderMenu->clear();
}

void SheetWindow::StretchPictureClick()
{
    if (!m_pictureUnderMenu)
        return;
    recordEdit();
    m_pictureUnderMenu->setStretch(!m_pictureUnderMenu->stretch());
    m_stretchPicture->setChecked(m_pictureUnderMenu->stretch());
}

void SheetWindow::BoldClick()
{
    recordEdit();
    applyBold(m_boldAction->isChecked());
}

void SheetWindow::setBoldChecked(bool bold)
{
    if (m_boldAction)
        m_boldAction->setChecked(bold);
    applyBold(bold);
}

void SheetWindow::applyBold(bool bold)
{
    QFont font = m_sheet->font();
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    m_sheet->setFont(font);
}

SheetWindow::FontTarget SheetWindow::sheetFontTarget()
{
    return {[this] { return m_sheet->font(); }, [this](const QFont &font) { m_sheet->setFont(font); }};
}

void SheetWindow::openFontPanel(const FontTarget &target)
{
    if (!m_fontPanel)
        return;
    m_fontTarget = target;
    const QFont font = target.get();
    m_fontPanel->open(font.family(), font.pointSize());
    m_fontPanel->move((m_sheet->width() - m_fontPanel->width()) / 2, 40);
}

void SheetWindow::fontAccepted(const QString &face, const QString &sizeText)
{
    recordEdit();
    QFont font = m_fontTarget.get();
    if (!face.isEmpty())
        font.setFamily(face);
    m_fontTarget.set(font);
    // A size that is not a number is reported; the face stays applied and the panel open.
    const int size = toInteger(sizeText);
    if (size <= 0)
        throw ConversionError(QStringLiteral("'%1' is not a valid font size").arg(excerpt(sizeText)));
    font.setPointSize(size);
    m_fontTarget.set(font);
    m_fontPanel->hide();
}
