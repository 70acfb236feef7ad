#include "TextFilterValidator.h"

TextFilterValidator::TextFilterValidator(Filter filter, QObject *parent)
    : QValidator(parent)
    , m_filter(std::move(filter))
{
}

QValidator::State TextFilterValidator::validate(QString &input, int &pos) const
{
    const QString filtered = m_filter(input);
    if (filtered != input) {
        pos = qMin(int(m_filter(input.left(pos)).size()), int(filtered.size()));
        input = filtered;
    }
    return Acceptable;
}

void TextFilterValidator::fixup(QString &input) const
{
    input = m_filter(input);
}
