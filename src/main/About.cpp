#include "main/About.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace mainwin {

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Tarvesk"), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    title->setFont(bold);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* text = new QLabel(QStringLiteral("Запуск 1С:Предприятия 7.7 в Linux рядом с Wine:\n"
                                           "списки исполняемых модулей и информационных баз,\n"
                                           "категории и разделы, ярлыки и реестр."),
                            this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

} // namespace mainwin
