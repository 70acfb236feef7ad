#include "settings/ui/SettingsPages.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "settings/ui/CallListGrid.h"
#include "settings/ui/SettingWidgets.h"
#include <QBoxLayout>
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

QGroupBox *groupBox(const QString &key, QWidget *parent)
{
    const SettingGroup *g = SettingsRegistry::group(key);
    auto *box = new QGroupBox(g->caption.text, parent);
    box->setObjectName(SettingsRegistry::groupBoxName(*g));
    return box;
}

QGridLayout *gridOf(QWidget *w)
{
    if (auto *grid = qobject_cast<QGridLayout *>(w->layout()))
        return grid;
    return new QGridLayout(w);
}

} // namespace

SettingsPages::SettingsPages(SettingsStore *store, const SettingsPageHosts &hosts, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_hosts(hosts)
{
    // Page 1: the columns and panels exist in the main window.
    buildGroup(QStringLiteral("basic"), nullptr);
    buildGroup(QStringLiteral("vox"), hosts.voxPanel);
    buildGroup(QStringLiteral("bandPassword"), hosts.bandPasswordPanel);

    // Page 2, sub-page "系统": the system group above the PTT ID group, the call list beside.
    {
        auto *layout = new QHBoxLayout(hosts.dtmfSystem);
        layout->setContentsMargins(8, 8, 8, 8);
        layout->setSpacing(10);
        auto *left = new QVBoxLayout;
        left->setSpacing(8);
        auto *system = groupBox(QStringLiteral("dtmfSystem"), hosts.dtmfSystem);
        buildGroup(QStringLiteral("dtmfSystem"), system);
        auto *ptt = groupBox(QStringLiteral("pttId"), hosts.dtmfSystem);
        buildGroup(QStringLiteral("pttId"), ptt);
        left->addWidget(system);
        left->addWidget(ptt);
        left->addStretch();
        auto *calls = groupBox(QStringLiteral("callList"), hosts.dtmfSystem);
        auto *callsLayout = new QVBoxLayout(calls);
        m_callList = new CallListGrid(store, calls);
        callsLayout->addWidget(m_callList);
        callsLayout->addStretch();
        layout->addLayout(left, 3);
        layout->addWidget(calls, 2, Qt::AlignTop);
    }

    // Page 2, sub-page "参数": DTMF decoding beside remote stun and kill.
    {
        auto *layout = new QHBoxLayout(hosts.dtmfParameter);
        layout->setContentsMargins(8, 8, 8, 8);
        layout->setSpacing(10);
        for (const char *key : {"decode", "stun"}) {
            auto *box = groupBox(QLatin1String(key), hosts.dtmfParameter);
            buildGroup(QLatin1String(key), box);
            layout->addWidget(box, 1, Qt::AlignTop);
        }
    }

    // Page 4: the five keys beside the drawn radio.
    {
        auto *layout = new QHBoxLayout(hosts.sideKeys);
        layout->setContentsMargins(8, 8, 8, 8);
        layout->setSpacing(16);
        auto *keys = groupBox(QStringLiteral("sideKeys"), hosts.sideKeys);
        buildGroup(QStringLiteral("sideKeys"), keys);
        auto *picture = new RadioPicture(hosts.sideKeys);
        layout->addWidget(keys, 3, Qt::AlignTop);
        layout->addWidget(picture, 2);
    }

    connect(m_store, &SettingsStore::valueChanged, this, &SettingsPages::show);
    connect(m_store, &SettingsStore::enabledChanged, this, [this](const QString &name, bool enabled) {
        if (QWidget *w = m_controls.value(name))
            w->setEnabled(enabled);
    });
}

void SettingsPages::buildGroup(const QString &groupKey, QWidget *box)
{
    QGridLayout *grid = nullptr;
    if (box) {
        grid = gridOf(box);
        grid->setHorizontalSpacing(10);
        grid->setVerticalSpacing(6);
        grid->setColumnStretch(1, 1);
    }
    QAbstractButton *lastBox = nullptr;   // the check box of the row above
    for (const SettingDef &def : SettingsRegistry::all()) {
        if (def.group != groupKey || !def.isValue() || def.name.startsWith(QLatin1String("bsSkinStringGrid1")))
            continue;
        // Page 1, "基本功能": drop-downs in the left column, check boxes in the right one.
        QWidget *host = box;
        QGridLayout *target = grid;
        if (groupKey == QLatin1String("basic")) {
            host = def.column == 0 ? m_hosts.basicLeft : m_hosts.basicRight;
            target = def.column == 0 ? gridOf(host) : nullptr;
        }
        QWidget *control = host->findChild<QWidget *>(def.name);
        const bool existing = control != nullptr;
        if (!existing)
            control = makeControl(def, host);
        bind(control, def);
        if (existing)
            continue;
        if (def.hidden) {
            control->setVisible(false);
            continue;
        }
        if (!target) {
            host->layout()->addWidget(control);
            continue;
        }
        const int row = target->rowCount();
        if (def.kind == SettingKind::Check) {
            target->addWidget(control, row, 0, 1, 2);
            lastBox = qobject_cast<QAbstractButton *>(control);
        } else if (def.caption.text.isEmpty()) {
            target->addWidget(control, row, 1);   // under the box that unlocks it (the password)
            m_namedByBox.append({control, lastBox});
        } else {
            auto *label = new QLabel(def.caption.text, host);
            label->setObjectName(SettingsRegistry::captionObjectName(def));
            label->setBuddy(control);
            target->addWidget(label, row, 0);
            target->addWidget(control, row, 1);
        }
    }
    if (groupKey == QLatin1String("basic")) {
        gridOf(m_hosts.basicLeft)->setRowStretch(gridOf(m_hosts.basicLeft)->rowCount(), 1);
        gridOf(m_hosts.basicLeft)->setColumnStretch(1, 1);
        if (auto *column = qobject_cast<QBoxLayout *>(m_hosts.basicRight->layout()))
            column->addStretch();
    }
}

void SettingsPages::nameControls()
{
    if (auto *group = qobject_cast<QGroupBox *>(m_callList->parentWidget()))
        m_callList->setAccessibleName(group->title());
    for (const auto &[control, box] : std::as_const(m_namedByBox))
        if (control && box)
            control->setAccessibleName(box->text().remove(QLatin1Char('&')));
}

QWidget *SettingsPages::makeControl(const SettingDef &def, QWidget *parent)
{
    QWidget *control = nullptr;
    switch (def.kind) {
    case SettingKind::Index: {
        auto *combo = new QComboBox(parent);
        combo->addItems(def.itemTexts());
        combo->setMinimumWidth(110);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);   // longer items of a language
        control = combo;
        break;
    }
    case SettingKind::Check:
        control = new QCheckBox(def.caption.text, parent);
        break;
    case SettingKind::Spin:
        control = new SettingSpinBox(def.spin, parent);
        break;
    case SettingKind::Text: {
        auto *edit = new QLineEdit(parent);
        if (def.filter.maxLength > 0)
            edit->setMaxLength(def.filter.maxLength);
        edit->setValidator(new TextFilterValidator(def.filter, edit));
        control = edit;
        break;
    }
    case SettingKind::RangeList:
        break;
    }
    control->setObjectName(def.name);
    return control;
}

