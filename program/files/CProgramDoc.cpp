#include "CProgramDoc.h"

#include "FileMessages.h"
#include "base/Globals.h"
#include "common/CheckedSave.h"
#include "model/GridRules.h"
#include "model/MemoryImage.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Reads up to a whole image's bytes; a read error shows in file.error().
QByteArray readImageBytes(QFile &file)
{
    QByteArray data;
    data.reserve(int(RadioImageSize));
    while (data.size() < int(RadioImageSize)) {
        const QByteArray chunk = file.read(qint64(RadioImageSize) - data.size());
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    return data;
}

// The bytes the grid's values are kept in: the channel records and names, model and band.
bool valuesDiffer(const ImageBytes &a, const ImageBytes &b)
{
    const auto differ = [&a, &b](int first, int length) {
        return std::memcmp(a.data() + first, b.data() + first, std::size_t(length)) != 0;
    };
    return differ(ImageMap::ChannelRecords, ImageMap::ChannelCount * ImageMap::ChannelRecordSize)
           || differ(ImageMap::ChannelNames, ImageMap::ChannelCount * ImageMap::ChannelNameSize)
           || differ(ImageMap::ModelIndex, 2);
}

} // namespace

QString CProgramDoc::fileFilter()
{
    return QStringLiteral("Channel Data (*.sin)");
}

QString CProgramDoc::fileExtension()
{
    return QStringLiteral(".sin");
}

CProgramDoc::CProgramDoc(QObject *parent)
    : QObject(parent)
{
    NewImage(m_image);
    readContents();
    m_cleanImage = imageBytes();
}

void CProgramDoc::readContents()
{
    m_contents = imageToGridContents(m_image);
    applyBand();
}

void CProgramDoc::storeContents()
{
    gridContentsToImage(m_image, m_contents);
}

void CProgramDoc::applyBand()
{
    // A band text that names no limits leaves the limits as they were.
    GridRules::parseBandText(m_contents.bandText(), &m_freqLow, &m_freqHigh);
}

void CProgramDoc::resetTo(const ImageBytes &image)
{
    m_image = image;
    readContents();
    emit documentReset();
    updateModified();
}

void CProgramDoc::setChannel(int n, const ChannelTexts &texts)
{
    if (n < 1 || n > m_contents.channels.size() || m_contents.channels.at(n - 1) == texts)
        return;
    m_contents.channels[n - 1] = texts;
    storeContents();
    emit channelsChanged(n, n);
    updateModified();
}

void CProgramDoc::setModelIndex(int index)
{
    m_contents.modelIndex = index;
    m_contents.bandIndex = 0;
    applyBand();
    storeContents();
    emit selectionChanged();
    updateModified();
}

void CProgramDoc::setBandIndex(int index)
{
    m_contents.bandIndex = index;
    applyBand();
    storeContents();
    emit selectionChanged();
    updateModified();
}

void CProgramDoc::editImage(const std::function<void(ImageBytes &)> &edit)
{
    const ImageBytes before = m_image;
    edit(m_image);
    if (valuesDiffer(before, m_image)) {
        readContents();
        emit documentReset();
    } else if (before != m_image) {
        emit fieldsChanged();
    }
    updateModified();
}

bool CProgramDoc::change(const QString &label, const std::function<void()> &edit)
{
    const State before = state();
    ++m_changeDepth;
    edit();
    --m_changeDepth;
    const State after = state();
    updateModified();
    const bool changed = before.image != after.image || before.pathName != after.pathName
                         || before.cleanImage != after.cleanImage;
    if (changed && m_changeDepth == 0)
        emit stepRecorded(label, before, after);
    return changed;
}

QString CProgramDoc::title() const
{
    return m_pathName.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_pathName).fileName();
}

void CProgramDoc::forgetPath()
{
    setPathName(QString());
}

void CProgramDoc::markClean()
{
    m_cleanImage = imageBytes();
    updateModified();
}

void CProgramDoc::updateModified()
{
    const bool modified = m_cleanImage != imageBytes();
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(m_modified);
}

CProgramDoc::State CProgramDoc::state() const
{
    return {imageBytes(), m_pathName, m_cleanImage};
}

