#pragma once

#include "shell/Platform.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// File > Preferences of the main window: "My rabbitry file", the breeder's own
// rabbitry, which new pedigrees are linked to, and the order of day and month in
// typed dates. Ok keeps what the dialog shows;
// Cancel keeps what was there.
class PreferencesDialog : public QDialog
{
    Q_OBJECT
public:
    // `rabbitryDialog`: the open dialog that chooses a rabbitry file.
    PreferencesDialog(const FileDialogSpec &rabbitryDialog, QWidget *parent);

    QLineEdit *myRabbitryField() const { return m_myRabbitry; }
    // "DateOrder": as the system writes dates, day before month, month before day.
    QComboBox *dateOrderBox() const { return m_dateOrder; }

    // "Choose...": a rabbitry file that can be read and whose path a record file can
    // store. Throws RecordError for one that cannot; the field then stays.
    void ChooseClick();
    void ClearClick();
    void accept() override;

private:
    FileDialogSpec m_rabbitryDialog;
    QLineEdit *m_myRabbitry;
    QComboBox *m_dateOrder;
};
