#pragma once

#include "breeding/BreedingFormat.h"
#include "shell/LinkEditor.h"

#include <array>

class QPushButton;

// "Set Related Rabbit Editor Files" of the breeding window: the subject's rabbit file
// and, in a frame of three columns of five, the fifteen mates' files. The links are
// the record's own lines: the window reads and sets them here.
class BreedingLinkEditor : public LinkEditorPanel
{
    Q_OBJECT
public:
    explicit BreedingLinkEditor(QWidget *parent);

    // Position 0 is the subject, 1..15 the mates of the rows.
    LinkField *positionLink(int position) const { return m_links[std::size_t(position)]; }
    QPushButton *updateButton() const { return m_update; }

    // The sixteen links into their lines of `record`, and back.
    void writeLinks(LineRecord &record) const;
    void setLinks(const LineRecord &record);

private:
    std::array<LinkField *, BreedingFile::RowCount + 1> m_links{};
    QPushButton *m_update = nullptr;
};
