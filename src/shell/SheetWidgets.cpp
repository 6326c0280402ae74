#include "shell/SheetWidgets.h"

#include "records/LineFile.h"
#include "records/RecordError.h"
#include "shell/Platform.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

ValueLabel::ValueLabel(const QString &name, const QString &text, QWidget *parent, int tag) : QLabel(parent), m_tag(tag)
{
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setValue(text);
}

void ValueLabel::setValue(const QString &text)
{
    m_value = text;
    showValue();
}

namespace {
// No sheet shows this many characters on its lines; measuring more only costs time
// (a pasted megabyte would freeze the window).
constexpr qsizetype MaxShown = 1000;
// A place on paper is never narrower than this, however far right a value was pushed.
constexpr int LeastPlace = 24;
// Values keep this far from the sheet's right edge on paper.
constexpr int EdgeGap = 4;
} // namespace

QString ValueLabel::shownValue() const
{
    return m_value.size() > MaxShown ? excerpt(m_value, MaxShown) : m_value;
}

void ValueLabel::showValue()
{
    QString shown = shownValue();
    // Measuring costs more than the rest of showing a value; the sheets' values are
    // mostly a few words, which no sheet is too narrow for.
    constexpr qsizetype AlwaysFits = 40;
    const int room = parentWidget() ? parentWidget()->width() - 2 : 0;
    if (!m_printing && m_wrapWidth <= 0 && room > 0 && shown.size() > AlwaysFits) {
        const QFontMetrics metrics(font());
        if (m_value.size() > MaxShown || metrics.horizontalAdvance(shown) > room)
            shown = metrics.elidedText(shown, Qt::ElideRight, room);
    }
    setText(shown);
    resize(sizeHint());
    updateCutHint();
}

void ValueLabel::updateCutHint()
{
    if (m_printing)
        return;
    const QWidget *sheet = parentWidget();
    const bool beyondEdge = sheet && (geometry().right() >= sheet->width() || geometry().bottom() >= sheet->height());
    const bool cut = beyondEdge || text() != m_value;
    const QString hint = cut ? plainToolTip(shownValue()) : QString();
    if (toolTip() != hint)
        setToolTip(hint);
}

void ValueLabel::moveEvent(QMoveEvent *event)
{
    QLabel::moveEvent(event);
    updateCutHint();
}

void ValueLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    updateCutHint();
}

void ValueLabel::setWrapWidth(int width)
{
    m_wrapWidth = width;
    setWordWrap(width > 0);
    showValue();
}

int ValueLabel::placeWidth() const
{
    int place = m_wrapWidth > 0 ? m_wrapWidth : m_placeWidth;
    if (place <= 0 && parentWidget())
        place = parentWidget()->width() - EdgeGap - x();
    return std::max(place, LeastPlace);
}

int ValueLabel::naturalWidth() const
{
    const QFontMetrics metrics(font());
    return std::max(metrics.horizontalAdvance(shownValue()), metrics.horizontalAdvance(u'_') * 6) + 2;
}

FittedText ValueLabel::printed() const
{
    if (!m_printing)
        return {font(), {text()}};
    // The place holds the text and the two pixels a label keeps beside it.
    return fitText(shownValue(), font(), placeWidth() - 2, this);
}

void ValueLabel::setPrinting(bool on)
{
    if (m_printing == on)
        return;
    m_printing = on;
    showValue();
    update();
}

void ValueLabel::paintEvent(QPaintEvent *event)
{
    if (!m_printing) {
        QLabel::paintEvent(event);
        // A value given the focus (a row another window brought before the breeder)
        // shows where it is; paper never shows it.
        if (hasFocus()) {
            QPainter painter(this);
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
        return;
    }
    // Whole, in the size that fits; a smaller size keeps the line's baseline.
    const FittedText fitted = printed();
    const QFontMetricsF metrics(fitted.font, this);
    QPainter painter(this);
    painter.setFont(fitted.font);
    painter.setPen(palette().color(foregroundRole()));
    qreal baseline = QFontMetricsF(font(), this).ascent();
    for (const QString &line : fitted.lines) {
        qreal x = 0;
        const qreal advance = metrics.horizontalAdvance(line);
        if (alignment() & Qt::AlignHCenter)
            x = (width() - advance) / 2;
        else if (alignment() & Qt::AlignRight)
            x = width() - advance;
        painter.drawText(QPointF(x, baseline), line);
        baseline += metrics.lineSpacing();
    }
}

QSize ValueLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    if (m_printing) {
        const FittedText fitted = printed();
        const QFontMetricsF small(fitted.font, this);
        qreal widest = metrics.horizontalAdvance(u'_') * 6;
        for (const QString &line : fitted.lines)
            widest = std::max(widest, small.horizontalAdvance(line));
        const qreal height = metrics.ascent() + (fitted.lines.size() - 1) * small.lineSpacing() + small.descent();
        const int width = m_wrapWidth > 0 ? m_wrapWidth : int(std::ceil(widest)) + 2;
        return QSize(width, std::max(metrics.height(), int(std::ceil(height))));
    }
    if (m_wrapWidth > 0) {
        const QRect bounds = metrics.boundingRect(QRect(0, 0, m_wrapWidth, 10000), Qt::TextWordWrap, text());
        return QSize(m_wrapWidth, std::max(bounds.height(), metrics.height()));
    }
    // An empty value still needs something to click.
    const int width = std::max(metrics.horizontalAdvance(text()), metrics.horizontalAdvance(u'_') * 6);
    return QSize(width + 2, metrics.height());
}

void ValueLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        showValue();
}

void ValueLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(this);
    else if (event->button() == Qt::RightButton)
        emit rightClicked(this, event->globalPosition().toPoint());
    event->accept();
}

void ValueLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(this);
    event->accept();
}

QString plainToolTip(const QString &text)
{
    return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

QLabel *addCaption(QWidget *sheet, const QString &text, int x, int y, const QFont *font)
{
    auto *label = new QLabel(text, sheet);
    label->setTextFormat(Qt::PlainText);
    if (font)
        label->setFont(*font);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel *sheetCaption(QWidget *sheet, const QString &text, int x, int y, const QFont &font)
{
    QLabel *label = addCaption(sheet, text, x, y, &font);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QFont sheetFace(int points, FaceStyle style)
{
    QFont font(QStringLiteral("Times New Roman"), points);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    return font;
}

PictureBox::PictureBox(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
}

void PictureBox::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void PictureBox::clear()
{
    m_image = QImage();
    m_path.clear();
    update();
}

void PictureBox::setStretch(bool on)
{
    m_stretch = on;
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_image.isNull()) {
        if (m_stretch)
            painter.drawImage(rect(), m_image);
        else
            painter.drawImage(QPoint(0, 0), m_image);
        return;
    }
    // The hint is an instruction for the screen: an empty box prints empty.
    if (m_hint.isEmpty() || m_printing)
        return;
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect(), Qt::AlignCenter, m_hint.join(u'\n'));
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        emit rightClicked(this, event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void SheetRows::add(Row row, int right)
{
    for (const auto &[widget, x] : row)
        m_rowOf.insert(widget, int(m_rows.size()));
    m_rows.append(std::move(row));
    m_rights.append(right);
}

void SheetRows::layout(int row) const
{
    constexpr int gap = 4;
    const Row &widgets = m_rows.at(row);
    int right = -1;
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        QWidget *widget = widgets.at(i).first;
        const int x = widgets.at(i).second;
        const int at = right >= 0 ? std::max(x, right + gap) : x;
        widget->move(at, widget->y());
        if (auto *value = qobject_cast<ValueLabel *>(widget)) {
            // On paper a value ends before the next widget that has a place of its own.
            int end = m_rights.at(row);
            for (qsizetype j = i + 1; j < widgets.size(); ++j) {
                if (widgets.at(j).second > 0) {
                    end = widgets.at(j).second - gap;
                    break;
                }
            }
            value->setPlaceWidth(end > 0 ? std::max(end - at, 1) : 0);
        }
        widget->adjustSize();
        right = widget->geometry().right();
    }
}

void SheetRows::layoutAll() const
{
    for (int row = 0; row < m_rows.size(); ++row)
        layout(row);
}

void fitTableColumns(const QList<QList<QWidget *>> &columns, int available)
{
    QList<int> natural, least;
    for (const QList<QWidget *> &column : columns) {
        int widest = 0, heading = 0;
        for (QWidget *widget : column) {
            if (const auto *value = qobject_cast<ValueLabel *>(widget)) {
                widest = std::max(widest, value->naturalWidth());
            } else {
                heading = std::max(heading, widget->sizeHint().width());
                widest = std::max(widest, heading);
            }
        }
        natural.append(widest);
        least.append(std::max(heading, LeastPlace));
    }
    const QList<int> widths = fitColumns(natural, least, available);
    for (qsizetype c = 0; c < columns.size(); ++c)
        for (QWidget *widget : columns.at(c))
            if (auto *value = qobject_cast<ValueLabel *>(widget))
                value->setPlaceWidth(widths.at(c));
}

namespace {
// "Ok" (the default button) and a closing button, at the right of a panel's foot.
std::pair<QPushButton *, QPushButton *> addPanelButtons(QWidget *panel, QVBoxLayout *layout, const char *okName,
                                                        const char *closeName, const char *closeCaption)
{
    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("Ok"), panel);
    ok->setObjectName(QLatin1String(okName));
    ok->setDefault(true);
    auto *close = new QPushButton(QLatin1String(closeCaption), panel);
    close->setObjectName(QLatin1String(closeName));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    return {ok, close};
}
} // namespace

void styleFloatingPanel(QFrame *panel, const QString &title)
{
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(236, 233, 216));
    panel->setPalette(palette);
    // Panels keep a plain readable face whatever font the sheet uses.
    panel->setFont(QFont(QStringLiteral("Arial"), 9));
    // A click on the panel's ground or on a button that takes no focus keeps the
    // keyboard in the panel, so Esc still reaches it.
    panel->setFocusPolicy(Qt::ClickFocus);
    auto *heading = new QLabel(title, panel);
    heading->setObjectName(QStringLiteral("PanelTitle"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    static_cast<QVBoxLayout *>(panel->layout())->insertWidget(0, heading);
    panel->hide();
}

TextChangePanel::TextChangePanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TextChangePanel"));
    auto *layout = new QVBoxLayout(this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("TextEdit"));
    m_edit->setMinimumWidth(260);
    layout->addWidget(m_edit);
    auto [ok, cancel] = addPanelButtons(this, layout, "TextOk", "TextCancel", "Cancel");
    styleFloatingPanel(this, QStringLiteral("Change Text Entry"));
    // A click elsewhere on the panel gives the keys back to the edit box.
    setFocusProxy(m_edit);
    connect(ok, &QPushButton::clicked, this, &TextChangePanel::accept);
    connect(cancel, &QPushButton::clicked, this, &TextChangePanel::cancelled);
    connect(m_edit, &QLineEdit::returnPressed, this, &TextChangePanel::accept);
}

void TextChangePanel::accept()
{
    const QString text = m_edit->text();
    // Refused here, while the breeder can still change it, rather than saved as "?".
    if (QStringList unstorable = unstorableCharacters(text); !unstorable.isEmpty()) {
        unstorable.replaceInStrings(QStringLiteral("\n"), QStringLiteral("(line break)"));
        Platform::instance().showError(
            this, QStringLiteral("These characters cannot be stored in a record file: %1. Please type something else.")
                      .arg(excerpt(unstorable.join(u' '))));
        m_edit->setFocus();
        return;
    }
    emit accepted(text);
}

void TextChangePanel::open(const QString &text)
{
    m_edit->setText(text);
    m_edit->selectAll();
    adjustSize();
    show();
    raise();
    m_edit->setFocus();
}

void TextChangePanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        emit cancelled();
        return;
    }
    QFrame::keyPressEvent(event);
}

