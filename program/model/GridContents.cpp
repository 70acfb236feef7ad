#include "GridContents.h"

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

GridContents imageToGridContents(const ImageBytes &image)
{
    GridContents grid;
    grid.modelIndex = GridRules::modelIndexFromByte(image[ImageMap::ModelIndex]);
    // The band selector holds the model's one band; a band byte beyond it selects that band.
    grid.bandIndex = 0;
    grid.channels.reserve(ImageMap::ChannelCount);
    for (int n = 1; n <= ImageMap::ChannelCount; ++n)
        grid.channels.append(LoadChannel(image, n));
    return grid;
}

void gridContentsToImage(ImageBytes &image, const GridContents &grid)
{
    image[ImageMap::ModelIndex] = std::uint8_t(grid.modelIndex);
    image[ImageMap::BandIndex] = std::uint8_t(grid.bandIndex);
    for (int n = 1; n <= ImageMap::ChannelCount; ++n)
        StoreChannel(image, n, grid.channels.value(n - 1));
    WriteFixedFields(image);
}
