#pragma once
// What the channel grid shows of an image, as plain values: the model and band selections
// and the texts of channels 1-99. The document (CProgramDoc) holds them beside its image;
// the view shows them.
#include "ChannelCodec.h"

#include <QList>
#include <QString>

struct GridContents {
    int modelIndex = 0;              // position in the model selector; -1 for no selection
    int bandIndex = 0;               // position in the band selector (the model's one band); -1 none
    QList<ChannelTexts> channels;    // channels 1-99 in order

    QString modelText() const;       // the selected model's name; empty for none
    QString bandText() const;        // the band the model selector gives
};

// An image as ImageToGrid shows it: the model of byte 0x1FE0 (the first model when the
// byte names none), the model's band, and channels 1-99 in the words of the current
// LanguageIndex.
GridContents imageToGridContents(const ImageBytes &image);
// Stores into `image` what GridToImage stores: model and band indexes (no selection as 0xFF),
// channels 1-99 from their texts, then the fixed fields.
void gridContentsToImage(ImageBytes &image, const GridContents &grid);
