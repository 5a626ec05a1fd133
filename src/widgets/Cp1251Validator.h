#pragma once
#include <QValidator>

namespace widgets {

// Accepts text only when every character exists in Windows-1251, the code page of the program's
// files, so that no typed or pasted text can turn into a broken byte sequence on disk. A refused
// input leaves the edit's text as it was and announces the offending character.
class Cp1251Validator : public QValidator {
    Q_OBJECT
public:
    explicit Cp1251Validator(QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

    // The message shown to the user for a refused character.
    static QString refusalMessage(const QString& character);

signals:
    void characterRefused(const QString& character);
};

} // namespace widgets