void CProgramDoc::restoreState(const State &state)
{
    m_cleanImage = state.cleanImage;
    setPathName(state.pathName);
    resetTo(imageFromBytes(state.image));
}

void CProgramDoc::restoreImage(const QByteArray &image)
{
    resetTo(imageFromBytes(image));
}

void CProgramDoc::newDocument()
{
    ImageBytes image;
    NewImage(image);
    setPathName(QString());
    resetTo(image);
    markClean();
}

bool CProgramDoc::openDocument(const QString &path, QString *error)
{
    ImageBytes image;
    if (!readImageFile(path, &image, error))
        return false;
    setPathName(QFileInfo(path).absoluteFilePath());
    resetTo(image);
    markClean();
    return true;
}

void CProgramDoc::storeValues()
{
    const bool wasModified = m_modified;
    storeContents();
    if (wasModified)
        updateModified();
    else
        markClean();
}

bool CProgramDoc::saveDocument(const QString &path, QString *error)
{
    if (!writeImageFile(path, m_image, error))
        return false;
    setPathName(QFileInfo(path).absoluteFilePath());
    markClean();
    return true;
}

QByteArray CProgramDoc::imageForWrite()
{
    storeValues();
    return imageBytes();
}

void CProgramDoc::applyRead(const QByteArray &image)
{
    resetTo(imageFromBytes(image));
    markClean();
}

void CProgramDoc::setPathName(const QString &path)
{
    if (path == m_pathName)
        return;
    m_pathName = path;
    emit pathNameChanged(m_pathName);
}

bool CProgramDoc::readImageFile(const QString &path, ImageBytes *image, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, fileOpenFailedText(LanguageIndex, path, file.errorString()));
        return false;
    }
    // The whole image is read before any of it is copied: a short or failing file leaves
    // the image exactly as it was.
    const QByteArray data = readImageBytes(file);
    if (file.error() != QFileDevice::NoError) {
        setError(error, fileOpenFailedText(LanguageIndex, path, file.errorString()));
        return false;
    }
    if (data.size() < int(RadioImageSize)) {
        setError(error, fileTooShortText(LanguageIndex, path, data.size()));
        return false;
    }
    copyIntoImage(*image, data);
    return true;
}

bool CProgramDoc::writeImageFile(const QString &path, const ImageBytes &image, QString *error)
{
    // Every write is checked and synced before the temporary file replaces the old one: a
    // full disk fails here and leaves the old file whole.
    QString reason;
    if (!CheckedSave::writeFile(path, toByteArray(image), &reason)) {
        setError(error, fileSaveFailedText(LanguageIndex, path, reason));
        return false;
    }
    return true;
}

ImageBytes CProgramDoc::storedImage(const ImageBytes &image)
{
    ImageBytes stored = image;
    gridContentsToImage(stored, imageToGridContents(stored));
    return stored;
}

QString CProgramDoc::defaultFileName(const QString &modelText)
{
    if (modelText == QLatin1String("KVT270V01"))
        return QStringLiteral("Default2.sin");
    if (modelText == QLatin1String("KVT270U04"))
        return QStringLiteral("Default3.sin");
    if (modelText == QLatin1String("KVT270U10"))
        return QStringLiteral("Default4.sin");
    return QStringLiteral("Default1.sin");
}

QString CProgramDoc::defaultFilePath(const QString &appDirectory, const QString &modelText)
{
    return appDirectory + defaultFileName(modelText);
}

CProgramDoc::DefaultLoad CProgramDoc::loadDefaultFile(const QString &path, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        setError(error, defaultFileMissingText(LanguageIndex));
        return DefaultLoad::Missing;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, defaultFileUnreadableText(LanguageIndex, path, file.errorString()));
        return DefaultLoad::Unreadable;
    }
    const QByteArray data = readImageBytes(file);
    if (file.error() != QFileDevice::NoError) {
        setError(error, defaultFileUnreadableText(LanguageIndex, path, file.errorString()));
        return DefaultLoad::Unreadable;
    }
    // A short default file replaces only the bytes it holds.
    ImageBytes image = m_image;
    copyIntoImage(image, data);
    resetTo(image);
    return DefaultLoad::Loaded;
}
