#pragma once

class QWidget;

// Opens the contents page of the program's help ("RABBITHELP"), a single window
// that stays open beside the records.
void showHelpContents(QWidget *parent);
