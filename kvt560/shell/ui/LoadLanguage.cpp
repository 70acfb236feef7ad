// Tform1::LoadLanguage: puts the strings of one language library into the interface by the
// element table of LanguageElements, then rewrites the marks standing in the channel table.
#include "codeplug/CodeplugDocument.h"
#include "channels/ChannelTable.h"
#include "channels/ToneList.h"
#include "settings/SettingsRegistry.h"
#include "settings/ui/CallListGrid.h"
#include "shell/LanguageElements.h"
#include "shell/LanguageLibrary.h"
#include "shell/LanguageTexts.h"
#include "shell/ui/Tform1.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace {

// The object named name: a child of the main window, or of a top-level window of the
// program; "Window/child" looks for child inside the window named Window.
QObject *findElement(Tform1 &form, const QString &name)
{
    const qsizetype slash = name.indexOf(QLatin1Char('/'));
    const QString windowName = slash < 0 ? QString() : name.left(slash);
    const QString childName = slash < 0 ? name : name.mid(slash + 1);

    QList<QObject *> roots{&form};
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != &form)
            roots.append(w);
    for (QObject *root : roots) {
        QObject *scope = root;
        if (!windowName.isEmpty()) {
            scope = root->objectName() == windowName ? root : root->findChild<QObject *>(windowName);
            if (!scope)
                continue;
        } else if (root->objectName() == childName) {
            return root;
        }
        if (QObject *found = scope->findChild<QObject *>(childName))
            return found;
    }
    return nullptr;
}

// Replaces the items of a drop-down and selects the index it had before.
void rebuild(QComboBox *box, const QStringList &items)
{
    if (!box)
        return;
    const int index = box->currentIndex();
    {
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(index < box->count() ? index : -1);
    }
}

void setCaption(QObject *element, const QString &text)
{
    if (auto *action = qobject_cast<QAction *>(element))
        action->setText(text);
    else if (auto *menu = qobject_cast<QMenu *>(element))
        menu->setTitle(text);
    else if (auto *group = qobject_cast<QGroupBox *>(element))
        group->setTitle(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(element))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(element))
        label->setText(text);
    else if (auto *widget = qobject_cast<QWidget *>(element); widget && widget->isWindow())
        widget->setWindowTitle(text);
}

} // namespace

bool Tform1::LoadLanguage(const QString &name)
{
    LanguageLibrary library;
    if (!library.load(LanguageLibrary::pathOf(m_appDir, name))) {
        // A missing or broken library leaves the interface in the language it shows.
        if (QFileInfo::exists(LanguageLibrary::pathOf(m_appDir, name)))
            qWarning("KVT560: %s", qPrintable(library.errorString()));
        return false;
    }

    Marks marks = m_table->marks();
    const auto fromLibrary = [&library](int id) { return library.text(id); };

    for (const LanguageElement &e : LanguageElements::all()) {
        // A string the library lacks leaves its elements as they are.
        if (!library.contains(e.id))
            continue;
        // Plain replacement: "%10" is the string followed by "0", not a tenth argument.
        const QString text = QString(e.format).replace(QLatin1String("%1"), library.text(e.id));
        switch (e.kind) {
        case LanguageElement::Caption:
            if (QObject *element = findElement(*this, e.target))
                setCaption(element, LanguageElements::withoutMnemonic(text));
            break;
        case LanguageElement::MenuCaption:
            if (QObject *element = findElement(*this, e.target))
                setCaption(element, text);
            break;
        case LanguageElement::TabCaption:
            if (auto *page = qobject_cast<QWidget *>(findElement(*this, e.target))) {
                // The page's tab control is the stacked widget's owner.
                for (QWidget *w = page->parentWidget(); w; w = w->parentWidget()) {
                    if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
                        const int index = tabs->indexOf(page);
                        if (index >= 0)
                            tabs->setTabText(index, LanguageElements::withoutMnemonic(text));
                        break;
                    }
                }
            }
            break;
        case LanguageElement::ChannelHeader:
            m_table->setHeaderText(e.column, text);
            break;
        case LanguageElement::CallListHeader:
            bsSkinStringGrid1()->setHeaderText(e.column, text);
            break;
        case LanguageElement::SettingList:
            if (const SettingDef *def = SettingsRegistry::byName(e.target))
                rebuild(findChild<QComboBox *>(e.target), def->itemTexts(fromLibrary));
            break;
        case LanguageElement::MarkList: {
            QStringList items;
            for (Mark m : e.marks)
                items.append(marks.text(m));
            rebuild(findChild<QComboBox *>(e.target), items);
            break;
        }
        case LanguageElement::FirstItem:
            if (auto *box = findChild<QComboBox *>(e.target); box && box->count() > 0)
                box->setItemText(0, marks.off);
            break;
        case LanguageElement::MarkText:
            marks.set(e.mark, text);
            break;
        case LanguageElement::NoticeText:
            break;   // taken below, with the other window-free texts
        case LanguageElement::StatusBar:
            setStatusText(text);
            break;
        case LanguageElement::ToneListOff:
            ToneList::instance().setOffWord(text);
            break;
        }
    }

    nameControls();

    LanguageTexts texts = noticeTexts();
    texts.apply(library);
    setNoticeTexts(texts);

    // The marks standing in the tables follow the new language.
    // A switch of words, not of the codeplug: the document stays as modified as it was.
    m_doc->relabelMarks(marks);
    return true;
}

LanguageTexts Tform1::noticeTexts() const
{
    LanguageTexts t = m_texts;
    t.LinkErrorCaption = LinkErrorCaption;
    t.PortErrorText = PortErrorText;
    t.LinkErrorText = LinkErrorText;
    t.ConfirmCaption = ConfirmCaption;
    t.ConfirmText = ConfirmText;
    return t;
}

void Tform1::setNoticeTexts(const LanguageTexts &newTexts)
{
    m_texts = newTexts;
    LinkErrorCaption = m_texts.LinkErrorCaption;
    PortErrorText = m_texts.PortErrorText;
    LinkErrorText = m_texts.LinkErrorText;
    ConfirmCaption = m_texts.ConfirmCaption;
    ConfirmText = m_texts.ConfirmText;
}
