#pragma once

#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"
#include "show/ShowFormat.h"

#include <QList>

class LinkEditorPanel;
class LinkField;
class PictureBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class ValueLabel;

// The show record window: one rabbit's placings at shows as a printable sheet, its
// identity above fifteen rows of award, date, location and competitors, with the
// link to the rabbit's own file and the row that other records show.
class TShowRecord : public SheetWindow
{
    Q_OBJECT
public:
    explicit TShowRecord(QWidget *parent = nullptr);

    static constexpr const char *KindId = ShowFile::KindId;
    static constexpr QSize DefaultSize{779, 530};

    // A value by its control name ("RabbitName", "Award3").
    ValueLabel *field(const QString &name) const;
    ValueLabel *field(int row, ShowFile::RowField column) const;
    PictureBox *backImage() const { return m_backImage; }
    LinkEditorPanel *linkEditor() const { return m_editor; }
    LinkField *rabbitLink() const { return m_rabbitLink; }
    QComboBox *winningsNum() const { return m_winningsNum; }
    QPushButton *updateButton() const { return m_update; }

    // Commands of the menus and the link panel.
    void UpdateLinksClick();
    void EditorClick();
    void LoadClick();
    void LinkDoubleClick(LinkField *field);

protected:
    void writeOwnLines(LineRecord &record) const override;
    void applyOwnLines(const LineRecord &state) override;
    // The subject's rabbit file links back to this record.
    std::optional<LinkBackTarget> linkBackTarget() const override;
    LineRecord loadedState(const LineRecord &parsed, const LineRecord &before) const override;
    void aboutToShowLoad() override;
    // An emptied value keeps a width on the sheet, so it can still be clicked.
    QString storedEntry(const QString &typed) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void layOutSheet() override { relayout(); }
    void setUpPrinter(QPrinter &printer) const override;

private:
    void createMenus();
    void buildSheet();
    void buildLinkPanel();
    ValueLabel *addValue(int line, int x, int y, QMenu *menu);
    // Keeps captions, values and the table's columns apart as values grow.
    void relayout();
    // The record's values and link as a link command left them.
    void applyValues(const LineRecord &record);
    void setChosenRow(const QString &text);

    PictureBox *m_backImage = nullptr;
    QLabel *m_heading = nullptr;
    SheetRows m_identity;
    // The table: row numbers, then the four columns, each its heading and 15 values.
    QList<QList<QWidget *>> m_columns;
    bool m_inLayout = false;
    LinkEditorPanel *m_editor = nullptr;
    LinkField *m_rabbitLink = nullptr;
    QComboBox *m_winningsNum = nullptr;
    QPushButton *m_update = nullptr;
    QMenu *m_identityMenu = nullptr;
    QMenu *m_valueMenu = nullptr;
};
