#pragma once
// A validator that filters what is typed or pasted into a line edit instead of refusing it:
// characters the filter drops are discarded, the rest (possibly upper-cased) is kept, and the
// text is held to a maximum length by dropping what was just inserted beyond it. The cursor
// stays after the last kept character that was before it.
//
// It takes the place of the line edit's own maximum length, which would cut a pasted text
// before the filter could drop its unwanted characters.
#include <QValidator>

#include <functional>

class TextFilterValidator : public QValidator
{
    Q_OBJECT
public:
    using Filter = std::function<QString(const QString &)>;
    TextFilterValidator(Filter filter, int maxLength, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    Filter m_filter;
    int m_maxLength;
};
