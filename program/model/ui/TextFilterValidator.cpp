#include "TextFilterValidator.h"

TextFilterValidator::TextFilterValidator(Filter filter, int maxLength, QObject *parent)
    : QValidator(parent)
    , m_filter(std::move(filter))
    , m_maxLength(maxLength)
{
}

QValidator::State TextFilterValidator::validate(QString &input, int &pos) const
{
    // The cursor stands after the inserted text: what is too much is taken from before it.
    QString before = m_filter(input.left(pos));
    QString after = m_filter(input.mid(pos)).left(m_maxLength);
    if (before.size() + after.size() > m_maxLength)
        before.truncate(m_maxLength - after.size());
    const QString result = before + after;
    if (result != input) {
        input = result;
        pos = int(before.size());
    }
    return Acceptable;
}

void TextFilterValidator::fixup(QString &input) const
{
    input = m_filter(input).left(m_maxLength);
}
