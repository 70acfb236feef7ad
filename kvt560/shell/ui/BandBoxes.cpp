// The band drop-downs of the main window show the document's four band lists and hand the
// user's choice to it; the caption follows band 1's receive range.
#include "shell/ui/Tform1.h"
#include "codeplug/CodeplugDocument.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include <QCheckBox>
#include <QComboBox>


// ---------------------------------------------------------------------------------------
// Bands

void Tform1::bs()
{
    setWindowTitle(QStringLiteral("KVT560    [") + bsSkinComboBox20->currentText() + QStringLiteral("][*]"));
}

void Tform1::setBandChangeByKeypad(bool marked)
{
    // The store runs the box's rule: unmarked selects band 1 and disables the selector.
    m_settings->setValue(SettingKey::BandByKeypad, marked ? 1 : 0);
}

void Tform1::bsSkinCheckRadioBox14Click()
{
    m_settings->setByUser(SettingKey::BandByKeypad, bsSkinCheckRadioBox14->isChecked() ? 1 : 0);
}

QComboBox *Tform1::bandBox(int list) const
{
    QComboBox *const boxes[Preferences::ListCount] = {bsSkinComboBox20, bsSkinComboBox21, bsSkinComboBox6,
                                                      bsSkinComboBox11};
    return list >= 0 && list < Preferences::ListCount ? boxes[list] : nullptr;
}

void Tform1::showBandList(int list)
{
    QComboBox *box = bandBox(list);
    const BandList &band = m_doc->bandList(list);
    m_showingBands = true;
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    if (items != band.items) {
        const QSignalBlocker block(box);   // the selection is set (and announced) below
        box->clear();
        box->addItems(band.items);
        box->setCurrentIndex(-1);
    }
    box->setCurrentIndex(band.now);
    m_showingBands = false;
}

void Tform1::bandBoxChanged(int list)
{
    if (m_showingBands)
        return;
    // The user's choice, or an item put into the drop-down: the document takes the list.
    QComboBox *box = bandBox(list);
    BandList band;
    for (int i = 0; i < box->count(); ++i)
        band.items << box->itemText(i);
    band.now = box->currentIndex();
    m_doc->changeBandList(list, band);
}

void Tform1::bindBandBoxes()
{
    for (int list = 0; list < Preferences::ListCount; ++list) {
        QComboBox *box = bandBox(list);
        showBandList(list);
        connect(box, &QComboBox::currentIndexChanged, this, [this, list] { bandBoxChanged(list); });
        connect(box->model(), &QAbstractItemModel::rowsInserted, this, [this, list] { bandBoxChanged(list); });
        connect(box->model(), &QAbstractItemModel::rowsRemoved, this, [this, list] { bandBoxChanged(list); });
    }
    connect(m_doc, &CodeplugDocument::bandListChanged, this, &Tform1::showBandList);
}
