#pragma once

#include "shell/Platform.h"

#include <QFrame>
#include <QList>
#include <QStringList>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

// One file link of a related-file editor: the read-only path ("None" for no link),
// a caption that shows the file-name part of the path, and the two small buttons
// that choose a file and clear the link. The controls are named after the link
// field: `Name` (the path), `NameSet`, `NameNew` and the caption's own name.
class LinkField : public QWidget
{
    Q_OBJECT
public:
    enum class Caption { Above, Beside };

    LinkField(const QString &linkName, const QString &captionName, const FileDialogSpec &dialog, QWidget *parent,
              Caption placement = Caption::Above);

    const QString &link() const { return m_link; }
    bool isLinked() const;
    // Sets the path; a different text refreshes the caption and reports `changed`.
    void setLink(const QString &path);

    QLineEdit *pathEdit() const { return m_path; }
    QLabel *caption() const { return m_caption; }
    QToolButton *setButton() const { return m_set; }
    QToolButton *clearButton() const { return m_clear; }
    // Which record the link is for ("Sire's dam"): shown before the caption when the
    // caption is above the path, and as the path's tooltip.
    void setRole(const QString &role);

    // "Chooses a Link File": the open dialog; on OK the chosen path becomes the link,
    // unless a record file cannot store it (RecordError, nothing changes).
    void SetClick();
    // "Clear Link": the link becomes "None".
    void ClearClick();

signals:
    void changed(LinkField *field);
    // The set button took a file or the clear button was pressed.
    void edited(LinkField *field);
    void doubleClicked(LinkField *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_link;
    FileDialogSpec m_dialog;
    QLineEdit *m_path;
    QLabel *m_caption;
    QLabel *m_role = nullptr;
    QHBoxLayout *m_captionRow = nullptr;
    QToolButton *m_set;
    QToolButton *m_clear;
};

// A related-file editor: a floating panel over a record sheet that holds link fields
// and a snapshot of them, taken when it opens, that Cancel restores. The record
// window lays its fields out in body() and adds its own buttons beside Ok and Cancel.
class LinkEditorPanel : public QFrame
{
    Q_OBJECT
public:
    // Every record window's editor bears the same title and control names
    // ("RelatedFileEditor", "FileEditorOk", "SetFileCancel").
    explicit LinkEditorPanel(QWidget *parent);

    QWidget *body() const { return m_body; }
    // Fields in the snapshot are restored by Cancel; others keep what was set.
    // Set and clear of a snapshot field enable Cancel again.
    void addLink(LinkField *field, bool inSnapshot = true);
    // A button along the bottom, after Ok and Cancel.
    QPushButton *addButton(const QString &name, const QString &caption);

    const QList<LinkField *> &links() const { return m_links; }
    const QStringList &snapshot() const { return m_snapshot; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // Takes the snapshot and shows the panel.
    void open();
    // Restores the snapshot fields, drops the snapshot and hides the panel.
    void cancel();
    // Drops the snapshot, enables Cancel and hides the panel.
    void accept();
    // The links as they now stand become what Cancel goes back to; Cancel is disabled
    // until a link is set or cleared, or the panel is accepted.
    void retakeSnapshot();

signals:
    // Ok was pressed; the window sets its modified flag and calls accept().
    void okClicked();
    void cancelled();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QStringList currentLinks() const;

    QWidget *m_body;
    QVBoxLayout *m_layout;
    QList<LinkField *> m_links;
    QList<LinkField *> m_snapshotFields;
    QStringList m_snapshot;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QList<QPushButton *> m_extraButtons;
};
