#pragma once

#include "genetics/GeneTables.h"
#include "shell/ChildWindow.h"

#include <QHash>

class QLabel;
class QMenu;

// The colour genetics calculator: a father and a mother read from their rabbit
// files, their genotypes side by side, and the expected shares of the offspring's
// phenotypes, series by series. It holds no document: nothing to save, no question
// on closing.
class TColorCombiner : public ChildWindow
{
    Q_OBJECT
public:
    explicit TColorCombiner(QWidget *parent = nullptr);

    static constexpr const char *KindId = "genetics";
    // The size a new calculator opens with.
    static constexpr QSize DefaultSize{667, 522};

    // Any label of the window by its control name ("FatherA", "KidE3", ...).
    QLabel *label(const QString &name) const { return m_labels.value(name); }

    void OpenFatherClick();
    void OpenMotherClick();
    void CalculateClick();
    void MMExitClick() { close(); }

private:
    enum class Parent { Father, Mother };
    void loadParent(Parent parent);
    QString labelName(Parent parent, const QString &suffix) const;
    QWidget *buildParents();
    QWidget *buildResults();
    QLabel *addLabel(const QString &name, const QString &text, QWidget *parent);
    void buildMenus();

    QHash<QString, QLabel *> m_labels;
};
