#pragma once

#include "shell/ChildMenus.h"
#include "shell/Platform.h"
#include "shell/SheetWidgets.h"

#include <QFont>
#include <QList>
#include <QMdiSubWindow>
#include <QPointer>

#include <functional>

class FontPanel;
class PictureBox;
class QAction;
class QPrinter;
class QMenu;
class TextChangePanel;
class ValueLabel;

// What every record window shares: the document's file name and modified flag, its
// caption, the current label with the text-change panel, the font panel, the picture
// menu, printing, and Open / Save / Save As with their questions. A record window
// adds its sheet, its fields and its own commands.
class DocumentWindow : public QMdiSubWindow, public ChildMenus
{
    Q_OBJECT
public:
    explicit DocumentWindow(QWidget *parent = nullptr);

    const QString &fileName() const { return m_fileName; }
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    QWidget *sheet() const { return m_sheet; }
    ValueLabel *currentLabel() const { return m_currentLabel; }
    // The menus that take the main window's place while this window is active.
    const QList<QMenu *> &menus() const override { return m_menus; }

    // Reads the whole file first; on any error throws and leaves the window as it was.
    virtual void loadFile(const QString &path) = 0;
    // Writes the record to `path`; on success the window is bound to it and clean.
    void saveFile(const QString &path);

    // Commands of the File menu.
    void FileOpenClick();
    bool FileSaveClick();   // false when nothing was written (Save As cancelled)
    bool FileSaveAsClick(); // false when cancelled
    void FilePrintClick();
    void FileQuitClick() { close(); }

    // Opens the text-change panel on a label, as a left click does.
    void changeText(ValueLabel *label);

protected:
    virtual QString captionSuffix() const = 0;
    virtual FileDialogSpec fileDialogSpec() const = 0;
    // A further window of this kind, created and registered by the main window.
    virtual DocumentWindow *newWindowOfKind() = 0;
    // The lines of the file as the record stands now.
    virtual class LineFile recordLines() const = 0;
    // What a label stores for what was typed (some sheets keep empty values wide).
    virtual QString storedEntry(const QString &typed) const { return typed; }
    // Runs after the close question let the window go.
    virtual void formClose() {}
    // Hides the window's own floating panels (Cancel in the text panel hides them too).
    virtual void hideOwnPanels() {}
    // For a window's own panels whose Cancel closes the text panel as well.
    void hideTextPanel();
    // Places a floating panel just below a label (above it when there is no room),
    // inside the sheet.
    void floatNear(QWidget *panel, QWidget *label);
    // Page settings a sheet prints best with, before the print dialog opens.
    virtual void setUpPrinter(QPrinter &printer) const { Q_UNUSED(printer); }
    // The sheet's font weight, applied by the Bold command.
    virtual void applyBold(bool bold);

    // Set-up for subclasses, called from their constructors.
    void setSheet(QWidget *sheet, QSize windowSize);
    void buildMenus(const QString &saveAsCaption, const QList<QMenu *> &ownMenus, bool withPrint = true);
    void connectLabel(ValueLabel *label);
    // A field menu's entry that opens the text-change panel on the label the menu
    // was opened for.
    QAction *addChangeTextEntry(QMenu *menu, const QString &caption, const QString &name = QString());
    // An entry shown for a command that is not available yet.
    static QAction *addDisabledEntry(QMenu *menu, const QString &caption, const QString &name);
    // A right-click on a label opens `menu` with that label current.
    void setLabelMenu(ValueLabel *label, QMenu *menu);
    void addPicture(PictureBox *box, const QString &changeCaption);
    void bindTo(const QString &path);
    void setCurrentLabel(ValueLabel *label) { m_currentLabel = label; }
    QAction *boldAction() const { return m_boldAction; }
    void setBoldChecked(bool bold);

    // The font panel works on a target: the sheet's font unless a window says other.
    struct FontTarget
    {
        std::function<QFont()> get;
        std::function<void(const QFont &)> set;
    };
    void openFontPanel(const FontTarget &target);
    FontTarget sheetFontTarget();

    // Loads a picture and reports, after the rest has loaded, the ones that failed.
    // The stored path stays as the file had it, so saving writes it back unchanged.
    void loadPictureForRecord(PictureBox *box, const QString &path, QStringList &problems);
    void reportPictureProblems(const QStringList &problems);

    void closeEvent(QCloseEvent *event) override;

private:
    void textAccepted(const QString &typed);
    void cancelText();
    void openPictureMenu(PictureBox *box, const QPoint &globalPos);
    void ChangePictureClick();
    void ClearPictureClick();
    void StretchPictureClick();
    void BoldClick();
    void fontAccepted(const QString &face, const QString &sizeText);
    QAction *addCommand(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut,
                        void (DocumentWindow::*method)());

    QWidget *m_sheet = nullptr;
    TextChangePanel *m_textPanel = nullptr;
    FontPanel *m_fontPanel = nullptr;
    QMenu *m_pictureMenu = nullptr;
    QAction *m_changePicture = nullptr;
    QAction *m_stretchPicture = nullptr;
    QAction *m_boldAction = nullptr;
    QList<QMenu *> m_menus;
    QPointer<ValueLabel> m_currentLabel;
    // The label the text panel shows; Ok writes there even if another label became
    // current (a right-click, another panel) while the panel was open.
    QPointer<ValueLabel> m_textTarget;
    QPointer<PictureBox> m_pictureUnderMenu;
    FontTarget m_fontTarget;
    QString m_fileName;
    bool m_modified = false;
};
