#pragma once
#include <QDialog>

class QLabel;

namespace registry {

// Unit RefDial: the key exists dialog of the Titles import. Each button ends the dialog with its
// own modal result: "Да" 6, "Нет" 7, "Отмена" 2, "Пропустить все совпадающие" 9,
// "Обновить все совпадающие" 10; the close box and Escape answer 2.
class TfrmRefreshDialog : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRefreshDialog(QWidget* owner);

    // The key in question, shown in stxReestrKey.
    void setKey(const QString& key);
    QString key() const;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_key;
};

} // namespace registry
