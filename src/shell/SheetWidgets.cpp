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

void ValueLabel::showValue()
{
    // No sheet shows this many characters on its lines; measuring more only costs
    // time (a pasted megabyte would freeze the window).
    constexpr qsizetype MaxShown = 1000;
    const bool cut = m_value.size() > MaxShown;
    QString shown = cut ? excerpt(m_value, MaxShown) : m_value;
    // Measuring costs more than the rest of showing a value; the sheets' values are
    // mostly a few words, which no sheet is too narrow for.
    constexpr qsizetype AlwaysFits = 40;
    const int room = parentWidget() ? parentWidget()->width() - 2 : 0;
    if (m_wrapWidth <= 0 && room > 0 && shown.size() > AlwaysFits) {
        const QFontMetrics metrics(font());
        if (cut || metrics.horizontalAdvance(shown) > room)
            shown = metrics.elidedText(shown, Qt::ElideRight, room);
    }
    setText(shown);
    resize(sizeHint());
}

void ValueLabel::setWrapWidth(int width)
{
    m_wrapWidth = width;
    setWordWrap(width > 0);
    showValue();
}

QSize ValueLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
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
    if (m_hint.isEmpty())
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

void SheetRows::add(Row row)
{
    for (const auto &[widget, x] : row)
        m_rowOf.insert(widget, int(m_rows.size()));
    m_rows.append(std::move(row));
}

void SheetRows::layout(int row) const
{
    constexpr int gap = 4;
    int right = -1;
    for (const auto &[widget, x] : m_rows.at(row)) {
        widget->adjustSize();
        widget->move(right >= 0 ? std::max(x, right + gap) : x, widget->y());
        right = widget->geometry().right();
    }
}

void SheetRows::layoutAll() const
{
    for (int row = 0; row < m_rows.size(); ++row)
        layout(row);
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
