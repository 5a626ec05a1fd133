#pragma once
#include "dialogs/DialogServices.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace engine {
class DataSet;
}
namespace widgets {
class DataSetListModel;
}

namespace dialogs {

class RecordActions;

// dbgUser: a scrolling column of panels over the user table, one panel per row, eight visible,
// the current one highlighted. The current panel holds the bound fields dbeUserName and
// dbePassword, which edit the current row in place: typing starts editing it. The password field
// shows the stored, scrambled text and never writes it back; what the user typed there is handed
// out by editedPassword() for the post.
class UserGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kVisiblePanels = 8;

    UserGrid(engine::DataSet& users, RecordActions& actions, const DialogServices& services, QWidget* parent = nullptr);
    ~UserGrid() override;

    widgets::DataSetListModel& model() const { return *m_model; }
    int currentRow() const;
    int rowCount() const;
    // Makes a row current; a pending change is posted first when something was typed.
    bool moveTo(int row);
    // Re-reads the rows after a record command and shows the current row.
    void sync();
    // The password field's text when the user typed in it since the row was shown.
    std::optional<std::string> editedPassword() const;

    QSize sizeHint() const override;

signals:
    void doubleClicked();
    void failed(const QString& message);
    void changed(); // current row or edit state changed

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Geometry {
        int panelHeight = 0;
        int nameLabelWidth = 0;
        int nameWidth = 0;
        int passwordLabelWidth = 0;
        int passwordWidth = 0;
        int editHeight = 0;
    };
    QRect panelRect(int slot) const;
    QRect nameLabelRect(int slot) const;
    QRect nameRect(int slot) const;
    QRect passwordLabelRect(int slot) const;
    QRect passwordRect(int slot) const;
    int slotAt(const QPoint& point) const;
    int currentSlot() const;
    std::uint32_t currentKey() const;
    bool handleNavigationKey(int key);
    void onModelCurrentChanged();
    void showCurrentRow();
    void layOut();
    void onNameEdited(const QString& text);
    void onPasswordEdited();
    bool startTyping();

    engine::DataSet& m_users;
    RecordActions& m_actions;
    widgets::DataSetListModel* m_model = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLineEdit* m_name = nullptr;
    QLabel* m_passwordLabel = nullptr;
    QLineEdit* m_password = nullptr;
    QScrollBar* m_scroll = nullptr;
    Geometry m_geometry;
    int m_top = 0;
    std::uint32_t m_shownKey = 0;
    bool m_passwordEdited = false;
    bool m_syncing = false;
};

} // namespace dialogs
