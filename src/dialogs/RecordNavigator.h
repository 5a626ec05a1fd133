#pragma once
#include <QWidget>

#include <array>

class QToolButton;

namespace dialogs {

// dbnUser: the row of ten record buttons over a data set.
class RecordNavigator : public QWidget {
    Q_OBJECT
public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    static constexpr int kButtons = 10;

    explicit RecordNavigator(QWidget* parent = nullptr);

    QToolButton* button(Button which) const;
    // Enables the buttons for the list's position and edit state.
    void updateEnabling(bool open, int row, int rowCount, bool changing);

signals:
    void clicked(RecordNavigator::Button which);

private:
    std::array<QToolButton*, kButtons> m_buttons{};
};

} // namespace dialogs
