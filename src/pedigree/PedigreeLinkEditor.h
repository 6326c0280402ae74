#pragma once

#include "pedigree/PedigreeLinks.h"
#include "shell/LinkEditor.h"

#include <array>

class QPushButton;

// "Set Related Rabbit Editor Files" of the pedigree window: the fifteen position
// links laid out as the chart is (the rabbit at the left, its parents, grandparents
// and great-grandparents in the columns to the right) and the rabbitry link at the
// top left. The links are the record's own fields: the window reads and sets them
// here.
class PedigreeLinkEditor : public LinkEditorPanel
{
    Q_OBJECT
public:
    explicit PedigreeLinkEditor(QWidget *parent);

    // By index in PedigreeFile::positions().
    LinkField *positionLink(int index) const { return m_positions[std::size_t(index)]; }
    LinkField *rabbitryLink() const { return m_rabbitry; }
    PedigreeLinks::PositionLinks positionLinks() const;
    void setPositionLinks(const PedigreeLinks::PositionLinks &links);

    QPushButton *updateButton() const { return m_update; }
    QPushButton *autoFillButton() const { return m_autoFill; }

private:
    std::array<LinkField *, PedigreeFile::PositionCount> m_positions{};
    LinkField *m_rabbitry = nullptr;
    QPushButton *m_update = nullptr;
    QPushButton *m_autoFill = nullptr;
};
