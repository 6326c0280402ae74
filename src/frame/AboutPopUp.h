#pragma once

#include <QDialog>

// The about box: program name, version, notice and the maker's web address.
class TAboutPopUp : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutPopUp(QWidget *parent = nullptr);
    static TAboutPopUp *instance();

    static constexpr const char *WebAddress = "https://www.hutchlore.example";
};
