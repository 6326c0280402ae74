#pragma once

#include "records/LineFormat.h"
#include "shell/CommandGuard.h"
#include "shell/DocumentWindow.h"
#include "shell/LinkEditor.h"
#include "shell/LinkBackBar.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointer>

#include <functional>
#include <optional>

class FontPanel;
class LinkContext;
class PictureBox;
class QAction;
class QPrinter;
class TextChangePanel;
class ValueLabel;

// The parts of a record window a kind may go without.
struct SheetFeatures
{
    bool fontCommands = true; // Change Global Font (face, size, Bold) on the picture menu
    bool print = true;        // File > Print and Export as PDF
};

// A record shown as a printable sheet: a fixed-size white form of clickable values,
// each bound to a line of the record file, with pictures, the text-change and font
// panels, and printing. The binding is declared once, by bindLabel and bindPicture,
// and serves reading the record from the window, loading a file and filling a
// started record alike. A kind adds the lines it shows otherwise (fonts, links, ...)
// through writeOwnLines and applyOwnLines, and its own commands.
class SheetWindow : public DocumentWindow
{
    Q_OBJECT
public:
    SheetWindow(const char *kindId, const LineFormat &format, SheetFeatures features, QWidget *parent = nullptr);

    const LineFormat &format() const { return *m_format; }
    QWidget *sheet() const { return m_sheet; }
    ValueLabel *currentLabel() const { return m_currentLabel; }

    // The record as it would be saved now.
    LineRecord record() const;
    void fillFrom(const LineRecord &record) override;

    // Opens the text-change panel on a label, as a left click does.
    void changeText(ValueLabel *label);
    // Sets one line of the record as an edit: its label, or what the kind keeps it in
    // (setOwnLine). A line the window does not show is left alone.
    void setLine(int line, const QString &text);
    // The bar a save offers when the record's subject does not link back to it.
    LinkBackBar *linkBackBar() const { return m_linkBackBar; }

    // Commands of the related-file editor (Ctrl+L opens it, or cancels it when open).
    void SetFileLinksClick();
    void FileEditorOkClick();
    void SetFileCancelClick();
    void FilePrintClick();
    // The page as it will print; its Print button goes on to the printer.
    void FilePrintPreviewClick();
    // Asks for a PDF file and writes the printed page to it.
    void FileExportPdfClick();
    // The page Print would print, written to `path` as PDF with its text as text.
    // Throws FileError or RecordError; a failed export leaves any earlier file.
    void exportPdf(const QString &path);

protected:
    // What the window shows after loading `parsed` over what it shows now (`before`):
    // lines an older file lacks keep their values. Kinds add their own rules.
    virtual LineRecord loadedState(const LineRecord &parsed, const LineRecord &before) const;
    // The lines the window keeps otherwise than in bound labels and pictures.
    virtual void writeOwnLines(LineRecord &record) const { Q_UNUSED(record); }
    virtual void applyOwnLines(const LineRecord &state) { Q_UNUSED(state); }
    // One of those lines set on its own; false for a line the kind does not keep.
    virtual bool setOwnLine(int line, const QString &text)
    {
        Q_UNUSED(line);
        Q_UNUSED(text);
        return false;
    }
    // The rabbit this record is about, when its file should link back to records of
    // this kind; nothing for a kind without one.
    virtual std::optional<LinkBackTarget> linkBackTarget() const { return std::nullopt; }
    // What a label stores for what was typed (some sheets keep empty values wide).
    virtual QString storedEntry(const QString &typed) const { return typed; }
    // Hides the window's own floating panels (Cancel in the text panel hides them too).
    virtual void hideOwnPanels() {}
    // Page settings a sheet prints best with, before the print dialog opens.
    virtual void setUpPrinter(QPrinter &printer) const { Q_UNUSED(printer); }
    // The sheet's font weight, applied by the Bold command.
    virtual void applyBold(bool bold);
    // Lays the sheet out again once every value changed its size at once: printing
    // begins (values fit their places on paper) or ends.
    virtual void layOutSheet() {}
    // While the page is drawn for paper.
    bool isPrinting() const { return m_printing; }

