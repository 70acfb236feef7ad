#include "codeplug/ui/CodeplugFiles.h"

#include "channels/ChannelTable.h"
#include "codeplug/CodeplugDocument.h"
#include "channels/ui/ChannelEditor.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "settings/ui/SettingsPages.h"
#include "shell/ui/Tform1.h"
#include "shell/ui/Tmessage1.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

CodeplugFiles::CodeplugFiles(Tform1 *mainWindow, CodeplugDocument *document)
    : QObject(mainWindow)
    , form(mainWindow)
    , doc(document)
{
    setObjectName(QStringLiteral("codeplugFiles"));
    connect(form, &Tform1::saveRequested, this, &CodeplugFiles::segs1Click);
    connect(form, &Tform1::openRequested, this, &CodeplugFiles::rsgg1Click);
}

QString CodeplugFiles::dialogFilter()
{
    return QStringLiteral("NQS-552  文件 (*.k56)");
}

QString CodeplugFiles::askOpenFile(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("打开"), QString(), dialogFilter());
    dialog.setObjectName(QStringLiteral("openDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString CodeplugFiles::askSaveFile(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("保存"), QString(), dialogFilter());
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(CodeplugFile::suffix());
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString CodeplugFiles::withDefaultSuffix(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + CodeplugFile::suffix();
}

QString CodeplugFiles::itemText(const QString &name, int index) const
{
    // The drop-down as the user sees it, in the current language; the built-in items when
    // the control is not there.
    const auto *box = form->settingsPages() ? qobject_cast<QComboBox *>(form->settingsPages()->control(name)) : nullptr;
    if (box && index >= 0 && index < box->count())
        return box->itemText(index);
    const SettingDef *def = SettingsRegistry::byName(name);
    return def ? def->itemTexts().value(index) : QString();
}

Codeplug CodeplugFiles::currentContent() const
{
    return doc->snapshot();
}

bool CodeplugFiles::saveTo(const QString &path)
{
    const QByteArray bytes = CodeplugFile::write(currentContent(), [this](const QString &name, int index) {
        return itemText(name, index);
    });
    QString reason;
    if (CodeplugFile::save(path, bytes, &reason)) {
        doc->markSaved();
        return true;
    }
    notify(CodeplugFile::saveFailedText(path, reason));
    return false;
}

bool CodeplugFiles::openFrom(const QString &path)
{
    QString reason;
    const auto bytes = CodeplugFile::load(path, &reason);
    if (!bytes) {
        notify(CodeplugFile::loadFailedText(path, reason));
        return false;
    }
    const CodeplugReadResult result =
        CodeplugFile::read(*bytes, doc->settings()->snapshot(), doc->channels()->cells());
    switch (result.status) {
    case CodeplugReadResult::NotACodeplug:
        return false;
    case CodeplugReadResult::BadValue:
        notify(result.message);
        return false;
    case CodeplugReadResult::Read:
        break;
    }
    apply(result.content);
    return true;
}

void CodeplugFiles::apply(const Codeplug &content)
{
    // The band lists in file order (each range text selected, or appended and selected; the
    // lists are kept in the preferences at exit), then settings and channels.
    doc->applyFile(content);
    form->bs();
}

bool CodeplugFiles::commitPendingEdit()
{
    return form->finishChannelEdit(false);
}

void CodeplugFiles::hideFrequencyEditor()
{
    form->channelEditor->bsSkinEdit1->hide();
}

void CodeplugFiles::segs1Click()
{
    save();
}

bool CodeplugFiles::save()
{
    if (!commitPendingEdit())
        return false;
    const QString path = withDefaultSuffix(saveChooser(form));
    if (path.isEmpty())
        return false;
    return saveTo(path);
}

void CodeplugFiles::rsgg1Click()
{
    if (!commitPendingEdit() || !form->settleUnsavedEdits())
        return;
    const QString path = openChooser(form);
    if (path.isEmpty())
        return;
    openFrom(path);
    hideFrequencyEditor();
}

void CodeplugFiles::notify(const QString &text)
{
    if (notifier)
        notifier(text);
    else
        showNotice(QStringLiteral("KVT560"), text);
}
