#include "shell/ui/CodeplugPrinting.h"
#include "channels/ChannelTable.h"
#include "codeplug/CodeplugDocument.h"
#include "settings/SettingsRegistry.h"
#include "shell/ui/Tmessage1.h"
#include "common/FileDialogFolders.h"
#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QTableView>
#include <QWidget>

namespace {

QString withoutMnemonic(QString text)
{
    text.replace(QLatin1String("&&"), QChar(0x1));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0x1), QLatin1Char('&'));
    return text.trimmed();
}

// The value of a setting's control as it shows it.
QString shownValue(const QWidget *control)
{
    if (auto *box = qobject_cast<const QComboBox *>(control))
        return box->currentText();
    if (auto *spin = qobject_cast<const QSpinBox *>(control))
        return spin->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *check = qobject_cast<const QAbstractButton *>(control))
        return check->isChecked() ? QStringLiteral("\u2611") : QStringLiteral("\u2610");
    return QString();
}

QString shownCaption(const QWidget *window, const SettingDef &def)
{
    const QString name = SettingsRegistry::captionObjectName(def);
    if (auto *label = window->findChild<QLabel *>(name))
        return withoutMnemonic(label->text());
    if (auto *button = window->findChild<QAbstractButton *>(name))
        return withoutMnemonic(button->text());
    // A field without a caption of its own (the power-on password) is named by its meaning.
    return def.caption.text.isEmpty() ? def.meaning : def.caption.text;
}

} // namespace

CodeplugPrinting::CodeplugPrinting(QWidget *window, QTableView *grid, CodeplugDocument *doc,
                                   FileCommandWindow folders, QObject *parent)
    : QObject(parent), m_window(window), m_grid(grid), m_doc(doc), m_folders(std::move(folders))
{
    m_pdfChooser = [this](QWidget *dialogParent) {
        const QString start = FileDialogFolders::startFolder(
            m_folders.lastFolder ? m_folders.lastFolder() : QString(),
            m_folders.applicationFolder ? m_folders.applicationFolder() : QString());
        const QString base = m_doc->filePath().isEmpty() ? QStringLiteral("codeplug")
                                                         : QFileInfo(m_doc->filePath()).completeBaseName();
        QString path = QFileDialog::getSaveFileName(dialogParent, QString(), QDir(start).filePath(base + QStringLiteral(".pdf")),
                                                    QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".pdf");
        return path;
    };
}

QString CodeplugPrinting::title() const
{
    QString text = m_window->windowTitle();
    text.remove(QLatin1String("[*]"));
    return text.section(QLatin1Char(' '), 0, 0);
}

PrintDocument CodeplugPrinting::document() const
{
    PrintDocument doc;
    const QString file = m_doc->filePath().isEmpty() ? QStringLiteral("-") : QFileInfo(m_doc->filePath()).fileName();
    doc.headingLines << title()
                     << file + QStringLiteral("    ") + QDate::currentDate().toString(Qt::ISODate);
    // The band ranges the document holds: the selected receive and transmit range of each band.
    QStringList bands;
    for (int band = 0; band < 2; ++band) {
        const BandList &rx = m_doc->bandList(band == 0 ? BandLists::List1Rx : BandLists::List2Rx);
        const BandList &tx = m_doc->bandList(band == 0 ? BandLists::List1Tx : BandLists::List2Tx);
        auto selected = [](const BandList &l) { return l.now >= 0 && l.now < l.items.size() ? l.items.at(l.now) : QStringLiteral("-"); };
        bands << QStringLiteral("%1: RX %2  TX %3").arg(band + 1).arg(selected(rx), selected(tx));
    }
    doc.headingLines << bands.join(QStringLiteral("    "));

    // The channel grid: every column it shows but the one of the ">>" buttons.
    PrintTable channels;
    const QAbstractItemModel *model = m_grid->model();
    QVector<int> columns;
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString header = model->headerData(c, Qt::Horizontal).toString();
        if (!m_grid->isColumnHidden(c) && c != ChannelTable::MoreColumn) {
            columns << c;
            channels.headers << header;
        }
    }
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c : columns)
            row << model->data(model->index(r, c)).toString();
        channels.rows << row;
    }
    doc.tables << channels;

    // The function settings, in the registry's page order, as their pages show them.
    PrintTable settings;
    for (const SettingDef &def : SettingsRegistry::all()) {
        if (def.hidden || !def.isValue())
            continue;
        const QWidget *control = m_window->findChild<QWidget *>(def.name);
        if (!control)
            continue;
        settings.rows << QStringList{shownCaption(m_window, def), shownValue(control)};
    }
    settings.headers << QString() << QString();
    doc.tables << settings;
    return doc;
}

void CodeplugPrinting::notify(const QString &text)
{
    if (m_notifier)
        m_notifier(text);
    else
        showNotice(title(), text);
}

bool CodeplugPrinting::savePdfTo(const QString &path)
{
    QString reason;
    if (TablePrinting::writePdf(path, document(), title(), &reason))
        return true;
    notify(QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

void CodeplugPrinting::savePdf()
{
    const QString path = m_pdfChooser(m_window);
    if (path.isEmpty())
        return;
    if (m_folders.setLastFolder && FileDialogFolders::fitsAsStart(QFileInfo(path).absolutePath(),
                                                                  m_folders.applicationFolder ? m_folders.applicationFolder() : QString()))
        m_folders.setLastFolder(QFileInfo(path).absolutePath());
    savePdfTo(path);
}

void CodeplugPrinting::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (TablePrinting::paint(&printer, document()) == 0)
        notify(printer.printerName());
}

void CodeplugPrinting::preview()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog dialog(&printer, m_window);
    const PrintDocument doc = document();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&doc](QPrinter *p) { TablePrinting::paint(p, doc); });
    dialog.exec();
}
