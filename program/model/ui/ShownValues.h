#pragma once
// What the controls of a settings dialog showed when it opened, so that closing it writes
// back only what the user changed. A list counts as changed once the user picked an entry in
// it (even the one shown) or when it shows another entry than at the start; a text box when
// its text differs. A stored value that no entry shows (a byte from a radio or a file) so
// stays as it is until the user picks another.
#include <QHash>
#include <QSet>
#include <QString>

class QComboBox;
class QLineEdit;

class ShownValues
{
public:
    // Call once the stored value is shown.
    void remember(QComboBox *list);
    void remember(const QLineEdit *edit);

    bool changed(const QComboBox *list) const;
    bool changed(const QLineEdit *edit) const;

private:
    QHash<const QComboBox *, int> m_indexes;
    QSet<const QComboBox *> m_picked;
    QHash<const QLineEdit *, QString> m_texts;
};
