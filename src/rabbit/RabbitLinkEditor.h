#pragma once

#include "rabbit/RabbitFormat.h"
#include "shell/LinkEditor.h"

#include <array>

class QPushButton;

// "Set Related Rabbit Editor Files" of the rabbit window: the rabbit files of the
// father, the mother and the ten siblings, and under "Primary Files" the rabbit's own
// pedigree, breeding and show records. The links are the record's own fields (lines
// 57-71): the window reads and sets them here.
class RabbitLinkEditor : public LinkEditorPanel
{
    Q_OBJECT
public:
    explicit RabbitLinkEditor(QWidget *parent);

    static constexpr int FirstLine = RabbitFile::FatherRabFile;
    static constexpr int LinkCount = RabbitFile::ShowLink - FirstLine + 1;

    // The field of a link line (57..71), or null for any other line.
    LinkField *linkOf(int line) const;
    // The rabbit file of a relative: 1 father, 2 mother, i + 2 sibling i.
    LinkField *relativeLink(int number) const { return linkOf(FirstLine + number - 1); }
    void setLinks(const LineRecord &record);
    void writeLinks(LineRecord &record) const;

    QPushButton *updateButton() const { return m_update; }

private:
    std::array<LinkField *, LinkCount> m_links{};
    QPushButton *m_update = nullptr;
};
