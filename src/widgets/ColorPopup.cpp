#include "widgets/ColorPopup.h"

#include "widgets/ColorSwatch.h"
#include "widgets/ColorTable.h"
#include "widgets/ColorValue.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace widgets {

QList<std::uint32_t> ColorPopup::paletteColors() {
    // Five rows from dark to light; every standard colour is among them.
    static const char* const kRgb[] = {
        "#000000", "#993300", "#333300", "#003300", "#003366", "#000080", "#333399", "#333333", "#800000", "#FF6600",
        "#808000", "#008000", "#008080", "#0000FF", "#666699", "#808080", "#FF0000", "#FF9900", "#99CC00", "#339966",
        "#33CCCC", "#3366FF", "#800080", "#969696", "#FF00FF", "#FFCC00", "#FFFF00", "#00FF00", "#00FFFF", "#00CCFF",
        "#993366", "#C0C0C0", "#FF99CC", "#FFCC99", "#FFFF99", "#CCFFCC", "#CCFFFF", "#99CCFF", "#CC99FF", "#FFFFFF",
    };
    QList<std::uint32_t> colors;
    for (const char* rgb : kRgb)
        colors.append(toColorValue(QColor(QLatin1String(rgb))));
    return colors;
}

ColorPopup::ColorPopup(QWidget* parent) : QFrame(parent, Qt::Popup) {
    setObjectName(QStringLiteral("colorPopup"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    m_auto = new QToolButton(this);
    m_auto->setObjectName(QStringLiteral("btnAutoColor"));
    m_auto->setText(QStringLiteral("Авто"));
    m_auto->setIcon(ColorSwatch::icon(kColorBlack, palette()));
    m_auto->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_auto->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_auto, &QToolButton::clicked, this, [this] { pick(kColorBlack); });
    layout->addWidget(m_auto);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const QList<std::uint32_t> colors = paletteColors();
    for (int i = 0; i < colors.size(); ++i) {
        std::uint32_t value = colors[i];
        auto* swatch = new QToolButton(this);
        swatch->setObjectName(QStringLiteral("btnColor%1").arg(i));
        swatch->setIcon(ColorSwatch::icon(value, palette(), QSize(14, 14)));
        swatch->setIconSize(QSize(14, 14));
        swatch->setAutoRaise(true);
        swatch->setToolTip(colorValueDisplayName(value));
        swatch->setProperty("colorValue", QVariant::fromValue(value));
        connect(swatch, &QToolButton::clicked, this, [this, value] { pick(value); });
        grid->addWidget(swatch, i / kColumns, i % kColumns);
        m_swatches.append(swatch);
    }
    layout->addLayout(grid);

    m_more = new QPushButton(QStringLiteral("Другие цвета"), this);
    m_more->setObjectName(QStringLiteral("btnMoreColors"));
    m_more->setAutoDefault(false);
    connect(m_more, &QPushButton::clicked, this, [this] {
        close();
        emit moreColorsRequested();
    });
    layout->addWidget(m_more);

    m_auto->installEventFilter(this);
    for (QToolButton* swatch : m_swatches) {
        swatch->setFocusPolicy(Qt::StrongFocus);
        swatch->installEventFilter(this);
    }
    m_auto->setFocusPolicy(Qt::StrongFocus);
}

void ColorPopup::popUp(const QPoint& globalPos, std::uint32_t current) {
    adjustSize();
    move(globalPos);
    show();
    QToolButton* focus = m_auto;
    for (QToolButton* swatch : m_swatches)
        if (swatch->property("colorValue").value<std::uint32_t>() == current && current != kColorBlack)
            focus = swatch;
    focus->setFocus(Qt::PopupFocusReason);
}

void ColorPopup::pick(std::uint32_t value) {
    close();
    emit colorPicked(value);
}

// Enter picks the focused entry; Up and Down move by a whole row of the grid.
bool ColorPopup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    auto* button = qobject_cast<QToolButton*>(watched);
    int key = static_cast<QKeyEvent*>(event)->key();
    if (button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        button->click();
        return true;
    }
    int index = m_swatches.indexOf(button);
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        int target = -1;
        if (button == m_auto)
            target = key == Qt::Key_Down ? 0 : -1;
        else if (index >= 0)
            target = index + (key == Qt::Key_Down ? kColumns : -kColumns);
        if (target >= static_cast<int>(m_swatches.size()))
            m_more->setFocus(Qt::TabFocusReason);
        else if (target >= 0)
            m_swatches[target]->setFocus(Qt::TabFocusReason);
        else if (index >= 0)
            m_auto->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace widgets
