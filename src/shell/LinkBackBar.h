#pragma once

#include <QFrame>
#include <QString>

class LineFormat;
class QLabel;
class QPushButton;
class SheetWindow;

// How a record kind links back: the rabbit a record is about (a pedigree's bunny, the
// subject of a breeding or show record) has a link line of its own for records of
// this kind.
struct LinkBackTarget
{
    int subjectLine = -1;                     // this record's link to its subject's file
    QString subjectKind;                      // the kind of window that shows that file
    const LineFormat *subjectFormat = nullptr; // the subject file's layout
    int backLine = -1;                        // the subject's link to records of this kind
    int nameLine = 0;                         // the subject's name
    QString subjectNoun;                      // "rabbit record"
    QString noun;                             // "pedigree": "... has no pedigree link."
};

// A bar along the top of a record window, offered once a save is done when the
// record's subject has no link of this kind: "Bluebell's rabbit record has no pedigree
// link." with "Link It" and "Not Now". It asks nothing and holds nothing up: the
// breeder may go on with anything while it shows.
class LinkBackBar : public QFrame
{
    Q_OBJECT
public:
    explicit LinkBackBar(SheetWindow *window);

    // Looks at the subject of the window's record as just saved: shows the bar when
    // the subject's link is "None" (in its open windows if it is open, else in its
    // file), hides it otherwise. Never throws: a subject that cannot be read is not
    // offered.
    void offer(const LinkBackTarget &target);

    QLabel *message() const { return m_message; }
    QPushButton *linkItButton() const { return m_linkIt; }
    QPushButton *notNowButton() const { return m_notNow; }

    // "Link It": the subject's link becomes this record's file: in each of the
    // subject's open windows that still has no link (they are marked changed), or,
    // when it is open nowhere, in its file, of which only that line changes. Throws
    // RecordError; the bar then stays.
    void LinkItClick();
    void NotNowClick() { hide(); }

private:
    // The subject's windows, open in the main window now.
    QList<SheetWindow *> openSubjects() const;

    SheetWindow *m_window;
    LinkBackTarget m_target;
    QString m_subjectPath; // the subject's file, where its link was found
    QString m_recordPath;  // the saved record, which the subject's link becomes
    QString m_subjectName;
    QLabel *m_message;
    QPushButton *m_linkIt;
    QPushButton *m_notNow;
};
