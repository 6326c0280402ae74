#pragma once

#include <QString>

class QMainWindow;
class QTextBrowser;
class QWidget;

// The program's help ("RABBITHELP"): HTML pages built into the program, shown in a
// single window that stays open beside the records. The contents page is
// RABBITHELP.html; each kind registers its own page (kept in its folder), the main
// window's is "main.html".

// Opens the contents page.
void showHelpContents(QWidget *parent);
// Opens a page by its file name; the contents for a page that does not exist.
void showHelpPage(QWidget *parent, const QString &page);
// The page about a window: a kind's window by its registered kind, anything else the
// main window's page.
QString helpPageFor(const QWidget *window);
// F1 anywhere in the program opens the page of the active record window, or of the
// main window when none is active.
void installHelpKey(QMainWindow *frame);
// The help window's text, null while the help has not been opened.
QTextBrowser *helpText();
