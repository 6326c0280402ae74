#pragma once

#include <QFrame>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPointer>

#include "shell/PrintFit.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// A value on a record sheet: plain text the breeder clicks to change. It keeps a
// clickable area when its text is empty, so an emptied value can be edited again.
// A value wider than the sheet is shown cut short with an ellipsis; value() keeps it
// whole for the record, and a value cut on screen shows whole in its tooltip.
//
// On paper a value has a place: the width its sheet gives it, or else from where it
// stands to the sheet's right edge. While printing, a value wider than its place is
// drawn smaller and then wrapped (fitText), never cut.
class ValueLabel : public QLabel
{
    Q_OBJECT
public:
    ValueLabel(const QString &name, const QString &text, QWidget *parent, int tag = 0);

    int tag() const { return m_tag; }
    void setValue(const QString &text);
    const QString &value() const { return m_value; }
    // Wrapping labels keep their width and grow downwards.
    void setWrapWidth(int width);

    // The width of the value's place on paper; 0 for up to the sheet's right edge.
    // A wrapping label's place is its wrap width.
    void setPlaceWidth(int width) { m_placeWidth = width; }
    int placeWidth() const;
    // The whole value's width in the label's font, however wide the sheet.
    int naturalWidth() const;
    // Drawn for paper: whole, fitted into its place. Sizes change; the sheet lays its
    // values out again.
    void setPrinting(bool on);
    bool isPrinting() const { return m_printing; }
    // How the value prints now.
    FittedText printed() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void clicked(ValueLabel *label);
    void doubleClicked(ValueLabel *label);
    void rightClicked(ValueLabel *label, const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Shows as much of the value as the sheet has room for.
    void showValue();
    // The tooltip holds the value whole while the sheet shows it cut.
    void updateCutHint();
    // The value as far as it is ever shown or printed.
    QString shownValue() const;

    int m_tag;
    int m_wrapWidth = 0;
    int m_placeWidth = 0;
    bool m_printing = false;
    QString m_value;
};

// A tooltip that shows `text` as written (a value holding "<b>" is no markup), its
// line breaks kept and long lines wrapped to a readable width.
QString plainToolTip(const QString &text);

// A fixed caption on a sheet, in its own font when given one.
QLabel *addCaption(QWidget *sheet, const QString &text, int x, int y, const QFont *font = nullptr);
// A caption that lets the mouse through to the background, whose menu it then opens.
QLabel *sheetCaption(QWidget *sheet, const QString &text, int x, int y, const QFont &font);

// The record sheets' typeface, at `points` in the given styles.
struct FaceStyle
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
};
QFont sheetFace(int points, FaceStyle style = {});

// A picture on a sheet: drawn stretched to its frame or at its own size from the
// top left corner; blank pictures draw nothing (transparent) and may show a hint.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    PictureBox(const QString &name, QWidget *parent);

    const QImage &image() const { return m_image; }
    bool isBlank() const { return m_image.isNull(); }
    void setImage(const QImage &image);
    void clear();
    bool stretch() const { return m_stretch; }
    void setStretch(bool on);
    // The stored path, kept verbatim even when the picture could not be read.
    const QString &path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }
    // What an empty box tells the breeder on screen; it is never printed.
    void setHint(const QStringList &lines)
    {
        m_hint = lines;
        update();
    }
    void setPrinting(bool on)
    {
        m_printing = on;
        update();
    }

signals:
    void rightClicked(PictureBox *box, const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_image;
    QString m_path;
    QStringList m_hint;
    bool m_stretch = true;
    bool m_printing = false;
};

// "Change Text Entry": a floating, non-modal panel over the sheet.
class TextChangePanel : public QFrame
{
    Q_OBJECT
public:
    explicit TextChangePanel(QWidget *parent);
    QLineEdit *edit() const { return m_edit; }
    void open(const QString &text);

signals:
    // Only with a text a record file can store; other text is refused with an
    // error that names the characters, and the panel stays open.
    void accepted(const QString &text);
    void cancelled();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void accept();

    QLineEdit *m_edit;
};

// "Change Font": face list of the installed faces and an editable size box.
class FontPanel : public QFrame
{
    Q_OBJECT
public:
    explicit FontPanel(QWidget *parent);
    void open(const QString &face, int pointSize);
    QComboBox *faceList() const { return m_faces; }
    QComboBox *sizeBox() const { return m_size; }

signals:
    // Face is empty when none is selected (the current face is not installed).
    void accepted(const QString &face, const QString &sizeText);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QComboBox *m_faces;
    QComboBox *m_size;
};

// Rows of widgets on a sheet, laid left to right: each at its own x, or just after
// the one before it when that one has grown into its place. Keeps captions and
// values apart when a font or a value grows.
//
// A value's place on paper reaches to the next widget of its row that has an x of
// its own, or for the last, to the row's right end (0: the sheet's right edge).
class SheetRows
{
public:
    using Row = QList<std::pair<QWidget *, int>>;

    void add(Row row, int right = 0);
    int count() const { return int(m_rows.size()); }
    // The row a widget stands in, or -1.
    int rowOf(const QWidget *widget) const { return m_rowOf.value(widget, -1); }
    // Sizes every widget of the row to its text and places it.
    void layout(int row) const;
    void layoutAll() const;

private:
    QList<Row> m_rows;
    QList<int> m_rights;
    QHash<const QWidget *, int> m_rowOf;
};

// On paper: gives the values of a table's columns (each column its heading and
// values, top to bottom) places that together take at most `available`, the widest
// columns giving way first (fitColumns). The sheet then lays the table out as usual.
void fitTableColumns(const QList<QList<QWidget *>> &columns, int available);

// Styles shared by the floating panels.
void styleFloatingPanel(QFrame *panel, const QString &title);
