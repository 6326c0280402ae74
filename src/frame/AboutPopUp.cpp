#include "frame/AboutPopUp.h"

#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "shell/CommandGuard.h"
#include "browser/BrowserLoader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A small drawn emblem: a rabbit's head in a ring, so the box needs no picture files.
QPixmap emblem(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 60, 30), size / 24.0));
    p.setBrush(QColor(250, 243, 230));
    p.drawEllipse(QRectF(2, 2, size - 4, size - 4));
    p.setBrush(QColor(160, 120, 80));
    p.setPen(Qt::NoPen);
    const double s = size;
    p.drawEllipse(QRectF(s * 0.33, s * 0.12, s * 0.12, s * 0.4));
    p.drawEllipse(QRectF(s * 0.55, s * 0.12, s * 0.12, s * 0.4));
    p.drawEllipse(QRectF(s * 0.28, s * 0.42, s * 0.44, s * 0.38));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(s * 0.39, s * 0.55, s * 0.05, s * 0.05));
    p.drawEllipse(QRectF(s * 0.56, s * 0.55, s * 0.05, s * 0.05));
    return pixmap;
}
} // namespace

TAboutPopUp::TAboutPopUp(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutPopUp"));
    setWindowTitle(QStringLiteral("About Hutchlore"));
    // Modal to the main window only: the browser its web address opens is a window
    // of its own and must take clicks and keys while the box stays open behind it.
    setWindowModality(Qt::WindowModal);
    WindowRegistry::setNewest(this);

    auto *layout = new QHBoxLayout(this);
    auto *text = new QVBoxLayout;
    auto *logo = new QLabel(this);
    logo->setPixmap(emblem(48));
    text->addWidget(logo);
    auto *title = new QLabel(QStringLiteral("Rabbit Hutchlore"), this);
    QFont big = title->font();
    big.setPointSize(18);
    big.setBold(true);
    title->setFont(big);
    text->addWidget(title);
    text->addWidget(new QLabel(QStringLiteral("Version 3.3"), this));
    text->addWidget(new QLabel(QStringLiteral("Records, pedigrees and colour genetics for the rabbitry.\n"
                                              "Free for every breeder to use and share."),
                               this));
    auto *web = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(WebAddress)), this);
    web->setObjectName(QStringLiteral("WebAddress"));
    web->setTextFormat(Qt::RichText);
    web->setCursor(Qt::PointingHandCursor);
    // The box stays open behind the browser.
    connect(web, &QLabel::linkActivated, this,
            [this](const QString &address) { runCommand(this, [&] { openWebAddress(address); }); });
    text->addWidget(web);
    text->addStretch();
    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("AboutOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    text->addWidget(ok, 0, Qt::AlignLeft);
    layout->addLayout(text);
    auto *picture = new QLabel(this);
    picture->setPixmap(emblem(160));
    layout->addWidget(picture);
    setFixedSize(sizeHint());
}

TAboutPopUp *TAboutPopUp::instance()
{
    if (auto *box = WindowRegistry::newest<TAboutPopUp>())
        return box;
    return new TAboutPopUp(TBigBadParent::instance());
}
