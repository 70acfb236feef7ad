#pragma once
// The three built-in looks of the theme menu: 1 blue, 2 steel grey, 3 coffee brown. Each is
// a palette plus a small style sheet for the window frame pieces (menu bar, toolbar, page
// tabs, group titles, status bar), applied to the whole application at once.
class QApplication;

namespace themes {
constexpr int Count = 3;
// Applies theme 1-3 to the application; any other number is ignored.
void apply(QApplication &app, int theme);
// The theme last applied (0 before the first).
int current();
} // namespace themes
