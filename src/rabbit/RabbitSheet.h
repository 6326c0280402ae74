#pragma once

#include "rabbit/RabbitFormat.h"
#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"

#include <QHash>

class GeneticsChangePanel;
class LinkField;
class PictureBox;
class QLabel;
class QMenu;
class RabbitLinkEditor;
class ValueLabel;

// The rabbit editor: one rabbit record shown as a printable sheet.
class TRabbitSheet : public SheetWindow
{
    Q_OBJECT
public:
    explicit TRabbitSheet(QWidget *parent = nullptr);

    static constexpr const char *KindId = RabbitFile::KindId;

    ValueLabel *field(const QString &name) const { return m_fields.value(name); }
    // Opens the Set Genetics panel on a series label, as a left click does.
    void ASeriesClick(ValueLabel *label);
    PictureBox *rabbitPicture() const { return m_rabbitPicture; }
    PictureBox *backImage() const { return m_backImage; }
    RabbitLinkEditor *linkEditor() const { return m_editor; }

    // Commands of the related-file editor and the relatives' labels
    // (RabbitSheetLinks.cpp).
    void UpdateLinksClick();
    void OpenRabbitClick();
    void LoadRabbitClick();
    void LinkDoubleClick(LinkField *field);

protected:
    LineRecord loadedState(const LineRecord &parsed, const LineRecord &before) const override;
    void writeOwnLines(LineRecord &record) const override;
    void applyOwnLines(const LineRecord &state) override;
    bool setOwnLine(int line, const QString &text) override;
    void hideOwnPanels() override;
    void aboutToShowLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void layOutSheet() override { relayout(); }

private:
    void buildSheet();
    // Keeps captions and values from running into each other when the font grows.
    void relayout();
    // The sibling table's columns, each after the widest entry of the one before.
    void layoutColumns();
    // A value whose left click opens the text panel.
    ValueLabel *addField(int line, int x, int y, int tag = 0);
    ValueLabel *makeField(int line, int x, int y, int tag);
    void GeneOKClick(const QString &choice);
    void CancelClick();
    void createLinkEditor();
    // The record's values and links as a link command left them.
    void applyValues(const LineRecord &record);
    // Opens `path` in a new window of the kind, or says that the kind is not there.
    void openLinked(const QString &kindId, const QString &path);

    QHash<QString, ValueLabel *> m_fields;
    SheetRows m_rows;
    // Sibling table columns: name, colour and sex labels of each row.
    QList<QList<QWidget *>> m_columns;
    bool m_inLayout = false;
    RabbitLinkEditor *m_editor = nullptr; // lines 57-71
    PictureBox *m_rabbitPicture = nullptr;
    PictureBox *m_backImage = nullptr;
    QMenu *m_ownValueMenu = nullptr;
    QMenu *m_relativeMenu = nullptr;
    QMenu *m_geneticMenu = nullptr;
    GeneticsChangePanel *m_genePanel = nullptr;
    // The series label the genetics panel was opened on.
    QPointer<ValueLabel> m_geneTarget;
};
