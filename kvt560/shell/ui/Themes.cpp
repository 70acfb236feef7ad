#include "shell/ui/Themes.h"
#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace {
int g_current = 0;

struct Look {
    QColor window, base, alternate, text, button, highlight, frameTop, frameBottom, tabSelected, accentText;
};

// Colours chosen so that each theme is told apart at a glance and keeps dark text on light
// fields, which stays readable for the Chinese captions.
const Look kLooks[themes::Count] = {
    // 1: blue
    {QColor(222, 233, 247), QColor(255, 255, 255), QColor(236, 243, 252), QColor(16, 32, 64),
     QColor(206, 222, 244), QColor(51, 110, 196), QColor(96, 150, 222), QColor(40, 92, 170),
     QColor(246, 250, 255), QColor(255, 255, 255)},
    // 2: steel grey
    {QColor(214, 216, 219), QColor(250, 250, 250), QColor(232, 233, 235), QColor(28, 30, 34),
     QColor(196, 199, 204), QColor(92, 100, 112), QColor(160, 166, 174), QColor(98, 104, 114),
     QColor(240, 241, 243), QColor(255, 255, 255)},
    // 3: coffee brown
    {QColor(238, 226, 208), QColor(255, 251, 244), QColor(246, 237, 224), QColor(52, 32, 16),
     QColor(222, 202, 174), QColor(139, 90, 43), QColor(168, 118, 72), QColor(104, 66, 34),
     QColor(252, 246, 236), QColor(255, 248, 236)},
};

QString css(const QColor &c) { return c.name(); }
} // namespace

void themes::apply(QApplication &app, int theme)
{
    if (theme < 1 || theme > Count)
        return;
    const Look &l = kLooks[theme - 1];
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);   // a style that draws with the palette on every platform

    QPalette p;
    p.setColor(QPalette::Window, l.window);
    p.setColor(QPalette::WindowText, l.text);
    p.setColor(QPalette::Base, l.base);
    p.setColor(QPalette::AlternateBase, l.alternate);
    p.setColor(QPalette::Text, l.text);
    p.setColor(QPalette::Button, l.button);
    p.setColor(QPalette::ButtonText, l.text);
    p.setColor(QPalette::Highlight, l.highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, l.base);
    p.setColor(QPalette::ToolTipText, l.text);
    p.setColor(QPalette::Disabled, QPalette::Text, l.text.lighter(300));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    app.setPalette(p);

    const QString sheet = QStringLiteral(
        "QMenuBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2);"
        "  color: %3; }"
        "QMenuBar::item { background: transparent; padding: 3px 8px; }"
        "QMenuBar::item:selected { background: %4; color: %3; }"
        "QToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %5, stop:1 %6);"
        "  border-bottom: 1px solid %2; spacing: 4px; padding: 2px; }"
        "QTabWidget::pane { border: 1px solid %2; top: -1px; background: %5; }"
        "QTabBar::tab { background: %6; color: %7; border: 1px solid %2; border-bottom: none;"
        "  padding: 4px 14px; margin-right: 2px; border-top-left-radius: 4px; border-top-right-radius: 4px; }"
        "QTabBar::tab:selected { background: %5; color: %7; font-weight: bold; }"
        "QTabBar::tab:!selected { margin-top: 2px; }"
        "QGroupBox { border: 1px solid %2; border-radius: 4px; margin-top: 10px; padding-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 4px; color: %8; }"
        "QStatusBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2);"
        "  color: %3; }"
        "QStatusBar QLabel { color: %3; }")
        .arg(css(l.frameTop), css(l.frameBottom), css(l.accentText), css(l.highlight),
             css(l.tabSelected), css(l.button), css(l.text), css(l.highlight.darker(130)));
    app.setStyleSheet(sheet);
    g_current = theme;
}

int themes::current()
{
    return g_current;
}