    // Set-up for subclasses, called from their constructors.
    // The sheet: a fixed-size white form in the sheet's own font, in a window of
    // `windowSize`.
    QWidget *setSheet(QSize sheetSize, const QFont &font, QSize windowSize);
    void buildMenus(const QString &saveAsCaption, const QList<QMenu *> &ownMenus);
    // The label shows the line's value; a left click opens the text panel on it.
    void bindLabel(int line, ValueLabel *label, bool clickToEdit = true);
    ValueLabel *boundLabel(int line) const { return m_labels.value(line); }
    const QHash<int, ValueLabel *> &boundLabels() const { return m_labels; }
    // The picture's path is the line's value. A path without a folder is found beside
    // the record.
    void bindPicture(int line, PictureBox *box, const QString &changeCaption);
    // A picture with the picture menu that is no part of the record: not saved, and
    // left as it is by loads.
    void addPicture(PictureBox *box, const QString &changeCaption);
    void connectLabel(ValueLabel *label);
    // A field menu's entry that opens the text-change panel on the label the menu
    // was opened for.
    QAction *addChangeTextEntry(QMenu *menu, const QString &caption, const QString &name = QString());
    // An entry shown for a command that is not available yet.
    static QAction *addDisabledEntry(QMenu *menu, const QString &caption, const QString &name);
    // A right-click on a label opens `menu` with that label current.
    void setLabelMenu(ValueLabel *label, QMenu *menu);
    void setCurrentLabel(ValueLabel *label) { m_currentLabel = label; }
    // For a window's own panels whose Cancel closes the text panel as well.
    void hideTextPanel();
    // Places a floating panel just below a label (above it when there is no room),
    // inside the sheet.
    void floatNear(QWidget *panel, QWidget *label);
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

    // The window's related-file editor, shown centred `top` pixels down the sheet. A
    // change to one of its links is an edit; a double-click on one runs `open` on it.
    template <typename Window>
    void setLinkEditor(LinkEditorPanel *editor, int top, void (Window::*open)(LinkField *))
    {
        auto *window = static_cast<Window *>(this);
        for (LinkField *link : editor->links()) {
            connect(link, &LinkField::changed, this, [this] { recordEdit(QStringLiteral("Link")); });
            connect(link, &LinkField::doubleClicked, this,
                    [window, open](LinkField *f) { runCommand(window, [&] { (window->*open)(f); }); });
        }
        placeLinkEditor(editor, top);
    }
    // Update from Links: after the overwrite question, `update` refreshes a copy of the
    // record from its links and `show` puts the copy on the window, also when `update`
    // stopped on an error; links found beside the record are reported.
    void updateFromLinks(void (*update)(LineRecord &, LinkContext &),
                         const std::function<void(const LineRecord &)> &show);

    PreparedLoad prepareLoad(const LineFile &file, const QString &path) override;
    std::function<void()> keepState() override;
    LineFile recordLines() const override;
    LineFile linesToSave(const QString &path) const override;
    void saved() override;
    QString lineName(int line) const override;
    void addFileCommands(QMenu *file) override;

private:
    void placeLinkEditor(LinkEditorPanel *editor, int top);
    using Images = QHash<int, QImage>;
    // Reads the pictures a state names, resolved beside `recordPath`.
    Images loadPictures(const LineRecord &state, const QString &recordPath, QStringList &problems) const;
    void applyState(const LineRecord &state, const Images &images);
    // The bar above `content`, off the sheet, so it is never printed (SheetLinkBack.cpp).
    QWidget *withLinkBackBar(QWidget *content);
    void offerLinkBack();
    void textAccepted(const QString &typed);
    void cancelText();
    // The picture menu and its font commands (SheetWindowPictureMenu.cpp).
    void buildPictureMenu();
    void openPictureMenu(PictureBox *box, const QPoint &globalPos);
    void ChangePictureClick();
    void ClearPictureClick();
    void StretchPictureClick();
    void BoldClick();
    void fontAccepted(const QString &face, const QString &sizeText);
    // Draws the sheet as paper shows it onto the printer; the screen's sheet comes back.
    void printOn(QPrinter &printer);
    void setPrinting(bool on);

    const LineFormat *m_format;
    SheetFeatures m_features;
    QWidget *m_sheet = nullptr;
    QHash<int, ValueLabel *> m_labels;
    QHash<int, PictureBox *> m_pictures;
    TextChangePanel *m_textPanel = nullptr;
    FontPanel *m_fontPanel = nullptr;
    QMenu *m_pictureMenu = nullptr;
    QAction *m_changePicture = nullptr;
    QAction *m_stretchPicture = nullptr;
    QAction *m_boldAction = nullptr;
    QPointer<ValueLabel> m_currentLabel;
    // The label the text panel shows; Ok writes there even if another label became
    // current (a right-click, another panel) while the panel was open.
    QPointer<ValueLabel> m_textTarget;
    QPointer<PictureBox> m_pictureUnderMenu;
    FontTarget m_fontTarget;
    LinkEditorPanel *m_linkEditor = nullptr;
    int m_linkEditorTop = 0;
    LinkBackBar *m_linkBackBar = nullptr;
    bool m_printing = false;
    // Pictures found beside the record, by their full paths, for a save into another
    // folder; the boxes take these paths once the save succeeded.
    mutable QHash<int, QString> m_movedPictures;
};
