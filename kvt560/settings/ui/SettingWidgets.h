#pragma once
// Small widgets of the settings pages: the character filter of the text fields, the spin
// box that corrects an out-of-range number when it is left, and the drawn radio beside the
// side keys.
#include "settings/SettingsRegistry.h"
#include <QSpinBox>
#include <QValidator>
#include <QWidget>

// Applies a TextFilter to everything that enters a line edit, typed or pasted: characters
// outside the alphabet are refused, "a" to "d" become "A" to "D" where the filter says so,
// and the text never grows beyond the maximum length. Deleting is always allowed.
class TextFilterValidator : public QValidator
{
    Q_OBJECT
public:
    TextFilterValidator(const TextFilter &filter, QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;

private:
    TextFilter m_filter;
};

// A spin box of whole numbers that lets the user type up to maxChars digits, also a number
// outside the range; when the box is left (or Enter is pressed) such a number is brought
// to the nearest bound. The arrows move by the step.
class SettingSpinBox : public QSpinBox
{
    Q_OBJECT
public:
    SettingSpinBox(const SpinRange &range, QWidget *parent = nullptr);
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    int m_maxChars;
};

// A hand-held radio seen from the front with its programmable keys: P1 to P3 on the left
// side, P4 and P5 on top beside the antenna. Each key carries its label.
class RadioPicture : public QWidget
{
    Q_OBJECT
public:
    explicit RadioPicture(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {220, 330}; }
    QSize minimumSizeHint() const override { return {160, 260}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};
