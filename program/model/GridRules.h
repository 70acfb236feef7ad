#pragma once
// The channel grid without widgets: its layout and header texts, the radio models with their
// bands, the words of the list editor, and the rules that turn what the user typed or chose
// into cell texts. The grid view (CProgramView) and any front end without a display share
// these.
//
// Grid layout: 100 rows x 10 columns. Row 0 is the header row, column 0 the channel-number
// column; row n (1-99) is channel n, columns 1-9 its texts in ChannelTexts::Column order.
#include "ChannelCodec.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace GridRules {

constexpr int RowCount = 100;
constexpr int ColumnCount = 10;
constexpr int ChannelColumn = 0; // the channel number, "%d"

// Text of header row cell `column` (0-9) in `language` (0 English, 1 Simplified Chinese,
// 2 Traditional Chinese; any other value English). Empty for a column outside 0-9.
QString headerText(int column, int language);
// The header row of `language`, ten texts.
QStringList headerTexts(int language);

// Text of column 0 for row `row`: "1" ... "99"; the header text for row 0.
QString rowNumberText(int row, int language);

// Words offered by the list editor for column 5 (Busy Lock), 6 (Power), 7 (Scan Add) or
// 8 (Bandwidth) in `language`; an empty list for any other column. The busy-lock off word is
// "Off" / "关闭" / "關閉" here, while a loaded channel shows the short word of
// channelWordText; both are stored as off.
QStringList listEditorWords(int column, int language);

// One radio model and its single band.
struct RadioModel {
    QString name;       // "KVT270U01"
    QString band;       // "400-470MHz"
    std::uint32_t low;  // lower limit, 10 Hz units
    std::uint32_t high; // upper limit, 10 Hz units
};

// The five models in selector order: U01, V01, U04, U09, U10.
const QList<RadioModel> &radioModels();
QStringList radioModelNames();
// The band text of the model named exactly `modelName`; "400-470MHz" for any other text.
QString bandTextOfModel(const QString &modelName);
// Index of a model byte as read from the image: the byte itself when below the number of
// models, else 0.
int modelIndexFromByte(std::uint8_t byte);

// Reads a band text such as "136-174MHz": the first and the second run of decimal digits,
// each times 100000. Returns false, and changes nothing, when the text does not hold two
// numbers, when the lower limit is not below the upper one, or when a limit does not fit
// the eight frequency digits of a channel record.
bool parseBandText(const QString &band, std::uint32_t *low, std::uint32_t *high);

// A typed frequency as the units to store: read exactly, clamped to [low, high] unless it is
// 0, then moved down onto the 5 kHz or the 6.25 kHz raster, whichever is nearer below (a tie
// goes to 5 kHz). 0 means no frequency.
std::uint32_t snapFrequencyUnits(const QString &typed, std::uint32_t low, std::uint32_t high);
// The same as the text the grid shows: "145.12000", or empty for no frequency.
QString snapFrequencyText(const QString &typed, std::uint32_t low, std::uint32_t high);

// Commits an editor's text into cell `column` (1-9) of a channel row, the way the grid does
// when an editor closes, and returns the new row. A channel counts as empty when its Rx Freq
// is empty.
//  - Column 1: the text is snapped (snapFrequencyText). No frequency deletes the channel
//    (columns 1-9 emptied); an empty channel is started with the frequency in Rx and Tx and
//    the defaults of newChannelTexts, keeping its name; otherwise only Rx Freq changes.
//  - Column 2: the snapped text, or empty; an empty channel stays empty.
//  - Columns 3-9: the text as given; an empty channel stays empty. A name keeps its first
//    six characters.
ChannelTexts commitCell(const ChannelTexts &row, int column, const QString &editorText,
                        std::uint32_t low, std::uint32_t high);

} // namespace GridRules
