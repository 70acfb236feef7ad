#pragma once
// A validator that filters what is typed or pasted into a line edit instead of refusing it:
// characters the filter drops are discarded, the rest (possibly upper-cased) is kept and the
// cursor stays after the last kept character that was before it.
#include <QValidator>

#include <functional>

class TextFilterValidator : public QValidator
{
    Q_OBJECT
public:
    using Filter = std::function<QString(const QString &)>;
    explicit TextFilterValidator(Filter filter, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    Filter m_filter;
};
