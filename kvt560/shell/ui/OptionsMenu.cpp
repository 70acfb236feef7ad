// The Options and Help menus of the main window: serial port, cable mode, theme and language,
// help file and about box; and the page items of the Edit menu.
#include "shell/ui/Tform1.h"
#include "channels/ChannelTable.h"
#include "shell/LanguageNames.h"
#include "shell/ui/TaboutForm.h"
#include "shell/ui/Themes.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QTabWidget>


// ---------------------------------------------------------------------------------------
// Menus

void Tform1::selectPort(int port)
{
    if (port < 1 || port > 4)
        return;
    QAction *const items[] = {COM11, COM21, COM31, COM41};
    for (int i = 0; i < 4; ++i)
        items[i]->setChecked(i + 1 == port);
    gsegs1->setProperty("tag", port);
    const bool changed = m_portTag != port;
    m_portTag = port;   // the serial port number: "COM" + this number
    if (changed)
        emit portChanged(port);
}

void Tform1::COM11Click() { selectPort(1); }
void Tform1::COM21Click() { selectPort(2); }
void Tform1::COM31Click() { selectPort(3); }
void Tform1::COM41Click() { selectPort(4); }

void Tform1::N12Click()
{
    N12->setChecked(true);
    N13->setChecked(false);
    m_modeTag = Preferences::SingleHead;
    N11->setProperty("tag", m_modeTag);
    bsSkinPanel7->setVisible(false);
    // A single-head cable has no VOX: switch it off in every channel.
    const QString on = m_table->marks().on;
    const QString off = m_table->marks().off;
    for (int row = 1; row < ChannelTable::Grid2Rows; ++row)
        if (m_table->cell(ChannelTable::Grid2, ChannelTable::VoxAttribute, row) == on)
            m_table->setCell(ChannelTable::Grid2, ChannelTable::VoxAttribute, row, off);
    emit cableModeChanged(m_modeTag);
}

void Tform1::N13Click()
{
    N13->setChecked(true);
    N12->setChecked(false);
    m_modeTag = Preferences::DualHead;
    N11->setProperty("tag", m_modeTag);
    bsSkinPanel7->setVisible(true);
    emit cableModeChanged(m_modeTag);
}

void Tform1::bsSkinTabSheet2Show()
{
    if (N12->isChecked())
        bsSkinPanel7->setVisible(false);
}

void Tform1::selectTheme(int theme)
{
    if (theme < 1 || theme > themes::Count)
        return;
    QAction *const items[] = {sk1, sk2, sk3};
    for (int i = 0; i < themes::Count; ++i)
        items[i]->setChecked(i + 1 == theme);
    m_themeTag = theme;
    S1->setProperty("tag", theme);
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        themes::apply(*app, theme);
}

void Tform1::sk1Click() { selectTheme(1); }
void Tform1::sk2Click() { selectTheme(2); }
void Tform1::sk3Click() { selectTheme(3); }

void Tform1::markLanguage(int lang)
{
    QAction *const items[] = {Chinese1, English1, Chinese2};
    for (int i = 0; i < 3; ++i)
        items[i]->setChecked(i + 1 == lang);
    Language1->setProperty("tag", lang);
}

void Tform1::chooseLanguage(int lang)
{
    m_savedLanguage = lang;
    m_languageTag = lang;
    markLanguage(lang);
    emit languageChosen(lang);
}

void Tform1::Chinese1Click() { chooseLanguage(1); }
void Tform1::English1Click() { chooseLanguage(2); }
void Tform1::Chinese2Click() { chooseLanguage(3); }

void Tform1::H2Click()
{
    for (const QString &name : language::helpFiles(m_languageTag)) {
        const QString path = QDir(m_appDir).filePath(name);
        if (QFileInfo::exists(path)) {
            m_helpOpener(QUrl::fromLocalFile(path));
            return;
        }
    }
    // a missing help file shows nothing
}

void Tform1::A1Click()
{
    if (m_aboutForm)
        m_aboutForm->exec();
}

void Tform1::showPage(int page)
{
    if (page >= 0 && page < m_pageControl->count())
        m_pageControl->setCurrentIndex(page);
}
