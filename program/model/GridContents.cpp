#include "GridContents.h"

#include "model/RadioImage.h"
#include "GridRules.h"
#include "MemoryImage.h"

QString GridContents::modelText() const
{
    const QStringList names = GridRules::radioModelNames();
    return modelIndex >= 0 && modelIndex < names.size() ? names.at(modelIndex) : QString();
}

QString GridContents::bandText() const
{
    return GridRules::bandTextOfModel(modelText());
}

GridContents imageToGridContents()
{
    GridContents grid;
    grid.modelIndex = GridRules::modelIndexFromByte(RadioImage[ImageMap::ModelIndex]);
    // The band selector holds the model's one band; a band byte beyond it selects that band.
    grid.bandIndex = 0;
    grid.channels.reserve(ImageMap::ChannelCount);
    for (int n = 1; n <= ImageMap::ChannelCount; ++n)
        grid.channels.append(LoadChannel(n));
    return grid;
}

void gridContentsToImage(const GridContents &grid)
{
    RadioImage[ImageMap::ModelIndex] = std::uint8_t(grid.modelIndex);
    RadioImage[ImageMap::BandIndex] = std::uint8_t(grid.bandIndex);
    for (int n = 1; n <= ImageMap::ChannelCount; ++n)
        StoreChannel(n, grid.channels.value(n - 1));
    WriteFixedFields();
}
