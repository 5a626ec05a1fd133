#include "widgets/Cp1251Validator.h"

#include "engine/CodePage.h"

namespace widgets {

Cp1251Validator::Cp1251Validator(QObject* parent) : QValidator(parent) {}

QValidator::State Cp1251Validator::validate(QString& input, int&) const {
    std::string bad = engine::firstNonCp1251Char(input.toStdString());
    if (bad.empty())
        return Acceptable;
    // validate() is const by its interface; announcing the refusal does not change the validator.
    emit const_cast<Cp1251Validator*>(this)->characterRefused(QString::fromStdString(bad));
    return Invalid;
}

QString Cp1251Validator::refusalMessage(const QString& character) {
    QString code = QString::number(character.isEmpty() ? 0 : character.toUcs4().value(0), 16).toUpper();
    return QStringLiteral("Символ «%1» (U+%2) нельзя использовать: его нет в кодировке Windows-1251.")
        .arg(character, code.rightJustified(4, QLatin1Char('0')));
}

} // namespace widgets
