#include "shell/LanguageElements.h"
#include "settings/SettingsRegistry.h"
#include "shell/LanguageLibrary.h"
#include <QHash>
#include <QRegularExpression>

namespace {

using E = LanguageElement;

E caption(int id, const char *target, const char *format = "%1")
{
    E e;
    e.id = id;
    e.kind = E::Caption;
    e.target = QLatin1String(target);
    e.format = QLatin1String(format);
    return e;
}

E of(int id, E::Kind kind, const char *target = "", const char *format = "%1")
{
    E e = caption(id, target, format);
    e.kind = kind;
    return e;
}

E header(int id, int column, E::Kind kind = E::ChannelHeader)
{
    E e = of(id, kind);
    e.column = column;
    return e;
}

E mark(int id, Mark m)
{
    E e = of(id, E::MarkText);
    e.mark = m;
    return e;
}

E markList(const char *target, QVector<Mark> marks)
{
    E e = of(146, E::MarkList, target);
    e.marks = std::move(marks);
    return e;
}

// The elements outside the settings registry, by string id.
QVector<E> fixedElements()
{
    return {
        of(1, E::MenuCaption, "A1", "%1..."), caption(1, "TaboutForm", "%1..."),
        caption(2, "TaboutForm/okButton"), caption(2, "TR_and_W/bsSkinButton2"),
        caption(3, "TaboutForm/bsSkinStdLabel3"), caption(4, "TaboutForm/bsSkinStdLabel4", "%10"),
        caption(5, "TaboutForm/bsSkinStdLabel2"), caption(6, "TaboutForm/bsSkinStdLabel1"),
        caption(7, "Tmessage1/bsSkinButton1"), caption(8, "Tmessage1/bsSkinButton2"),
        of(9, E::MenuCaption, "fefs1"), of(10, E::MenuCaption, "sgse1"), of(11, E::MenuCaption, "N7"),
        of(12, E::MenuCaption, "H1"), of(12, E::MenuCaption, "H2"),
        of(13, E::MenuCaption, "fsef1"), of(14, E::MenuCaption, "rsgg1"), of(15, E::MenuCaption, "segs1"),
        of(16, E::MenuCaption, "E1"), of(17, E::MenuCaption, "gs1"), of(18, E::MenuCaption, "N2"),
        of(19, E::MenuCaption, "N4"), of(19, E::TabCaption, "channelPage"),
        of(20, E::MenuCaption, "N5"), of(20, E::TabCaption, "bsSkinTabSheet2"),
        of(21, E::MenuCaption, "T1"), of(21, E::TabCaption, "otherPage"),
        of(22, E::MenuCaption, "gsegs1"), of(23, E::MenuCaption, "Language1"), of(24, E::MenuCaption, "S1"),
        header(25, 0),
        header(26, 1), caption(26, "bsSkinEdit11Label", "%1[MHz]"),
        header(27, 2), caption(27, "bsSkinComboBox19Label"),
        header(28, 3), caption(28, "bsSkinEdit13Label", "%1[MHz]"),
        header(29, 4), caption(29, "bsSkinComboBox23Label"),
        header(30, 5), caption(30, "bsSkinComboBox24Label"),
        header(73, 6), caption(73, "bsSkinComboBox31Label"),
        header(31, 7), caption(31, "bsSkinCheckRadioBox2"),
        caption(32, "bsSkinCheckRadioBox7"), caption(76, "bsSkinCheckRadioBox3"),
        caption(77, "bsSkinComboBox32Label"),
        mark(34, Mark::Off), of(34, E::ToneListOff),
        mark(35, Mark::On), mark(36, Mark::High), mark(37, Mark::Low),
        of(56, E::MenuCaption, "Chinese1"), of(57, E::MenuCaption, "English1"),
        of(58, E::NoticeText, "LinkErrorCaption"), of(59, E::NoticeText, "PortErrorText"),
        of(60, E::NoticeText, "LinkErrorText"),
        of(61, E::StatusBar), caption(61, "TR_and_W/bsSkinStatusPanel1", "     %1"),
        of(62, E::NoticeText, "ConfirmCaption"), caption(62, "Tmessage1"), of(64, E::NoticeText, "ConfirmText"),
        caption(65, "bsSkinButton3"), caption(66, "bsSkinButton4"), caption(67, "bsSkinButton5"),
        mark(74, Mark::Wide), mark(75, Mark::Narrow), mark(78, Mark::Compander), mark(79, Mark::Scrambler),
        caption(80, "bsSkinButton6"),
        of(93, E::MenuCaption, "sk1"), of(94, E::MenuCaption, "sk2"), of(95, E::MenuCaption, "sk3"),
        caption(96, "bsSkinButton9"), caption(97, "bsSkinSpeedButton4"), caption(98, "bsSkinSpeedButton5"),
        of(99, E::TabCaption, "singleChannelPage"), caption(99, "singleChannelGroup"),
        caption(99, "bsSkinSpinEdit20Label"), of(99, E::MenuCaption, "N8"),
        of(100, E::TabCaption, "sideKeyPage"), of(100, E::MenuCaption, "N9"),
        header(101, 10), caption(101, "bsSkinEdit8Label"),
        header(102, 11),
        of(106, E::TabCaption, "dtmfSystemPage"), of(107, E::TabCaption, "dtmfParameterPage"),
        header(122, 0, E::CallListHeader), header(123, 1, E::CallListHeader),
        of(141, E::MenuCaption, "N11"), of(142, E::MenuCaption, "N12"), of(143, E::MenuCaption, "N13"),
        caption(144, "bsSkinCheckRadioBox23"),
        // The single-channel lists follow the last string, from the marks loaded before.
        markList("bsSkinComboBox24", {Mark::Low, Mark::High}),
        markList("bsSkinComboBox31", {Mark::Narrow, Mark::Wide}),
        markList("bsSkinComboBox32", {Mark::Off, Mark::Compander, Mark::Scrambler}),
        of(146, E::FirstItem, "bsSkinComboBox19"), of(146, E::FirstItem, "bsSkinComboBox23"),
        of(147, E::MenuCaption, "undoAction"), of(148, E::MenuCaption, "redoAction"),
        of(149, E::NoticeText, "SaveQuestionText"), of(150, E::NoticeText, "SaveButtonText"),
        of(151, E::NoticeText, "DiscardButtonText"), of(152, E::NoticeText, "CancelButtonText"),
        of(153, E::MenuCaption, "openBackupAction"), of(154, E::MenuCaption, "exportChannelsAction"),
        of(155, E::MenuCaption, "importChannelsAction"),
        caption(156, "TR_and_W/fastLinkBox"), caption(157, "TR_and_W/verifyBox"),
        of(170, E::NoticeText, "VerifyFailedText"), of(171, E::NoticeText, "VerifyPassedText"),
        of(172, E::NoticeText, "VerifyingText"), of(173, E::NoticeText, "MoreDifferencesText"),
        of(174, E::NoticeText, "NothingChangedText"), of(175, E::NoticeText, "NothingPastedText"),
        of(176, E::NoticeText, "BackupFailedText"), of(177, E::NoticeText, "VerifyFailedCaption"),
        of(178, E::NoticeText, "VerifyAdviceText"), of(179, E::NoticeText, "VerifyFailedStatus"),
        of(180, E::NoticeText, "HelpTitle"), of(181, E::NoticeText, "HelpBack"),
        of(182, E::NoticeText, "HelpForward"), of(183, E::NoticeText, "HelpContents"),
        of(184, E::NoticeText, "HelpFind"), of(185, E::NoticeText, "HelpFindNext"),
        of(186, E::NoticeText, "HelpFindPrevious"), of(187, E::NoticeText, "HelpNotFound"),
        of(188, E::NoticeText, "HelpClose"), of(189, E::MenuCaption, "saveAsAction"),
        caption(190, "TR_and_W/stopButton"), of(191, E::NoticeText, "StopWriteQuestion"),
        of(192, E::NoticeText, "ReadStoppedText"), of(193, E::NoticeText, "WriteStoppedBeforeText"),
        of(194, E::NoticeText, "WriteStoppedText"), of(195, E::NoticeText, "CheckStoppedText"),
        of(196, E::NoticeText, "TransferPortText"), of(197, E::NoticeText, "TransferNoDeviceText"),
        of(198, E::MenuCaption, "printAction"), of(199, E::MenuCaption, "printPreviewAction"),
        of(200, E::MenuCaption, "savePdfAction"),
    };
}

QVector<E> buildTable()
{
    const QVector<int> &order = LanguageLibrary::appliedIds();
    QHash<int, int> firstAt, lastAt;
    for (int i = 0; i < order.size(); ++i) {
        if (!firstAt.contains(order.at(i)))
            firstAt.insert(order.at(i), i);
        lastAt.insert(order.at(i), i);
    }

    // Elements by position in the order. Fixed elements and captions go to the last reading
    // of their string (88 and 89 are read first for the active band list, then for the band
    // groups); a rebuilt list goes where the last of its strings is first read.
    QVector<QVector<E>> at(order.size());
    for (const E &e : fixedElements())
        at[lastAt.value(e.id)].append(e);
    for (const SettingDef &d : SettingsRegistry::all()) {
        if (d.caption.stringId > 0) {
            E e = caption(d.caption.stringId, "");
            e.target = SettingsRegistry::captionObjectName(d);
            at[lastAt.value(e.id)].append(e);
        }
        if (d.kind == SettingKind::Index && d.rebuiltByLanguage()) {
            int position = -1;
            for (const SettingItem &item : d.items)
                if (item.source != SettingItem::Literal)
                    position = std::max(position, firstAt.value(item.stringId, -1));
            if (position >= 0) {
                E e = of(order.at(position), E::SettingList);
                e.target = d.name;
                at[position].append(e);
            }
        }
    }
    for (const SettingGroup &g : SettingsRegistry::groups()) {
        if (g.caption.stringId > 0) {
            E e = caption(g.caption.stringId, "");
            e.target = SettingsRegistry::groupBoxName(g);
            at[lastAt.value(e.id)].append(e);
        }
    }
    QVector<E> out;
    for (const QVector<E> &list : at)
        out += list;
    return out;
}

} // namespace

namespace LanguageElements {

const QVector<LanguageElement> &all()
{
    static const QVector<LanguageElement> table = buildTable();
    return table;
}

QString withoutMnemonic(const QString &text)
{
    static const QRegularExpression accelerator(QStringLiteral("\\(&[^&)]\\)"));
    QString out = text;
    out.remove(accelerator);
    QString plain;
    plain.reserve(out.size());
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out.at(i) == QLatin1Char('&') && i + 1 < out.size()) {
            ++i;   // "&x" shows "x", "&&" shows "&"
        }
        plain.append(out.at(i));
    }
    return plain;
}

} // namespace LanguageElements
