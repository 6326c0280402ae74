#pragma once

#include "pedigree/PedigreeFormat.h"
#include "records/LineFormat.h"
#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"

#include <QHash>

class ChartTint;
class LinkField;
class PedigreeLinkEditor;
class PictureBox;
class QAction;
class QLabel;
class QMenu;
class ValueLabel;

// The pedigree window: one four-generation certificate, every value edited in
// place, with the fifteen links to the rabbit files the chart was filled from.
class TMainScreen : public SheetWindow
{
    Q_OBJECT
public:
    explicit TMainScreen(QWidget *parent = nullptr);

    static constexpr const char *KindId = PedigreeFile::KindId;
    static constexpr QSize DefaultSize{960, 720};

    // A chart, header or title label by its control name ("DadName", "BreederLabel").
    ValueLabel *field(const QString &name) const;
    ValueLabel *titleLabel() const { return m_title; }
    PictureBox *backImage() const { return m_backImage; }
    PictureBox *miniPicture() const { return m_miniPicture; }
    PedigreeLinkEditor *linkEditor() const { return m_editor; }
    const QList<QWidget *> &connectorBars() const { return m_bars; }

    // The hand-off: a rabbit record started from `positionCode` of this chart was
    // saved as `rabbitPath` and its window closed. Links the position to the file
    // and copies the rabbit into it. Errors are reported here.
    void ReturnRabbitToPedigree(const QString &rabbitPath, int positionCode);
    // The same for a rabbitry record started from the header fields.
    void ReturnRabbitryToPedigree(const QString &rabbitryPath, int positionCode);

    // Commands of the menus and the related-file editor.
    void ViewPictureClick();
    void ViewGridlinesClick();
    void OpenRabbitClick();
    void LoadRabbitClick();
    void OpenRabbitryClick();
    void LoadRabbitryClick();
    void UpdateLinksClick();
    void AutoFillClick();
    void LinkDoubleClick(LinkField *field);
    void CheckInbreedingClick();

    // The positions the last inbreeding check tinted, while the tint shows.
    QList<int> tintedPositions() const;

    // A new pedigree is linked to the breeder's own rabbitry (File > Preferences) and
    // takes its breeder lines from it, as Load Saved Rabbitry would.
    void startEmpty() override;

protected:
    LineRecord loadedState(const LineRecord &parsed, const LineRecord &before) const override;
    void writeOwnLines(LineRecord &record) const override;
    void applyOwnLines(const LineRecord &state) override;
    // The bunny's rabbit file links back to this pedigree.
    std::optional<LinkBackTarget> linkBackTarget() const override;
    void aboutToShowLoad() override;
    // An emptied value keeps a width on the chart, so it can still be clicked.
    QString storedEntry(const QString &typed) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void layOutSheet() override { relayout(); }
    void setUpPrinter(QPrinter &printer) const override;

private:
    // Opens a linked rabbit file in a new rabbit window (none is left when it fails).
    void openLinkedRabbit(const QString &path);
    // A new rabbitry window for an unlinked rabbitry: its Save As names the link.
    void createLinkedRabbitry(LinkField *field);
    void createSheet();
    void createMenus();
    QMenu *createPedigreeMenu();
    // The title is always bold; its weight is not stored.
    static QFont titleFont(const QString &face, int points);
    void buildSheet();
    void buildHeader();
    void buildBunnyBox();
    void buildAncestorBox(int positionCode, QPoint at);
    void buildConnectors();
    void buildFooter();
    ValueLabel *addValue(int line, QPoint at, const QFont &font, int tag);
    QLabel *addSheetCaption(const QString &text, QPoint at, const QFont &font);
    void relayout();
    void relayoutRow(int row);
    void relayoutFooter();
    bool titleDragEvent(QEvent *event);

    // Chart and header texts and the links, as the link commands change them.
    void applyValues(const LineRecord &record);
    void setMiniFrameShown(bool shown);
    void setGridlinesShown(bool shown);
    // The position the current label belongs to; 0 for the header and the title.
    int currentPosition() const;

    ValueLabel *m_title = nullptr;
    PictureBox *m_backImage = nullptr;
    PictureBox *m_miniPicture = nullptr;
    QList<QWidget *> m_bars;
    // The bars that leave a name for its parents' bracket, with the name's position.
    QList<std::pair<QWidget *, int>> m_leaders;
    SheetRows m_rows;
    QLabel *m_footerPrinted = nullptr;
    QLabel *m_footerContact = nullptr;
    bool m_inLayout = false;
    PedigreeLinkEditor *m_editor = nullptr;
    QAction *m_viewPicture = nullptr;
    QAction *m_viewGridlines = nullptr;
    QMenu *m_chartMenu = nullptr;
    QMenu *m_headerMenu = nullptr;
    QMenu *m_titleMenu = nullptr;
    // Title drag: pressed on the title, and moved far enough to be a drag.
    bool m_titlePressed = false;
    bool m_titleDragging = false;
    QPoint m_pressAt;
    ChartTint *m_tint = nullptr;
};
