#pragma once

#include "breeding/BreedingFormat.h"
#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"

#include <QList>

class BreedingLinkEditor;
class LinkField;
class PictureBox;
class QLabel;
class QMenu;
class ValueLabel;

// The breeding record window: one rabbit's matings and litters as a printable sheet,
// the subject's five values above fifteen rows of twelve columns, with the sixteen
// links to the rabbit files of the subject and its mates.
class TBreedingRecord : public SheetWindow
{
    Q_OBJECT
public:
    explicit TBreedingRecord(QWidget *parent = nullptr);

    static constexpr const char *KindId = BreedingFile::KindId;
    static constexpr QSize DefaultSize{923, 510};

    // A value by its control name ("RabbitName", "Parent3", "Colors15").
    ValueLabel *field(const QString &name) const;
    ValueLabel *field(int row, BreedingFile::RowField column) const;
    PictureBox *backImage() const { return m_backImage; }
    BreedingLinkEditor *linkEditor() const { return m_editor; }

    // Commands of the menus and the related-file editor. The pop-up menus' commands
    // act on the value they were opened on.
    void UpdateLinksClick();
    void OpenRabbitClick();
    void LoadRabbitClick();
    void GenerateOffspringClick();
    // The Row menu's commands act on the mating row last clicked.
    void RowGenerateOffspringClick();
    void RowLoadSavedRabbitClick();
    void RowOpenMateClick();
    // The mating row last clicked (1..15), or 0 before any.
    int chosenRow() const { return m_chosenRow; }
    // Brings a mating row (1..15) before the breeder: it becomes the Row menu's row,
    // and its first value is scrolled into view with the keyboard focus. Nothing for
    // another number.
    void focusRow(int row);
    void LinkDoubleClick(LinkField *field);
    // Asks for a CSV file and writes the filled mating rows to it.
    void FileExportCsvClick();

protected:
    void writeOwnLines(LineRecord &record) const override;
    void applyOwnLines(const LineRecord &state) override;
    // The subject's rabbit file links back to this record.
    std::optional<LinkBackTarget> linkBackTarget() const override;
    void aboutToShowLoad() override;
    // An emptied value keeps a width on the sheet, so it can still be clicked.
    QString storedEntry(const QString &typed) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void layOutSheet() override { relayout(); }
    void setUpPrinter(QPrinter &printer) const override;
    void addFileCommands(QMenu *file) override;

private:
    void createMenus();
    void buildSheet();
    ValueLabel *addValue(int line, int x, int y, int position, QMenu *menu);
    // Keeps the subject line and the table's columns apart as values grow.
    void relayout();
    // The record's values and links as a link command left them.
    void applyValues(const LineRecord &record);
    // The position of the current label: 0 the subject, 1..15 a row; -1 for none.
    int currentPosition() const;
    void openLinkedRabbit(const QString &path);
    // The commands on a position (0 the subject, 1..15 a row).
    void openRabbit(int position);
    void loadSavedRabbit(int position);
    void generateOffspring(int row);
    // A click on a value of a mating row makes it the Row menu's row.
    void chooseRow(int row);

    PictureBox *m_backImage = nullptr;
    QLabel *m_heading = nullptr;
    QWidget *m_rule = nullptr;
    SheetRows m_subjectRow;
    QWidget *m_subjectEnd = nullptr; // the registration number, last on its line
    // The table: row numbers, then the twelve columns, each its heading and 15 values.
    QList<QList<QWidget *>> m_columns;
    bool m_inLayout = false;
    BreedingLinkEditor *m_editor = nullptr;
    QMenu *m_subjectMenu = nullptr;
    QMenu *m_mateMenu = nullptr;
    QMenu *m_litterMenu = nullptr;
    QMenu *m_rowMenu = nullptr;
    int m_chosenRow = 0;
};
