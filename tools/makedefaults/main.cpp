// makedefaults: writes the four factory default channel data files of Program into a
// directory. Each is a new image (NewImage) with the model byte of its model, the band byte 0
// and sixteen channels in that model's band, stored through the channel codec exactly as the
// grid would store them.
//
//   makedefaults <directory>
#include "files/CProgramDoc.h"
#include "base/Globals.h"
#include "model/RadioImage.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

struct FactoryDefault {
    const char *fileName;
    std::uint8_t modelIndex;  // position in the model selector
    std::uint32_t firstChannel;  // receive frequency of channel 1, in 10 Hz units
};

// One file per model that has its own: KVT270U01 (also used for KVT270U09), KVT270V01,
// KVT270U04 and KVT270U10.
constexpr FactoryDefault Defaults[] = {
    {"Default1.sin", 0, 40012500},  // 400-470 MHz
    {"Default2.sin", 1, 15012500},  // 136-174 MHz
    {"Default3.sin", 2, 35012500},  // 330-400 MHz
    {"Default4.sin", 4, 45012500},  // 450-520 MHz
};

constexpr int ChannelCount = 16;
constexpr std::uint32_t ChannelSpacing = 25000;  // 250 kHz between channels

// Tones of channels 1-16: four without, four CTCSS tones, four DCS codes normal, two inverted,
// and two with a different receive and transmit tone.
const char *const RxTones[ChannelCount] = {
    "Off", "Off", "Off", "Off", "67.0", "88.5", "100.0", "123.0",
    "D023N", "D114N", "D205N", "D754N", "D023I", "D754I", "67.0", "D031N",
};
const char *const TxTones[ChannelCount] = {
    "Off", "Off", "Off", "Off", "67.0", "88.5", "100.0", "123.0",
    "D023N", "D114N", "D205N", "D754N", "D023I", "D754I", "Off", "Off",
};

ImageBytes buildImage(const FactoryDefault &d)
{
    ImageBytes image;
    NewImage(image);
    for (int n = 1; n <= ChannelCount; ++n) {
        ChannelTexts texts = newChannelTexts(frequencyText(d.firstChannel + std::uint32_t(n - 1) * ChannelSpacing));
        texts.rxTone = QString::fromLatin1(RxTones[n - 1]);
        texts.txTone = QString::fromLatin1(TxTones[n - 1]);
        // Channels 9-16 are narrow, every fourth runs on low power.
        if (n > 8)
            texts.bandwidth = channelWordText(ChannelWord::Narrow, LanguageEnglish);
        if (n % 4 == 0)
            texts.power = channelWordText(ChannelWord::Low, LanguageEnglish);
        texts.name = QStringLiteral("CH%1").arg(n);
        StoreChannel(image, n, texts);
    }
    image[ImageMap::ModelIndex] = d.modelIndex;
    image[ImageMap::BandIndex] = 0;
    WriteFixedFields(image);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: makedefaults <directory>\n");
        return 2;
    }
    const QDir dir(args.at(1));
    LanguageIndex = LanguageEnglish;
    for (const FactoryDefault &d : Defaults) {
        const ImageBytes image = buildImage(d);
        QString error;
        if (!CProgramDoc::writeImageFile(dir.filePath(QString::fromLatin1(d.fileName)), image, &error)) {
            std::fprintf(stderr, "makedefaults: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
