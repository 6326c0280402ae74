#include "pedigree/ChartTint.h"
#include "pedigree/Inbreeding.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "shell/CommandGuard.h"
#include "shell/SheetWidgets.h"

#include <QMenu>

// The pedigree window's inbreeding check: the coefficient of the chart as it stands,
// and the places of the repeated ancestors tinted on screen until the record changes.
// The check is no edit: nothing is saved or printed of it.

namespace {
// How far left of a box's values its captions may start.
constexpr int CaptionReach = 80;
} // namespace

QMenu *TMainScreen::createPedigreeMenu()
{
    auto *menu = new QMenu(QStringLiteral("&Pedigree"), this);
    menu->setObjectName(QStringLiteral("Pedigree1"));
    QAction *check = menu->addAction(QStringLiteral("Check &Inbreeding"));
    check->setObjectName(QStringLiteral("CheckInbreeding"));
    connectCommand(check, &QAction::triggered, this, &TMainScreen::CheckInbreedingClick);
    return menu;
}

void TMainScreen::CheckInbreedingClick()
{
    const Inbreeding::Result result = Inbreeding::compute(record());
    if (!m_tint) {
        m_tint = new ChartTint(sheet());
        // Any edit or load may change who stands where.
        connect(this, &DocumentWindow::recordChanged, m_tint, &ChartTint::clear);
    }
    QMap<int, QList<QWidget *>> places;
    for (int code : result.repeatedPositions()) {
        const PedigreeFile::Position *position = PedigreeFile::positionByCode(code);
        QList<QWidget *> &labels = places[code];
        QRect values;
        for (PedigreeFile::ChartField field : position->fields()) {
            if (ValueLabel *label = boundLabel(position->line(field))) {
                labels.append(label);
                values |= QRect(label->mapTo(sheet(), QPoint(0, 0)), label->size());
            }
        }
        // The box's captions ("Sire", "Ear #") stand at the left of its values.
        for (QLabel *caption : sheet()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            const QRect at = caption->geometry();
            if (!qobject_cast<ValueLabel *>(caption) && caption->isVisible() && at.center().y() >= values.top() &&
                at.center().y() <= values.bottom() && at.right() >= values.left() - CaptionReach &&
                at.right() <= values.right())
                labels.append(caption);
        }
    }
    m_tint->mark(places);
    Platform::instance().ask(this, Inbreeding::report(result), Platform::Buttons::Ok);
}

QList<int> TMainScreen::tintedPositions() const
{
    return m_tint ? m_tint->marked() : QList<int>();
}
