#include "shell/PrintPreview.h"

#include "records/RecordError.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QVBoxLayout>

PrintPreviewDialog::PrintPreviewDialog(QPrinter &printer, Paint paint, QWidget *parent)
    : QDialog(parent), m_paint(std::move(paint))
{
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    m_pages = new QPrintPreviewWidget(&printer, this);
    m_pages->setObjectName(QStringLiteral("PreviewPages"));
    // Painted on demand inside the preview's own event handling, where nothing may be
    // thrown: a failure is kept and reported once the dialog has closed.
    connect(m_pages, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *target) {
        try {
            m_paint(*target);
        } catch (const RecordError &e) {
            m_error = e.message();
        } catch (const std::exception &e) {
            m_error = QString::fromLocal8Bit(e.what());
        }
    });

    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *zoomIn = button("PreviewZoomIn", QStringLiteral("Zoom &In"));
    QPushButton *zoomOut = button("PreviewZoomOut", QStringLiteral("Zoom &Out"));
    QPushButton *fit = button("PreviewFit", QStringLiteral("&Fit Page"));
    connect(zoomIn, &QPushButton::clicked, m_pages, [this] { m_pages->zoomIn(); });
    connect(zoomOut, &QPushButton::clicked, m_pages, [this] { m_pages->zoomOut(); });
    connect(fit, &QPushButton::clicked, m_pages, &QPrintPreviewWidget::fitInView);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *print = buttons->addButton(QStringLiteral("&Print..."), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("PreviewPrint"));
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("PreviewClose"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *tools = new QHBoxLayout;
    tools->addWidget(zoomIn);
    tools->addWidget(zoomOut);
    tools->addWidget(fit);
    tools->addStretch();
    tools->addWidget(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(tools);
    resize(720, 820);
    m_pages->fitInView();
}