void SettingsPages::bind(QWidget *control, const SettingDef &def)
{
    m_controls.insert(def.name, control);
    const QString name = def.name;
    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->count() == 0)
            combo->addItems(def.itemTexts());
        connect(combo, &QComboBox::currentIndexChanged, this, [this, name](int index) {
            if (index >= 0)
                fromControl(name, index);
        });
    } else if (auto *box = qobject_cast<QCheckBox *>(control)) {
        connect(box, &QCheckBox::toggled, this, [this, name](bool on) { fromControl(name, on ? 1 : 0); });
    } else if (auto *spin = qobject_cast<QSpinBox *>(control)) {
        connect(spin, &QSpinBox::valueChanged, this, [this, name](int v) { fromControl(name, v); });
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        connect(edit, &QLineEdit::textChanged, this, [this, name](const QString &t) { fromControl(name, t); });
        if (def.filter.exactLength > 0)
            edit->installEventFilter(this);   // bsSkinEdit15Exit
    }
    show(name);
    control->setEnabled(m_store->isEnabled(name));
}

void SettingsPages::fromControl(const QString &name, const QVariant &value)
{
    if (m_showing)
        return;
    m_store->setByUser(name, value);
    // A refused value, or a rule that forces the control back, shows at once.
    show(name);
}

void SettingsPages::show(const QString &name)
{
    QWidget *control = m_controls.value(name);
    if (!control)
        return;
    const bool wasShowing = m_showing;
    m_showing = true;
    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->currentIndex() != m_store->number(name))
            combo->setCurrentIndex(m_store->number(name));
    } else if (auto *box = qobject_cast<QCheckBox *>(control)) {
        box->setChecked(m_store->number(name) == 1);
    } else if (auto *spin = qobject_cast<QSpinBox *>(control)) {
        if (spin->value() != m_store->number(name))
            spin->setValue(m_store->number(name));
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        if (edit->text() != m_store->text(name))
            edit->setText(m_store->text(name));
    }
    m_showing = wasShowing;
}

bool SettingsPages::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut)
        m_store->finishEditing(watched->objectName());
    return QObject::eventFilter(watched, event);
}
