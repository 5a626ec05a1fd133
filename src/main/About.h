#pragma once
#include <QDialog>

namespace mainwin {

// The About box: the program's name and what it is for; created, shown modally and freed.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);
};

} // namespace mainwin