FontPanel::FontPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("FontPanel"));
    auto *layout = new QVBoxLayout(this);
    m_faces = new QComboBox(this);
    m_faces->setObjectName(QStringLiteral("FontType"));
    m_faces->setEditable(false);
    m_faces->addItems(Platform::instance().fontFaces());
    m_faces->setCurrentIndex(-1);
    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("FontSize"));
    m_size->setEditable(true);
    m_size->setInsertPolicy(QComboBox::NoInsert);
    for (int points : {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_size->addItem(QString::number(points));
    auto *row = new QHBoxLayout;
    row->addWidget(m_faces, 1);
    row->addWidget(m_size);
    layout->addLayout(row);
    auto [ok, close] = addPanelButtons(this, layout, "FontOk", "FontClose", "Close");
    styleFloatingPanel(this, QStringLiteral("Change Font"));
    m_faces->setMinimumWidth(200);
    connect(ok, &QPushButton::clicked, this, [this] { emit accepted(m_faces->currentText(), m_size->currentText()); });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void FontPanel::open(const QString &face, int pointSize)
{
    // The first installed face of that name; otherwise the previous choice stays.
    const int index = m_faces->findText(face, Qt::MatchExactly);
    if (index >= 0)
        m_faces->setCurrentIndex(index);
    m_size->setEditText(QString::number(pointSize));
    adjustSize();
    show();
    raise();
    m_faces->setFocus();
}

void FontPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QFrame::keyPressEvent(event);
}
