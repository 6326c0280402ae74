#pragma once

#include "shell/Platform.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// File > Preferences of the main window: "My rabbitry file", the breeder's own
// rabbitry, which new pedigrees are linked to, the order of day and month in typed
// dates, and the breeding calendar's day counts. It opens on what is set now. Ok
// keeps what the dialog shows; Cancel keeps what was there.
class PreferencesDialog : public QDialog
{
    Q_OBJECT
public:
    // `rabbitryDialog`: the open dialog that chooses a rabbitry file.
    PreferencesDialog(const FileDialogSpec &rabbitryDialog, QWidget *parent);

    QLineEdit *myRabbitryField() const { return m_myRabbitry; }
    // "DateOrder": as the system writes dates, day before month, month before day.
    QComboBox *dateOrderBox() const { return m_dateOrder; }
    // "PalpateDay", "NestBoxDay", "KindleDay" (days from the bred date) and "WeanWeeks"
    // (weeks from the kindled date).
    QSpinBox *palpateBox() const { return m_palpate; }
    QSpinBox *nestBoxBox() const { return m_nestBox; }
    QSpinBox *kindleBox() const { return m_kindle; }
    QSpinBox *weanBox() const { return m_wean; }

    // "Choose...": a rabbitry file that can be read and whose path a record file can
    // store. Throws RecordError for one that cannot; the field then stays.
    void ChooseClick();
    void ClearClick();
    // Throws RecordError, keeping nothing and the dialog open, when the nest box does
    // not come after palpation and before kindling.
    void accept() override;

private:
    FileDialogSpec m_rabbitryDialog;
    QLineEdit *m_myRabbitry;
    QComboBox *m_dateOrder;
    QSpinBox *m_palpate;
    QSpinBox *m_nestBox;
    QSpinBox *m_kindle;
    QSpinBox *m_wean;
};
