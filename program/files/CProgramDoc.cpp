#include "CProgramDoc.h"

#include "FileMessages.h"
#include "base/Globals.h"
#include "common/CheckedSave.h"
#include "model/RadioImage.h"
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
}

QString CProgramDoc::title() const
{
    return m_pathName.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_pathName).fileName();
}

void CProgramDoc::markClean()
{
    m_cleanImage = radioImageBytes();
    updateModified();
}

void CProgramDoc::updateModified()
{
    const bool modified = m_cleanImage != radioImageBytes();
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(m_modified);
}

CProgramDoc::State CProgramDoc::state() const
{
    return {radioImageBytes(), m_pathName, m_cleanImage};
}

void CProgramDoc::restoreState(const State &state)
{
    setRadioImageBytes(state.image);
    m_cleanImage = state.cleanImage;
    setPathName(state.pathName);
    updateModified();
}

void CProgramDoc::newDocument()
{
    NewImage(RadioImage);
    setPathName(QString());
    markClean();
}

bool CProgramDoc::openDocument(const QString &path, QString *error)
{
    if (!readImageFile(path, &RadioImage, error))
        return false;
    setPathName(QFileInfo(path).absoluteFilePath());
    markClean();
    return true;
}

bool CProgramDoc::saveDocument(const QString &path, QString *error)
{
    if (!writeImageFile(path, RadioImage, error))
        return false;
    setPathName(QFileInfo(path).absoluteFilePath());
    markClean();
    return true;
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
    // RadioImage exactly as it was.
    const QByteArray data = readImageBytes(file);
    if (file.error() != QFileDevice::NoError) {
        setError(error, fileOpenFailedText(LanguageIndex, path, file.errorString()));
        return false;
    }
    if (data.size() < int(RadioImageSize)) {
        setError(error, fileTooShortText(LanguageIndex, path, data.size()));
        return false;
    }
    std::memcpy(image->data(), data.constData(), RadioImageSize);
    return true;
}

bool CProgramDoc::writeImageFile(const QString &path, const ImageBytes &image, QString *error)
{
    // Every write is checked and synced before the temporary file replaces the old one: a
    // full disk fails here and leaves the old file whole.
    QString reason;
    if (!CheckedSave::writeFile(path, toByteArray(image),
                                &reason)) {
        setError(error, fileSaveFailedText(LanguageIndex, path, reason));
        return false;
    }
    return true;
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

QString CProgramDoc::defaultFilePath(const QString &modelText)
{
    return AppDirectory + defaultFileName(modelText);
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
    std::memcpy(RadioImage.data(), data.constData(), std::size_t(data.size()));
    return DefaultLoad::Loaded;
}
