#pragma once

#include "records/LineFormat.h"
#include "shell/DocumentWindow.h"

#include <QHash>

#include <functional>

class GeneticsChangePanel;
class PictureBox;
class QLabel;
class QMenu;
class ValueLabel;

// The rabbit editor: one rabbit record shown as a printable sheet.
class TRabbitSheet : public DocumentWindow
{
    Q_OBJECT
public:
    explicit TRabbitSheet(QWidget *parent = nullptr);

    static constexpr const char *Suffix = " - Rabbit Information";

    void loadFile(const QString &path) override;
    // The record as it would be saved now.
    LineRecord record() const;
    // Fills the fields from a record without touching the file name (a window that
    // another window starts). Does not set the modified flag.
    void fillFrom(const LineRecord &record);

    ValueLabel *field(const QString &name) const { return m_fields.value(name); }
    // Opens the Set Genetics panel on a series label, as a left click does.
    void ASeriesClick(ValueLabel *label);
    PictureBox *rabbitPicture() const { return m_rabbitPicture; }
    PictureBox *backImage() const { return m_backImage; }
    // The chart position this record was started for, "0" when none.
    QString positionCode() const;
    void setPositionCode(const QString &code);
    // Called with the saved file and the position code when this record, started for
    // a chart position, closes with a file name. Nothing is called once `receiver` is
    // gone.
    using HandOff = std::function<void(const QString &path, int positionCode)>;
    void setHandOff(QObject *receiver, HandOff handOff);

    static LineFile rabbitLines(const LineRecord &record) { return record.toLines(); }

protected:
    QString captionSuffix() const override { return QString::fromLatin1(Suffix); }
    FileDialogSpec fileDialogSpec() const override;
    DocumentWindow *newWindowOfKind() override;
    LineFile recordLines() const override;
    void hideOwnPanels() override;
    void formClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSheet();
    // Keeps captions and values from running into each other when the font grows.
    void relayout();
    // A value whose left click opens the text panel.
    ValueLabel *addField(int line, int x, int y, int tag = 0);
    ValueLabel *makeField(int line, int x, int y, int tag);
    void GeneOKClick(const QString &choice);
    void CancelClick();
    void applyRecord(const LineRecord &record, QStringList &pictureProblems);

    QHash<QString, ValueLabel *> m_fields;
    SheetRows m_rows;
    // Sibling table columns: name, colour and sex labels of each row.
    QList<QList<QWidget *>> m_columns;
    bool m_inLayout = false;
    QStringList m_links; // lines 57-71, in file order
    PictureBox *m_rabbitPicture = nullptr;
    PictureBox *m_backImage = nullptr;
    QLabel *m_fieldEdit = nullptr;
    QMenu *m_ownValueMenu = nullptr;
    QMenu *m_relativeMenu = nullptr;
    QMenu *m_geneticMenu = nullptr;
    GeneticsChangePanel *m_genePanel = nullptr;
    // The series label the genetics panel was opened on.
    QPointer<ValueLabel> m_geneTarget;
    QPointer<QObject> m_handOffReceiver;
    HandOff m_handOff;
};
