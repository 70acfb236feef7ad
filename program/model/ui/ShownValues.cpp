#include "ShownValues.h"

#include <QComboBox>
#include <QLineEdit>

void ShownValues::remember(QComboBox *list)
{
    m_indexes.insert(list, list->currentIndex());
    QObject::connect(list, &QComboBox::activated, list, [this, list] { m_picked.insert(list); });
}

void ShownValues::remember(const QLineEdit *edit)
{
    m_texts.insert(edit, edit->text());
}

bool ShownValues::changed(const QComboBox *list) const
{
    return m_picked.contains(list) || list->currentIndex() != m_indexes.value(list, -1);
}

bool ShownValues::changed(const QLineEdit *edit) const
{
    return edit->text() != m_texts.value(edit);
}
