#pragma once

#include <QFrame>

class QLabel;
class QListWidget;

// "Set Genetics": a floating, non-modal panel over the rabbit sheet that offers the
// choices of one gene series and shows the phenotype of the highlighted one.
class GeneticsChangePanel : public QFrame
{
    Q_OBJECT
public:
    explicit GeneticsChangePanel(QWidget *parent);

    // Fills the list for a series label ("ASeries", "BrokenSeries", ...) and shows the
    // panel with the first entry highlighted. The label's own value is not looked for.
    void open(const QString &labelName);

    QListWidget *list() const { return m_list; }
    QLabel *effect() const { return m_effect; }

signals:
    void accepted(const QString &choice);
    void cancelled();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void GeneSelectClick();
    void GeneOKClick();

    QListWidget *m_list;
    QLabel *m_effect;
};
